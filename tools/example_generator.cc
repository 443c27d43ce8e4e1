// Writes the example measurement file: 30 synthetic series in decade format, with growth that
// falls with cambial age and a year-to-year signal common to all trees, so that age
// standardization visibly matters. Deterministic: the same file on every machine.
//
//   build/example_generator > examples/example_spruce.rwl

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// A small linear congruential generator, so that the file does not depend on the standard
// library's distributions.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  double uniform() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state_ >> 11) / 9007199254740992.0;
  }
  double normal() {
    const double u = uniform() + 1e-12;
    const double v = uniform();
    return std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * v);
  }
  int between(int lo, int hi) { return lo + static_cast<int>(uniform() * (hi - lo + 1)); }

 private:
  std::uint64_t state_;
};

constexpr int kFirstYear = 1700;
constexpr int kLastYear = 2000;
constexpr int kSeries = 30;

// Values in the slots of the first record of a series starting in `year`.
int first_record_slots(int year) { return 10 - year % 10; }

// Writes one series as measurement records: id in columns 1-8, year in 9-12, ten values of
// six columns; the end marker follows the last value, on a record of its own when the last
// record is full.
void write_series(const std::string& id, int first_year, const std::vector<int>& values,
                  int end_marker) {
  std::size_t k = 0;
  int year = first_year;
  int slots = first_record_slots(first_year);
  for (;;) {
    std::printf("%-8.8s%4d", id.c_str(), year);
    bool done = false;
    for (int s = 0; s < slots; ++s) {
      if (k == values.size()) {
        std::printf("%6d", end_marker);
        done = true;
        break;
      }
      std::printf("%6d", values[k++]);
    }
    std::printf("\n");
    if (done) return;
    year += slots;
    slots = 10;
  }
}

}  // namespace

int main() {
  Random random(20171);

  // The common signal: an autocorrelated log-normal factor per year.
  std::vector<double> signal(kLastYear - kFirstYear + 1);
  double previous = 0.0;
  for (double& s : signal) {
    previous = 0.45 * previous + 0.22 * random.normal();
    s = std::exp(previous);
  }

  std::printf("EXM001 1 Example Ridge Spruce (synthetic measurements)           PCAB\n");
  std::printf("EXM001 2 Nowhere Land   Picea abies          1250M  4612N00712E    1701 2000\n");
  std::printf("EXM001 3 Made by tools/example_generator for the KVR examples\n");

  for (int n = 1; n <= kSeries; ++n) {
    const int length = random.between(50, 300);
    const int latest_start = kLastYear - length + 1;
    const int start_lo = std::max(kFirstYear + 1, latest_start - 120);
    const int first_year = random.between(start_lo, latest_start);

    // Juvenile growth, its decay with age and the old-age level differ between trees.
    const double juvenile = 2.0 + 1.5 * random.uniform();
    const double decay = 0.012 + 0.02 * random.uniform();
    const double old_age = 0.35 + 0.3 * random.uniform();
    const bool thousandths = n == 17;  // one series measured in 0.001 mm
    const double unit = thousandths ? 1000.0 : 100.0;

    std::vector<int> values;
    for (int age = 1; age <= length; ++age) {
      const int year = first_year + age - 1;
      const double trend = juvenile * std::exp(-decay * age) + old_age;
      const double noise = std::exp(0.12 * random.normal());
      int value = static_cast<int>(std::lround(trend * signal[year - kFirstYear] * noise * unit));
      if (value < 1) value = 1;
      if (!thousandths && value == 999) value = 1000;  // 999 would end the series
      values.push_back(value);
    }
    char id[16];
    std::snprintf(id, sizeof id, "EXM%03d%c", (n + 1) / 2, n % 2 == 1 ? 'A' : 'B');
    write_series(id, first_year, values, thousandths ? -9999 : 999);
  }
  return 0;
}
