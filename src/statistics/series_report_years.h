#pragma once

#include <cstddef>
#include <functional>
#include <span>

#include "statistics/position_samples.h"

namespace kvr {

/// Years walked per block by for_each_master_block, at most: each series' values of a block lie
/// in one row of as many cells.
inline constexpr int kMasterBlock = 1024;

/// One block of years first..last of the walk: the values of series j at year y in
/// value(j, y), the leave-one-out master of that value in master(j, y); both NaN where the
/// series has no value or the value no master (the only value of its year). Read only within
/// the series' span. Each series' row holds `stride` years.
class MasterBlock {
 public:
  MasterBlock(int first, int last, std::size_t stride, const double* values, const double* masters)
      : first_(first), last_(last), stride_(stride), values_(values), masters_(masters) {}

  [[nodiscard]] int first() const { return first_; }
  [[nodiscard]] int last() const { return last_; }
  [[nodiscard]] double value(std::size_t j, int year) const { return values_[cell(j, year)]; }
  [[nodiscard]] double master(std::size_t j, int year) const { return masters_[cell(j, year)]; }

 private:
  [[nodiscard]] std::size_t cell(std::size_t j, int year) const {
    return j * stride_ + static_cast<std::size_t>(year - first_);
  }
  int first_;
  int last_;
  std::size_t stride_;
  const double* values_;
  const double* masters_;
};

/// Walks the years first..last in blocks on both cores: of kMasterBlock years, or of fewer when
/// the walk is too small to share between the cores (share_out). For each block: the
/// values of every series whose span meets it come from fill(j, from, out), called for runs
/// of consecutive years that cover spans[j] within first..last once, in rising order for each
/// series (it may keep state per series, a filter fed in order; calls for different series
/// run at the same time); then each year's leave_one_out_tbrm over the values present, in
/// series order, gives the masters; then take(j, block) is called for every series j (at the
/// same time for different series, once per block and series, blocks in order). The results
/// do not depend on which thread does what.
void for_each_master_block(
    std::span<const PositionSpan> spans, int first, int last,
    const std::function<void(std::size_t j, int from, std::span<double> out)>& fill,
    const std::function<void(std::size_t j, const MasterBlock& block)>& take);

}  // namespace kvr
