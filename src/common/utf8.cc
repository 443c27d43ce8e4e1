#include "common/utf8.h"

#include <cstdint>
#include <cstring>

namespace kvr {

bool has_non_ascii(std::string_view text) {
  // Eight bytes at a time: every line of a file goes through here.
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + i, 8);
    if ((word & kHighBits) != 0) return true;
  }
  for (; i < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) >= 0x80) return true;
  }
  return false;
}

bool is_valid_utf8(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;   // bounds of the second byte, which rule out overlong forms,
    unsigned char high = 0xBF;  // surrogates and code points above U+10FFFF
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (n - i < length) return false;
    const auto second = static_cast<unsigned char>(text[i + 1]);
    if (second < low || second > high) return false;
    for (std::size_t k = 2; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if (next < 0x80 || next > 0xBF) return false;
    }
    i += length;
  }
  return true;
}

std::size_t utf8_prefix_bytes(std::string_view text, std::size_t characters) {
  std::size_t bytes = 0;
  for (std::size_t c = 0; c < characters && bytes < text.size(); ++c) {
    bytes += utf8_sequence_bytes(static_cast<unsigned char>(text[bytes]));
  }
  return bytes < text.size() ? bytes : text.size();
}

std::size_t utf8_length(std::string_view text) {
  std::size_t characters = 0;
  for (const char c : text) {
    // Every character has exactly one byte that is not a continuation byte.
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
  }
  return characters;
}

}  // namespace kvr
