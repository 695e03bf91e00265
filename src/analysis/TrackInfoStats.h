#pragma once
// The track information statistics: slope distance, gradient classes, elevation and time
// statistics, average speeds.

#include <vector>

#include "analysis/Metrics.h"
#include "analysis/TrackStats.h"
#include "document/Records.h"

namespace tw {

// Gradient class thresholds in percent, walking or cycling.
struct GradientClasses {
  float climb;       // climbing sample: gradient >= climb
  float gentle_up;   // gentle climb: gradient < gentle_up
  float steep_up;    // steep climb: gradient >= steep_up
  float descent;     // descending sample: gradient <= descent
  float gentle_down; // gentle descent: gradient > gentle_down
  float steep_down;  // steep descent: gradient <= steep_down
};
GradientClasses gradientClasses(bool cycling);

// Fills the calcTrackInfo fields of `stats` from the samples and the section's points. Runs rest
// detection on `points` first (rebuilding `states` and the speeds), as the time split needs it.
void calcTrackInfo(std::vector<Track>& points, bool valid_time, Section section,
                   const std::vector<PosInfo>& positions, bool cycling, std::vector<int>& states,
                   TrackStats& stats);

// The parts of calcTrackInfo, for callers that manage rest detection themselves.
void calcSlopeAndGradientStats(const std::vector<Track>& points, Section section,
                               const std::vector<PosInfo>& positions, bool cycling, TrackStats& stats);
void calcTimeStats(const std::vector<Track>& points, Section section, const std::vector<int>& states,
                   TrackStats& stats);

// Degrees of a gradient in percent; 0 for the unknown gradient −10000.
int calcDegree(int gradient);

}  // namespace tw
