#pragma once
// What the download workers share with the main thread on the map side: the tile cache
// (`images`, arrival order), the outstanding requests, the needs snapshot and the network flag.
// The store owns its mutex and takes it inside each operation; while holding it, it calls only
// the DemStore beside it (for DEM keys), whose mutex is a leaf. The lock order is therefore
// TileStore → DemStore, and no caller holds either across its own work.

#include <atomic>
#include <mutex>
#include <vector>

#include "elevation/DemStore.h"
#include "tiles/MapImage.h"
#include "tiles/Tile.h"
#include "tiles/TilePlan.h"

class TileStore {
 public:
  explicit TileStore(tw::DemStore& dem) : dem_(dem) {}

  // Planning (main thread), under one lock: the sorted batch of keys neither cached nor
  // outstanding (tw::planTiles, which sets elevRect when it plans DEM area tiles), the needs
  // snapshot workers compare with from now on, and the eviction for the new grid.
  std::vector<tw::Tile> plan(const tw::PlanInput& in, tw::DRect& elevRect);
  void addRequest(const tw::Tile& k);
  void removeRequests(const tw::Tile& k);
  bool findRequests(const tw::Tile& k) const;
  bool checkImageRequest() const;          // 4 or more map requests outstanding
  bool findTile(const tw::Tile& k) const;  // map kinds here, DEM kinds in the DemStore
  bool checkNeeds(const tw::Tile& k) const;
  tw::NeedsInput needs() const;

  // A finished map tile: the needs test and the append under one lock, so a tile planned twice
  // (map kind changed and back while in flight) is cached once. False when it is not wanted.
  bool addImage(MapImagePtr image);
  // A newer body of a cached tile takes its place; false when the tile is no longer cached.
  bool replaceImage(MapImagePtr image);
  // Eviction (main thread): map tiles outside backRect, then the DEM caches by their rule.
  void removeTiles(const tw::DRect& backRect, int32_t zoom, tw::Mode mode, const tw::DRect& elevRect);
  void clearImages();
  // A map kind change: the cache empties and the snapshot takes the new kind together.
  void changeMapType(tw::MapType map_type);

  // Copies for drawing and for watching progress; the tiles themselves are shared.
  std::vector<MapImagePtr> images() const;
  std::vector<tw::Tile> requests() const;
  bool hasRequests() const;

  // Last network outcome: workers set it, the 1 s timer reads it.
  std::atomic<bool> net_ok{true};

 private:
  bool findTileLocked(const tw::Tile& k) const;
  void removeTilesLocked(const tw::DRect& backRect, int32_t zoom, tw::Mode mode, const tw::DRect& elevRect);

  tw::DemStore& dem_;
  mutable std::mutex mutex_;
  std::vector<MapImagePtr> images_;
  std::vector<tw::Tile> requests_;
  tw::NeedsInput needs_;
};
