#include "results/result_table.h"

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
  for (const auto& c : cases) EXPECT_EQ(list_int(c.v), c.text) << c.v;
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

// Two series over 1850..1852: a year with values but fewer than four, an empty year, and a
// year with a standard error.
struct SmallRun {
  MeasurementSet set;
  Grid<float> by_year{2, 3, M};
  Chronology chronology;

  SmallRun() {
    set.series.push_back({"AB01", 1850, 1852, 3, 1});
    set.series.push_back({"XY-0002 ", 1850, 1850, 1, 1});
    set.earliest_first_year = 1850;
    set.latest_last_year = 1852;
    set.time_span = 3;
    by_year(1, 1) = 0.0625f;
    by_year(1, 3) = 1234.5f;
    by_year(2, 1) = -0.5f;
    chronology.sample_depth = {2, 0, 4};
    chronology.robust_mean = {1.25f, M, 0.75f};
    chronology.standard_error = {M, M, 0.125f};
    chronology.average = 1.0f;
  }
};

const std::string kLongTitle = "Calendar aligned: classes of 20 rings, RAC = class 3 (41 to 60)";

TEST(ResultTableTest, WritesHeaderAndRows) {
  const SmallRun run;
  std::ostringstream out;
  write_result_table(out, run.set, run.by_year, run.chronology, false, kLongTitle);
  const std::string expected =
      "#Calendar aligned Rank Standardized values\n"
      "#Calendar aligned: classes of 20 rings, RAC = class\n"
      " #yr\tSD\tAve\tRobM\t+2(se)\t-2(se)\tAB01    \tXY-0002 \n"
      // year, SD, Ave, RobM, +2(se), -2(se), AB01, XY-0002
      " "
      "        1850"
      "           2"
      "    1.00000"
      "    1.25000"
      "   -99.9900"
      "   -99.9900"
      "   6.250000E-02"
      "  -0.500000\n"
      " "
      "        1851"
      "           0"
      "    1.00000"
      "   -99.9900"
      "   -99.9900"
      "   -99.9900"
      "   -99.9900"
      "   -99.9900\n"
      " "
      "        1852"
      "           4"
      "    1.00000"
      "   0.750000"
      "    1.00000"
      "   0.500000"
      "    1234.50"
      "   -99.9900\n";
  EXPECT_EQ(out.str(), expected);
}

TEST(ResultTableTest, AgeAlignedHeaderPadsAShortTitle) {
  SmallRun run;
  run.set.series.clear();
  run.chronology = Chronology();
  run.chronology.average = M;
  std::ostringstream out;
  write_result_table(out, run.set, run.by_year, run.chronology, true, "Age aligned");
  EXPECT_EQ(out.str(),
            "#Age aligned Rank Standardized values\n"
            "#Age aligned" +
                std::string(39, ' ') +
                "\n"
                " #yr\tSD\tAve\tRobM\t+2(se)\t-2(se)\n");
}

TEST(KnmiTest, WritesTwelveMonthsAndTheClimateExplorerMissingValue) {
  const SmallRun run;
  std::ostringstream out;
  write_knmi(out, "ring.rwl", kLongTitle, false, run.chronology, 1850);
  auto row = [](const std::string& year, const std::string& value) {
    std::string line = " " + year;
    for (int month = 0; month < 12; ++month) line += " \t" + value;
    return line + "\n";
  };
  const std::string expected =
      "#ring.rwl" + std::string(52, ' ') + "\n" +
      "#Calendar aligned: classes of 20 rings, RAC = class 3 (41 to \n"
      "#Calendar aligned Rank Standardized values\n" +
      row("        1850", "    1.25000") +
      // No chronology value: -999.9, which the Climate Explorer reads as missing.
      row("        1851", "   -999.900") + row("        1852", "   0.750000");
  EXPECT_EQ(out.str(), expected);

  std::ostringstream age;
  write_knmi(age, "ring.rwl", "Age", true, Chronology(), 1850);
  EXPECT_EQ(age.str(), "#ring.rwl" + std::string(52, ' ') + "\n#Age" + std::string(57, ' ') +
                           "\n#Age aligned Rank Standardized values\n");
}

}  // namespace
}  // namespace kvr
