#include "tiles/TileStore.h"

#include <algorithm>

std::vector<tw::Tile> TileStore::plan(const tw::PlanInput& in, tw::DRect& elevRect)
{
  std::lock_guard guard(mutex_);
  std::vector<tw::Tile> batch = tw::planTiles(in, elevRect, [this](const tw::Tile& k) {
    return findTileLocked(k) || tw::findRequests(requests_, k);
  });
  needs_ = tw::NeedsInput{in.map_type, in.mode, in.backRect, elevRect};
  removeTilesLocked(in.backRect, in.zoom, in.mode, elevRect);
  return batch;
}

void TileStore::addRequest(const tw::Tile& k)
{
  std::lock_guard guard(mutex_);
  requests_.push_back(k);
}

void TileStore::removeRequests(const tw::Tile& k)
{
  std::lock_guard guard(mutex_);
  tw::removeRequests(requests_, k);
}

bool TileStore::findRequests(const tw::Tile& k) const
{
  std::lock_guard guard(mutex_);
  return tw::findRequests(requests_, k);
}

bool TileStore::checkImageRequest() const
{
  std::lock_guard guard(mutex_);
  return tw::checkImageRequest(requests_);
}

bool TileStore::findTile(const tw::Tile& k) const
{
  std::lock_guard guard(mutex_);
  return findTileLocked(k);
}

bool TileStore::findTileLocked(const tw::Tile& k) const
{
  switch (k.type) {
    case tw::kTileMap:
      return std::any_of(images_.begin(), images_.end(), [&](const MapImagePtr& m) { return tw::sameMapTile(m->tile, k); });
    case tw::kTileDemView:
    case tw::kTileDemPoint:
    case tw::kTileDem5A: return dem_.contains(k);
    default: return false;
  }
}

bool TileStore::checkNeeds(const tw::Tile& k) const
{
  std::lock_guard guard(mutex_);
  return tw::tileNeeded(k, needs_, findTileLocked(k));
}

tw::NeedsInput TileStore::needs() const
{
  std::lock_guard guard(mutex_);
  return needs_;
}

bool TileStore::addImage(MapImagePtr image)
{
  std::lock_guard guard(mutex_);
  if (!tw::tileNeeded(image->tile, needs_, findTileLocked(image->tile))) return false;
  images_.push_back(std::move(image));
  return true;
}

bool TileStore::replaceImage(MapImagePtr image)
{
  std::lock_guard guard(mutex_);
  for (MapImagePtr& m : images_)
    if (tw::sameMapTile(m->tile, image->tile)) {
      m = std::move(image);
      return true;
    }
  return false;
}

void TileStore::removeTiles(const tw::DRect& backRect, int32_t zoom, tw::Mode mode, const tw::DRect& elevRect)
{
  std::lock_guard guard(mutex_);
  removeTilesLocked(backRect, zoom, mode, elevRect);
}

void TileStore::removeTilesLocked(const tw::DRect& backRect, int32_t zoom, tw::Mode mode, const tw::DRect& elevRect)
{
  tw::removeOutside(images_, backRect, [](const MapImagePtr& m) { return std::pair{m->tile.x, m->tile.y}; });
  dem_.evict(zoom, mode, elevRect);
}

void TileStore::clearImages()
{
  std::lock_guard guard(mutex_);
  images_.clear();
}

void TileStore::changeMapType(tw::MapType map_type)
{
  std::lock_guard guard(mutex_);
  images_.clear();
  needs_.map_type = map_type;
}

std::vector<MapImagePtr> TileStore::images() const
{
  std::lock_guard guard(mutex_);
  return images_;
}

std::vector<tw::Tile> TileStore::requests() const
{
  std::lock_guard guard(mutex_);
  return requests_;
}

bool TileStore::hasRequests() const
{
  std::lock_guard guard(mutex_);
  return !requests_.empty();
}
