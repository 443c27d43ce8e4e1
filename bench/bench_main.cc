// Benchmark of whole analyses, run as a user runs them: answers from a file, plots declined
// (or saved to PostScript with --plots), on an archive-sized input, a quarter-size one (250
// series over the longest span) and the largest inputs the program accepts (1001 series over
// 10001 years), once staggered and once all spanning every year, so that every pair of series
// overlaps fully, and on a real archive file. Prints wall time and peak memory of each run, the
// time of each analysis step measured in-process, and two floors: the plain I/O of the job,
// measured right after the run, and one std::sort of all values. Then it sums up the runs
// against their floors, times the reading of the largest input against a file of the same size
// made of 999 fillers, the fast ranking against the step-by-step one, and the statistics of the
// series report and the RCS comparison step by step.
//
//   build/kvr_bench [--plots] [--keep] [CASE...]
//
// CASE is archive, ca708 (an archive file, when the archive is beside the checkout), quarter,
// staggered or overlapping; without any, all of them run.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_phases.h"
#include "bench/bench_statistics.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// A reproducible generator of decade-format files (0.01 mm, 999 end markers).
class Lcg {
 public:
  explicit Lcg(std::uint64_t seed) : state_(seed) {}
  std::uint32_t next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state_ >> 33);
  }
  int between(int lo, int hi) { return lo + static_cast<int>(next() % (hi - lo + 1)); }

 private:
  std::uint64_t state_;
};

// How the generated series hold their values.
enum class Values {
  kMeasured,  // ring widths in 0.01 mm, the end marker 999
  kFillers,   // 999 fillers but the last value, the end marker -9999: each 999 is 0.999 mm,
              // as only the last record shows, so the reader looks ahead over the whole series
};

void write_series(std::FILE* out, const char* id, int first_year, int length, Values kind,
                  Lcg* random) {
  const int end_marker = kind == Values::kFillers ? -9999 : 999;
  int year = first_year;
  int slots = 10 - ((first_year % 10) + 10) % 10;
  int written = 0;
  for (;;) {
    // Years below -999 take five columns and leave seven for the id.
    if (year < -999) {
      std::fprintf(out, "%-7.7s%5d", id, year);
    } else {
      std::fprintf(out, "%-8.8s%4d", id, year);
    }
    bool done = false;
    for (int s = 0; s < slots; ++s) {
      if (written == length) {
        std::fprintf(out, "%6d", end_marker);
        done = true;
        break;
      }
      int value = random->between(20, 400) - written / 100;
      if (value < 5) value = 5;
      if (kind == Values::kFillers && written + 1 < length) value = 999;
      std::fprintf(out, "%6d", value);
      ++written;
    }
    std::fprintf(out, "\n");
    if (done) return;
    year += slots;
    slots = 10;
  }
}

// `series` series whose calendar span is exactly `span` years from year -4000; the first
// series covers the whole span, the others have lengths from min_length to the span.
void make_input(const fs::path& path, int series, int span, int min_length,
                Values kind = Values::kMeasured) {
  std::FILE* out = std::fopen(path.c_str(), "w");
  Lcg random(4711);
  std::fprintf(out, "BENCH  1 Generated benchmark data\n");
  for (int j = 1; j <= series; ++j) {
    const int length = j == 1 ? span : random.between(min_length, span);
    const int first_year = -4000 + (j == 1 ? 0 : random.between(0, span - length));
    char id[16];
    std::snprintf(id, sizeof id, "B%06d", j);
    write_series(out, id, first_year, length, kind, &random);
  }
  std::fclose(out);
}

struct ChildRun {
  double wall_seconds = 0;
  double peak_megabytes = 0;
  int status = -1;
};

// Runs the program in `folder` with standard input from `answers` and standard output to
// `transcript`, and measures its wall time and peak resident memory.
ChildRun run_program(const fs::path& folder, const std::string& answers,
                     const std::string& transcript) {
  ChildRun run;
  const Clock::time_point start = Clock::now();
  std::fflush(stdout);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::chdir(folder.c_str()) != 0) ::_exit(127);
    std::FILE* in = std::freopen(answers.c_str(), "r", stdin);
    std::FILE* out = std::freopen(transcript.c_str(), "w", stdout);
    if (in == nullptr || out == nullptr) ::_exit(127);
    ::unsetenv("DISPLAY");
    ::execl(KVR_BINARY, KVR_BINARY, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  struct rusage usage {};
  ::wait4(child, &status, 0, &usage);
  run.wall_seconds = seconds_since(start);
  run.peak_megabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::uintmax_t bytes_written(const fs::path& folder, const std::string& input) {
  std::uintmax_t total = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name == input || name == "answers.txt") continue;
    total += entry.file_size();
  }
  return total;
}

// Runs shorter than this are taken kShortRunRepeats times.
constexpr double kShortRun = 0.1;
constexpr int kShortRunRepeats = 9;

// Removes what a run wrote to `folder`: all but the input and the answers.
void remove_results(const fs::path& folder, const std::string& input) {
  std::vector<fs::path> results;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name != input && name != "answers.txt" && entry.is_regular_file()) {
      results.push_back(entry.path());
    }
  }
  for (const fs::path& path : results) fs::remove(path);
}

// Reads the input file and writes `output_bytes` bytes, as the plainest program doing the
// same I/O would.
double io_floor(const fs::path& input, std::uintmax_t output_bytes, const fs::path& scratch) {
  const Clock::time_point start = Clock::now();
  std::ifstream in(input, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  const std::string bytes = content.str();
  std::ofstream out(scratch, std::ios::binary);
  std::uintmax_t left = output_bytes;
  while (left > 0) {
    const std::size_t chunk =
        static_cast<std::size_t>(std::min<std::uintmax_t>(left, bytes.size()));
    out.write(bytes.data(), static_cast<std::streamsize>(chunk));
    left -= chunk;
  }
  out.close();
  return seconds_since(start);
}

// One input: generated, `series` series over `span` years, of lengths from `min_length` up;
// or, when `archive_file` is given, that file of the archive beside the checkout (the case is
// left out when it is not there).
struct BenchCase {
  const char* name;  // as given on the command line
  const char* label;
  int series;
  int span;
  int min_length;
  const char* archive_file = nullptr;
};

constexpr BenchCase kCases[] = {
    {"archive", "archive-sized", 60, 300, 80},
    {"ca708", "archive file itrdb_ca708.rwl", 69, 3205, 0, "itrdb_ca708.rwl"},
    {"quarter", "quarter-size, every series over the whole span", 250, 10001, 10001},
    {"staggered", "largest accepted, staggered", 1001, 10001, 300},
    {"overlapping", "largest accepted, every series over the whole span", 1001, 10001, 10001},
};

// A whole run and the I/O floor measured beside it.
struct CaseResult {
  const BenchCase* bench;
  ChildRun run;
  double floor_seconds;
};

fs::path archive_path(const BenchCase& c) { return fs::path(KVR_SHARED_DATA_DIR) / c.archive_file; }

// The whole run of a case; its input stays in `folder` for the in-process steps.
CaseResult bench_case(const BenchCase& c, const fs::path& folder, const std::string& answers_text) {
  fs::create_directories(folder);
  const std::string input = "bench.rwl";
  if (c.archive_file != nullptr) {
    fs::copy_file(archive_path(c), folder / input);
  } else {
    make_input(folder / input, c.series, c.span, c.min_length);
  }
  {
    std::ofstream answers(folder / "answers.txt");
    answers << answers_text;
  }
  std::printf("\n== %s: %d series, span %d years, input %.1f MB\n", c.label, c.series, c.span,
              static_cast<double>(fs::file_size(folder / input)) / 1e6);

  const std::string answers = (folder / "answers.txt").string();
  const std::string transcript = (folder / "transcript.txt").string();
  ChildRun run = run_program(folder, answers, transcript);
  const std::uintmax_t written = bytes_written(folder, input);
  // A run of milliseconds varies by more than itself from one start to the next: such a run is
  // taken kShortRunRepeats times, each into a folder cleared of the results before, and its
  // median counts.
  if (run.wall_seconds < kShortRun) {
    std::vector<ChildRun> runs{run};
    for (int k = 1; k < kShortRunRepeats; ++k) {
      remove_results(folder, input);
      runs.push_back(run_program(folder, answers, transcript));
    }
    std::sort(runs.begin(), runs.end(),
              [](const ChildRun& a, const ChildRun& b) { return a.wall_seconds < b.wall_seconds; });
    run = runs[runs.size() / 2];
    std::printf("median of %d runs (%.3f to %.3f s)\n", kShortRunRepeats, runs.front().wall_seconds,
                runs.back().wall_seconds);
  }
  std::printf(
      "whole run (build/kvr < answers): %.3f s wall, %.1f MB peak, exit %d, wrote %.1f MB\n",
      run.wall_seconds, run.peak_megabytes, run.status, static_cast<double>(written) / 1e6);

  const double floor = io_floor(folder / input, written, folder / "io_floor.tmp");
  fs::remove(folder / "io_floor.tmp");
  std::printf("I/O floor (read input, write as many bytes): %.3f s; run / floor = %.1f\n", floor,
              run.wall_seconds / floor);
  return {&c, run, floor};
}

// The whole runs side by side, and how the largest input's time grows against the
// quarter-size one's (four times the values, sixteen times the pairs).
void print_summary(const std::vector<CaseResult>& results) {
  std::printf("\n== whole runs against their I/O floor\n");
  std::printf("  %-52s %8s %9s %8s %6s\n", "input", "run", "peak", "floor", "ratio");
  const CaseResult* archive = nullptr;
  const CaseResult* quarter = nullptr;
  const CaseResult* overlapping = nullptr;
  for (const CaseResult& r : results) {
    std::printf("  %-52s %6.3f s %6.1f MB %6.3f s %6.1f\n", r.bench->label, r.run.wall_seconds,
                r.run.peak_megabytes, r.floor_seconds, r.run.wall_seconds / r.floor_seconds);
    if (std::strcmp(r.bench->name, "archive") == 0) archive = &r;
    if (std::strcmp(r.bench->name, "quarter") == 0) quarter = &r;
    if (std::strcmp(r.bench->name, "overlapping") == 0) overlapping = &r;
  }
  if (quarter != nullptr && overlapping != nullptr) {
    std::printf("  largest overlapping / quarter-size: %.2f\n",
                overlapping->run.wall_seconds / quarter->run.wall_seconds);
  }
  // The figures we hold the program to, beside what this run measured.
  std::printf("  targets: ");
  if (overlapping != nullptr) {
    std::printf("largest overlapping at most 3 x its floor (%.1f) and 250 MB (%.0f MB)",
                overlapping->run.wall_seconds / overlapping->floor_seconds,
                overlapping->run.peak_megabytes);
  }
  if (overlapping != nullptr && quarter != nullptr) {
    std::printf(", at most 5 x the quarter-size run (%.1f)",
                overlapping->run.wall_seconds / quarter->run.wall_seconds);
  }
  if (archive != nullptr) {
    std::printf("%sarchive-sized at most 16 ms and 6 MB (%.0f ms, %.1f MB)",
                overlapping != nullptr ? "; " : "", 1000.0 * archive->run.wall_seconds,
                archive->run.peak_megabytes);
  }
  std::printf("\n");
}

// Reads the largest accepted input twice in-process, once of measured values and once of 999
// fillers of the same size: deciding whether each 999 ends its series must cost no more than
// reading a value.
void bench_fillers(const fs::path& folder, bool keep) {
  fs::create_directories(folder);
  const fs::path clean = folder / "clean.rwl";
  const fs::path fillers = folder / "fillers.rwl";
  make_input(clean, 1001, 10001, 300);
  make_input(fillers, 1001, 10001, 300, Values::kFillers);
  std::printf(
      "\n== reading the largest accepted input (%.1f MB): measured values against 999 "
      "fillers\n",
      static_cast<double>(fs::file_size(clean)) / 1e6);
  const double clean_time = kvr::bench::time_reading(clean);
  const double fillers_time = kvr::bench::time_reading(fillers);
  std::printf("  measured values %8.3f s, 999 fillers %8.3f s, ratio %.2f\n", clean_time,
              fillers_time, fillers_time / clean_time);
  if (!keep) fs::remove_all(folder);
}

}  // namespace

int main(int argc, char** argv) {
  bool plots = false;
  bool keep = false;
  std::vector<std::string> chosen;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--plots") == 0) {
      plots = true;
    } else if (std::strcmp(argv[i], "--keep") == 0) {
      keep = true;
    } else {
      chosen.emplace_back(argv[i]);
    }
  }
  // Return, file name, plots, power transformation, calendar alignment, option 1 with class
  // size 100 and RAC 1, KNMI file, Return. With --plots the raw and chronology plots are saved
  // to PostScript ("s", then "c"), headless.
  // The chronology plot is always shown: its menu is answered "c" (or "s", "c").
  const std::string plot_answer = plots ? "y\ns\nc\n" : "n\n";
  const std::string answers =
      "\nbench.rwl\n" + plot_answer + "n\n2\n1\n100\n1\n" + (plots ? "s\nc\n" : "c\n") + "y\n\n";
  const fs::path base = fs::temp_directory_path() / ("kvr_bench_" + std::to_string(::getpid()));
  std::vector<const BenchCase*> cases;
  for (const BenchCase& c : kCases) {
    if (!chosen.empty() && std::find(chosen.begin(), chosen.end(), c.name) == chosen.end()) {
      continue;
    }
    if (c.archive_file != nullptr && !fs::exists(archive_path(c))) continue;
    cases.push_back(&c);
  }
  // Every whole run before the steps in this process: a program started from here counts the
  // memory this process holds at its start in its peak.
  std::vector<CaseResult> results;
  for (const BenchCase* c : cases) results.push_back(bench_case(*c, base / c->name, answers));
  for (const BenchCase* c : cases) {
    std::printf("\n== steps in-process, %s:\n", c->label);
    kvr::bench::time_phases(base / c->name / "bench.rwl", base / c->name / "phases");
    if (!keep) fs::remove_all(base / c->name);
  }
  print_summary(results);
  if (chosen.empty()) {
    bench_fillers(base / "fillers", keep);
    kvr::bench::time_reference_ranking();
    kvr::bench::time_statistics();
  }
  if (!keep) fs::remove_all(base);
  return 0;
}
