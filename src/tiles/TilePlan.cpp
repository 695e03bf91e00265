#include "tiles/TilePlan.h"

#include <algorithm>
#include <cmath>

namespace tw {

bool inRect(double x, double y, const DRect& r)
{
  return r.x <= x && x < r.x + r.width && r.y <= y && y < r.y + r.height;
}

bool compareTile(const Tile& a, const Tile& b)
{
  if (a.type == kTileMap && b.type == kTileDemView) return true;
  if (a.type == kTileDemView && b.type == kTileMap) return false;
  return a.dist < b.dist;
}

MapType plannedMapKind(Mode mode, MapType map_type)
{
  if (mode != Mode::Print && (map_type == MapType::Pale || map_type == MapType::Photo || map_type == MapType::OSM))
    return map_type;
  return MapType::Standard;
}

namespace {

float squaredDistance(int32_t x, int32_t y, int32_t cx, int32_t cy)
{
  const double dx = double(x) - cx, dy = double(y) - cy;
  return static_cast<float>(dy * dy + dx * dx);
}

// Grid sizes are a handful of tiles; refuse absurd rectangles instead of looping for ever.
int32_t gridCount(double v) { return (std::isfinite(v) && v > 0) ? static_cast<int32_t>(std::min(v, 4096.0)) : 0; }

}  // namespace

std::vector<Tile> planMapTiles(const PlanInput& in, const KnownTile& known)
{
  std::vector<Tile> batch;
  const auto cx = static_cast<int32_t>(in.center_x / 256);
  const auto cy = static_cast<int32_t>(in.center_y / 256);
  const MapType map = plannedMapKind(in.mode, in.map_type);
  const int32_t rows = gridCount(in.backRect.height), cols = gridCount(in.backRect.width);
  for (int32_t r = 0; r < rows; r++) {
    for (int32_t c = 0; c < cols; c++) {
      Tile k;
      k.x = static_cast<int32_t>(in.backRect.x + c);
      k.y = static_cast<int32_t>(in.backRect.y + r);
      k.zoom = in.zoom;
      k.type = kTileMap;
      k.map = map;
      if (known && known(k)) continue;
      k.dist = squaredDistance(k.x, k.y, cx, cy);
      batch.push_back(k);
    }
  }
  return batch;
}

DRect demAreaRect(const DRect& b, int32_t zoom)
{
  const int32_t s = 1 << std::clamp(zoom - 14, 0, 16);
  const auto x0 = static_cast<int32_t>(b.x / s), y0 = static_cast<int32_t>(b.y / s);
  const auto x1 = static_cast<int32_t>((b.x + b.width) / s), y1 = static_cast<int32_t>((b.y + b.height) / s);
  return DRect{double(x0), double(y0), double(x1 - x0 + 1), double(y1 - y0 + 1)};
}

std::vector<Tile> planDemAreaTiles(const DRect& e, const KnownTile& known)
{
  std::vector<Tile> batch;
  const auto x0 = static_cast<int32_t>(e.x), y0 = static_cast<int32_t>(e.y);
  const int32_t w = gridCount(e.width), h = gridCount(e.height);
  const int32_t ex = x0 + w / 2, ey = y0 + h / 2;
  for (int32_t r = 0; r < h; r++) {
    for (int32_t c = 0; c < w; c++) {
      Tile k;
      k.x = x0 + c;
      k.y = y0 + r;
      k.zoom = 14;
      k.type = kTileDemView;
      if (known && known(k)) continue;
      k.dist = squaredDistance(k.x, k.y, ex, ey);
      batch.push_back(k);
    }
  }
  return batch;
}

bool plansDemArea(Mode mode, int32_t zoom) { return baseOrEdit(mode) && zoom > 14; }

std::vector<Tile> planTiles(const PlanInput& in, DRect& elevRect, const KnownTile& known)
{
  std::vector<Tile> batch = planMapTiles(in, known);
  if (plansDemArea(in.mode, in.zoom)) {
    elevRect = demAreaRect(in.backRect, in.zoom);
    std::vector<Tile> dem = planDemAreaTiles(elevRect, known);
    batch.insert(batch.end(), dem.begin(), dem.end());
  }
  std::stable_sort(batch.begin(), batch.end(), compareTile);
  return batch;
}

bool tileNeeded(const Tile& k, const NeedsInput& in, bool cached)
{
  switch (k.type) {
    case kTileMap:
      // An out-of-range kind plans standard tiles; it must not then refuse them all.
      if (!(k.map == plannedMapKind(Mode::Base, in.map_type) || (k.map == MapType::Standard && in.mode == Mode::Print)))
        return false;
      return inRect(k.x, k.y, in.backRect) && !cached;
    case kTileDemView: return inRect(k.x, k.y, in.elevRect) && !cached;
    default: return true;
  }
}

bool sameMapTile(const Tile& cached, const Tile& k)
{
  return cached.zoom == k.zoom && cached.x == k.x && cached.y == k.y && cached.map == k.map;
}

bool findRequests(const std::vector<Tile>& requests, const Tile& k)
{
  return std::any_of(requests.begin(), requests.end(), [&](const Tile& t) {
    if (t.x != k.x || t.y != k.y || t.zoom != k.zoom) return false;
    if (k.type == kTileMap) return t.type == kTileMap && t.map == k.map;
    return t.type == k.type;
  });
}

void removeRequests(std::vector<Tile>& requests, const Tile& k)
{
  std::erase_if(requests, [&](const Tile& t) {
    return t.x == k.x && t.y == k.y && t.zoom == k.zoom && t.type == k.type;
  });
}

bool checkImageRequest(const std::vector<Tile>& requests)
{
  return std::count_if(requests.begin(), requests.end(), [](const Tile& t) { return t.type == kTileMap; }) >= 4;
}

TileAction chooseTileAction(const Tile& k, bool needed, bool imageRequestsBusy)
{
  if (!needed) return TileAction::Drop;
  switch (k.type) {
    case kTileMap: return TileAction::DownloadImage;
    case kTileDemView:
    case kTileDemPoint:
    case kTileDem5A: return imageRequestsBusy ? TileAction::Postpone : TileAction::DownloadElevation;
    default: return TileAction::Nothing;
  }
}

DemEvict demEvictRule(int32_t zoom, Mode mode, bool dem5a)
{
  if (!dem5a && !baseOrEdit(mode)) return DemEvict::ClearAll;
  return zoom < 15 ? DemEvict::ClearAll : DemEvict::KeepInRect;
}

}  // namespace tw
