#include "results/run_title.h"

#include "common/fixed_format.h"

namespace kvr {

std::string run_title_text(const RunTitle& title) {
  std::string text = title.age_aligned ? "Age Aligned    " : "Calendar Dates ";
  switch (title.layout) {
    case RunTitle::Layout::kNone:
      break;
    case RunTitle::Layout::kFixedSize:
      text += " Class_size= " + format_int(title.class_size, 3) + "  ";
      text += "RAC= " + format_int(title.rac_start, 5) + " - " + format_int(title.rac_end, 5);
      break;
    case RunTitle::Layout::kRacBounds:
      text += "ClassSize= " + format_int(title.class_size, 3) +
              "  RAC= " + format_int(title.rac_start, 5) + " - " + format_int(title.rac_end, 5);
      break;
  }
  return pad_right(text, 60);
}

std::string alignment_text(bool age_aligned) {
  return age_aligned ? "Age aligned Rank Standardized values"
                     : "Calendar aligned Rank Standardized values";
}

}  // namespace kvr
