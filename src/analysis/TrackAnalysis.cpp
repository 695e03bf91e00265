#include "analysis/TrackAnalysis.h"

#include <algorithm>

#include "analysis/Peaks.h"
#include "analysis/Profile.h"
#include "analysis/Rests.h"
#include "analysis/TrackInfoStats.h"

namespace tw {

TrackAnalysis analyzeTrack(TrackInfo& track, bool cycling)
{
  return analyzeTrack(track, Section{0, static_cast<int>(track.points.size())}, cycling);
}

TrackAnalysis analyzeTrack(TrackInfo& track, Section section, bool cycling)
{
  TrackAnalysis a;
  auto& pts = track.points;
  if (pts.empty()) return a;
  calcSpeed(pts, track.valid_time, a.states);
  markPeaks(pts, track.stable);
  calcTrackProfile(pts, section, a.stats, a.positions);
  calcTrackInfo(pts, track.valid_time, section, a.positions, cycling, a.states, a.stats);
  a.rests = static_cast<int>(std::count(a.states.begin(), a.states.end(), kStateRestStart));
  return a;
}

}  // namespace tw
