#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kvr {

/// The texts of the tab-separated result tables, which R's read.table(f, header = TRUE,
/// sep = "\t", quote = "", comment.char = "#") and pandas' read_csv(f, sep = "\t",
/// comment = "#") read as they are.

/// A real number in %.6g form, or NA for NaN and infinities.
[[nodiscard]] std::string table_number(double v);
/// The same text appended to *out, without a temporary string.
void append_table_number(std::string* out, double v);

/// An integer in decimal appended to *out.
void append_integer(std::string* out, long long v);

/// A number with `decimals` decimals, or NA for NaN and an empty value.
[[nodiscard]] std::string fixed_or_na(std::optional<double> v, int decimals);

/// A name in a table cell: trailing blanks dropped, tabs, control characters and '#' (which
/// would end the line for the readers) shown as '?'; NA for an empty name.
[[nodiscard]] std::string table_field(std::string_view text);

/// A name or title in a comment line: trailing blanks dropped, control characters shown as '?',
/// so that the line stays one comment line.
[[nodiscard]] std::string comment_field(std::string_view text);

}  // namespace kvr
