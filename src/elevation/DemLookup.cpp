#include "elevation/DemLookup.h"

#include <cmath>

#include "document/Geodesy.h"

namespace tw {

std::optional<DemCell> demCellAt(double lat, double lon)
{
  const double px = pixelFromLon(kDemZoom, lon);
  const double py = pixelFromLat(kDemZoom, lat);
  constexpr double kLimit = double(1 << 30);
  if (!std::isfinite(px) || !std::isfinite(py) || std::fabs(px) >= kLimit || std::fabs(py) >= kLimit)
    return std::nullopt;
  DemCell c;
  c.tile_x = static_cast<int32_t>(px / kDemSide);
  c.tile_y = static_cast<int32_t>(py / kDemSide);
  c.col = static_cast<int32_t>(px) % kDemSide;
  c.row = static_cast<int32_t>(py) % kDemSide;
  return c;
}

const Elevation* findElevation(const ElevationList& cache, int32_t x, int32_t y)
{
  for (const auto& e : cache)
    if (e && e->x == x && e->y == y) return e.get();
  return nullptr;
}

float lookupElevation(const ElevationList& cache, double lat, double lon)
{
  const auto cell = demCellAt(lat, lon);
  if (!cell) return kDemNotCached;
  const Elevation* e = findElevation(cache, cell->tile_x, cell->tile_y);
  if (!e) return kDemNotCached;
  return e->getElevation(cell->col, cell->row);
}

}  // namespace tw
