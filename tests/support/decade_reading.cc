#include "decade_reading.h"

#include <sstream>

#include "io/line_reader.h"

namespace kvr::test {

DecadeReading read_decade(std::istream& in, ReadMode mode, int max_length) {
  DecadeReading reading;
  LineReader lines(in);
  TrrwSeries buffer;
  for (;;) {
    const TrrwStatus status = trrw_read(lines, mode, max_length, &buffer, &reading.state);
    reading.statuses.push_back(status);
    if (status != TrrwStatus::kSeries && status != TrrwStatus::kSeriesTooLong) break;
    reading.series.push_back(buffer);
  }
  return reading;
}

DecadeReading read_decade(const std::string& text, ReadMode mode, int max_length) {
  std::istringstream in(text);
  return read_decade(in, mode, max_length);
}

std::string write_decade(WriteMode mode, const TrrwSeries& series, std::string_view tag) {
  std::ostringstream out;
  trrw_write(out, mode, series, tag);
  return out.str();
}

std::string write_decade(WriteMode mode, const std::vector<TrrwSeries>& all) {
  std::string out;
  for (const TrrwSeries& series : all) out += write_decade(mode, series);
  return out;
}

}  // namespace kvr::test
