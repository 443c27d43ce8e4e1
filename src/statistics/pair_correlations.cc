#include "statistics/pair_correlations.h"

#include <algorithm>
#include <atomic>
#include <cstddef>

#include "common/dimensions.h"
#include "common/parallel.h"
#include "statistics/pair_kernel.h"

namespace kvr {
namespace {

constexpr int kBlock = kPairBlock;
constexpr int kLanes = kPairLanes;
// Rows i taken together: each group of rows j, centered once per tile, serves them all. The
// correlations are summed tile by tile, in each tile row j by row j and in each row j row i by
// row i, the order of a pair loop over tiles of this many rows.
constexpr int kTileRows = 32;
// Tiles whose whole-span sums the first part may have handed over before the second has
// taken them.
constexpr int kHandoverTiles = 4;
// Jobs of fewer pair-years than this (pairs of rows times years, an upper bound of the
// products) run as one part on the calling thread: a second thread and the handover would
// cost more than the half of the work it takes.
constexpr double kPairYearsWorthASecondCore = 2.0e6;

std::size_t at(int index) { return static_cast<std::size_t>(index); }

// One series: the positions of its first and last value (last < first without any) and its
// mean.
struct SeriesSpan {
  int first = 1;
  int last = 0;
  double mean = 0.0;
};

// Series numbers per block of the table and per stretch of the members: room for the lanes
// past the last row, which hold no values and never take part.
int series_stride(int rows) { return rows + 1 + kLanes; }

// Series i's span and mean, and its per-block figures, summed position by position.
void summarize_series(const float* row, int i, int years, SeriesSpan* span, PairBlockTable* table) {
  SeriesSpan& s = *span;
  double total = 0.0;
  int values = 0;
  for (int p = 1; p <= years; ++p) {
    const float v = row[p - 1];
    if (is_missing(v)) continue;
    if (values == 0) s.first = p;
    s.last = p;
    total += static_cast<double>(v);
    ++values;
  }
  if (values == 0) return;
  s.mean = total / values;
  for (int p = s.first; p <= s.last; ++p) {
    const float v = row[p - 1];
    if (is_missing(v)) continue;
    const std::size_t cell = table->cell((p - 1) / kBlock, i);
    const double d = static_cast<double>(v) - s.mean;
    ++table->count[cell];
    table->sum[cell] += d;
    table->squares[cell] += d * d;
  }
}

// The series' spans and means, and their per-block figures, summed position by position.
void summarize(const Grid<float>& by_year, int rows, int years, std::vector<SeriesSpan>* spans,
               PairBlockTable* table) {
  const int blocks = (years + kBlock - 1) / kBlock;
  table->stride = series_stride(rows);
  const std::size_t cells = at(blocks) * at(table->stride);
  table->count.assign(cells, 0.0);
  table->sum.assign(cells, 0.0);
  table->squares.assign(cells, 0.0);
  spans->assign(at(rows + 1), SeriesSpan());
  if (years <= 0) return;
  // Each core a run of series of its own, so that they hardly ever write the same cache line.
  share_out(kWorkers, at(rows) * at(years), [&](int part, int) {
    const int from = 1 + rows * part / kWorkers;
    const int to = rows * (part + 1) / kWorkers;
    for (int i = from; i <= to; ++i)
      summarize_series(by_year.row(i), i, years, &(*spans)[at(i)], table);
  });
}

// Series `row` about its mean into out[p - 1 - origin] * stride for positions from..to of
// its values, 0 where one is missing or outside its span.
void center(const float* row, const SeriesSpan& s, int from, int to, int origin, std::size_t stride,
            double* out) {
  for (int p = from; p <= to; ++p) {
    const float v = p >= s.first && p <= s.last ? row[p - 1] : kMissing;
    out[at(p - 1 - origin) * stride] = is_missing(v) ? 0.0 : static_cast<double>(v) - s.mean;
  }
}

// What both parts of the work share. The first part takes blocks 0..split of every pair, the
// second the blocks after them, continuing each pair's whole-span sums from where the first
// left them: every sum adds its terms in the same order as one pass would.
struct PairJob {
  const Grid<float>* by_year = nullptr;
  int rows = 0;
  int years = 0;
  int blocks = 0;
  int window_count = 0;
  int stretches = 0;  // 0 the whole chronology, 1 + k window k
  int split = 0;
  bool alone = false;  // one part takes every block: nothing is handed over
  int groups = 0;      // groups of kLanes rows j per row i of a tile, at most
  std::vector<SeriesSpan> spans;
  std::vector<float> no_values;  // a row of kMissing, for the lanes past the last row
  PairBlockTable table;
  // The whole-span sums of handover_tiles tiles (kHandoverTiles, or fewer when the job has
  // fewer), per tile [row i of the tile][group].
  int handover_tiles = 0;
  std::vector<PairLaneSums> handover;
  std::atomic<int> handed{0};  // tiles the first part has handed over
  std::atomic<int> taken{0};   // tiles the second part has taken

  PairLaneSums& handed_sums(int tile, int row, int group) {
    return handover[(at(tile % handover_tiles) * at(kTileRows) + at(row)) * at(groups) + at(group)];
  }
};

// One part: its blocks, its tallies and its scratch.
struct PairPart {
  int first = 0;  // blocks
  int last = -1;
  bool second = false;           // the part that goes on from the handed-over sums, and ends them
  std::vector<double> sums;      // [stretch]: the correlations, summed pair by pair in order
  std::vector<int> pairs;        // [stretch]
  std::vector<char> members;     // [stretch][series]
  std::vector<double> hits;      // [stretch][lane] of one group
  std::vector<double> r;         // [row i of the tile][lane][stretch] of one group
  std::vector<int> tallied;      // [row i of the tile]: first and last window stretch, or -1
  std::vector<double> rows;      // the tile's rows about their means, by position
  std::vector<double> group;     // a group's rows, year by year
  std::vector<char> full;        // [block of the group]: see PairGroup::full
  std::vector<double> products;  // [block][row of a strip][lane]: see group_products
};

// Adds the group's correlations to the part's sums in the order of the pair loop (row j by row
// j, row i by row i), counts its pairs and makes its rows j members where they had any.
void sum_group(const PairJob& job, int i0, int i1, int j0, PairPart* part) {
  const std::size_t stretches = at(job.stretches);
  const std::size_t stride = at(series_stride(job.rows));
  for (int l = 0; l < kLanes && j0 + l <= job.rows; ++l) {
    for (int i = i0; i <= std::min(i1, j0 + l - 1); ++i) {
      const int* range = &part->tallied[at(i - i0) * 3];
      if (range[0] < 0) continue;
      const double* r = &part->r[(at(i - i0) * kLanes + at(l)) * stretches];
      if (range[2] != 0) part->sums[0] += r[0];
      for (int s = range[0]; s <= range[1]; ++s) part->sums[at(s)] += r[s];
    }
  }
  for (std::size_t s = 0; s < stretches; ++s) {
    for (int l = 0; l < kLanes; ++l) {
      double& count = part->hits[s * kLanes + at(l)];
      if (count == 0.0) continue;
      part->pairs[s] += static_cast<int>(count);
      part->members[s * stride + at(j0 + l)] = 1;
      count = 0.0;
    }
  }
}

// The blocks a part reads: its own and, for the window that reaches into them, the one before.
int first_read_block(const PairPart& part) { return std::max(part.first - 1, 0); }

// The block products of rows i..i + kPairRows - 1 of the tile (those up to i_last) with the
// group of `view`, over the blocks of positions from..to where each holds a value.
void strip_products(const PairJob& job, PairPart& part, int i0, int i, int i_last, int from, int to,
                    PairGroup* view) {
  const double* rows[kPairRows];
  int lo[kPairRows];
  int hi[kPairRows];
  int b0 = to / kBlock;
  int b1 = from / kBlock - 1;
  for (int r = 0; r < kPairRows; ++r) {
    const int row = std::min(i + r, i_last);
    const SeriesSpan& s = job.spans[at(row)];
    rows[r] = &part.rows[at(row - i0) * at(job.blocks * kBlock)];
    lo[r] = std::max((s.first - 1) / kBlock, from / kBlock);
    hi[r] = std::min((s.last - 1) / kBlock, to / kBlock - 1);
    if (i + r > i_last || s.first > s.last) hi[r] = lo[r] - 1;
    if (lo[r] > hi[r]) continue;
    b0 = std::min(b0, lo[r]);
    b1 = std::max(b1, hi[r]);
  }
  if (b0 <= b1) {
    group_products(rows, lo, hi, view->rows_j, view->origin, b0, b1, part.products.data());
  }
  view->products = part.products.data();
  view->products_origin = b0;
}

// Rows i0..i1 of tile `tile` against every later row over the part's blocks, a group of
// kLanes rows j at a time.
void run_tile(PairJob& job, PairPart& part, int tile) {
  const int i0 = 1 + tile * kTileRows;
  const int i1 = std::min(i0 + kTileRows - 1, job.rows);
  const int read_from = first_read_block(part) * kBlock + 1;
  const int read_to = std::min((part.last + 1) * kBlock, job.years);
  part.rows.assign(at(kTileRows) * at(job.blocks * kBlock), 0.0);
  for (int i = i0; i <= i1 && read_from <= read_to; ++i) {
    center(job.by_year->row(i), job.spans[at(i)], read_from, read_to, 0, 1,
           &part.rows[at(i - i0) * at(job.blocks * kBlock)]);
  }
  const PairTally tally{nullptr, part.hits.data(), part.members.data(), series_stride(job.rows),
                        job.stretches};
  for (int j0 = i0 + 1, g = 0; j0 <= job.rows; j0 += kLanes, ++g) {
    // The years any row of the group holds, and the blocks of them the part reads.
    int first = job.years + 1;
    int last = 0;
    PairGroup view;
    for (int l = 0; l < kLanes; ++l) {
      const int j = j0 + l;
      view.raw_j[l] = j <= job.rows ? job.by_year->row(j) : nullptr;
      if (j > job.rows || job.spans[at(j)].first > job.spans[at(j)].last) continue;
      first = std::min(first, job.spans[at(j)].first);
      last = std::max(last, job.spans[at(j)].last);
    }
    if (last < first) continue;
    const int from = std::max((first - 1) / kBlock, first_read_block(part)) * kBlock + 1;
    const int to = std::min((last - 1) / kBlock, part.last) * kBlock + kBlock;
    view.origin = from - 1;
    // A lane past the last row holds zeros, as do the years past the last one.
    const float* rows[kLanes];
    double means[kLanes];
    for (int l = 0; l < kLanes; ++l) {
      rows[l] = view.raw_j[l] != nullptr ? view.raw_j[l] : job.no_values.data();
      means[l] = view.raw_j[l] != nullptr ? job.spans[at(j0 + l)].mean : 0.0;
    }
    if (from <= to) {
      const int stored = std::min(to, job.years);
      center_group(rows, means, from, stored, part.group.data());
      double* past = part.group.data() + at(stored + 1 - from) * kLanes;
      std::fill(past, past + at(to - stored) * kLanes, 0.0);
    }
    for (int b = from / kBlock; b < to / kBlock; ++b) {
      bool full = true;
      for (int l = 0; l < kLanes && j0 + l <= job.rows; ++l) {
        full = full && job.table.count[job.table.cell(b, j0 + l)] == kBlock;
      }
      part.full[at(b - from / kBlock)] = full ? 1 : 0;
    }
    view.full = part.full.data();
    view.rows_j = part.group.data();
    view.j0 = j0;
    view.years = job.years;
    view.table = &job.table;
    std::fill(part.tallied.begin(), part.tallied.end(), -1);
    const int i_last = std::min(i1, j0 + kLanes - 2);
    for (int i = i0; i <= i_last; ++i) {
      if ((i - i0) % kPairRows == 0) strip_products(job, part, i0, i, i_last, from, to, &view);
      view.product_row = (i - i0) % kPairRows;
      const SeriesSpan& s = job.spans[at(i)];
      const int lo = std::max(first, s.first);
      const int hi = std::min(last, s.last);
      if (hi - lo + 1 < kSignalMinCommonYears) continue;
      const PairBlocks blocks{(lo - 1) / kBlock, (hi - 1) / kBlock, part.first, part.last,
                              job.window_count};
      // The whole-span sums: begun by the first part when it holds any of the pair's blocks.
      PairLaneSums none;
      const bool handed = blocks.b_lo <= job.split;
      PairLaneSums& whole = handed ? job.handed_sums(tile, i - i0, g) : none;
      if (!part.second) whole = PairLaneSums();
      view.row_i = &part.rows[at(i - i0) * at(job.blocks * kBlock)];
      view.raw_i = job.by_year->row(i);
      view.i = i;
      for (int l = 0; l < kLanes; ++l) view.lane[l] = j0 + l > i && j0 + l <= job.rows ? 1.0 : 0.0;
      PairTally row_tally = tally;
      row_tally.r = &part.r[at(i - i0) * kLanes * at(job.stretches)];
      correlate_group(view, blocks, part.second, &whole, row_tally);
      int* range = &part.tallied[at(i - i0) * 3];
      range[0] = std::max({part.first, blocks.b_lo + 1, 1});
      range[1] = std::min({part.last, blocks.b_hi, job.window_count});
      range[2] = part.second ? 1 : 0;
    }
    sum_group(job, i0, i1, j0, &part);
  }
}

// The first block from which the second part takes over: about half of the pairs' blocks lie
// before it, so that both parts have as much to do. The results do not depend on it.
int split_block(const PairBlockTable& table, int rows, int blocks) {
  std::vector<double> work(at(blocks), 0.0);
  double total = 0.0;
  for (int b = 0; b < blocks; ++b) {
    double depth = 0.0;
    for (int i = 1; i <= rows; ++i) depth += table.count[table.cell(b, i)] > 0 ? 1.0 : 0.0;
    work[at(b)] = depth * (depth - 1.0) / 2.0;
    total += work[at(b)];
  }
  double so_far = 0.0;
  for (int b = 0; b < blocks; ++b) {
    so_far += work[at(b)];
    if (so_far >= total / 2.0) return b;
  }
  return blocks - 1;
}

// Takes the job's tiles in order: the first part hands each tile's whole-span sums over,
// waiting while kHandoverTiles wait to be taken; the second waits for them.
void run_part(PairJob& job, PairPart& part) {
  const int tiles = job.blocks > 0 ? (job.rows + kTileRows - 1) / kTileRows : 0;
  for (int tile = 0; tile < tiles; ++tile) {
    if (job.alone) {
      run_tile(job, part, tile);
      continue;
    }
    if (part.second) {
      for (int n = job.handed.load(); n <= tile; n = job.handed.load()) job.handed.wait(n);
    } else {
      for (int n = job.taken.load(); n < tile - kHandoverTiles + 1; n = job.taken.load()) {
        job.taken.wait(n);
      }
    }
    run_tile(job, part, tile);
    std::atomic<int>& done = part.second ? job.taken : job.handed;
    done.store(tile + 1);
    done.notify_all();
  }
}

// A part's tallies and scratch, sized for the job.
void prepare(const PairJob& job, int first, int last, bool second, PairPart* part) {
  part->first = first;
  part->last = last;
  part->second = second;
  part->sums.assign(at(job.stretches), 0.0);
  part->pairs.assign(at(job.stretches), 0);
  part->members.assign(at(job.stretches) * at(series_stride(job.rows)), 0);
  part->hits.assign(at(job.stretches) * kLanes, 0.0);
  part->r.assign(at(kTileRows) * kLanes * at(job.stretches), 0.0);
  part->tallied.assign(at(kTileRows) * 3, -1);
  part->group.assign(at(job.blocks * kBlock) * kLanes, 0.0);
  part->full.assign(at(job.blocks), 0);
  part->products.assign(at(job.blocks) * kPairRows * kLanes, 0.0);
}

}  // namespace

PairCorrelations pair_correlations(const Grid<float>& by_year, int rows, int years,
                                   int window_count) {
  PairJob job;
  job.by_year = &by_year;
  job.rows = std::clamp(rows, 0, by_year.rows());
  job.years = std::clamp(years, 0, by_year.cols());
  job.blocks = (job.years + kBlock - 1) / kBlock;
  job.window_count = window_count;
  job.stretches = 1 + window_count;
  job.groups = (job.rows + kLanes - 1) / kLanes + 1;
  summarize(by_year, job.rows, job.years, &job.spans, &job.table);
  job.no_values.assign(at(job.years), kMissing);
  // A small job is one part over every block, on the calling thread: it begins each pair's
  // sums and ends them. A larger one is split in two parts that run on both cores.
  const double pair_years = 0.5 * job.rows * (job.rows - 1.0) * job.years;
  job.alone = pair_years < kPairYearsWorthASecondCore;
  std::vector<PairPart> parts(job.alone ? 1 : 2);
  if (job.alone) {
    job.split = -1;
    prepare(job, 0, job.blocks - 1, true, &parts[0]);
    run_part(job, parts[0]);
  } else {
    job.split = split_block(job.table, job.rows, job.blocks);
    job.handover_tiles = std::min((job.rows + kTileRows - 1) / kTileRows, kHandoverTiles);
    job.handover.resize(at(job.handover_tiles) * at(kTileRows) * at(job.groups));
    prepare(job, 0, job.split, false, &parts[0]);
    prepare(job, job.split + 1, job.blocks - 1, true, &parts[1]);
    run_together([&] { run_part(job, parts[0]); }, [&] { run_part(job, parts[1]); });
  }

  // Each stretch's tallies lie in one part; its members may come from both.
  PairCorrelations result;
  result.windows.resize(at(window_count));
  const std::size_t stride = at(series_stride(job.rows));
  for (int s = 0; s < job.stretches; ++s) {
    CorrelationTally& t = s == 0 ? result.whole : result.windows[at(s - 1)];
    t.sum = parts[0].sums[at(s)];
    t.pairs = parts[0].pairs[at(s)];
    t.members.assign(at(job.rows + 1), 0);
    for (const PairPart& part : parts) {
      if (&part != &parts[0]) {
        t.sum += part.sums[at(s)];
        t.pairs += part.pairs[at(s)];
      }
      for (int i = 1; i <= job.rows; ++i) t.members[at(i)] |= part.members[at(s) * stride + at(i)];
    }
  }
  return result;
}

}  // namespace kvr
