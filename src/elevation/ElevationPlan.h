#pragma once
// Which DEM tiles to request for track points and waypoints that lack an elevation.

#include <functional>
#include <vector>

#include "document/DocumentState.h"
#include "tiles/Tile.h"

namespace tw {

// The zoom-14 DEM tile under a zoom-18 pixel (integer division toward zero).
Tile demTileForPixel(int32_t x18, int32_t y18, int32_t type);

// Keys in the order the points are met, each once, leaving out those `known` reports cached
// or outstanding. Nothing without an active track or when the document reaches abroad.
// Track points use DEM5A (type 3) when dem_mode is 1, else DEM10B (type 2); waypoints always
// DEM10B. A track whose elevation origin is undecided (stable −1) always asks for the tile
// of its first point.
std::vector<Tile> planElevationRequests(const DocumentState& doc, int dem_mode,
                                        const std::function<bool(const Tile&)>& known);

}  // namespace tw
