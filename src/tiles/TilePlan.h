#pragma once
// Which tiles to request, in which order, whether a request is still wanted, and which cached
// tiles to drop. Pure functions over the viewport, the request list and the cache keys; the
// TileStore calls them under its mutex.

#include <functional>
#include <vector>

#include "document/Geodesy.h"
#include "tiles/Tile.h"

namespace tw {

// x0 ≤ x < x0 + width and y0 ≤ y < y0 + height.
bool inRect(double x, double y, const DRect& r);

// Request order: map tiles (type 0) before DEM area tiles (type 1), otherwise the smaller
// `dist` first. A strict weak order for planning batches, which hold only types 0 and 1.
bool compareTile(const Tile& a, const Tile& b);

// The map kind planned tiles carry: the print preview always uses the standard map.
MapType plannedMapKind(Mode mode, MapType map_type);

struct PlanInput {
  DRect backRect;               // tile units
  double center_x = 0, center_y = 0;  // global pixels at `zoom`
  int32_t zoom = 0;
  Mode mode = Mode::Base;
  MapType map_type = MapType::Standard;
};

// Cached or outstanding already: such keys are not planned again.
using KnownTile = std::function<bool(const Tile&)>;

// Map tiles of backRect, row by row, that are not known; `dist` from the centre tile.
std::vector<Tile> planMapTiles(const PlanInput& in, const KnownTile& known);

// The zoom-14 grid under backRect at `zoom` (> 14).
DRect demAreaRect(const DRect& backRect, int32_t zoom);
// DEM area tiles (type 1) of elevRect that are not known; `dist` from its centre.
std::vector<Tile> planDemAreaTiles(const DRect& elevRect, const KnownTile& known);
// DEM area tiles are planned only browsing or editing, closer than zoom 14.
bool plansDemArea(Mode mode, int32_t zoom);

// The whole planning batch, sorted with compareTile; sets elevRect when DEM tiles are planned.
std::vector<Tile> planTiles(const PlanInput& in, DRect& elevRect, const KnownTile& known);

// What checkNeeds looks at besides the cache.
struct NeedsInput {
  MapType map_type = MapType::Standard;
  Mode mode = Mode::Base;
  DRect backRect;
  DRect elevRect;
};
bool tileNeeded(const Tile& k, const NeedsInput& in, bool cached);

// Same cached map tile: zoom, x, y and map kind (the type is not compared).
bool sameMapTile(const Tile& cached, const Tile& k);

// Request list lookups.
bool findRequests(const std::vector<Tile>& requests, const Tile& k);
void removeRequests(std::vector<Tile>& requests, const Tile& k);
// 4 or more map requests outstanding: DEM downloads wait.
bool checkImageRequest(const std::vector<Tile>& requests);

// One queue operation's step after the first needs test.
enum class TileAction { Drop, DownloadImage, DownloadElevation, Postpone, Nothing };
TileAction chooseTileAction(const Tile& k, bool needed, bool imageRequestsBusy);

// Eviction of one DEM cache: everything, or only the tiles outside elevRect.
enum class DemEvict { ClearAll, KeepInRect };
DemEvict demEvictRule(int32_t zoom, Mode mode, bool dem5a);

// Removes the entries whose (x, y) lies outside `r`; xy(entry) gives the pair.
template <class T, class XY>
void removeOutside(std::vector<T>& v, const DRect& r, XY xy)
{
  std::erase_if(v, [&](const T& e) {
    auto [x, y] = xy(e);
    return !inRect(x, y, r);
  });
}

}  // namespace tw
