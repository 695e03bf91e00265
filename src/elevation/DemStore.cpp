#include "elevation/DemStore.h"

#include <algorithm>

#include "elevation/DemLookup.h"
#include "tiles/TilePlan.h"

namespace tw {

bool DemStore::contains(const Tile& k) const
{
  std::lock_guard guard(mutex_);
  return findElevation(k.type == kTileDem5A ? dem5a_ : dem10b_, k.x, k.y) != nullptr;
}

void DemStore::add(std::shared_ptr<const Elevation> tile, bool dem5a)
{
  std::lock_guard guard(mutex_);
  ElevationList& cache = dem5a ? dem5a_ : dem10b_;
  if (!tile || findElevation(cache, tile->x, tile->y)) return;
  unread_.emplace_back(stored_++, tile.get());
  cache.push_back(std::move(tile));
}

float DemStore::elevation(double lat, double lon) const
{
  std::lock_guard guard(mutex_);
  return lookupElevation(dem10b_, lat, lon);
}

float DemStore::elevation5A(double lat, double lon) const
{
  std::lock_guard guard(mutex_);
  return lookupElevation(dem5a_, lat, lon);
}

TrackFillResult DemStore::fillTrack(TrackInfo& track, bool isActive) const
{
  std::lock_guard guard(mutex_);
  return calcTrackElevation(track, isActive, dem10b_);
}

CheckTrackResult DemStore::fillTracks(std::vector<TrackInfo>& tracks, int active_track, int dem_mode) const
{
  std::lock_guard guard(mutex_);
  return fillAllTracks(tracks, active_track, dem_mode, dem10b_, dem5a_);
}

WayPointFillResult DemStore::fillWayPoints(std::vector<WayPoint>& waypoints) const
{
  std::lock_guard guard(mutex_);
  return tw::fillWayPoints(waypoints, dem10b_);
}

std::uint64_t DemStore::readMark() const
{
  std::lock_guard guard(mutex_);
  return stored_;
}

void DemStore::markRead(std::uint64_t mark)
{
  std::lock_guard guard(mutex_);
  std::erase_if(unread_, [&](const auto& u) { return u.first < mark; });
}

void DemStore::evict(int32_t zoom, Mode mode, const DRect& elevRect)
{
  std::lock_guard guard(mutex_);
  auto unread = [&](const Elevation* e) {
    return std::any_of(unread_.begin(), unread_.end(), [&](const auto& u) { return u.second == e; });
  };
  auto evictFrom = [&](ElevationList& cache, bool dem5a) {
    const bool all = demEvictRule(zoom, mode, dem5a) == DemEvict::ClearAll;
    std::erase_if(cache, [&](const auto& e) { return (all || !inRect(e->x, e->y, elevRect)) && !unread(e.get()); });
  };
  evictFrom(dem10b_, false);
  evictFrom(dem5a_, true);
}

}  // namespace tw
