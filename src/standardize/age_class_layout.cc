#include "standardize/age_class_layout.h"

namespace kvr {

std::vector<AgeClass> fixed_size_classes(int length, int size) {
  std::vector<AgeClass> classes;
  const long long count = length >= 1 ? (static_cast<long long>(length) + size - 1) / size : 0;
  classes.reserve(static_cast<std::size_t>(count));
  for (long long k = 1; k <= count; ++k) {
    // With k >= 2, a start within the domain bounds the end by 2 * length; with k = 1 the end
    // is the size itself: both fit an int.
    const long long start = 1 + (k - 1) * size;
    const long long end = k * size;
    classes.push_back({static_cast<int>(start), static_cast<int>(end)});
  }
  return classes;
}

AgeClassTable rac_bounds_layout(int rac_start, int rac_end, int length) {
  const long long size = static_cast<long long>(rac_end) - rac_start + 1;
  AgeClassTable table;
  // Below the RAC, built downwards from rac_start - 1; the lowest class is cut at position 1.
  std::vector<AgeClass> below;
  for (long long end = rac_start - 1; end >= 1;) {
    long long start = end - size + 1;
    if (start <= 1) start = 1;
    below.push_back({static_cast<int>(start), static_cast<int>(end)});
    end = start - 1;
  }
  table.classes.assign(below.rbegin(), below.rend());
  table.classes.push_back({rac_start, rac_end});
  table.rac_index = table.count();
  // Above the RAC, built upwards from rac_end + 1; the highest class is cut at the domain's end.
  for (long long start = static_cast<long long>(rac_end) + 1; start <= length;) {
    long long end = start + size - 1;
    if (end >= length) end = length;
    table.classes.push_back({static_cast<int>(start), static_cast<int>(end)});
    start = end + 1;
  }
  table.class_size = static_cast<int>(size);
  table.rac_start = rac_start;
  table.rac_end = rac_end;
  return table;
}

}  // namespace kvr
