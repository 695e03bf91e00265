#pragma once
// Filling unknown track and waypoint elevations from the DEM caches, and the bookkeeping of a
// recalculation. Pure functions over the document and the caches; the DemStore runs them under
// its mutex and the controller does the redraws, tables and questions.

#include <vector>

#include "document/DocumentState.h"
#include "elevation/Elevation.h"

namespace tw {

// Flags a fill raises (never clears).
struct TrackFillResult {
  bool invalid_track = false;  // the active track still has points to fill
  bool modify = false;         // a point was written
  bool route_time = false;     // the active track has a time stamp
};

// calcTrackElevation over one track: every point at −100.0 takes the DEM10B elevation under it
// when its tile is cached, then the point goes through the peak/col marking pass. A point whose
// tile is not cached keeps −100.0 and takes no part in the marking.
TrackFillResult calcTrackElevation(TrackInfo& track, bool isActive, const ElevationList& dem10b);

struct CheckTrackResult {
  bool invalid_track = false;
  bool missing_tile = false;        // some point's tile is not cached yet
  bool modify = false;
  std::vector<int> changed_tracks;  // indices, in order
};

// checkTrackElevation's fill over every track: DEM5A first when dem_mode is 1 (a DEM5A gap is
// stored as −1.0 and keeps invalid_track raised), else DEM10B. Outside DEM5A mode a −1.0 left
// by an abandoned recalculation is unknown again and filled from DEM10B.
CheckTrackResult fillAllTracks(std::vector<TrackInfo>& tracks, int active_track, int dem_mode,
                               const ElevationList& dem10b, const ElevationList& dem5a);

// How a running recalculation ends after a fill.
enum class RecalcStep {
  Running,       // not recalculating, or some tile is still missing
  Finished,      // every point answered
  AskFallback,   // DEM5A left gaps: offer DEM10B for them
};
RecalcStep recalcStep(bool elev_recalc, bool missing_tile, bool invalid_track, int dem_mode);

// The accepted fallback: every −1.0 becomes −100.0 again. Returns the number of points changed.
int resetDem5AGaps(std::vector<TrackInfo>& tracks);

struct WayPointFillResult {
  bool invalid_wp = false;  // some waypoint still has no tile
  bool changed = false;
};
// checkWayPointElevation's fill: DEM10B only.
WayPointFillResult fillWayPoints(std::vector<WayPoint>& waypoints, const ElevationList& dem10b);

// Steps 4 to 6 of a recalculation on the document: every track point unknown, every waypoint
// without a known elevation unknown; the flags are the caller's.
void clearElevationsForRecalc(DocumentState& doc);

}  // namespace tw
