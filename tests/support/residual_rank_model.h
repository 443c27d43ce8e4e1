#pragma once

// A plain model of the residual rank chronology, written from its definition apart from the
// program's AR model: each row of a grid of standardized series prewhitened in double
// precision (Yule-Walker by the Levinson-Durbin recursion, the order by least AIC, gaps
// closed), the residuals stored in single precision at their positions, then combined year by
// year by build_chronology.

#include "common/grid.h"
#include "standardize/chronology.h"

namespace kvr::test {

/// The model's chronology by position 1..span (element p - 1) of rows 1..rows of `by_year`;
/// a row of 3 values or fewer, or a constant one, is left out.
Chronology modelled_residual_chronology(const Grid<float>& by_year, int rows, int span);

}  // namespace kvr::test
