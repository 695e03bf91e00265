#pragma once
// Key of a map or DEM tile request.

#include <cstdint>

#include "document/Modes.h"

namespace tw {

// Request kinds.
enum TileType : int32_t {
  kTileMap = 0,        // map image tile
  kTileDemView = 1,    // DEM10B tile covering the visible area (zoom 14)
  kTileDemPoint = 2,   // DEM10B tile under a point lacking an elevation
  kTileDem5A = 3,      // DEM5A tile under a track point lacking an elevation
};

struct Tile {
  int32_t x = 0;
  int32_t y = 0;
  int32_t zoom = 0;
  int32_t type = kTileMap;
  float dist = 0.0f;  // sort key inside one planning batch
  MapType map = MapType::Standard;
};

}  // namespace tw
