// DEM text tiles (good, hostile and real), the cell lookup at tile edges, and request planning.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "DemTestUtil.h"
#include "elevation/DemLookup.h"
#include "elevation/DemParse.h"
#include "elevation/ElevationPlan.h"
#include "support/TestPaths.h"

using namespace tw;
using namespace elevtest;

TEST(DemParse, Cells)
{
  struct Case { const char* text; DemModel model; int32_t cm; };
  const Case cases[] = {
      {"123.4", DemModel::DEM10B, 12340},   {"-2.5", DemModel::DEM10B, 0},
      {"e", DemModel::DEM10B, 0},           {"e", DemModel::DEM5A, -1},
      {"1944.25", DemModel::DEM5A, 194425}, {"0.019", DemModel::DEM10B, 1},  // truncated
      {"12.5\r", DemModel::DEM10B, 1250},   {" +7", DemModel::DEM10B, 700},
      {"", DemModel::DEM5A, 0},             {"abc", DemModel::DEM10B, 0},
      {"nan", DemModel::DEM10B, 0},         {"1e30", DemModel::DEM10B, INT32_MAX},  // saturates
  };
  for (const Case& c : cases) EXPECT_EQ(parseDemCell(c.text, c.model), c.cm) << c.text;
}

TEST(DemParse, WholeAndHostileBodies)
{
  std::vector<int32_t> v;
  ASSERT_TRUE(parseDemText(demText("123.4"), DemModel::DEM10B, v));
  Elevation e;
  e.tiles = v;
  EXPECT_FLOAT_EQ(e.getElevation(255, 255), 123.4f);
  EXPECT_EQ(std::tuple(e.getElevation(256, 0), e.getElevation(0, -1)), std::tuple(-1.0f, -1.0f));
  ASSERT_TRUE(parseDemText(demText("e"), DemModel::DEM5A, v));
  e.tiles = v;
  EXPECT_EQ(e.getElevation(9, 9), -1.0f);

  std::string noFinalNewline = demText("1");
  noFinalNewline.pop_back();
  std::string junkFirst = "<html>not found</html>\n\n" + demText("5");  // lines of other sizes are skipped
  std::string shortLast = demText("5");
  shortLast.erase(shortLast.rfind(','), 2);  // the last line has 255 cells
  const std::pair<std::string, bool> bodies[] = {
      {noFinalNewline, true},
      {junkFirst, true},
      {shortLast, false},
      {demText("5") + demText("5").substr(0, 1024), false},  // 257 lines
      {demText("5") + demText("5"), false},
      {"", false},
      {std::string(100000, ','), false},
  };
  for (const auto& [body, ok] : bodies) {
    EXPECT_EQ(parseDemText(body, DemModel::DEM10B, v), ok) << body.substr(0, 40);
    EXPECT_EQ(v.size(), ok ? kDemCells : 0u);
  }
}

TEST(DemParse, RealTile)
{
  TW_REQUIRE_CORPUS();
  const std::string body = twtest::readFile(twtest::corpusDir() + "/gsi/dem/8/229/94.txt");
  std::vector<int32_t> v;
  ASSERT_TRUE(parseDemText(body, DemModel::DEM5A, v));
  EXPECT_EQ(std::tuple(std::count(v.begin(), v.end(), -1), *std::max_element(v.begin(), v.end())), std::tuple(12527, 194425));
  ASSERT_TRUE(parseDemText(body, DemModel::DEM10B, v));
  EXPECT_EQ(std::tuple(std::count(v.begin(), v.end(), -1), v[0]), std::tuple(0, 56542));  // first cell "565.42"
}

TEST(DemLookup, CellsAndTileEdges)
{
  // Cell (c, r) holds c * 100 + r centimetres.
  auto e = flatTile(TX, TY, 0);
  for (int r = 0; r < 256; ++r)
    for (int c = 0; c < 256; ++c) e->tiles[r * 256 + c] = c * 100 + r;
  const ElevationList cache{e};
  auto at = [&](int tx, int col, int row) {
    double lat, lon;
    cellCentre(tx, TY, col, row, lat, lon);
    return lookupElevation(cache, lat, lon);
  };
  EXPECT_FLOAT_EQ(at(TX, 10, 20), 10.20f);
  EXPECT_FLOAT_EQ(at(TX, 255, 255), 257.55f);
  EXPECT_EQ(at(TX + 1, 0, 255), kDemNotCached);  // the neighbour is not cached
  // Exactly on the west and north edges: column 0 and row 0 of this tile.
  const double west = lonFromPixel(14, TX * 256.0), north = latFromPixel(14, TY * 256.0);
  const auto c = demCellAt(north - 1e-9, west + 1e-9);
  ASSERT_TRUE(c);
  EXPECT_EQ(std::tie(c->tile_x, c->tile_y, c->col, c->row), std::make_tuple(TX, TY, 0, 0));
  EXPECT_EQ(lookupElevation(cache, std::nan(""), 138.7), kDemNotCached);
}

TEST(ElevationPlan, KeysTypesAndFilters)
{
  DocumentState d;
  d.tracks.resize(1);
  d.active_track = 0, d.tracks[0].stable = 1;
  // Two points in one tile ask for it once; a known elevation asks for nothing.
  d.tracks[0].points = {pointIn(TX, 1, 1), pointIn(TX, 2, 2), pointIn(TX + 7, 1, 1, 3000.0f), pointIn(TX + 5, 1, 1)};
  d.waypoints.resize(2);
  d.waypoints[0].setPosition(pointIn(TX + 9, 1, 1).lat, pointIn(TX + 9, 1, 1).lon);
  d.waypoints[1].elev = 12.0f;
  using V = std::vector<std::pair<int, int32_t>>;
  auto keys = [&](int dem_mode, const std::function<bool(const Tile&)>& known = nullptr) {
    V r;
    for (const Tile& k : planElevationRequests(d, dem_mode, known)) r.emplace_back(k.x, k.type);
    return r;
  };
  EXPECT_EQ(keys(0), (V{{TX, kTileDemPoint}, {TX + 5, kTileDemPoint}, {TX + 9, kTileDemPoint}}));
  // DEM5A for track points, DEM10B for waypoints; known keys are left out.
  EXPECT_EQ(keys(1), (V{{TX, kTileDem5A}, {TX + 5, kTileDem5A}, {TX + 9, kTileDemPoint}}));
  EXPECT_EQ(keys(0, [](const Tile& k) { return k.x != TX + 5; }), (V{{TX + 5, kTileDemPoint}}));
  // An undecided track always asks for its first point's tile.
  for (auto& p : d.tracks[0].points) p.elev = 100.0f;
  d.waypoints.clear();
  EXPECT_TRUE(keys(0).empty());
  d.tracks[0].stable = -1;
  EXPECT_EQ(keys(0), (V{{TX, kTileDemPoint}}));
  d.outside = true;  // nothing abroad, nor without an active track
  EXPECT_TRUE(keys(0).empty());
  std::tie(d.outside, d.active_track) = std::tuple(false, kNoIndex);
  EXPECT_TRUE(keys(0).empty());
}
