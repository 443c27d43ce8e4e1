#pragma once

#include <string>

namespace kvr {

/// The title of a run, as the result files show it: the alignment and the Age-Class layout.
struct RunTitle {
  enum class Layout {
    kNone,       // no layout chosen yet
    kFixedSize,  // classes of `class_size` from the first position; the RAC at positions
                 // rac_start..rac_end
    kRacBounds,  // the RAC given by its bounds rac_start..rac_end (ages or years as typed),
                 // of `class_size` = rac_end - rac_start + 1
  };
  bool age_aligned = true;
  Layout layout = Layout::kNone;
  long long class_size = 0;
  int rac_start = 0;
  int rac_end = 0;
};

/// The title in 60 columns: "Age Aligned" or "Calendar Dates" in columns 1-15, then the
/// layout, "Class_size= n  RAC= start - end" (kFixedSize) or "ClassSize= n  RAC= start - end"
/// (kRacBounds), blank padded.
std::string run_title_text(const RunTitle& title);

/// "Age aligned Rank Standardized values" or "Calendar aligned Rank Standardized values": the
/// alignment as the result files name it in a header line.
std::string alignment_text(bool age_aligned);

}  // namespace kvr
