#include "results/signal_files.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "common/fixed_format.h"

namespace kvr {
namespace {

// Years before 0 (the middle of a window rounds down), figures that round, a window without
// any pair, a year without SSS, a control character in the input name, and the source lines
// of a NOAA template between the input name and the run title.
TEST(SignalFilesTest, BothFilesAreCommentedTables) {
  SignalStrength s;
  s.whole = {45, 990, 0.41234, 0.969274, 31.52349};
  s.windows = {{1, 50, {12, 66, -0.00004, 0.92307, 12.0}}, {26, 75, {0, 0, {}, {}, {}}}};
  s.sss = {0.5, {}, 0.849996};
  s.eps_reliable_from = 26;
  const std::string title = pad_right("Calendar Dates  Class_size=  50", 60);

  std::ostringstream signal;
  const std::string padded_name = pad_right("bc site.rwl", 60);
  write_signal_file(signal, {padded_name, {}, title}, s, -60);
  EXPECT_EQ(signal.str(),
            "# input file: bc site.rwl\n"
            "# run title: Calendar Dates  Class_size=  50\n"
            "# method: Pearson correlation of each pair of series with at least 30 common years;"
            " running windows of 50 years lagged 25\n"
            "# whole chronology: rbar=0.4123 n=45 pairs=990 EPS=0.9693 SNR=31.52\n"
            "# reliable from: EPS=-35 SSS=never\n"
            "start\tmiddle\tend\tn\tpairs\trbar\tEPS\tSNR\n"
            "-60\t-36\t-11\t12\t66\t-0.0000\t0.9231\t12.00\n"
            "-35\t-11\t14\t0\t0\tNA\tNA\tNA\n");

  std::ostringstream sss;
  const std::vector<std::string> source = {"Study: Big Bend", "Site: Camp\tSprings"};
  write_sss_file(sss, {"odd\rname.rwl", source, title}, s, {4, 0, 9}, 1999);
  EXPECT_EQ(sss.str(),
            "# input file: odd?name.rwl\n"
            "# Study: Big Bend\n"
            "# Site: Camp?Springs\n"
            "# run title: Calendar Dates  Class_size=  50\n"
            "year\tdepth\tSSS\n"
            "1999\t4\t0.5000\n"
            "2000\t0\tNA\n"
            "2001\t9\t0.8500\n");
}

}  // namespace
}  // namespace kvr
