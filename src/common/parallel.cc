#include "common/parallel.h"

#include <algorithm>
#include <atomic>
#include <ostream>
#include <thread>
#include <vector>

namespace kvr {

void parallel_for(int count, const std::function<void(int index, int worker)>& work) {
  std::atomic<int> next{0};
  auto take = [&](int worker) {
    for (int index = next++; index < count; index = next++) work(index, worker);
  };
  // No more threads than pieces of work; the helpers are joined on return.
  std::vector<std::jthread> helpers;
  for (int worker = 1; worker < kWorkers && worker < count; ++worker) {
    helpers.emplace_back(take, worker);
  }
  take(0);
}

void write_pieces(std::ostream& out, int count,
                  const std::function<void(int index, std::string* text)>& fill) {
  std::vector<std::string> texts(kWorkers);
  for (int start = 0; start < count; start += kWorkers) {
    parallel_for(std::min(kWorkers, count - start), [&](int index, int) {
      std::string& text = texts[static_cast<std::size_t>(index)];
      text.clear();
      fill(start + index, &text);
    });
    for (int index = 0; index < kWorkers && start + index < count; ++index) {
      out << texts[static_cast<std::size_t>(index)];
    }
  }
}

void run_together(const std::function<void()>& first, const std::function<void()>& second) {
  std::jthread other(second);
  first();
}

}  // namespace kvr
