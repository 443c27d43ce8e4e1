#include "plot/comparison_plot.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "comparison_example.h"
#include "plot_testing.h"

namespace kvr {
namespace {

// The figure of comparison_with_curve: the ages run to 10 (ticks 10/5), the widths' top is 2
// (0.5/1) and the series' top 3 (1/0); the curve's value below 0 is drawn. The years run
// 1890-1910 (10/5); the rank chronology's mean is 1.2 and the RCS one's 1, so the largest
// ratio 1.67 gives the top 3 (0.5/1), and the depth top is 4 (1/0).
Calls drawn(const RcsComparison& c) {
  const SavedPage page = comparison_page(c, "oak.rwl   ");
  EXPECT_EQ(page.file_name, "KVRcompare.ps");
  RecordingPlotter plotter;
  page.draw(plotter);
  return plotter.calls();
}

TEST(ComparisonPlotTest, CurveAboveAndChronologiesDividedByTheirMeansBelow) {
  EXPECT_EQ(drawn(comparison_with_curve()),
            (Calls{
                "pladv 0",
                "plcol0 15",
                "plvpor 0.12 0.9 0.2 0.85",
                "plwind 0 10 0 2",
                "plaxes 0 0 \"abinst\" 10 5 \"abinstv\" 0.5 1",
                "pllab \"Age (years)\" \"RRW(mm.)\" \"oak.rwl\"",
                "plcol0 15",
                "plmtex \"rv\" -66 1.15 0 \"Mean by age\"",
                "plwid 1",
                "plline 2 1,1.25 3,0.75",
                "plcol0 9",
                "plmtex \"rv\" -66 1.06 0 \"Regional curve, stiffness 10 years\"",
                "plwid 2",
                "plline 2 1,1.2 3,-0.01",
                "plwid 1",
                "plcol0 1",
                "plmtex \"rv\" -10 1.15 0 \"Series by age\"",
                "plwind 0 10 0 3",
                "plaxes 0 0 \"\" 10 5 \"cmstv\" 1 0",
                "plline 3 1,2 2,0 3,1",
                "pladv 0",
                "plcol0 15",
                "plvpor 0.12 0.9 0.2 0.85",
                "plwind 1890 1910 0 3",
                "plaxes 1890 0 \"abinst\" 10 5 \"abinstv\" 0.5 1",
                "pllab \"Year\" \"Index / its mean\" \"Rank vs RCS chronology: r = 0.8123 over 291 "
                "years\"",
                "plcol0 15",
                "plmtex \"rv\" -66 1.15 0 \"Rank chronology\"",
                "plwid 2",
                "plline 3 1900,1.25 1901,0.0833333 1903,1.66667",
                "plcol0 9",
                "plmtex \"rv\" -66 1.06 0 \"RCS chronology\"",
                "plwid 1",
                "plline 2 1901,0.8 1902,1.2",
                "plwid 1",
                "plcol0 1",
                "plmtex \"rv\" -10 1.15 0 \"Sample Depth\"",
                "plwind 1890 1910 0 4",
                "plaxes 1890 0 \"\" 10 5 \"cmstv\" 1 0",
                "plline 4 1900,1 1901,3 1902,0 1903,2",
            }));
}

// Without a regional curve the page says why and draws the mean by age and the rank
// chronology alone, without the RCS legend; the RCS values it may hold are not drawn.
TEST(ComparisonPlotTest, WithoutARegionalCurveOnlyTheMeanAndTheRankChronology) {
  RcsComparison c = comparison_with_curve();
  c.curve.no_rcs = NoRcsReason::kTooFewSeries;
  c.rank_vs_rcs = {};
  Calls lines;
  Calls texts;
  for (const std::string& call : drawn(c)) {
    if (call.rfind("plline", 0) == 0) lines.push_back(call);
    if (call.rfind("plmtex \"rv\" -66 1.06", 0) == 0 || call.rfind("pllab \"Year\"", 0) == 0) {
      texts.push_back(call);
    }
  }
  EXPECT_EQ(lines, (Calls{"plline 2 1,1.25 3,0.75", "plline 3 1,2 2,0 3,1",
                          "plline 3 1900,1.25 1901,0.0833333 1903,1.66667",
                          "plline 4 1900,1 1901,3 1902,0 1903,2"}));
  EXPECT_EQ(
      texts,
      (Calls{"plmtex \"rv\" -66 1.06 0 \"No regional curve: fewer than 2 series have a value\"",
             "pllab \"Year\" \"Index / its mean\" \"Rank vs RCS chronology: r = NA over 0 "
             "years\""}));
}

}  // namespace
}  // namespace kvr
