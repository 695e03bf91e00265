#include <gtest/gtest.h>

#include <cstdlib>

#include "tiles/Hosts.h"
#include "tiles/TileUrl.h"

using namespace tw;

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
  // DEM tiles always at zoom 14.
  EXPECT_EQ(url(14622, 6017, 16, kTileDemView, MapType::Standard), "https://gsi.test/xyz/dem/14/14622/6017.txt");
  EXPECT_EQ(url(5, 6, 14, kTileDemPoint, MapType::Standard), "https://gsi.test/xyz/dem/14/5/6.txt");
  EXPECT_EQ(url(5, 6, 14, kTileDem5A, MapType::Standard), "https://gsi.test/xyz/dem5a/14/5/6.txt");
  EXPECT_EQ(url(5, 6, 14, 9, MapType::Standard), "");
}

TEST(Hosts, Defaults)
{
  unsetenv("TARNWICK_GSI_BASE");
  unsetenv("TARNWICK_OSM_BASE");
  EXPECT_EQ(tileUrl(Tile{1, 2, 3, kTileMap, 0, MapType::Standard}), "https://cyberjapandata.gsi.go.jp/xyz/std/3/1/2.png");
  EXPECT_EQ(tileUrl(Tile{1, 1, 1, kTileMap, 0, MapType::OSM}), "https://tile.openstreetmap.org/1/1/1.png");
}
