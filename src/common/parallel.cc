#include "common/parallel.h"

#include <algorithm>
#include <atomic>
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

void run_together(const std::function<void()>& first, const std::function<void()>& second) {
  std::jthread other(second);
  first();
}

}  // namespace kvr
