#include "common/fixed_format.h"

#include <gtest/gtest.h>

#include <string>

namespace kvr {
namespace {

TEST(FixedFormatTest, IntegersRightAlignedOrAsterisks) {
  EXPECT_EQ(format_int(1001, 4), "1001");
  EXPECT_EQ(format_int(7, 5), "    7");
  EXPECT_EQ(format_int(-55, 5), "  -55");
  EXPECT_EQ(format_int(10001, 4), "****");
  EXPECT_EQ(format_int(-1000, 4), "****");
  EXPECT_EQ(format_int(0, 1), "0");
}

TEST(FixedFormatTest, FixedPointWithDecimals) {
  EXPECT_EQ(format_fixed(0.5, 8, 3), "   0.500");
  EXPECT_EQ(format_fixed(150.5, 7, 2), " 150.50");
  EXPECT_EQ(format_fixed(-0.25, 6, 2), " -0.25");
  EXPECT_EQ(format_fixed(0.5, 3, 2), ".50");  // the leading zero goes first
  EXPECT_EQ(format_fixed(-0.5, 4, 2), "-.50");
  EXPECT_EQ(format_fixed(12345.0, 7, 2), "*******");
  EXPECT_EQ(format_fixed(-0.0001, 6, 2), "  0.00");
  EXPECT_EQ(format_fixed(1.0 / 0.0, 5, 1), "*****");
  EXPECT_EQ(format_fixed(1e300, 8, 3), "********");
}

TEST(FixedFormatTest, TextFields) {
  EXPECT_EQ(pad_right("oak", 5), "oak  ");
  EXPECT_EQ(pad_right("abcdefgh", 6), "abcdef");
  // UTF-8 counts characters (a Cyrillic letter is two bytes); other bytes count one each.
  const std::string ve = "\xD0\x92";
  EXPECT_EQ(pad_right(ve + ve + "9A", 6), ve + ve + "9A  ");
  EXPECT_EQ(pad_right(ve + ve + "9A", 3), ve + ve + "9");
  EXPECT_EQ(pad_right("\xE9t\xE9", 4), "\xE9t\xE9 ");
  EXPECT_EQ(pad_right("\xE2\x82", 3), "\xE2\x82 ");  // a cut sequence is no UTF-8
  EXPECT_EQ(trim_right("Year   "), "Year");
  EXPECT_EQ(trim_right("     "), "");
  EXPECT_EQ(trim_right(" a b "), " a b");
}

}  // namespace
}  // namespace kvr
