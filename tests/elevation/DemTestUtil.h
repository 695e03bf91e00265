#pragma once
// DEM text tiles and cached tiles built inside the tests.

#include <memory>
#include <string>

#include "document/Geodesy.h"
#include "elevation/Elevation.h"

namespace elevtest {

// 256 lines of 256 cells, each `cell`, every line ending in "\n".
inline std::string demText(const std::string& cell)
{
  std::string line;
  for (int c = 0; c < tw::kDemSide; ++c) line += (c ? "," : "") + cell;
  std::string body;
  for (int r = 0; r < tw::kDemSide; ++r) body += line + "\n";
  return body;
}

// A complete cached tile whose every cell is `cm` centimetres.
inline std::shared_ptr<const tw::Elevation> flatTile(int32_t x, int32_t y, int32_t cm)
{
  auto e = std::make_shared<tw::Elevation>();
  e->x = x;
  e->y = y;
  e->tiles.assign(tw::kDemCells, cm);
  return e;
}

// Latitude and longitude of the centre of cell (col, row) of zoom-14 tile (tx, ty).
inline void cellCentre(int tx, int ty, int col, int row, double& lat, double& lon)
{
  lon = tw::lonFromPixel(tw::kDemZoom, tx * 256.0 + col + 0.5);
  lat = tw::latFromPixel(tw::kDemZoom, ty * 256.0 + row + 0.5);
}

}  // namespace elevtest
