// Fuzzes the free-form answer reader: items, yes/no, integers, whole lines and pauses in a
// sequence chosen by the input's first byte.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "io/console.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned pattern = data[0];
  std::istringstream in(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
  std::ostringstream out;
  kvr::Console console(in, out);
  for (unsigned step = 0;; ++step) {
    kvr::Answer answer = kvr::Answer::kOk;
    std::string text;
    bool yes = false;
    int value = 0;
    switch ((pattern >> (step % 4 * 2)) & 3u) {
      case 0:
        answer = console.read_item(&text);
        break;
      case 1:
        answer = console.read_yes_no(&yes);
        break;
      case 2:
        answer = console.read_int(&value);
        break;
      default:
        answer = console.read_line(&text);
        break;
    }
    if (answer == kvr::Answer::kEndOfInput) break;
  }
  return 0;
}
