#include "elevation/ElevationPlan.h"

#include <algorithm>

#include "elevation/Elevation.h"

namespace tw {

namespace {

constexpr int32_t kPixelsPerDemTile = 1 << (18 - kDemZoom + 8);  // 4096

bool sameKey(const Tile& a, const Tile& b) { return a.x == b.x && a.y == b.y && a.zoom == b.zoom && a.type == b.type; }

}  // namespace

Tile demTileForPixel(int32_t x18, int32_t y18, int32_t type)
{
  Tile t;
  t.x = x18 / kPixelsPerDemTile;
  t.y = y18 / kPixelsPerDemTile;
  t.zoom = kDemZoom;
  t.type = type;
  return t;
}

std::vector<Tile> planElevationRequests(const DocumentState& doc, int dem_mode,
                                        const std::function<bool(const Tile&)>& known)
{
  std::vector<Tile> keys;
  if (!doc.routes() || doc.outside) return keys;
  auto add = [&](const Tile& k) {
    if (std::any_of(keys.begin(), keys.end(), [&](const Tile& e) { return sameKey(e, k); })) return;
    if (known && known(k)) return;
    keys.push_back(k);
  };
  const int32_t trackType = dem_mode == 1 ? kTileDem5A : kTileDemPoint;
  for (const TrackInfo& t : doc.tracks) {
    for (std::size_t j = 0; j < t.points.size(); ++j) {
      const Track& p = t.points[j];
      // A DEM5A gap left by an abandoned recalculation is unknown again outside DEM5A mode.
      const bool missing = p.elev == kUnknownElevation || (dem_mode != 1 && p.elev == kDem5ANoData);
      if (missing || (j == 0 && t.stable == -1)) add(demTileForPixel(p.x, p.y, trackType));
    }
  }
  for (const WayPoint& w : doc.waypoints)
    if (w.elev == kUnknownElevation) add(demTileForPixel(w.x, w.y, kTileDemPoint));
  return keys;
}

}  // namespace tw
