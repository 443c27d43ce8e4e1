#pragma once

namespace kvr::bench {

/// Times the series report, the RCS step (regional curve, RCS and residual RCS chronologies),
/// the residual rank chronology and the four result tables in-process, on an archive-sized
/// set (60 series over 300 years) and on the largest set the program takes (1001 series over
/// 10001 years, every series covering every year), and prints each time with the peak memory
/// so far.
void time_statistics();

}  // namespace kvr::bench
