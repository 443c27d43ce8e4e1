#pragma once

#include <cassert>
#include <cstddef>
#include <vector>

#include "common/large_arrays.h"

namespace kvr {

/// A fixed-shape matrix numbered from 1, like the data: values(series, position).
/// Allocated once, at construction or by reset(); each row (one series) is contiguous.
template <typename T>
class Grid {
 public:
  Grid() = default;
  Grid(int rows, int cols, T fill) { reset(rows, cols, fill); }

  /// Gives the grid a new shape with every cell set to `fill`.
  void reset(int rows, int cols, T fill) {
    assert(rows >= 0 && cols >= 0);
    rows_ = rows;
    cols_ = cols;
    cells_.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols), fill);
  }

  /// Sets every cell to `fill`, keeping the shape.
  void fill(T value) { cells_.assign(cells_.size(), value); }

  T& operator()(int row, int col) { return cells_[index(row, col)]; }
  const T& operator()(int row, int col) const { return cells_[index(row, col)]; }

  /// Row `row` as a pointer to its first cell (position 1).
  T* row(int row) { return cells_.data() + index(row, 1); }
  const T* row(int row) const { return cells_.data() + index(row, 1); }

  int rows() const { return rows_; }
  int cols() const { return cols_; }
  bool contains(int row, int col) const {
    return row >= 1 && row <= rows_ && col >= 1 && col <= cols_;
  }

 private:
  std::size_t index(int row, int col) const {
    assert(contains(row, col));
    return static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(cols_) +
           static_cast<std::size_t>(col - 1);
  }

  int rows_ = 0;
  int cols_ = 0;
  LargeVector<T> cells_;  // huge pages for a large grid
};

}  // namespace kvr
