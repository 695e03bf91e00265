#pragma once
// One cached map tile, shared by the TileStore's cache and whoever draws it.

#include <QImage>
#include <memory>

#include "tiles/Tile.h"
#include "tiles/enhance/PixelBuffer.h"

struct MapImage {
  // The decoded tile, or the "no_data" placeholder. A palette PNG stays Format_Indexed8 with
  // its colour table; other tiles are whatever Qt decoded (usually RGB32/ARGB32).
  QImage image;
  // Per-pixel classes made for print (print mode only); null for placeholders and outside print.
  std::shared_ptr<const tw::ClassMap> data;
  // The key it was downloaded for.
  tw::Tile tile;
  // Set once composed into the print surface.
  bool draw = false;
};

using MapImagePtr = std::shared_ptr<MapImage>;
