#pragma once
// The measuring pass over a section: direction, range statistics, ascent and descent from
// turn to turn, the profile samples every `span` metres and their gradients.

#include <cstddef>
#include <vector>

#include "analysis/Metrics.h"
#include "analysis/TrackStats.h"
#include "document/Records.h"

namespace tw {

// Profile samples stop here: a few bogus steps of thousands of kilometres must not allocate
// without bound (21,000 km at 10 m, more than any two points on Earth are apart).
inline constexpr std::size_t kMaxProfileSamples = 2'100'000;

// Resets the measured fields of `stats` and `positions`, then, for a section inside the points,
// fills total_dist, span, peak_count, max_elev, min_elev, total_up, total_down and `positions`.
// Expects the peak marks to be current.
void calcTrackProfile(const std::vector<Track>& points, Section section, TrackStats& stats,
                      std::vector<PosInfo>& positions);

// Gradient of every sample over ±20 m, inside the segment between consecutive turn samples
// `boundaries` (ascending sample indices).
void calcGradients(std::vector<PosInfo>& positions, const std::vector<std::size_t>& boundaries, double span);

}  // namespace tw
