#pragma once

// Grids written out row by row, for the tests of the routines that take value grids.

#include <cstddef>
#include <vector>

#include "common/dimensions.h"
#include "common/grid.h"

namespace kvr {

/// A grid whose row i is rows[i - 1]; every row as long as the first.
inline Grid<float> make_grid(const std::vector<std::vector<float>>& rows) {
  Grid<float> grid(static_cast<int>(rows.size()), static_cast<int>(rows.at(0).size()), kMissing);
  for (int i = 1; i <= grid.rows(); ++i) {
    for (int j = 1; j <= grid.cols(); ++j) {
      grid(i, j) = rows[static_cast<std::size_t>(i - 1)].at(static_cast<std::size_t>(j - 1));
    }
  }
  return grid;
}

/// The rows of a grid, for comparing it with what make_grid was given.
template <typename T>
std::vector<std::vector<T>> rows_of(const Grid<T>& grid) {
  std::vector<std::vector<T>> rows;
  for (int i = 1; i <= grid.rows(); ++i) rows.emplace_back(grid.row(i), grid.row(i) + grid.cols());
  return rows;
}

}  // namespace kvr
