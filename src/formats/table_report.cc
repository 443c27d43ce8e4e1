#include "formats/table_report.h"

namespace kvr {
namespace {

std::string number(int n) { return std::to_string(n); }

// "1 value", "3 values".
std::string counted(int n, const std::string& thing) {
  return number(n) + " " + thing + (n == 1 ? "" : "s");
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string codes_text(const std::vector<std::string>& codes) {
  std::string text = codes.size() == 1 ? "missing-value code " : "missing-value codes ";
  for (std::size_t i = 0; i < codes.size(); ++i) {
    if (i > 0) text += ", ";
    text += codes[i];
  }
  return text;
}

std::string what_happened(const TableWarning& w) {
  switch (w.kind) {
    case TableWarningKind::kUncommentedLine:
      return "a header line without its '#' (" + quoted(w.text) + "); passed over";
    case TableWarningKind::kNotMillimeters:
      return "the values of " + number(w.count) + " series from this one are " + w.text + " in " +
             (w.unit.empty() ? "an unnamed unit" : w.unit) +
             ", not ring widths in mm; read as they are";
    case TableWarningKind::kLooksLikeUnits:
      return "every value (" + number(w.count) +
             ") is a whole number of 20 or more; read as mm, though they look like counts of "
             "0.01 or 0.001 mm";
    case TableWarningKind::kMissingCodes:
      return codes_text(w.codes) + " in " + counted(w.count, "value") + " from year " +
             number(w.year) + ", read as missing";
    case TableWarningKind::kNoNumber:
      return counted(w.count, "cell") + " from year " + number(w.year) +
             (w.count == 1 ? " holds" : " hold") + " no number (" + quoted(w.text) +
             "), read as missing";
    case TableWarningKind::kRounded:
      return counted(w.count, "value") + " from year " + number(w.year) +
             (w.count == 1 ? " is" : " are") + " finer than 0.001 mm (" + w.text +
             "), rounded to 0.001 mm";
    case TableWarningKind::kDuplicateId:
      return "column " + number(w.count) + " has the name of column " + number(w.other);
    case TableWarningKind::kNoValues:
      return std::string("it holds no values") +
             (w.count > 0 ? " (" + codes_text(w.codes) + " in " + counted(w.count, "cell") + ")"
                          : "") +
             "; left out";
  }
  return "";
}

}  // namespace

std::string describe(const TableWarning& warning) {
  std::string text = " Warning: line " + number(warning.line_number);
  if (!warning.id.empty()) text += ", series " + quoted(warning.id);
  return text + ": " + what_happened(warning);
}

std::string describe(const TableRefusal& r) {
  const std::string line = "Line " + number(r.line_number);
  switch (r.kind) {
    case TableRefusalKind::kNone:
      return "";
    case TableRefusalKind::kNoHeader:
      return "The file has no header of names before its rows of values (read to line " +
             number(r.line_number) + ").";
    case TableRefusalKind::kStrayLines:
      return line + ": more than " + number(kMaxStrayLines) +
             " lines without '#' before the data header; no data header was found.";
    case TableRefusalKind::kNotCommonEra:
      return line + ": the years are not calendar years CE/AD (" + r.text +
             "); only calendar years can be read.";
    case TableRefusalKind::kNoSeriesColumn:
      return line + ": the header names no series beside the year: a table of one column.";
    case TableRefusalKind::kUnnamedColumn:
      return line + ": column " + number(r.count) + " of the header has no name.";
    case TableRefusalKind::kTooManySeries:
      return line + ": the header names " + number(r.count) + " series; at most " +
             number(r.expected) + " can be read.";
    case TableRefusalKind::kTooManyCells:
    case TableRefusalKind::kTooFewCells:
      return line + " holds " + counted(r.count, "cell") + " where the header gives " +
             number(r.expected) + ".";
    case TableRefusalKind::kYearNotNumber:
      return line + ": the year " + quoted(r.text) + " is no whole number.";
    case TableRefusalKind::kYearBack:
      return line + " goes back to the year " + number(r.year) + " after the year " +
             number(r.other_year) + " of line " + number(r.other_line) +
             "; the rows must follow the years in order.";
    case TableRefusalKind::kRepeatedYear:
      return line + " repeats the year " + number(r.year) + " of line " + number(r.other_line) +
             ".";
    case TableRefusalKind::kSpanTooLong:
      return line + ": values from " + number(r.other_year) + " to " + number(r.year) +
             " span more than " + number(r.count) + " years.";
    case TableRefusalKind::kLineTooLong:
      return line + " is too long to be read as a row.";
    case TableRefusalKind::kNoValues:
      return "No series of the file holds a value.";
  }
  return "";
}

}  // namespace kvr
