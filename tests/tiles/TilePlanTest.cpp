// Planning and the needs rule: which tiles are asked for, in which order, and which answers
// are still wanted; their addresses.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <tuple>

#include "tiles/TilePlan.h"
#include "tiles/TileUrl.h"

using namespace tw;

namespace {
// A 5 × 3 grid from tile (100, 50), centre pixel inside tile (102, 51).
PlanInput viewAt(int32_t zoom, Mode mode = Mode::Base, MapType map_type = MapType::Standard)
{
  return PlanInput{DRect{100, 50, 5, 3}, 102 * 256 + 128, 51 * 256 + 10, zoom, mode, map_type};
}
}  // namespace

TEST(TilePlan, BatchesByZoomModeAndKind)
{
  struct Case { int32_t zoom; Mode mode; MapType map_type; size_t dems; MapType map; DRect elevRect; };
  const Case cases[] = {
      {16, Mode::Base, MapType::Pale, 4, MapType::Pale, {25, 12, 2, 2}},  // 4 tiles to a zoom-14 tile: x 100..105, y 50..53
      {15, Mode::Edit, MapType::OSM, 6, MapType::OSM, {50, 25, 3, 2}},
      {14, Mode::Base, MapType::Standard, 0, MapType::Standard, {}},  // no DEM area tiles at zoom 14 and farther
      {16, Mode::Area, MapType::Photo, 0, MapType::Photo, {}},  // nor while selecting the print area
      {16, Mode::Print, MapType::Photo, 0, MapType::Standard, {}},  // print: the standard map
      {12, Mode::Base, static_cast<MapType>(9), 0, MapType::Standard, {}},  // an unknown kind plans the standard map
  };
  for (const Case& c : cases) {
    DRect elevRect;
    const auto batch = planTiles(viewAt(c.zoom, c.mode, c.map_type), elevRect, nullptr);
    ASSERT_EQ(batch.size(), 15 + c.dems) << c.zoom << " " << static_cast<int>(c.mode);
    EXPECT_EQ(std::tie(elevRect.x, elevRect.y, elevRect.width, elevRect.height),
              std::tie(c.elevRect.x, c.elevRect.y, c.elevRect.width, c.elevRect.height));
    // Map tiles centre outward, then the DEM area tiles from their centre.
    EXPECT_EQ(std::tie(batch[0].x, batch[0].y, batch[0].map), std::make_tuple(102, 51, c.map));
    EXPECT_EQ(batch[14].dist, 5.0f);  // the far corners, 2² + 1²
    EXPECT_TRUE(std::is_sorted(batch.begin(), batch.begin() + 15, [](auto& a, auto& b) { return a.dist < b.dist; }));
    EXPECT_TRUE(std::all_of(batch.begin() + 15, batch.end(), [](auto& t) { return t.type == kTileDemView && t.zoom == 14; }));
    EXPECT_TRUE(!c.dems || batch[15].dist == 0.0f);
  }
  // Known keys (cached or outstanding) are not planned again; absurd grids plan nothing.
  DRect elevRect;
  EXPECT_EQ(planTiles(viewAt(16), elevRect, [](const Tile& t) { return t.x == 102 || t.x == 25; }).size(), 12u + 2u);
  PlanInput absurd = viewAt(12);
  for (double w : {-3.0, std::numeric_limits<double>::quiet_NaN()}) {
    absurd.backRect.width = w;
    EXPECT_TRUE(planTiles(absurd, elevRect, nullptr).empty());
  }
}

TEST(TilePlan, NeedsRule)
{
  const NeedsInput browse{MapType::Pale, Mode::Base, DRect{100, 50, 5, 3}, DRect{25, 12, 2, 2}};
  NeedsInput print = browse, unknownKind = browse;
  print.mode = Mode::Print;
  unknownKind.map_type = static_cast<MapType>(9);
  struct Case { Tile k; const NeedsInput& in; bool cached, needed; };
  const Case cases[] = {
      {{104, 52, 16, kTileMap, 0, MapType::Pale}, browse, false, true},
      {{104, 52, 16, kTileMap, 0, MapType::Pale}, browse, true, false},
      {{105, 52, 16, kTileMap, 0, MapType::Pale}, browse, false, false},  // the grid is half-open
      {{100, 49, 16, kTileMap, 0, MapType::Pale}, browse, false, false},
      {{104, 52, 16, kTileMap, 0, MapType::Standard}, browse, false, false},  // another kind
      {{104, 52, 16, kTileMap, 0, MapType::Standard}, print, false, true},
      {{104, 52, 16, kTileMap, 0, MapType::Standard}, unknownKind, false, true},
      {{26, 13, 14, kTileDemView, 0, MapType::Standard}, browse, false, true},
      {{27, 13, 14, kTileDemView, 0, MapType::Standard}, browse, false, false},
      {{26, 13, 14, kTileDemView, 0, MapType::Standard}, browse, true, false},
      {{999, 9, 14, kTileDemPoint, 0, MapType::Standard}, print, true, true},  // point tiles are always wanted
      {{999, 9, 14, kTileDem5A, 0, MapType::Standard}, print, true, true},
  };
  for (const Case& c : cases) EXPECT_EQ(tileNeeded(c.k, c.in, c.cached), c.needed) << c.k.x << " " << c.k.type;
}

TEST(TileUrl, MapAndDemAddresses)
{
  auto url = [](int32_t x, int32_t y, int32_t zoom, int32_t type, MapType map, const char* osm = "https://{s}.osm.test") {
    return tileUrl(Tile{x, y, zoom, type, 0, map}, "https://gsi.test", osm);
  };
  EXPECT_EQ(url(14622, 6017, 14, kTileMap, MapType::Standard), "https://gsi.test/xyz/std/14/14622/6017.png");
  EXPECT_EQ(url(1, 2, 3, kTileMap, MapType::Pale), "https://gsi.test/xyz/pale/3/1/2.png");
  EXPECT_EQ(url(1, 2, 3, kTileMap, MapType::Photo), "https://gsi.test/xyz/seamlessphoto/3/1/2.jpg");
  EXPECT_EQ(url(1, 2, 3, kTileMap, static_cast<MapType>(7)), "https://gsi.test/xyz/std/3/1/2.png");  // unknown kind: standard
  // The OpenStreetMap host letter is (x + y + zoom) mod 3; a mirror without "{s}" takes all.
  EXPECT_EQ(url(1, 1, 1, kTileMap, MapType::OSM), "https://a.osm.test/1/1/1.png");
  EXPECT_EQ(url(0, 0, 1, kTileMap, MapType::OSM), "https://b.osm.test/1/0/0.png");
  EXPECT_EQ(url(0, 0, 2, kTileMap, MapType::OSM), "https://c.osm.test/2/0/0.png");
  EXPECT_EQ(url(1, 1, 1, kTileMap, MapType::OSM, "http://127.0.0.1:9"), "http://127.0.0.1:9/1/1/1.png");
  EXPECT_EQ(osmHostLetter(-5, 0, 0), 'b');  // never outside the list
  if (!getenv("TARNWICK_OSM_BASE"))  // the default host has no letter
    EXPECT_EQ(tileUrl(Tile{1, 1, 1, kTileMap, 0, MapType::OSM}), "https://tile.openstreetmap.org/1/1/1.png");
  // DEM tiles always at zoom 14.
  EXPECT_EQ(url(14622, 6017, 16, kTileDemView, MapType::Standard), "https://gsi.test/xyz/dem/14/14622/6017.txt");
  EXPECT_EQ(url(5, 6, 14, kTileDemPoint, MapType::Standard), "https://gsi.test/xyz/dem/14/5/6.txt");
  EXPECT_EQ(url(5, 6, 14, kTileDem5A, MapType::Standard), "https://gsi.test/xyz/dem5a/14/5/6.txt");
  EXPECT_EQ(url(5, 6, 14, 9, MapType::Standard), "");
}
