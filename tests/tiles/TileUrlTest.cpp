#include <gtest/gtest.h>

#include <cstdlib>

#include "tiles/Hosts.h"
#include "tiles/TileUrl.h"

using namespace tw;

namespace {
Tile key(int32_t x, int32_t y, int32_t zoom, int32_t type = kTileMap, int32_t map = kMapStandard)
{
  Tile t;
  t.x = x;
  t.y = y;
  t.zoom = zoom;
  t.type = type;
  t.map = map;
  return t;
}
const std::string kGsi = "https://gsi.test";
const std::string kOsm = "https://{s}.osm.test";
}  // namespace

TEST(TileUrl, MapKindsUseZoomXYOrder)
{
  EXPECT_EQ(tileUrl(key(14622, 6017, 14), kGsi, kOsm), "https://gsi.test/xyz/std/14/14622/6017.png");
  EXPECT_EQ(tileUrl(key(1, 2, 3, kTileMap, kMapPale), kGsi, kOsm), "https://gsi.test/xyz/pale/3/1/2.png");
  EXPECT_EQ(tileUrl(key(1, 2, 3, kTileMap, kMapPhoto), kGsi, kOsm),
            "https://gsi.test/xyz/seamlessphoto/3/1/2.jpg");
  EXPECT_EQ(tileUrl(key(1, 2, 3, kTileMap, kMapOSM), kGsi, kOsm), "https://a.osm.test/3/1/2.png");
}

TEST(TileUrl, UnknownMapKindFallsBackToStandard)
{
  EXPECT_EQ(tileUrl(key(1, 2, 3, kTileMap, 7), kGsi, kOsm), "https://gsi.test/xyz/std/3/1/2.png");
  EXPECT_EQ(tileUrl(key(1, 2, 3, kTileMap, -1), kGsi, kOsm), "https://gsi.test/xyz/std/3/1/2.png");
  EXPECT_EQ(normalizedMapKind(4), kMapStandard);
  EXPECT_EQ(normalizedMapKind(kMapOSM), kMapOSM);
}

TEST(TileUrl, OsmHostLetterCyclesBySum)
{
  EXPECT_EQ(osmHostLetter(1, 1, 1), 'a');
  EXPECT_EQ(osmHostLetter(0, 0, 1), 'b');
  EXPECT_EQ(osmHostLetter(0, 0, 2), 'c');
  EXPECT_EQ(osmHostLetter(-5, 0, 0), 'b');  // never indexes outside the list
  EXPECT_EQ(tileUrl(key(1, 1, 1, kTileMap, kMapOSM), kGsi, kOsm), "https://a.osm.test/1/1/1.png");
  // A mirror without the letter slot serves every letter.
  EXPECT_EQ(tileUrl(key(1, 1, 1, kTileMap, kMapOSM), kGsi, "http://127.0.0.1:9"), "http://127.0.0.1:9/1/1/1.png");
}

TEST(TileUrl, DemTilesAlwaysAtZoom14)
{
  EXPECT_EQ(tileUrl(key(14622, 6017, 16, kTileDemView), kGsi, kOsm), "https://gsi.test/xyz/dem/14/14622/6017.txt");
  EXPECT_EQ(tileUrl(key(5, 6, 14, kTileDemPoint), kGsi, kOsm), "https://gsi.test/xyz/dem/14/5/6.txt");
  EXPECT_EQ(tileUrl(key(5, 6, 14, kTileDem5A), kGsi, kOsm), "https://gsi.test/xyz/dem5a/14/5/6.txt");
  EXPECT_EQ(tileUrl(key(5, 6, 14, 9), kGsi, kOsm), "");
}

TEST(Hosts, DefaultsAndEnvironmentOverrides)
{
  unsetenv("TARNWICK_GSI_BASE");
  unsetenv("TARNWICK_OSM_BASE");
  EXPECT_EQ(gsiBase(), "https://cyberjapandata.gsi.go.jp");
  EXPECT_EQ(tileUrl(key(1, 1, 1, kTileMap, kMapOSM)), "https://a.tile.openstreetmap.org/1/1/1.png");
  setenv("TARNWICK_GSI_BASE", "http://127.0.0.1:8080/", 1);
  setenv("TARNWICK_OSM_BASE", "http://127.0.0.1:8081/{s}", 1);
  EXPECT_EQ(tileUrl(key(1, 2, 3)), "http://127.0.0.1:8080/xyz/std/3/1/2.png");
  EXPECT_EQ(tileUrl(key(1, 2, 3, kTileMap, kMapOSM)), "http://127.0.0.1:8081/a/3/1/2.png");
  EXPECT_EQ(tileUrl(key(1, 2, 4, kTileMap, kMapOSM)), "http://127.0.0.1:8081/b/4/1/2.png");
  unsetenv("TARNWICK_GSI_BASE");
  unsetenv("TARNWICK_OSM_BASE");
}
