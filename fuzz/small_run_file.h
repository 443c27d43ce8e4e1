#pragma once

// The measurement file that every fuzzed run reads; the corpus tests read it too.

#include <cstdio>
#include <string>

namespace kvr::fuzz {

/// The name the answers give at the file-name prompt.
inline constexpr const char* kSmallRunFileName = "small.rwl";

/// Twelve series, series j (0..11) from 1901 + 3j with 30 + 4j values, so the file spans
/// 1901-2007 and the longest series has 74 values. Series 5 is in 0.001 mm, the others in
/// 0.01 mm; the fourth value of every series is 0.
inline std::string small_run_file() {
  std::string file = "FUZZ01 1 A small file for fuzzed answers\n";
  for (int j = 0; j < 12; ++j) {
    const int first = 1901 + 3 * j;
    char line[96];
    std::string id = "FZ" + std::to_string(10 + j) + "  ";
    int year = first;
    int slots = 10 - first % 10;
    int k = 0;
    const int length = 30 + 4 * j;
    for (;;) {
      std::string record;
      std::snprintf(line, sizeof line, "%-8.8s%4d", id.c_str(), year);
      record = line;
      bool done = false;
      for (int s = 0; s < slots; ++s) {
        if (k == length) {
          std::snprintf(line, sizeof line, "%6d", j == 5 ? -9999 : 999);
          record += line;
          done = true;
          break;
        }
        std::snprintf(line, sizeof line, "%6d", k == 3 ? 0 : 50 + (k * 37 + j * 11) % 200);
        record += line;
        ++k;
      }
      file += record + "\n";
      if (done) break;
      year += slots;
      slots = 10;
    }
  }
  return file;
}

}  // namespace kvr::fuzz
