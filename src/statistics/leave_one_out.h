#pragma once

#include <span>
#include <vector>

#include "numeric/radix_sort.h"

namespace kvr {

/// Work arrays of leave_one_out_tbrm, kept by a caller that runs it for every year.
struct LeaveOneOutWorkspace {
  std::vector<double> sorted;
  RadixSortWorkspace radix;
};

/// masters[i] = tbrm of the sample x without x[i] (NaN for a sample of one value), for all i
/// at the cost of one sort and a few passes: the median and the median absolute deviation of
/// the n - 1 remaining values are read off the sorted sample by index, which leaves at most
/// nine distinct (median, scale) pairs; the biweight sums of each pair are taken once over all
/// n values and the left-out value's own term is subtracted. x holds no NaN.
void leave_one_out_tbrm(std::span<const double> x, std::span<double> masters,
                        LeaveOneOutWorkspace* workspace);

}  // namespace kvr
