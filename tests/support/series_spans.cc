#include "series_spans.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "common/fixed_format.h"

namespace kvr::test {

MeasurementSet set_of_spans(const std::vector<Span>& spans) {
  MeasurementSet set;
  for (const Span& s : spans) {
    SeriesInfo info;
    info.id = pad_right(s.id, 8);
    info.first_year = s.first_year;
    info.length = s.length;
    info.last_year = s.first_year + s.length - 1;
    set.series.push_back(info);
  }
  return set;
}

std::vector<Span> read_spans(const std::string& path, std::vector<std::string>* ids) {
  std::ifstream file(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::replace(text.begin(), text.end(), '\r', '\n');
  std::istringstream in(text);
  std::vector<Span> spans;
  bool inside = false;
  Span current{nullptr, 0, 0};
  for (std::string line; std::getline(in, line);) {
    line = pad_right(line, 80);
    if (line.substr(8, 4) == "    ") continue;
    const std::size_t id_width = line[7] == '-' ? 7 : line[6] == '-' ? 6 : 8;
    std::vector<int> fields;
    bool numeric = true;
    for (std::size_t k = 0; k < 11 && numeric; ++k) {
      const std::string field =
          k == 0 ? line.substr(id_width, 12 - id_width) : line.substr(12 + 6 * (k - 1), 6);
      const std::size_t begin = field.find_first_not_of(' ');
      if (begin == std::string::npos) {
        fields.push_back(0);
        continue;
      }
      const std::string digits = field.substr(begin, field.find_last_not_of(' ') + 1 - begin);
      numeric = digits.find_first_not_of("-0123456789") == std::string::npos;
      if (numeric) fields.push_back(std::stoi(digits));
    }
    if (!numeric) continue;
    int slots = 10;
    if (!inside) {
      const int year = fields[0];
      slots = year >= 0 ? 10 - year % 10 : (-year % 10 == 0 ? 10 : -year % 10);
      ids->push_back(line.substr(0, id_width));
      current = {nullptr, year, 0};
      inside = true;
    }
    for (int k = 1; k <= slots; ++k) {
      const int v = fields[static_cast<std::size_t>(k)];
      if (v == 999 || v == -9999) {
        spans.push_back(current);
        inside = false;
        break;
      }
      ++current.length;
    }
  }
  return spans;
}

}  // namespace kvr::test
