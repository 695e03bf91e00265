#pragma once
// Which tiles an area needs to be seen without a network: the GSI map tiles of a zoom range
// and the DEM tiles under it.

#include <optional>
#include <vector>

#include "document/Records.h"
#include "tiles/Tile.h"

namespace tw {

// More than this is refused (the tile server is shared by everyone).
inline constexpr std::size_t kOfflineTileLimit = 5000;
inline constexpr int kOfflineMinZoom = 12;
inline constexpr int kOfflineMaxZoom = 16;
inline constexpr double kOfflineMarginMetres = 500.0;

struct LatLonBox {
  double south, west, north, east;
};

// The points' extent widened by `marginMetres` on every side; nullopt without points.
std::optional<LatLonBox> trackArea(const std::vector<Track>& points, double marginMetres);

// Map tiles of kind `map` for every zoom from minZoom to maxZoom (coarse first), then the
// zoom-14 DEM10B tiles (and DEM5A with `dem5a`) covering `box`.
std::vector<Tile> planOfflineTiles(const LatLonBox& box, int minZoom, int maxZoom, MapType map, bool dem5a);

}  // namespace tw
