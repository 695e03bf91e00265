#pragma once
// Elevation at a latitude and longitude from a DEM cache: the cell that contains the point,
// no interpolation.

#include <optional>

#include "elevation/Elevation.h"

namespace tw {

// The zoom-14 tile and the cell inside it that contain a point.
struct DemCell {
  int32_t tile_x = 0;
  int32_t tile_y = 0;
  int col = 0;
  int row = 0;
};
// Empty for coordinates that have no zoom-14 pixel (not finite, far outside the pyramid).
std::optional<DemCell> demCellAt(double lat, double lon);

// First cached tile with this (x, y); null when none.
const Elevation* findElevation(const ElevationList& cache, int32_t x, int32_t y);

// Metres: ≥ 0 an elevation, −1.0 DEM5A without data, −100.0 tile not cached. The caller holds
// the lock that guards the cache.
float lookupElevation(const ElevationList& cache, double lat, double lon);

}  // namespace tw
