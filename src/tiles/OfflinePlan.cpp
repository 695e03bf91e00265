#include "tiles/OfflinePlan.h"

#include <algorithm>
#include <cmath>

#include "document/Geodesy.h"

namespace tw {
namespace {

constexpr double kMetresPerDegree = 111320.0;

void addGrid(std::vector<Tile>& out, const LatLonBox& b, int zoom, int32_t type, MapType map)
{
  const auto x0 = int32_t(std::floor(pixelFromLon(zoom, b.west) / 256));
  const auto x1 = int32_t(std::floor(pixelFromLon(zoom, b.east) / 256));
  const auto y0 = int32_t(std::floor(pixelFromLat(zoom, b.north) / 256));
  const auto y1 = int32_t(std::floor(pixelFromLat(zoom, b.south) / 256));
  for (int32_t y = y0; y <= y1; ++y)
    for (int32_t x = x0; x <= x1; ++x) out.push_back(Tile{x, y, zoom, type, 0.0f, map});
}

}  // namespace

std::optional<LatLonBox> trackArea(const std::vector<Track>& points, double marginMetres)
{
  if (points.empty()) return std::nullopt;
  LatLonBox b{points[0].lat, points[0].lon, points[0].lat, points[0].lon};
  for (const Track& p : points) {
    b.south = std::min(b.south, p.lat);
    b.north = std::max(b.north, p.lat);
    b.west = std::min(b.west, p.lon);
    b.east = std::max(b.east, p.lon);
  }
  const double dLat = marginMetres / kMetresPerDegree;
  const double dLon = dLat / std::max(std::cos(std::max(std::abs(b.south), std::abs(b.north)) * kPi / 180), 0.01);
  return LatLonBox{std::max(b.south - dLat, -85.0), std::max(b.west - dLon, -180.0), std::min(b.north + dLat, 85.0),
                   std::min(b.east + dLon, 179.999999)};
}

std::vector<Tile> planOfflineTiles(const LatLonBox& box, int minZoom, int maxZoom, MapType map, bool dem5a)
{
  std::vector<Tile> out;
  for (int z = minZoom; z <= maxZoom; ++z) addGrid(out, box, z, kTileMap, map);
  addGrid(out, box, 14, kTileDemView, map);
  if (dem5a) addGrid(out, box, 14, kTileDem5A, map);
  return out;
}

}  // namespace tw
