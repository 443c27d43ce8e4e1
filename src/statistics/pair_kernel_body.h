// The pair kernel's code. pair_kernel.cc includes this file once for each vector unit it
// is built for, inside a namespace of its own and under that unit's target, so that the
// compiler lays out the lanes' vectors for that unit in every helper (a helper compiled for
// the baseline and inlined later keeps the baseline's code). It includes nothing: the file
// that includes it brings pair_kernel.h, dimensions.h, <algorithm>, <cmath>, <cstdint> and
// <cstring> first.

constexpr int kBlock = kPairBlock;
constexpr int kLanes = kPairLanes;

// A variance below this share of the series' sum of squares about its own mean is rounding
// left over from a stretch where the series is constant (the values are floats of about 7
// digits, so a real variation is far larger): such a correlation cannot be computed.
constexpr double kConstantShare = 1e-12;

std::size_t at(int index) { return static_cast<std::size_t>(index); }

// The lanes as one vector of the compiler's vector extension, and a comparison's result.
using Lanes = double __attribute__((vector_size(kLanes * sizeof(double))));
using Mask = std::int64_t __attribute__((vector_size(kLanes * sizeof(std::int64_t))));

// Whether any lane of a comparison's result holds.
inline bool any(const Mask& lanes) {
  Mask m = lanes;
  static_assert(kLanes == 8);
  m |= __builtin_shufflevector(m, m, 4, 5, 6, 7, 0, 1, 2, 3);
  m |= __builtin_shufflevector(m, m, 2, 3, 0, 1, 2, 3, 0, 1);
  m |= __builtin_shufflevector(m, m, 1, 0, 1, 0, 1, 0, 1, 0);
  return m[0] != 0;
}

inline void load(const double* from, Lanes* to) { std::memcpy(to, from, sizeof(Lanes)); }
inline void store(const Lanes& from, double* to) { std::memcpy(to, &from, sizeof(Lanes)); }

// The sums of the lanes' pairs over some of their common years.
struct Sums {
  Lanes n, sx, sy, sxx, syy, sxy;
};

inline void load(const PairLaneSums& from, Sums* to) {
  load(from.n, &to->n);
  load(from.sx, &to->sx);
  load(from.sy, &to->sy);
  load(from.sxx, &to->sxx);
  load(from.syy, &to->syy);
  load(from.sxy, &to->sxy);
}

inline void store(const Sums& from, PairLaneSums* to) {
  store(from.n, to->n);
  store(from.sx, to->sx);
  store(from.sy, to->sy);
  store(from.sxx, to->sxx);
  store(from.syy, to->syy);
  store(from.sxy, to->sxy);
}

inline void add(const Sums& a, const Sums& b, Sums* out) {
  out->n = a.n + b.n;
  out->sx = a.sx + b.sx;
  out->sy = a.sy + b.sy;
  out->sxx = a.sxx + b.sxx;
  out->syy = a.syy + b.syy;
  out->sxy = a.sxy + b.sxy;
}

// One block's products of kRows rows a[r] with the lanes y_at, into out[r * kLanes + lane]: each
// row's products go into four running sums of every fourth product combined as
// (s0 + s1) + (s2 + s3), then the last product, the order of a dot product whose additions do
// not wait for each other.
template <int kRows>
inline void block_products(const double* const* a, const double* y_at, double* out,
                           std::size_t out_stride) {
  constexpr int kRuns = 4;
  Lanes run[kRows][kRuns] = {};
  Lanes y;
  int t = 0;
  for (; t + kRuns <= kBlock; t += kRuns) {
    for (int k = 0; k < kRuns; ++k) {
      load(y_at + at(t + k) * kLanes, &y);
      for (int r = 0; r < kRows; ++r) run[r][k] += a[r][t + k] * y;
    }
  }
  for (int r = 0; r < kRows; ++r) {
    Lanes sxy = (run[r][0] + run[r][1]) + (run[r][2] + run[r][3]);
    for (int u = t; u < kBlock; ++u) {
      load(y_at + at(u) * kLanes, &y);
      sxy += a[r][u] * y;
    }
    store(sxy, out + at(r) * out_stride);
  }
}

// See group_products: blocks where every row holds a value take the rows together, the others
// row by row.
inline void products(const double* const* rows_i, const int* lo, const int* hi,
                     const double* rows_j, int origin, int b0, int b1, double* out) {
  constexpr int kRows = kPairRows;
  for (int b = b0; b <= b1; ++b) {
    const double* y_at = rows_j + at(b * kBlock - origin) * kLanes;
    const double* a[kRows];
    bool all = true;
    for (int r = 0; r < kRows; ++r) {
      a[r] = rows_i[r] + at(b * kBlock);
      all = all && lo[r] <= b && b <= hi[r];
    }
    double* to = out + at(b - b0) * kRows * kLanes;
    if (all) {
      block_products<kRows>(a, y_at, to, kLanes);
      continue;
    }
    for (int r = 0; r < kRows; ++r) {
      if (lo[r] <= b && b <= hi[r]) block_products<1>(&a[r], y_at, to + at(r) * kLanes, kLanes);
    }
  }
}

// See center_group.
inline void center(const float* const* rows, const double* means, int from, int to, double* out) {
  const Lanes zero = {};
  const Lanes missing = zero + static_cast<double>(kMissing);
  Lanes mean;
  load(means, &mean);
  for (int p = from; p <= to; ++p) {
    Lanes v;
    for (int l = 0; l < kLanes; ++l) v[l] = static_cast<double>(rows[l][p - 1]);
    store(v == missing ? zero : v - mean, out + at(p - from) * kLanes);
  }
}

// Correlates the lanes' sums and tallies them in `stretch`, all lanes side by side.
inline void tally(const Sums& s, const PairGroup& g, int stretch, const PairTally& out) {
  const Lanes zero = {};
  const Lanes one = zero + 1.0;
  const Lanes vx = s.n * s.sxx - s.sx * s.sx;
  const Lanes vy = s.n * s.syy - s.sy * s.sy;
  Lanes lane;
  load(g.lane, &lane);
  Mask ok = (lane != zero) & (s.n >= zero + kSignalMinCommonYears) &
            (vx > kConstantShare * s.n * s.sxx) & (vy > kConstantShare * s.n * s.syy);
  const Lanes squared = ok ? vx * vy : one;
  Lanes root;
  for (int l = 0; l < kLanes; ++l) root[l] = std::sqrt(squared[l]);
  const Lanes q = (s.n * s.sxy - s.sx * s.sy) / root;
  // q - q is 0 for a finite q and not a number for an infinite one or none.
  ok &= q - q == zero;
  const Lanes r = ok ? (q < -one ? -one : (one < q ? one : q)) : zero;
  for (int l = 0; l < kLanes; ++l) out.r[at(l) * at(out.stretches) + at(stretch)] = r[l];
  Lanes hits;
  load(out.hits + at(stretch) * kLanes, &hits);
  store(hits + (ok ? one : zero), out.hits + at(stretch) * kLanes);
  if (any(ok)) out.members[at(stretch) * at(out.member_stride) + at(g.i)] = 1;
}

// The sums of block b for a lane where one of the two series lacks a year of it: over the
// years where both have a value, one after the other.
inline void gap_block(const PairGroup& g, int b, int lane, Sums* s) {
  double n = 0.0, sx = 0.0, sy = 0.0, sxx = 0.0, syy = 0.0, sxy = 0.0;
  const float* raw_j = g.raw_j[lane];
  const int to = std::min((b + 1) * kBlock, g.years);
  for (int p = b * kBlock + 1; p <= to; ++p) {
    if (is_missing(g.raw_i[p - 1]) || is_missing(raw_j[p - 1])) continue;
    const double x = g.row_i[p - 1];
    const double y = g.rows_j[at(p - 1 - g.origin) * kLanes + at(lane)];
    n += 1.0;
    sx += x;
    sy += y;
    sxx += x * x;
    syy += y * y;
    sxy += x * y;
  }
  s->n[lane] = n;
  s->sx[lane] = sx;
  s->sy[lane] = sy;
  s->sxx[lane] = sxx;
  s->syy[lane] = syy;
  s->sxy[lane] = sxy;
}

// Block b's sums of every lane: a block where both series hold every year takes the series'
// own sums and the products; the others go year by year. A block outside a pair's common
// years gives zeros, which leave its sums as they are.
inline void block_sums(const PairGroup& g, int b, Sums* s) {
  const PairBlockTable& table = *g.table;
  const Lanes zero = {};
  const Lanes whole_block = zero + kBlock;
  load(g.products + (at(b - g.products_origin) * kPairRows + at(g.product_row)) * kLanes, &s->sxy);
  const std::size_t cell_i = table.cell(b, g.i);
  const std::size_t cell_j = table.cell(b, g.j0);
  const double count_i = table.count[cell_i];
  if (count_i == kBlock && g.full[b - g.origin / kBlock] != 0) {
    // Both series of every pair hold every year of the block (a lane past the last row holds
    // zeros and pairs with nothing).
    s->n = whole_block;
    s->sx = zero + table.sum[cell_i];
    s->sxx = zero + table.squares[cell_i];
    load(&table.sum[cell_j], &s->sy);
    load(&table.squares[cell_j], &s->syy);
    return;
  }
  Lanes count_j;
  load(&table.count[cell_j], &count_j);
  const Mask full = count_i == kBlock ? count_j == whole_block : Mask{};
  Lanes sum_j;
  Lanes squares_j;
  load(&table.sum[cell_j], &sum_j);
  load(&table.squares[cell_j], &squares_j);
  s->n = full ? whole_block : zero;
  s->sx = full ? zero + table.sum[cell_i] : zero;
  s->sy = full ? sum_j : zero;
  s->sxx = full ? zero + table.squares[cell_i] : zero;
  s->syy = full ? squares_j : zero;
  s->sxy = full ? s->sxy : zero;
  if (count_i == 0.0) return;
  // Lanes where both series have values but not in every year of the block.
  const Lanes gaps = full ? zero : (count_j > zero ? whole_block : zero);
  double any = 0.0;
  for (int l = 0; l < kLanes; ++l) any += gaps[l];
  if (any == 0.0) return;
  for (int l = 0; l < kLanes; ++l) {
    if (gaps[l] != 0.0) gap_block(g, b, l, s);
  }
}

// The kernel itself.
inline void correlate(const PairGroup& group, const PairBlocks& blocks, bool finish,
                      PairLaneSums* whole, const PairTally& tally_out) {
  const int first = std::max(blocks.first, blocks.b_lo);
  const int last = std::min(blocks.last, blocks.b_hi);
  Sums sums;
  Sums previous{};
  Sums current;
  Sums window;
  load(*whole, &sums);
  // The block before the part, for the window that reaches into it.
  if (first > blocks.b_lo && first <= last) block_sums(group, first - 1, &previous);
  for (int b = first; b <= last; ++b) {
    block_sums(group, b, &current);
    add(sums, current, &sums);
    // Window b - 1 is blocks b - 1 and b; the ones of a single block (b_lo - 1 and b_hi)
    // hold fewer than kSignalMinCommonYears common years.
    if (b > blocks.b_lo && b - 1 < blocks.window_count) {
      add(previous, current, &window);
      tally(window, group, b, tally_out);
    }
    previous = current;
  }
  store(sums, whole);
  if (finish) tally(sums, group, 0, tally_out);
}
