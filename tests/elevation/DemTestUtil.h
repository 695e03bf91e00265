#pragma once
// DEM text tiles, cached tiles and points built inside the tests.

#include <memory>
#include <string>

#include "document/Geodesy.h"
#include "document/Records.h"
#include "elevation/Elevation.h"

namespace elevtest {

// Two neighbouring zoom-14 tiles in Tokyo: (TX, TY) and (TX + 1, TY).
inline constexpr int TX = 14553, TY = 6450;

// 256 lines of 256 cells, each `cell`, every line ending in "\n".
inline std::string demText(const std::string& cell)
{
  std::string line = cell;
  for (int c = 1; c < tw::kDemSide; ++c) line += "," + cell;
  std::string body;
  for (int r = 0; r < tw::kDemSide; ++r) body += line + "\n";
  return body;
}

// A complete cached tile whose every cell is `cm` centimetres.
inline std::shared_ptr<tw::Elevation> flatTile(int32_t x, int32_t y, int32_t cm)
{
  auto e = std::make_shared<tw::Elevation>();
  e->x = x, e->y = y, e->tiles.assign(tw::kDemCells, cm);
  return e;
}

// Latitude and longitude of the centre of cell (col, row) of zoom-14 tile (tx, ty).
inline void cellCentre(int tx, int ty, int col, int row, double& lat, double& lon)
{
  lon = tw::lonFromPixel(tw::kDemZoom, tx * 256.0 + col + 0.5);
  lat = tw::latFromPixel(tw::kDemZoom, ty * 256.0 + row + 0.5);
}

// A track point at the centre of cell (col, row) of tile (tx, TY).
inline tw::Track pointIn(int tx, int col, int row, float elev = tw::kUnknownElevation)
{
  double lat, lon;
  cellCentre(tx, TY, col, row, lat, lon);
  tw::Track t;
  tw::setPosition(t, lat, lon);
  t.elev = elev;
  return t;
}

}  // namespace elevtest
