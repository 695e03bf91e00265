#pragma once
// The whole analysis the application runs after loading or editing a track, as one call:
// speeds, peak marks, the measuring pass, rests and the statistics.

#include <vector>

#include "analysis/Metrics.h"
#include "analysis/TrackStats.h"
#include "document/Records.h"

namespace tw {

struct TrackAnalysis {
  TrackStats stats;
  std::vector<PosInfo> positions;
  std::vector<int> states;
  int rests = 0;  // rest starts (state 3)
};

// Runs calcSpeed, markPeaks, calcTrackProfile and calcTrackInfo (with rest detection) on
// `track` over `section` (the whole track when absent). The points' distances must be current.
TrackAnalysis analyzeTrack(TrackInfo& track, bool cycling);
TrackAnalysis analyzeTrack(TrackInfo& track, Section section, bool cycling);

}  // namespace tw
