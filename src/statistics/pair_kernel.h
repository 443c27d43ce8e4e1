#pragma once

#include <cstddef>
#include <vector>

#include "statistics/signal_windows.h"

namespace kvr {

/// The pair kernel takes the years in blocks of one window lag: a window is two neighbouring
/// blocks, and the whole chronology is all of them.
inline constexpr int kPairBlock = kSignalWindowLag;
static_assert(kSignalWindowLength == 2 * kPairBlock);

/// Row i is paired with kPairLanes rows j at once, one pair per lane of the vector unit.
inline constexpr int kPairLanes = 8;

/// Rows i whose block products with a group are taken together, each value of the group read
/// once for all of them.
inline constexpr int kPairRows = 4;

/// Per block and series, the count, sum and sum of squares of the series' values about its
/// mean; element cell(b, j), so that the rows of a group lie side by side. Series numbers past
/// the last row hold no values: a group may reach beyond it.
struct PairBlockTable {
  int stride = 0;  // series numbers per block
  std::vector<double> count;
  std::vector<double> sum;
  std::vector<double> squares;

  [[nodiscard]] std::size_t cell(int block, int series) const {
    return static_cast<std::size_t>(block) * static_cast<std::size_t>(stride) +
           static_cast<std::size_t>(series);
  }
};

/// Row i and the group of rows j0 .. j0 + kPairLanes - 1 as the kernel reads them.
struct PairGroup {
  const double* row_i = nullptr;        // row i about its mean, 0 where missing: [position - 1]
  const double* rows_j = nullptr;       // the group likewise, year by year:
                                        // [(position - 1 - origin) * kPairLanes + lane]
  int origin = 0;                       // a multiple of kPairBlock
  const char* full = nullptr;           // 1 where every row of the group that exists holds
                                        // every year of the block: [block - origin / kPairBlock]
  const float* raw_i = nullptr;         // row i as stored (kMissing where missing)
  const float* raw_j[kPairLanes] = {};  // rows j as stored; nullptr past the last row
  const double* products = nullptr;     // row i's block products with the group as
  int products_origin = 0;              // group_products gave them (its b0) and row i's place
  int product_row = 0;                  // among the rows taken with it
  int i = 0;
  int j0 = 0;
  double lane[kPairLanes] = {};  // 1 where row j0 + lane pairs with row i, else 0
  int years = 0;                 // positions stored in the rows
  const PairBlockTable* table = nullptr;
};

/// The sums of the lanes' pairs over some of their common years, each series about its own
/// mean.
struct PairLaneSums {
  alignas(64) double n[kPairLanes] = {};
  alignas(64) double sx[kPairLanes] = {};
  alignas(64) double sy[kPairLanes] = {};
  alignas(64) double sxx[kPairLanes] = {};
  alignas(64) double syy[kPairLanes] = {};
  alignas(64) double sxy[kPairLanes] = {};
};

/// The blocks of a group's pairs (b_lo..b_hi hold every year they share) and the part of them
/// that one call takes, first..last.
struct PairBlocks {
  int b_lo = 0;
  int b_hi = -1;
  int first = 0;
  int last = -1;
  int window_count = 0;
};

/// Where the kernel tallies the correlations of one row i against a group, per stretch (0 the
/// whole chronology, 1 + k window k): each lane's correlation (0 where there is none) for the
/// caller to sum, the number of correlations per lane, and a 1 in
/// members[stretch * member_stride + i] for a row i with any.
struct PairTally {
  double* r = nullptr;     // [lane][stretch], `stretches` per lane
  double* hits = nullptr;  // [stretch][lane]
  char* members = nullptr;
  int member_stride = 0;
  int stretches = 0;
};

/// The correlations of row i with each row of the group over blocks.first..blocks.last of
/// blocks.b_lo..blocks.b_hi: *whole carries the sums over the blocks before first in and over
/// the blocks up to last out; each window k < window_count whose second block lies in
/// first..last is tallied, and with `finish` the whole span. Each pair's sums add their terms
/// in one fixed order: in a block where both series hold every year, the series' own sums and
/// a dot product of four running sums; in another, year by year over the years both hold; so
/// the sums do not depend on how the blocks are parted. A pair counts with at least
/// kSignalMinCommonYears common years, neither series constant, and a finite correlation,
/// clamped to -1..1.
void correlate_group(const PairGroup& group, const PairBlocks& blocks, bool finish,
                     PairLaneSums* whole, const PairTally& tally);

/// The block products of kPairRows rows i with a group over blocks b0..b1, each year's terms
/// added in the order of the kernel: out[((b - b0) * kPairRows + r) * kPairLanes + lane] for row
/// rows_i[r] and lane `lane` of rows_j, both laid out as in PairGroup, and blocks lo[r]..hi[r]
/// of row r (the others are left as they are).
void group_products(const double* const (&rows_i)[kPairRows], const int (&lo)[kPairRows],
                    const int (&hi)[kPairRows], const double* rows_j, int origin, int b0, int b1,
                    double* out);

/// The rows of a group about their means, year by year: out[(p - from) * kPairLanes + lane] is
/// rows[lane][p - 1] - means[lane] in double precision for positions from..to, or 0 where that
/// value is kMissing. Every row holds positions from..to.
void center_group(const float* const (&rows)[kPairLanes], const double (&means)[kPairLanes],
                  int from, int to, double* out);

}  // namespace kvr
