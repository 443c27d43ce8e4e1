#include "decade_reading.h"

#include <sstream>
#include <utility>

#include "io/line_reader.h"

namespace kvr::test {

DecadeReading read_decade(std::istream& in, int max_length) {
  DecadeReading reading;
  LineReader lines(in);
  SeriesReader reader(lines, max_length);
  for (;;) {
    SeriesRead read = reader.next();
    reading.kinds.push_back(read.kind);
    reading.text_records.push_back(read.text_records);
    reading.free_format.push_back(read.free_format);
    reading.anomalies.insert(reading.anomalies.end(), read.anomalies.begin(), read.anomalies.end());
    reading.cut = read.cut;
    if (read.kind != SeriesRead::Kind::kSeries && read.kind != SeriesRead::Kind::kSeriesTooLong) {
      break;
    }
    reading.series.push_back(std::move(read.series));
  }
  return reading;
}

DecadeReading read_decade(const std::string& text, int max_length) {
  std::istringstream in(text);
  return read_decade(in, max_length);
}

MeasurementReading read_measurements(const std::string& bytes) {
  std::istringstream in(bytes);
  return read_measurement_file(in);
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
