#pragma once

#include <string>

#include "io/console.h"
#include "results/run_title.h"
#include "standardize/age_class_table.h"

namespace kvr {

/// What the Age-Class dialogue needs to know of the data.
struct AgeDomain {
  bool age_aligned = true;
  int longest_length = 0;  // domain length when age aligned
  int time_span = 0;       // domain length when calendar aligned
  int earliest_first_year = 0;
  int latest_last_year = 0;
};

/// The Age-Class and RAC dialogue: repeats its attempts until a valid layout is made, fills
/// *table and the layout of *run_title.
/// Returns kEndOfInput or kInvalid when the console gave no usable answer (the run ends).
[[nodiscard]] Answer age_class_dialogue(Console& console, const AgeDomain& domain,
                                        AgeClassTable* table, RunTitle* run_title);

}  // namespace kvr
