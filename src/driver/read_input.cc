#include "driver/read_input.h"

#include <string>

#include "common/dimensions.h"
#include "common/fixed_format.h"

namespace kvr {
namespace {

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
    case Refusal::Kind::kColumnTable:
      why =
          " The input file is a table of columns (a year, then one value per series), not "
          "decade-format records of measurements.";
      break;
    case Refusal::Kind::kNoSeries:
      why = " The input file holds no tree-ring series.";
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

bool show_reading(Console& console, const MeasurementReading& reading) {
  const std::string echo = echo_text(reading);
  // The echo's text records start with an empty line of their own.
  bool on_prompt_line = echo.empty();
  const auto line = [&](const std::string& text) {
    if (on_prompt_line) console.line("");
    on_prompt_line = false;
    console.line(text);
  };
  console.out() << echo;
  for (const ReadAnomaly& warning : reading.warnings) line(describe(warning));
  if (const std::string why = refusal_line(reading.refusal); !why.empty()) line(why);
  return reading.usable;
}

}  // namespace kvr
