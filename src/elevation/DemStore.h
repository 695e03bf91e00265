#pragma once
// The two DEM caches (DEM10B for request kinds 1 and 2, DEM5A for kind 3) and the tiles stored
// since a fill last read them. Download workers add tiles; the main thread looks up, fills and
// evicts. Each operation takes the store's own mutex for its own work and calls nothing that
// locks, so the store may be called with any other lock held and is never held by its callers.

#include <cstdint>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "document/Geodesy.h"
#include "elevation/Elevation.h"
#include "elevation/ElevationFill.h"
#include "tiles/Tile.h"

namespace tw {

class DemStore {
 public:
  // Is the tile of this DEM key cached?
  bool contains(const Tile& k) const;
  // Stores a downloaded tile unless one of the same place is cached already (a view tile and a
  // point tile of one place may both be fetched). It stays unread until a fill has read it.
  void add(std::shared_ptr<const Elevation> tile, bool dem5a);

  // Metres at a point: ≥ 0 an elevation, −1.0 DEM5A without data, −100.0 tile not cached.
  float elevation(double lat, double lon) const;
  float elevation5A(double lat, double lon) const;

  // The fills of ElevationFill.h over the caches as they stand.
  TrackFillResult fillTrack(TrackInfo& track, bool isActive) const;
  CheckTrackResult fillTracks(std::vector<TrackInfo>& tracks, int active_track, int dem_mode) const;
  WayPointFillResult fillWayPoints(std::vector<WayPoint>& waypoints) const;

  // Tiles stored so far: a fill that starts after taking this mark sees every one of them, and
  // markRead(mark) after it lets eviction have them. Tiles stored meanwhile stay unread.
  std::uint64_t readMark() const;
  void markRead(std::uint64_t mark);
  // Everything, or what lies outside elevRect (demEvictRule); unread tiles stay either way, so
  // a pan between a tile's arrival and the fill cannot drop it unread.
  void evict(int32_t zoom, Mode mode, const DRect& elevRect);

 private:
  mutable std::mutex mutex_;
  ElevationList dem10b_;
  ElevationList dem5a_;
  std::uint64_t stored_ = 0;
  std::vector<std::pair<std::uint64_t, const Elevation*>> unread_;  // arrival number, tile
};

}  // namespace tw
