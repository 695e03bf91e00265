#pragma once
// The track information statistics: slope distance, gradient classes, elevation and time
// statistics, average speeds.

#include <vector>

#include "analysis/Metrics.h"
#include "analysis/ProfileTotals.h"
#include "analysis/Rests.h"
#include "analysis/TrackStats.h"
#include "document/Records.h"

namespace tw {

// Fills the calcTrackInfo fields of `stats` from the samples and the section's points. Runs rest
// detection on `points` first (rebuilding `states` and the speeds), as the time split needs it.
void calcTrackInfo(std::vector<Track>& points, bool valid_time, Section section,
                   const std::vector<PosInfo>& positions, bool cycling, std::vector<int>& states,
                   TrackStats& stats);
// The same from the totals that calcTrackProfile gathered over `section`, with the caller's
// buffers for rest detection (kept between calls, a long track's are not allocated afresh).
void calcTrackInfo(std::vector<Track>& points, bool valid_time, Section section, const ProfileTotals& totals,
                   bool cycling, std::vector<int>& states, RestWalk& walk, TrackStats& stats);

// The parts of calcTrackInfo, for callers that manage rest detection themselves.
void calcSlopeAndGradientStats(const std::vector<Track>& points, Section section,
                               const std::vector<PosInfo>& positions, bool cycling, TrackStats& stats);
void calcTimeStats(const std::vector<Track>& points, Section section, const std::vector<int>& states,
                   TrackStats& stats);
// The same reading the times and step lengths that rest detection gathered (the points when
// `walk` was not filled for them).
void calcTimeStats(const std::vector<Track>& points, Section section, const std::vector<int>& states,
                   const RestWalk& walk, TrackStats& stats);

// Degrees of a gradient in percent; 0 for the unknown gradient −10000.
int calcDegree(int gradient);

}  // namespace tw
