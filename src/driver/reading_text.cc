#include "driver/reading_text.h"

#include <string>
#include <utility>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "driver/table_text.h"
#include "formats/decade_format.h"

namespace kvr {
namespace {

std::string number(int n) { return std::to_string(n); }

// "1 value", "3 values".
std::string counted(int n, const std::string& thing) {
  return number(n) + " " + thing + (n == 1 ? "" : "s");
}

std::string quoted(const std::string& id) { return "\"" + trim_right(id) + "\""; }

std::string years(int first, int last) {
  return first == last ? "the year " + number(first)
                       : "the years " + number(first) + " to " + number(last);
}

std::string units_text(const ReadAnomaly& a) {
  const std::string units = a.units == 1000 ? "0.001 mm" : "0.01 mm";
  if (a.units_series == 0) return units + " (no other series of the file has an end marker)";
  return units + ", as " + number(a.units_series) + " other series of the file";
}

std::string codes_text(const std::vector<int>& codes) {
  std::string text = codes.size() == 1 ? "missing-value code " : "missing-value codes ";
  for (std::size_t i = 0; i < codes.size(); ++i) {
    if (i > 0) text += ", ";
    text += number(codes[i]);
  }
  return text;
}

// The forms of "not a number" met, e.g. "\"NaN\", \".\"".
std::string forms_text(int forms) {
  std::string text;
  for (const auto& [form, shown] :
       {std::pair{kNaNForm, "\"NaN\""}, {kNAForm, "\"NA\""}, {kDotForm, "\".\""}}) {
    if ((static_cast<unsigned>(forms) & form) == 0) continue;
    text += (text.empty() ? "" : ", ") + std::string(shown);
  }
  return text;
}

std::string what_happened(const ReadAnomaly& a) {
  switch (a.kind) {
    case ReadAnomalyKind::kYearGap:
      return "the record's year " + number(a.year) + " leaves " +
             years(a.expected_year, a.year - 1) + " without values, read as missing";
    case ReadAnomalyKind::kYearBack:
      return "the record's year " + number(a.year) + " goes back to years already read (line " +
             number(a.other_line) + " reached " + number(a.last_year) +
             "); the series ends before it, in " + units_text(a) +
             ", and the record starts a new series";
    case ReadAnomalyKind::kLostEndMarker:
      return "the record of " + quoted(a.other_id) + " (" + number(a.year) +
             ") follows without an end marker; the series ends at " + number(a.last_year) +
             ", in " + units_text(a);
    case ReadAnomalyKind::kOtherId:
      return "the record's id " + quoted(a.other_id) +
             " differs, but its year continues the series; read as part of it";
    case ReadAnomalyKind::kMissingCodes:
      return codes_text(a.codes) + " in " + counted(a.count, "value") + " from year " +
             number(a.year) + ", read as missing";
    case ReadAnomalyKind::kNotANumber:
      return forms_text(a.value) + " in " + counted(a.count, "value") + " from year " +
             number(a.year) + ", read as missing";
    case ReadAnomalyKind::kFillerValue:
      return "filler value " + number(a.value) + " in year " + number(a.year) +
             " of a measurement series, kept as read";
    case ReadAnomalyKind::kNotEndMarker:
      return "999 in " + counted(a.count, "value") + " from year " + number(a.year) +
             " is followed by measurements, so it ends nothing; " +
             (a.units == 1000 ? "read as 0.999 mm, the series being in 0.001 mm"
                              : "read as missing, the series being in 0.01 mm");
    case ReadAnomalyKind::kMarkerInSeries:
      return "-9999 in " + counted(a.count, "value") + " from year " + number(a.year) +
             " is followed by measurements, so it ends nothing; read as missing";
    case ReadAnomalyKind::kEleventhField:
      return "the end marker " + number(a.value) +
             " stands after the record's tenth value, where a record has no field; it ends the "
             "series, in " +
             (a.value == kEndMarker ? "0.01 mm" : "0.001 mm");
    case ReadAnomalyKind::kPassedOver:
      return (a.count == 1 ? "a record after the end marker (line " + number(a.other_line) +
                                 ") holds only missing values; passed over"
                           : counted(a.count, "record") + " after the end marker (line " +
                                 number(a.other_line) + "), to line " + number(a.last_line) +
                                 ", hold only missing values; passed over");
    case ReadAnomalyKind::kIdIntoYear:
      return "the id runs into the year; read as the id " + quoted(a.id) + " and the year " +
             number(a.year);
    case ReadAnomalyKind::kByCharacters:
      return "the record holds UTF-8 characters; its columns are counted in characters";
    case ReadAnomalyKind::kShiftedValues:
      return "the values are shifted in their columns; the record is read by splitting at "
             "blanks";
    case ReadAnomalyKind::kUnalignedValues:
      return "the values are not right-aligned in their columns and do not split into the "
             "record's slots; read from the columns as they stand";
    case ReadAnomalyKind::kFieldNoNumber:
      return "field " + number(a.count) + " of the record (year " + number(a.year) +
             ") is no number, read as missing";
    case ReadAnomalyKind::kCutMarker:
      return "field " + number(a.count) + " of the record (year " + number(a.year) + ") reads " +
             number(a.value) +
             " only as a piece of a number cut across fields; read as missing, not as an end "
             "marker";
    case ReadAnomalyKind::kBeyondSlots:
      return "the record's year " + number(a.year) + " leaves it " + counted(a.count, "slot") +
             " to the end of its decade; the values after " + (a.count == 1 ? "it" : "them") +
             " were not read";
    case ReadAnomalyKind::kRecordNotRead:
      return "the line does not read as a record of the series; its values were not read";
    case ReadAnomalyKind::kCutByEndOfFile:
      return "the file ends inside it, before its end marker; the series is left out";
    case ReadAnomalyKind::kEndOfFileInSeries:
      return "the file ends inside the series, before its end marker; the series ends at " +
             number(a.last_year) + ", in " + units_text(a);
    case ReadAnomalyKind::kNoValues:
      return "it holds no values";
    case ReadAnomalyKind::kJoined:
      return "the id comes back after its series of line " + number(a.other_line) + " ended; " +
             years(a.year, a.last_year) + (a.year == a.last_year ? " overlaps" : " overlap") +
             " none of its years, so both join into one series (" + number(a.joined_first) +
             " to " + number(a.joined_last) + ")" +
             (a.count > 0 ? " with " + counted(a.count, "missing year") + " between" : "");
    case ReadAnomalyKind::kDuplicateId:
      return "the id of series " + number(a.count) + " (line " + number(a.other_line) + ") again";
  }
  return "";
}

std::string years_of(const SeriesInfo& info) {
  return std::to_string(info.first_year) + " to " + std::to_string(info.last_year);
}

std::string name_of(const SeriesInfo& info) {
  return "\"" + trim_right(info.id) + "\" (" + years_of(info) + ")";
}

// The console shows control characters of a damaged file as '?', so that no escape sequence
// reaches the terminal.
std::string shown(const std::string& record) {
  std::string text = record;
  for (char& c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = '?';
  }
  return text;
}

}  // namespace

std::string warning_line(const ReadAnomaly& anomaly) {
  std::string text =
      " Warning: line " + number(anomaly.line_number) + ", series " + quoted(anomaly.id);
  // A series left out is named with its first year, as it appears nowhere else.
  if (anomaly.kind == ReadAnomalyKind::kCutByEndOfFile) {
    text += " (first year " + number(anomaly.year) + ")";
  }
  return text + ": " + what_happened(anomaly);
}

std::string echo_text(const MeasurementReading& reading) {
  std::string echo;
  for (const ReadText& read : reading.text) {
    for (std::size_t i = 0; i < read.text_records.size(); ++i) {
      echo += i == 0 ? "\n title of data:\n " : " ";
      echo += shown(read.text_records[i]) + '\n';
    }
    if (read.free_format == DatarStatus::kReadError) {
      echo += ">> sbr datar:  error reading data\n";
    } else if (read.free_format == DatarStatus::kUnexpectedEnd) {
      echo += ">> sbr datar:  unexpected end reading data\n";
    }
  }
  if (reading.refusal.kind == Refusal::Kind::kTooManyTextLines) {
    echo += " sbr trrw:  over 25 text lines\n";
  }
  return echo;
}

std::string refusal_line(const Refusal& refusal) {
  std::string why;
  switch (refusal.kind) {
    case Refusal::Kind::kNone:
    case Refusal::Kind::kTooManyTextLines:  // the echo says it
      return "";
    case Refusal::Kind::kChronology:
      why =
          " The input file holds a chronology (index records with sample depth), not tree-ring "
          "measurements.";
      break;
    case Refusal::Kind::kTable:
      why = table_refusal_text(refusal.table);
      break;
    case Refusal::Kind::kNoSeries:
      why =
          " The input file holds no tree-ring series: expected decade-format records of "
          "measurements, a NOAA template file, or a column table of a year and one value per "
          "series.";
      break;
    case Refusal::Kind::kSeriesTooLong:
      why = " Series " + name_of(refusal.series) + " holds " +
            std::to_string(refusal.series.length) + " values; the limit is " +
            std::to_string(kMaxPositions) + " values per series.";
      break;
    case Refusal::Kind::kUnwritableYears:
      why = " Series " + name_of(refusal.series) + " has years outside " +
            std::to_string(kEarliestWritableYear) + " to " + std::to_string(kLatestWritableYear) +
            ", the years that KVRmodeled.raw and KVRmodeled.crn can hold.";
      break;
    case Refusal::Kind::kTooManySeries:
      why = " The file holds more than " + std::to_string(kMaxSeries) +
            " series, the limit; series " + std::to_string(kMaxSeries + 1) + " is " +
            name_of(refusal.series) + ".";
      break;
    case Refusal::Kind::kSpanTooLong:
      why = " The series span " + std::to_string(refusal.time_span) + " years, from series " +
            name_of(refusal.series) + " to series " + name_of(refusal.latest) + "; the limit is " +
            std::to_string(kMaxPositions) + " years.";
      break;
  }
  return why + " Program terminating.";
}

}  // namespace kvr
