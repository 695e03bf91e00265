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
  analyzeTrack(track, section, cycling, a);
  return a;
}

void analyzeTrack(TrackInfo& track, Section section, bool cycling, TrackAnalysis& a)
{
  a.stats = TrackStats{};
  a.positions.clear();
  a.states.clear();
  a.rests = 0;
  auto& pts = track.points;
  if (pts.empty()) return;
  // Rest detection starts by recomputing the speeds from the same forward windows; when it
  // will run, a first pass here would only be overwritten.
  const bool restsWillRun = pts.size() >= 2 && sectionInside(section, pts.size()) && pts.front().time &&
                            pts.back().time;
  if (!restsWillRun) calcSpeed(pts, track.valid_time, a.states);
  markPeaks(pts, track.stable);
  ProfileTotals totals;
  calcTrackProfile(pts, section, a.stats, a.positions, &totals);
  calcTrackInfo(pts, track.valid_time, section, totals, cycling, a.states, a.walk, a.stats);
  a.rests = static_cast<int>(std::count(a.states.begin(), a.states.end(), kStateRestStart));
}

}  // namespace tw
