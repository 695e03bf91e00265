#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "DemTestUtil.h"
#include "document/Geodesy.h"
#include "elevation/DemLookup.h"
#include "elevation/DemParse.h"
#include "elevation/ElevationPlan.h"
#include "support/TestPaths.h"

using namespace tw;
using elevtest::demText;

TEST(DemParse, CellValues)
{
  EXPECT_EQ(parseDemCell("123.4", DemModel::DEM10B), 12340);
  EXPECT_EQ(parseDemCell("-2.5", DemModel::DEM10B), 0);
  EXPECT_EQ(parseDemCell("e", DemModel::DEM10B), 0);
  EXPECT_EQ(parseDemCell("e", DemModel::DEM5A), -1);
  EXPECT_EQ(parseDemCell("1944.25", DemModel::DEM5A), 194425);
  EXPECT_EQ(parseDemCell("0.019", DemModel::DEM10B), 1);   // truncated toward zero
  EXPECT_EQ(parseDemCell("12.5\r", DemModel::DEM10B), 1250);  // CRLF line ends
  EXPECT_EQ(parseDemCell(" +7", DemModel::DEM10B), 700);
  EXPECT_EQ(parseDemCell("", DemModel::DEM5A), 0);
  EXPECT_EQ(parseDemCell("abc", DemModel::DEM10B), 0);
  EXPECT_EQ(parseDemCell("nan", DemModel::DEM10B), 0);
  EXPECT_EQ(parseDemCell("1e30", DemModel::DEM10B), INT32_MAX);  // saturates, no overflow
}

TEST(DemParse, WholeTiles)
{
  std::vector<int32_t> v;
  ASSERT_TRUE(parseDemText(demText("123.4"), DemModel::DEM10B, v));
  ASSERT_EQ(v.size(), kDemCells);
  Elevation e;
  e.tiles = v;
  EXPECT_FLOAT_EQ(e.getElevation(0, 0), 123.4f);
  EXPECT_FLOAT_EQ(e.getElevation(255, 255), 123.4f);
  EXPECT_EQ(e.getElevation(256, 0), -1.0f);
  EXPECT_EQ(e.getElevation(0, -1), -1.0f);

  ASSERT_TRUE(parseDemText(demText("-2.5"), DemModel::DEM5A, v));
  e.tiles = v;
  EXPECT_EQ(e.getElevation(3, 4), 0.0f);

  ASSERT_TRUE(parseDemText(demText("e"), DemModel::DEM5A, v));
  e.tiles = v;
  EXPECT_EQ(e.getElevation(9, 9), -1.0f);
  ASSERT_TRUE(parseDemText(demText("e"), DemModel::DEM10B, v));
  e.tiles = v;
  EXPECT_EQ(e.getElevation(9, 9), 0.0f);

  // Without the final newline the last line still counts.
  std::string noFinal = demText("1");
  noFinal.pop_back();
  EXPECT_TRUE(parseDemText(noFinal, DemModel::DEM10B, v));
}

TEST(DemParse, MalformedBodiesAreRejected)
{
  std::vector<int32_t> v;
  // Last line with 255 cells: 255 good lines only.
  std::string body = demText("5");
  const std::size_t lastLine = body.rfind('\n', body.size() - 2) + 1;
  body.erase(body.find(',', lastLine), 2);  // drop one cell of the last line
  EXPECT_FALSE(parseDemText(body, DemModel::DEM10B, v));
  EXPECT_TRUE(v.empty());
  // 257 lines of 256.
  EXPECT_FALSE(parseDemText(demText("5") + demText("5").substr(0, 1024), DemModel::DEM10B, v));
  EXPECT_FALSE(parseDemText(demText("5") + demText("5"), DemModel::DEM10B, v));
  // Junk lines between good ones are skipped.
  std::string junk = demText("5");
  junk.insert(0, "<html>not found</html>\n\n");
  EXPECT_TRUE(parseDemText(junk, DemModel::DEM10B, v));
  EXPECT_FALSE(parseDemText("", DemModel::DEM10B, v));
  EXPECT_FALSE(parseDemText(std::string(100000, ','), DemModel::DEM10B, v));
}

TEST(DemParse, RealTile)
{
  TW_REQUIRE_CORPUS();
  const std::string body = twtest::readFile(twtest::corpusDir() + "/gsi/dem/8/229/94.txt");
  ASSERT_FALSE(body.empty());
  std::vector<int32_t> v;
  ASSERT_TRUE(parseDemText(body, DemModel::DEM5A, v));
  int sea = 0;
  int32_t top = 0;
  for (int32_t c : v) {
    sea += c == -1;
    top = std::max(top, c);
  }
  EXPECT_EQ(sea, 12527);
  EXPECT_EQ(top, 194425);
  ASSERT_TRUE(parseDemText(body, DemModel::DEM10B, v));
  EXPECT_EQ(std::count(v.begin(), v.end(), -1), 0);
  EXPECT_EQ(v[0], 56542);  // first cell "565.42"
}

TEST(DemLookup, CellsAndTileEdges)
{
  // Tile 14553/6450 (near Mt. Fuji); cell (c, r) holds c * 100 + r centimetres.
  auto e = std::make_shared<Elevation>();
  e->x = 14553;
  e->y = 6450;
  e->tiles.resize(kDemCells);
  for (int r = 0; r < 256; ++r)
    for (int c = 0; c < 256; ++c) e->tiles[r * 256 + c] = c * 100 + r;
  ElevationList cache{e};

  double lat, lon;
  elevtest::cellCentre(14553, 6450, 10, 20, lat, lon);
  EXPECT_FLOAT_EQ(lookupElevation(cache, lat, lon), 10.20f);

  // Exactly on the west and north edges: column 0, row 0 of this tile.
  const double westLon = lonFromPixel(14, 14553 * 256.0);
  const double northLat = latFromPixel(14, 6450 * 256.0);
  const auto c = demCellAt(northLat - 1e-9, westLon + 1e-9);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->tile_x, 14553);
  EXPECT_EQ(c->tile_y, 6450);
  EXPECT_EQ(c->col, 0);
  EXPECT_EQ(c->row, 0);
  EXPECT_EQ(lookupElevation(cache, northLat - 1e-9, westLon + 1e-9), 0.0f);
  // The last cell belongs to this tile; one pixel further is the neighbour, not cached.
  elevtest::cellCentre(14553, 6450, 255, 255, lat, lon);
  EXPECT_FLOAT_EQ(lookupElevation(cache, lat, lon), 257.55f);
  elevtest::cellCentre(14554, 6450, 0, 255, lat, lon);
  EXPECT_EQ(lookupElevation(cache, lat, lon), kDemNotCached);

  EXPECT_EQ(lookupElevation(cache, std::nan(""), 138.7), kDemNotCached);
  EXPECT_EQ(lookupElevation({}, 35.36, 138.73), kDemNotCached);
}

namespace {

DocumentState docWithTrack(std::initializer_list<std::pair<double, double>> pts)
{
  DocumentState d;
  d.tracks.emplace_back();
  d.active_track = 0;
  for (auto [lat, lon] : pts) {
    Track t;
    setPosition(t, lat, lon);
    d.tracks[0].points.push_back(t);
  }
  d.tracks[0].stable = 1;
  return d;
}

}  // namespace

TEST(ElevationPlan, KeysTypesAndFilters)
{
  DocumentState d = docWithTrack({{35.3606, 138.7274}, {35.3610, 138.7280}, {35.6586, 139.7454}});
  d.tracks[0].points[1].elev = 3000.0f;  // known: no request
  WayPoint w;
  w.setPosition(43.0, 142.5);
  d.waypoints.push_back(w);
  WayPoint known;
  known.setPosition(26.2, 127.7);
  known.elev = 12.0f;
  d.waypoints.push_back(known);

  const Tile fuji = demTileForPixel(d.tracks[0].points[0].x, d.tracks[0].points[0].y, kTileDemPoint);
  EXPECT_EQ(fuji.x, int(pixelFromLon(14, 138.7274) / 256));
  EXPECT_EQ(fuji.y, int(pixelFromLat(14, 35.3606) / 256));
  EXPECT_EQ(fuji.zoom, 14);

  auto keys = planElevationRequests(d, 0, nullptr);
  ASSERT_EQ(keys.size(), 3u);  // Fuji, Tokyo, the waypoint
  EXPECT_EQ(keys[0].x, fuji.x);
  EXPECT_EQ(keys[0].type, kTileDemPoint);
  EXPECT_EQ(keys[2].type, kTileDemPoint);

  // DEM5A mode: track points ask DEM5A, waypoints still DEM10B.
  keys = planElevationRequests(d, 1, nullptr);
  ASSERT_EQ(keys.size(), 3u);
  EXPECT_EQ(keys[0].type, kTileDem5A);
  EXPECT_EQ(keys[1].type, kTileDem5A);
  EXPECT_EQ(keys[2].type, kTileDemPoint);

  // Cached or outstanding keys are left out.
  keys = planElevationRequests(d, 0, [&](const Tile& k) { return k.x == fuji.x && k.y == fuji.y; });
  EXPECT_EQ(keys.size(), 2u);

  // An undecided track always asks for its first point's tile.
  for (auto& p : d.tracks[0].points) p.elev = 100.0f;
  d.waypoints[0].elev = 1.0f;
  EXPECT_TRUE(planElevationRequests(d, 0, nullptr).empty());
  d.tracks[0].stable = -1;
  EXPECT_EQ(planElevationRequests(d, 0, nullptr).size(), 1u);

  d.outside = true;
  d.tracks[0].points[0].elev = kUnknownElevation;
  EXPECT_TRUE(planElevationRequests(d, 0, nullptr).empty());

  DocumentState onlyWp;
  onlyWp.waypoints.push_back(w);
  EXPECT_TRUE(planElevationRequests(onlyWp, 0, nullptr).empty());
}
