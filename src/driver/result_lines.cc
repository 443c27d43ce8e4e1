#include "driver/result_lines.h"

#include "results/output_files.h"
#include "results/signal_files.h"

namespace kvr {

std::vector<std::string> crn_warning_lines(const CrnAdjustments& adjusted) {
  std::vector<std::string> lines;
  if (const std::vector<int>& years = adjusted.unwritable_years; !years.empty()) {
    const std::string which =
        years.size() == 1
            ? "the chronology value of " + std::to_string(years.front()) + " lies"
            : std::to_string(years.size()) + " years of the chronology (from " +
                  std::to_string(years.front()) + " to " + std::to_string(years.back()) + ") lie";
    lines.push_back("");
    lines.push_back(" Warning: " + which + " outside -0.999 to 9.989, which the index records of " +
                    kModeledCrnFile + " cannot hold; " +
                    (years.size() == 1 ? "it is" : "they are") +
                    " written there as missing (9990).");
  }
  if (const std::vector<int>& years = adjusted.capped_depth_years; !years.empty()) {
    const std::string which = years.size() == 1
                                  ? "the sample depth of " + std::to_string(years.front()) + " is"
                                  : "the sample depth of " + std::to_string(years.size()) +
                                        " years (from " + std::to_string(years.front()) + " to " +
                                        std::to_string(years.back()) + ") is";
    lines.push_back("");
    lines.push_back(" Warning: " + which + " above 999, which the index records of " +
                    kModeledCrnFile + " cannot hold; it is written there as 999.");
  }
  return lines;
}

std::vector<std::string> same_cut_id_lines(const std::vector<SameCutId>& ids) {
  std::vector<std::string> lines;
  for (const SameCutId& same : ids) {
    std::string names;
    for (std::size_t k = 0; k < same.ids.size(); ++k) {
      if (k > 0) names += k + 1 == same.ids.size() ? " and " : ", ";
      names += "\"" + same.ids[k] + "\"";
    }
    lines.push_back("");
    lines.push_back(" Warning: the ids " + names + " are " +
                    (same.ids.size() == 2 ? "both" : "all") + " written as \"" + same.written +
                    "\" in " + kModeledRawFile + ", whose records hold " +
                    std::to_string(same.width) + " characters of an id.");
  }
  return lines;
}

std::vector<std::string> adjustment_lines(const FileAdjustments& adjusted) {
  std::vector<std::string> lines = crn_warning_lines(adjusted.crn);
  const std::vector<std::string> ids = same_cut_id_lines(adjusted.same_cut_ids);
  lines.insert(lines.end(), ids.begin(), ids.end());
  return lines;
}

std::vector<std::string> signal_screen_lines(const SignalStrength& strength, int first_year) {
  return {
      "",
      " Signal strength of the chronology (Pearson r of pairs with " +
          std::to_string(kSignalMinCommonYears) + " or more common years):",
      "  " + whole_line(strength.whole),
      "  " + reliable_line(strength, first_year),
      "  (EPS: every later " + std::to_string(kSignalWindowLength) + "-year window at least " +
          figure_text(kSignalReliable, 2) + "; SSS: at least " + figure_text(kSignalReliable, 2) +
          " to the end)",
  };
}

}  // namespace kvr
