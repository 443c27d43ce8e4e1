#include "numeric/radix_sort.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <utility>

namespace kvr {
namespace {

constexpr int kDigits = 8;      // bytes of a key
constexpr int kFirstDigit = 4;  // the passes sort by the high half only
constexpr int kLowBits = 32;
// Runs of keys equal in their high half longer than this are sorted by comparison.
constexpr std::size_t kInsertionRun = 16;
constexpr int kBuckets = 256;
constexpr std::uint64_t kSignBit = 0x8000000000000000ULL;

// A key whose unsigned order is the order of the doubles: negative values have every bit
// flipped, the others only their sign bit.
std::uint64_t key_of(double v) {
  const auto bits = std::bit_cast<std::uint64_t>(v);
  return (bits & kSignBit) != 0 ? ~bits : bits | kSignBit;
}

double value_of(std::uint64_t key) {
  return std::bit_cast<double>((key & kSignBit) != 0 ? key & ~kSignBit : ~key);
}

std::size_t digit(std::uint64_t key, int d) {
  return static_cast<std::size_t>((key >> (8 * d)) & 0xFFu);
}

// The same for single precision: a key whose unsigned order is the order of the floats.
constexpr int kFloatDigits = 4;
constexpr std::uint32_t kFloatSignBit = 0x80000000U;

std::uint32_t float_key(float v) {
  const auto bits = std::bit_cast<std::uint32_t>(v);
  return (bits & kFloatSignBit) != 0 ? ~bits : bits | kFloatSignBit;
}

std::size_t float_digit(float v, int d) {
  return static_cast<std::size_t>((float_key(v) >> (8 * d)) & 0xFFU);
}

}  // namespace

void radix_sort(std::span<double> x, RadixSortWorkspace* workspace) {
  const std::size_t n = x.size();
  if (n < 2) return;
  workspace->keys.resize(n);
  workspace->spare.resize(n);
  std::uint64_t* from = workspace->keys.data();
  std::uint64_t* to = workspace->spare.data();

  // One pass counts every digit of the high half of every key.
  std::array<std::array<std::uint32_t, kBuckets>, kDigits - kFirstDigit> counts{};
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint64_t key = key_of(x[i]);
    from[i] = key;
    for (int d = kFirstDigit; d < kDigits; ++d) {
      ++counts[static_cast<std::size_t>(d - kFirstDigit)][digit(key, d)];
    }
  }
  for (int d = kFirstDigit; d < kDigits; ++d) {
    std::array<std::uint32_t, kBuckets>& count = counts[static_cast<std::size_t>(d - kFirstDigit)];
    if (count[digit(from[0], d)] == n) continue;  // every key has this digit
    std::uint32_t start = 0;
    for (std::uint32_t& c : count) start += std::exchange(c, start);
    for (std::size_t i = 0; i < n; ++i) to[count[digit(from[i], d)]++] = from[i];
    std::swap(from, to);
  }
  // Keys equal in their high half (sign, exponent and 20 bits of the fraction) are rare
  // unless wholly equal: runs of them are finished by insertion, which passes over equal keys
  // without moving them.
  for (std::size_t begin = 0; begin < n;) {
    std::size_t end = begin + 1;
    while (end < n && (from[end] >> kLowBits) == (from[begin] >> kLowBits)) ++end;
    if (end - begin > kInsertionRun) {
      if (!std::is_sorted(from + begin, from + end)) std::sort(from + begin, from + end);
    } else {
      for (std::size_t i = begin + 1; i < end; ++i) {
        const std::uint64_t key = from[i];
        std::size_t k = i;
        for (; k > begin && from[k - 1] > key; --k) from[k] = from[k - 1];
        from[k] = key;
      }
    }
    begin = end;
  }
  for (std::size_t i = 0; i < n; ++i) x[i] = value_of(from[i]);
}

void radix_sort(std::span<float> x, std::span<float> spare) {
  const std::size_t n = x.size();
  if (n < 2) return;
  std::array<std::array<std::uint32_t, kBuckets>, kFloatDigits> counts{};
  for (const float v : x) {
    const std::uint32_t key = float_key(v);
    for (int d = 0; d < kFloatDigits; ++d) {
      ++counts[static_cast<std::size_t>(d)][(key >> (8 * d)) & 0xFFU];
    }
  }
  // The values themselves move from one array to the other, their keys taken again each pass.
  float* from = x.data();
  float* to = spare.data();
  for (int d = 0; d < kFloatDigits; ++d) {
    std::array<std::uint32_t, kBuckets>& count = counts[static_cast<std::size_t>(d)];
    if (count[float_digit(from[0], d)] == n) continue;  // every key has this digit
    std::uint32_t start = 0;
    for (std::uint32_t& c : count) start += std::exchange(c, start);
    for (std::size_t i = 0; i < n; ++i) to[count[float_digit(from[i], d)]++] = from[i];
    std::swap(from, to);
  }
  if (from != x.data()) std::copy(from, from + n, x.data());
}

}  // namespace kvr
