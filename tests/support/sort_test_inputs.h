#pragma once

// Inputs shared by the sort tests: every shape that has tripped up a quicksort (sorted,
// reversed, all equal, organ pipe, few distinct values) plus plain random data.

#include <cstddef>
#include <random>
#include <string>
#include <vector>

namespace kvr::sort_testing {

struct SortInput {
  std::string name;
  std::vector<float> values;
};

inline std::vector<SortInput> sort_inputs(int n, unsigned seed) {
  std::mt19937 rng(seed);
  const std::size_t size = static_cast<std::size_t>(n);
  std::vector<SortInput> inputs;
  std::vector<float> v(size);

  std::uniform_real_distribution<float> real(-1000.0f, 1000.0f);
  for (float& x : v) x = real(rng);
  inputs.push_back({"random", v});

  // Ring widths in hundredths of a millimetre repeat a lot.
  std::uniform_int_distribution<int> few(0, 5);
  for (float& x : v) x = static_cast<float>(few(rng)) * 0.01f;
  inputs.push_back({"few distinct", v});

  for (std::size_t i = 0; i < size; ++i) v[i] = static_cast<float>(i);
  inputs.push_back({"ascending", v});

  for (std::size_t i = 0; i < size; ++i) v[i] = static_cast<float>(size - i);
  inputs.push_back({"descending", v});

  for (float& x : v) x = -99.99f;
  inputs.push_back({"all equal", v});

  for (std::size_t i = 0; i < size; ++i) v[i] = static_cast<float>(i < size / 2 ? i : size - i);
  inputs.push_back({"organ pipe", v});

  // Signs mixed with zeros: the descending sort negates the values.
  std::uniform_int_distribution<int> sign(-2, 2);
  for (float& x : v) x = static_cast<float>(sign(rng)) * 1.5f;
  inputs.push_back({"signed with zeros", v});
  return inputs;
}

/// Sizes around the insertion threshold and the partition boundaries, and a few large ones.
inline std::vector<int> sort_sizes() {
  std::vector<int> sizes;
  for (int n = 0; n <= 40; ++n) sizes.push_back(n);
  for (int n : {63, 64, 65, 127, 1000, 4097, 30000}) sizes.push_back(n);
  return sizes;
}

}  // namespace kvr::sort_testing
