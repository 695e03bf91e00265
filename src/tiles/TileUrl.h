#pragma once
// Addresses of map and DEM tiles.

#include <string>

#include "tiles/Tile.h"

namespace tw {

// A map kind outside the four known ones counts as the standard map.
MapType normalizedMapKind(MapType map);

// "a", "b" or "c" by (x + y + zoom) mod 3 (non-negative for any input).
char osmHostLetter(int32_t x, int32_t y, int32_t zoom);

// Full URL of a request: map kinds by `map` for type 0, DEM10B for types 1 and 2, DEM5A for
// type 3 (DEM tiles always at zoom 14). Empty for any other type.
std::string tileUrl(const Tile& k, const std::string& gsi, const std::string& osm);
// The same with the configured hosts (Hosts.h).
std::string tileUrl(const Tile& k);

}  // namespace tw
