#include "tiles/TileUrl.h"

#include <cstdio>

#include "tiles/Hosts.h"

namespace tw {
namespace {

std::string zxy(const char* fmt, int32_t zoom, int32_t x, int32_t y)
{
  char buf[96];
  std::snprintf(buf, sizeof buf, fmt, static_cast<int>(zoom), static_cast<int>(x), static_cast<int>(y));
  return buf;
}

}  // namespace

MapType normalizedMapKind(MapType map)
{
  return (map >= MapType::Standard && map <= MapType::OSM) ? map : MapType::Standard;
}

char osmHostLetter(int32_t x, int32_t y, int32_t zoom)
{
  const int64_t sum = int64_t{x} + y + zoom;
  const int64_t i = ((sum % 3) + 3) % 3;
  return "abc"[i];
}

std::string tileUrl(const Tile& k, const std::string& gsi, const std::string& osm)
{
  switch (k.type) {
    case kTileMap:
      switch (normalizedMapKind(k.map)) {
        case MapType::Pale: return gsi + zxy("/xyz/pale/%d/%d/%d.png", k.zoom, k.x, k.y);
        case MapType::Photo: return gsi + zxy("/xyz/seamlessphoto/%d/%d/%d.jpg", k.zoom, k.x, k.y);
        case MapType::OSM: {
          std::string host = osm;
          if (auto at = host.find("{s}"); at != std::string::npos)
            host.replace(at, 3, 1, osmHostLetter(k.x, k.y, k.zoom));
          return host + zxy("/%d/%d/%d.png", k.zoom, k.x, k.y);
        }
        default: return gsi + zxy("/xyz/std/%d/%d/%d.png", k.zoom, k.x, k.y);
      }
    case kTileDemView:
    case kTileDemPoint: return gsi + zxy("/xyz/dem/%d/%d/%d.txt", 14, k.x, k.y);
    case kTileDem5A: return gsi + zxy("/xyz/dem5a/%d/%d/%d.txt", 14, k.x, k.y);
    default: return {};
  }
}

std::string tileUrl(const Tile& k) { return tileUrl(k, gsiBase(), osmBase()); }

}  // namespace tw
