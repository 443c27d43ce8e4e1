#include "results/list_items.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "common/dimensions.h"

namespace kvr {
namespace {

constexpr std::size_t kIntWidth = 12;
constexpr std::size_t kFixedWidth = 11;
constexpr std::size_t kExponentWidth = 15;

// Writes text..end right-aligned in `width` columns at p; returns the end of the field.
char* put_right_aligned(char* p, const char* text, const char* end, std::size_t width) {
  const std::size_t length = static_cast<std::size_t>(end - text);
  if (length < width) {
    std::memset(p, ' ', width - length);
    p += width - length;
  }
  std::memcpy(p, text, length);
  return p + length;
}

constexpr std::uint64_t kPowersOfTen[] = {1,      10,      100,      1000,     10000,
                                          100000, 1000000, 10000000, 100000000};

// |v| * 10^decimals rounded to an integer exactly as printf rounds (to nearest, ties to
// even, on the exact binary value). A float is m * 2^e with m below 2^24; for the values
// passed here (|v| < 1e6, decimals <= 7 and |v| >= 0.01 when decimals is 7) e is negative
// and m * 10^decimals stays below 2^48, so the shift with its remainder is exact. Such a
// |v| is a normal float: m is its significand with the leading bit, and |v| = m * 2^(k - 24)
// with k its biased exponent less 126.
std::uint64_t scaled_round(float v, int decimals) {
  const auto bits = std::bit_cast<std::uint32_t>(v);
  const std::uint64_t m = (bits & 0x7FFFFFu) | 0x800000u;
  const int k = static_cast<int>((bits >> 23) & 0xFFu) - 126;
  const int shift = 24 - k;
  const std::uint64_t scaled = m * kPowersOfTen[decimals];
  if (shift <= 0) return scaled << -shift;
  std::uint64_t q = scaled >> shift;
  const std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
  const std::uint64_t half = std::uint64_t{1} << (shift - 1);
  if (rest > half || (rest == half && (q & 1) != 0)) ++q;
  return q;
}

// Writes the fixed form of v, whose value rounded to six significant digits lies in
// [0.1, 1e6): 6 - (digits before the point) decimals, i.e. 5 - exponent, at out and returns
// its end; nullptr (nothing written) when the rounded value lies outside that range.
char* put_fixed(char* out, float v) {
  const float magnitude = std::fabs(v);
  // The decimal exponent of |v| itself. 0.1f lies just above 0.1 with no float in between,
  // so magnitude < 0.1f means |v| < 0.1; 0.01f lies just below 0.01, so only values below
  // 0.01, which cannot round up to 0.1, skip the check for a carry into 0.1.
  int exponent = 5;
  if (!(magnitude < 1e6f) || magnitude < 0.01f) return nullptr;
  if (magnitude < 0.1f) {
    exponent = -2;
  } else {
    while (exponent > -1 && magnitude < static_cast<float>(kPowersOfTen[exponent])) --exponent;
  }
  int decimals = 5 - exponent;
  std::uint64_t q = scaled_round(v, decimals);
  if (q == kPowersOfTen[6]) {
    // Rounding carried into the next decade (9.999999 -> 10.0000): one decimal fewer, and
    // the value is that power of ten.
    ++exponent;
    --decimals;
    q = kPowersOfTen[5];
  }
  if (exponent < -1 || exponent > 5) return nullptr;

  char buffer[kListItemRoom];
  char* p = buffer;
  if (v < 0.0f) *p++ = '-';
  const std::uint64_t unit = kPowersOfTen[decimals];
  p = std::to_chars(p, buffer + kListItemRoom, q / unit).ptr;
  // The point stays when no decimal is left, as fixed-point output writes it.
  *p++ = '.';
  std::uint64_t rest = q % unit;
  for (int d = decimals - 1; d >= 0; --d) {
    p[d] = static_cast<char>('0' + rest % 10);
    rest /= 10;
  }
  p += decimals;
  return put_right_aligned(out, buffer, p, kFixedWidth);
}

}  // namespace

char* put_list_int(char* p, long long v) {
  char buffer[kListItemRoom];
  const std::to_chars_result r = std::to_chars(buffer, buffer + kListItemRoom, v);
  // A number wider than the field widens it; free-form output has no overflow stars.
  return put_right_aligned(p, buffer, r.ptr, kIntWidth);
}

// The items of a large run's table are ten million numbers, so the fixed form is built from
// integers (above) and the exponent form by std::to_chars, which gives printf's digits.
char* put_list_real(char* p, float v) {
  if (is_missing(v)) {  // most cells of a long table
    constexpr std::string_view kMissingItem = "   -99.9900";
    std::memcpy(p, kMissingItem.data(), kMissingItem.size());
    return p + kMissingItem.size();
  }
  if (std::isfinite(v) && v != 0.0f) {
    if (char* end = put_fixed(p, v)) return end;
  }
  // Exponent form: one digit before the point, six after it, a signed exponent of at least
  // two digits, all in capitals as %.6E writes them. A negative zero is written as zero.
  char buffer[kListItemRoom];
  const double x = v == 0.0f ? 0.0 : static_cast<double>(v);
  const std::to_chars_result r =
      std::to_chars(buffer, buffer + kListItemRoom, x, std::chars_format::scientific, 6);
  std::transform(buffer, r.ptr, buffer, [](char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  });
  return put_right_aligned(p, buffer, r.ptr, kExponentWidth);
}

void append_list_int(std::string* out, long long v) {
  char item[kListItemRoom];
  out->append(item, put_list_int(item, v));
}

std::string list_real(float v) {
  char item[kListItemRoom];
  return std::string(item, put_list_real(item, v));
}

}  // namespace kvr
