#include "common/large_arrays.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>

namespace kvr {
namespace {

// Blocks on both sides of the huge-page size hold what is written to them to their last byte;
// the large ones start on a huge page.
TEST(LargeArraysTest, BlocksHoldTheirBytesAndLargeOnesAreAligned) {
  for (const std::size_t bytes : {std::size_t{1}, kHugePageBytes - 1, kHugePageBytes,
                                  kHugePageBytes + 4097, 3 * kHugePageBytes}) {
    SCOPED_TRACE(bytes);
    auto* block = static_cast<unsigned char*>(allocate_large(bytes));
    ASSERT_NE(block, nullptr);
    if (bytes >= kHugePageBytes) {
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % kHugePageBytes, 0U);
    }
    for (std::size_t i = 0; i < bytes; ++i) block[i] = static_cast<unsigned char>(i * 7);
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < bytes; ++i) wrong += block[i] != static_cast<unsigned char>(i * 7);
    EXPECT_EQ(wrong, 0U);
    free_large(block, bytes);
  }
  // A vector that grows across the size keeps its values.
  LargeVector<double> values(1000);
  std::iota(values.begin(), values.end(), 0.0);
  values.resize(kHugePageBytes / sizeof(double) * 2, 1.0);
  EXPECT_EQ(values[999], 999.0);
  EXPECT_EQ(values.back(), 1.0);
}

}  // namespace
}  // namespace kvr
