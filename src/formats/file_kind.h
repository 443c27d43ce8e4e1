#pragma once

#include <string_view>

namespace kvr {

/// What a file that was named as measurements holds, judged from its first bytes.
enum class FileKind {
  kMeasurements,  // decade records of measurements, or anything else the reader takes on
  kChronology,    // index records: values of 4 and sample depths of 3 columns (a .crn file)
  kNoaaTemplate,  // '#' lines of metadata and variables, then a data header and rows of a year
                  // and one value per series (looks_like_noaa_template)
  kColumnTable,   // a header of names, then rows of a year and one value per series,
                  // separated by tabs, commas or semicolons (looks_like_column_table)
};

/// Judges the file from `head`, its first bytes (`whole` when they are the whole file; a last
/// line cut by the end of `head` is not judged otherwise): a NOAA template before a column
/// table (a template is one too), a table before a chronology.
FileKind file_kind(std::string_view head, bool whole);

}  // namespace kvr
