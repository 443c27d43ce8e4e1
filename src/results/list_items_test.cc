#include "results/list_items.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "common/dimensions.h"

namespace kvr {
namespace {

constexpr float M = kMissing;

// The text expected for one value of a field layout.
template <typename Value>
struct FormatCase {
  Value v;
  const char* text;
};

TEST(ListFormatTest, Integers) {
  const FormatCase<long long> cases[] = {
      {0, "           0"},
      {1850, "        1850"},
      {-5, "          -5"},
      {123456789012, "123456789012"},
      {-12345678901, "-12345678901"},
      {1234567890123, "1234567890123"},  // wider than the field: the field widens
  };
  for (const auto& c : cases) {
    std::string text;
    append_list_int(&text, c.v);
    EXPECT_EQ(text, c.text) << c.v;
  }
}

TEST(ListFormatTest, Reals) {
  const FormatCase<float> cases[] = {
      // Rounded to six digits first: a 0.10 mm ring read as 10 x 0.01 is 0.1.
      {0.099999994f, "   0.100000"},
      {0.1f, "   0.100000"},
      {-99.99f, "   -99.9900"},
      {0.5f, "   0.500000"},
      {-0.5f, "  -0.500000"},
      {1.0f, "    1.00000"},
      {12.345678f, "    12.3457"},
      {9.999999f, "    10.0000"},  // rounds up into the next decade: one decimal fewer
      {-999.9f, "   -999.900"},
      {123456.0f, "    123456."},
      {999999.4f, "    999999."},
      // Below 0.1 or from 1e6 on, after rounding: exponent form with the value's own digits.
      {0.05f, "   5.000000E-02"},
      {0.0123456789f, "   1.234568E-02"},
      {0.09999f, "   9.999000E-02"},
      {999999.5f, "   9.999995E+05"},  // rounds to 1.00000E+06
      {1e6f, "   1.000000E+06"},
      {-1234567.0f, "  -1.234567E+06"},
      {0.0f, "   0.000000E+00"},
      {-0.0f, "   0.000000E+00"},
      {1e-45f, "   1.401298E-45"},  // the smallest denormal
      {std::numeric_limits<float>::max(), "   3.402823E+38"},
      {-std::numeric_limits<float>::max(), "  -3.402823E+38"},
  };
  for (const auto& c : cases) EXPECT_EQ(list_real(c.v), c.text) << c.v;
  EXPECT_EQ(list_real(std::numeric_limits<float>::infinity()).size(), 15u);
}

// The layout rules for a real transcribed with printf: the %.5E of the value gives the
// exponent after rounding to six digits, which picks %#.*f in 11 or %.6E in 15 columns.
std::string printf_reference(float v) {
  char buffer[128];
  const double x = v == 0.0f ? 0.0 : static_cast<double>(v);
  std::snprintf(buffer, sizeof buffer, "%.5E", x);
  const int exponent = std::atoi(std::strchr(buffer, 'E') + 1);
  int width = 15;
  if (x != 0.0 && exponent >= -1 && exponent <= 5) {
    width = 11;
    std::snprintf(buffer, sizeof buffer, "%#.*f", 6 - (exponent >= 0 ? exponent + 1 : 0), x);
  } else {
    std::snprintf(buffer, sizeof buffer, "%.6E", x);
  }
  const std::string text = buffer;
  return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

TEST(ListFormatTest, RealsAgreeWithPrintfOverTheWholeRange) {
  std::vector<float> values;
  // Every decade boundary the form and the decimals change at, and its neighbours.
  for (int e = -3; e <= 7; ++e) {
    const float boundary = static_cast<float>(std::pow(10.0, e));
    for (float near : {boundary, std::nextafter(boundary, 0.0f), std::nextafter(boundary, 1e30f),
                       boundary * 0.9999995f, boundary * 0.99999949f, boundary * 0.9999996f}) {
      values.push_back(near);
      values.push_back(-near);
    }
  }
  // Exact ties at the last digit kept go to the even neighbour, as printf rounds.
  for (float tie : {123456.5f, 123457.5f, 12345.25f, 12345.75f, 1234.125f, 0.5f, 2.5f}) {
    values.push_back(tie);
    values.push_back(-tie);
  }
  std::mt19937 rng(99);
  std::uniform_int_distribution<std::uint32_t> bits;
  std::uniform_real_distribution<double> log_magnitude(-2.5, 6.5);
  std::uniform_real_distribution<float> widths(0.0f, 20.0f);
  for (int k = 0; k < 20000; ++k) {
    const float v = std::bit_cast<float>(bits(rng));
    if (std::isfinite(v)) values.push_back(v);
    values.push_back(widths(rng));
    const float spread = static_cast<float>(std::pow(10.0, log_magnitude(rng)));
    values.push_back(k % 2 == 0 ? spread : -spread);
  }
  for (float v : values) ASSERT_EQ(list_real(v), printf_reference(v)) << v;
}

}  // namespace
}  // namespace kvr
