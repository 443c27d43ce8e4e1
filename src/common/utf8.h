#pragma once

#include <cstddef>
#include <string_view>

namespace kvr {

/// True when `text` holds a byte above 0x7F, i.e. anything but plain ASCII.
bool has_non_ascii(std::string_view text);

/// True when `text` is well-formed UTF-8: no stray continuation bytes, overlong forms,
/// surrogates or code points above U+10FFFF.
bool is_valid_utf8(std::string_view text);

/// Bytes of the UTF-8 sequence that starts with `lead` (1 for ASCII); `text` must be valid.
inline std::size_t utf8_sequence_bytes(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  return 4;
}

/// Bytes taken by the first `characters` characters of valid UTF-8 `text` (all of it when it
/// holds fewer).
std::size_t utf8_prefix_bytes(std::string_view text, std::size_t characters);

/// Characters of valid UTF-8 `text`.
std::size_t utf8_length(std::string_view text);

}  // namespace kvr
