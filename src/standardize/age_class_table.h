#pragma once

#include <vector>

namespace kvr {

/// One Age Class: positions start..end inclusive (ages, or calendar positions).
struct AgeClass {
  int start = 0;
  int end = 0;
};

/// The layout of Age Classes and the Reference Age Class (RAC). classes[k - 1] is class k;
/// classes are contiguous and in increasing position order. An end may lie beyond the last
/// stored position (the overrunning last class, an x2 beyond the domain); readers of the value
/// grids stop at the last stored position.
struct AgeClassTable {
  std::vector<AgeClass> classes;
  int class_size = 0;
  int rac_index = 0;  // 1..count()
  int rac_start = 0;
  int rac_end = 0;

  int count() const { return static_cast<int>(classes.size()); }
  const AgeClass& at(int k) const { return classes[static_cast<std::size_t>(k - 1)]; }
};

}  // namespace kvr
