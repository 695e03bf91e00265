#pragma once
// The document the controller holds: tracks, the active track, waypoints, profile samples,
// rest states, the file name and the document-wide flags.

#include <string>
#include <vector>

#include "document/Records.h"

namespace tw {

struct DocumentState {
  std::vector<TrackInfo> tracks;
  int active_track = kNoIndex;
  std::vector<WayPoint> waypoints;
  std::vector<PosInfo> positions;  // guarded by the controller's document lock
  std::vector<int> states;         // one per point of the active track, see analysis/Rests.h
  std::string filename;
  bool modify = false;
  bool outside = false;
  bool invalid_track = false;
  bool invalid_wp = false;
  int select = kNoIndex;
  int select_wp = kNoIndex;

  // The active track's own point vector (never a copy); null without an active track.
  std::vector<Track>* routes();
  const std::vector<Track>* routes() const;
  TrackInfo* activeTrack();
  const TrackInfo* activeTrack() const;

  bool isEmpty() const { return tracks.empty() && waypoints.empty(); }

  // Empties tracks, positions and states; forgets the file name without retitling.
  void deleteAllTracks();
  void deleteAllWayPoints();

  // `filename` without its extension; "map" when there is none.
  std::string getFileBaseName() const;
  // The main window's title for the current file name and active track.
  std::string windowTitle() const;
  // The active track's elevation origin flag; 0 without an active track.
  int isStableElevation() const;
};

// The sample under horizontal position x of a pointer view `width` wide; point_index −1 when none.
// With width 0 only x = 0 finds a sample (the first).
PosInfo posInfoAt(const std::vector<PosInfo>& positions, double x, double width, double total_dist, double span);

// "トラック%d" or "トラック%d(%@)" for the track at `index` (counted from 0).
std::string trackMenuTitle(int index, const std::string& name);

}  // namespace tw
