#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formats/series_read.h"
#include "io/line_reader.h"

namespace kvr {

/// One edit descriptor of a free-format series' format text.
struct FormatItem {
  enum class Kind { kReal, kSkip };
  Kind kind = Kind::kReal;
  int width = 0;     // columns taken (kSkip: columns skipped)
  int decimals = 0;  // kReal: digits after an implied decimal point
};

/// Parses a format text such as "(10f8.3)" or "(8F10.4)": a parenthesized, comma-separated
/// list of items `[r]Fw.d`, `[r]Ew.d[Ee]`, `[r]Dw.d`, `[r]Gw.d[Ee]` (r repeats, w width, d
/// decimals; letters in either case, blanks ignored) and `[n]X` (skip n columns). Text after
/// the closing parenthesis is ignored. Repeats are expanded into `items`. False, with
/// `items` unspecified, when the text is no such list or holds no real field.
[[nodiscard]] bool parse_free_format(std::string_view text, std::vector<FormatItem>* items);

/// Reads one real field as formatted input does: blanks are ignored, an all-blank field is 0,
/// an optional sign, digits with an optional decimal point, an optional exponent (E, D or Q
/// and a signed integer, or a sign and an integer). Without a decimal point the last
/// `decimals` digits are the fraction. The result is the nearest single-precision number.
/// False when the field is not such a number or its value does not fit a float.
[[nodiscard]] bool read_real_field(std::string_view field, int decimals, float* value);

/// A free-format series as datar reads it.
struct FreeFormatSeries {
  DatarStatus status = DatarStatus::kEndOfFile;
  /// The line the id is taken from: the line that started the series, replaced by every line
  /// before the count line and by the count line unless it begins with "n  " (its first 80
  /// columns, blank padded).
  std::string id_line;
  int count = 0;  // the count line's count (0 without a count line, or for a negative one)
  int first_year = 0;
  std::vector<float> values;  // min(count, max_length) values
};

/// Reads a free-format series: the next lines up to and including its count line (columns
/// 3-10 the count and 13-20 the first year, integers of width 8; columns 23-30 the format
/// text, which must hold "(" and ")"), then `count` reals under that format, taken as they
/// stand. `id_line` is the line that started the series. A line whose fields do not read is
/// passed over.
///
/// At most max_length values are stored; the rest of a longer series is read and dropped.
/// After a read error or an early end of the file the count keeps the value of the count
/// line and the values not read are kMissing, never stale. A negative count is a read error
/// with count 0.
[[nodiscard]] FreeFormatSeries datar(LineReader& in, int max_length, std::string id_line);

}  // namespace kvr
