#include "elevation/ElevationFill.h"

#include "analysis/Peaks.h"
#include "elevation/DemLookup.h"

namespace tw {

TrackFillResult calcTrackElevation(TrackInfo& track, bool isActive, const ElevationList& dem10b)
{
  TrackFillResult r;
  std::vector<Track>& points = track.points;
  if (points.empty()) return r;
  PeakMarker marker(points.front(), track.stable);
  for (std::size_t i = 0; i < points.size(); ++i) {
    Track w = points[i];
    w.peak_type = 0;
    if (isActive && w.time) r.route_time = true;
    if (w.elev == kUnknownElevation) {
      const float e = lookupElevation(dem10b, w.lat, w.lon);
      if (e == kDemNotCached) {
        if (isActive) r.invalid_track = true;
      } else {
        w.elev = e;
        r.modify = true;
      }
    }
    marker.mark(points, i, w);
  }
  return r;
}

CheckTrackResult fillAllTracks(std::vector<TrackInfo>& tracks, int active_track, int dem_mode,
                               const ElevationList& dem10b, const ElevationList& dem5a)
{
  CheckTrackResult r;
  for (std::size_t t = 0; t < tracks.size(); ++t) {
    const bool active = int(t) == active_track;
    bool changed = false;
    for (Track& p : tracks[t].points) {
      const bool gap = p.elev == kDem5ANoData;
      if (p.elev != kUnknownElevation && !(gap && dem_mode != 1)) {
        if (gap) r.invalid_track = true;
        continue;
      }
      float e;
      if (dem_mode == 1) {
        e = lookupElevation(dem5a, p.lat, p.lon);
        if (e == kDem5ANoData) {
          r.invalid_track = true;
          p.elev = kDem5ANoData;
          changed = true;
          r.modify = true;
          continue;
        }
      } else {
        e = lookupElevation(dem10b, p.lat, p.lon);
      }
      if (e == kDemNotCached) {
        r.missing_tile = true;
        if (active) r.invalid_track = true;
        continue;
      }
      p.elev = e;
      changed = true;
      r.modify = true;
    }
    if (changed) r.changed_tracks.push_back(int(t));
  }
  return r;
}

RecalcStep recalcStep(bool elev_recalc, bool missing_tile, bool invalid_track, int dem_mode)
{
  if (!elev_recalc || missing_tile) return RecalcStep::Running;
  if (!invalid_track || dem_mode != 1) return RecalcStep::Finished;
  return RecalcStep::AskFallback;
}

int resetDem5AGaps(std::vector<TrackInfo>& tracks)
{
  int n = 0;
  for (TrackInfo& t : tracks)
    for (Track& p : t.points)
      if (p.elev == kDem5ANoData) {
        p.elev = kUnknownElevation;
        ++n;
      }
  return n;
}

WayPointFillResult fillWayPoints(std::vector<WayPoint>& waypoints, const ElevationList& dem10b)
{
  WayPointFillResult r;
  for (WayPoint& w : waypoints) {
    if (w.elev != kUnknownElevation) continue;
    const float e = lookupElevation(dem10b, w.lat, w.lon);
    w.elev = e;
    if (e != kDemNotCached)
      r.changed = true;
    else
      r.invalid_wp = true;
  }
  return r;
}

void clearElevationsForRecalc(DocumentState& doc)
{
  for (TrackInfo& t : doc.tracks)
    for (Track& p : t.points) p.elev = kUnknownElevation;
  for (WayPoint& w : doc.waypoints)
    if (w.elev < 0) w.elev = kUnknownElevation;
}

}  // namespace tw
