#pragma once
// The track information statistics: slope distance, gradient classes, elevation and time
// statistics, average speeds.

#include <vector>

#include "analysis/Metrics.h"
#include "analysis/TrackStats.h"
#include "document/Records.h"

namespace tw {

// Fills the calcTrackInfo fields of `stats` from the samples and the section's points. Runs rest
// detection on `points` first (rebuilding `states` and the speeds), as the time split needs it.
void calcTrackInfo(std::vector<Track>& points, bool valid_time, Section section,
                   const std::vector<PosInfo>& positions, bool cycling, std::vector<int>& states,
                   TrackStats& stats);

// The parts of calcTrackInfo before and after rest detection, for the controller, which reads
// the samples under its lock but runs detection outside it.
void calcSlopeAndGradientStats(const std::vector<Track>& points, Section section,
                               const std::vector<PosInfo>& positions, bool cycling, TrackStats& stats);
void calcTimeStats(const std::vector<Track>& points, Section section, const std::vector<int>& states,
                   TrackStats& stats);

// Degrees of a gradient in percent; 0 for the unknown gradient −10000.
int calcDegree(int gradient);

}  // namespace tw
