#include "results/table_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <vector>

namespace kvr {
namespace {

// The table numbers against printf's %.6g: values where the form changes (1e-5, 1e6), that
// round to the next decade, halves, signed zeros, tiny and huge values, and random values
// over many decades; infinities and NaN are NA.
TEST(TableNumberTest, NumbersAreThoseOfPrintf) {
  std::vector<double> values = {0.0,        -0.0,     1.0,      -1.0,     0.5,          9.999995,
                                999999.5,   1e6,      999999.4, 1e-5,     9.9999951e-5, 0.0001,
                                1.5e-300,   4.9e-324, 1.7e308,  123456.5, -0.000123,    2.5,
                                0.30000001, 1e21,     -7.25e-7};
  std::mt19937_64 random(5);
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  std::uniform_int_distribution<int> exponent(-12, 12);
  for (int i = 0; i < 20000; ++i)
    values.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
  for (const double v : values) {
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.6g", v);
    std::string text = "x";
    append_table_number(&text, v);
    EXPECT_EQ(text, std::string("x") + expected) << v;
  }
  for (const double v :
       {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_EQ(table_number(v), "NA");
  }
  std::string integers;
  for (const long long v : {0LL, -7LL, 10001LL, -9223372036854775807LL - 1}) {
    append_integer(&integers, v);
    integers += ' ';
  }
  EXPECT_EQ(integers, "0 -7 10001 -9223372036854775808 ");
}

}  // namespace
}  // namespace kvr
