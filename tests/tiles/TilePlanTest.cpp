#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "tiles/TilePlan.h"

using namespace tw;

namespace {
Tile key(int32_t x, int32_t y, int32_t zoom, int32_t type = kTileMap, int32_t map = kMapStandard, float dist = 0)
{
  Tile t;
  t.x = x;
  t.y = y;
  t.zoom = zoom;
  t.type = type;
  t.map = map;
  t.dist = dist;
  return t;
}
// A 5 × 3 grid around tile (102, 51) at zoom 16, centre pixel inside that tile.
PlanInput viewAt(int32_t zoom = 16, int32_t mode = 0, int32_t map_type = kMapStandard)
{
  PlanInput in;
  in.backRect = DRect{100, 50, 5, 3};
  in.center_x = 102 * 256 + 128;
  in.center_y = 51 * 256 + 10;
  in.zoom = zoom;
  in.mode = mode;
  in.map_type = map_type;
  return in;
}
}  // namespace

TEST(TilePlan, InRectIsHalfOpen)
{
  const DRect r{10, 20, 3, 2};
  EXPECT_TRUE(inRect(10, 20, r));
  EXPECT_TRUE(inRect(12, 21, r));
  EXPECT_FALSE(inRect(13, 21, r));
  EXPECT_FALSE(inRect(12, 22, r));
  EXPECT_FALSE(inRect(9, 20, r));
}

TEST(TilePlan, MapTilesCentreOutwardThenDemAreaTiles)
{
  DRect elevRect;
  const auto batch = planTiles(viewAt(16), elevRect, nullptr);
  // zoom 16: scale 4; x 100..105 → 25..26, y 50..53 → 12..13.
  EXPECT_DOUBLE_EQ(elevRect.x, 25);
  EXPECT_DOUBLE_EQ(elevRect.y, 12);
  EXPECT_DOUBLE_EQ(elevRect.width, 2);
  EXPECT_DOUBLE_EQ(elevRect.height, 2);
  ASSERT_EQ(batch.size(), 15u + 4u);
  // First the centre map tile, distances never decrease among the map tiles.
  EXPECT_EQ(batch[0].x, 102);
  EXPECT_EQ(batch[0].y, 51);
  EXPECT_EQ(batch[0].dist, 0.0f);
  for (size_t i = 1; i < 15; i++) {
    EXPECT_EQ(batch[i].type, kTileMap);
    EXPECT_LE(batch[i - 1].dist, batch[i].dist);
  }
  // The far corners come last among the map tiles: (100, 50) etc. at 2² + 1² = 5.
  EXPECT_EQ(batch[14].dist, 5.0f);
  for (size_t i = 15; i < batch.size(); i++) {
    EXPECT_EQ(batch[i].type, kTileDemView);
    EXPECT_EQ(batch[i].zoom, 14);
  }
  // DEM centre: 25 + 2/2 = 26, 12 + 2/2 = 13.
  EXPECT_EQ(batch[15].x, 26);
  EXPECT_EQ(batch[15].y, 13);
  std::set<std::pair<int, int>> cells;
  for (const Tile& t : batch)
    if (t.type == kTileMap) cells.insert({t.x, t.y});
  EXPECT_EQ(cells.size(), 15u);
}

TEST(TilePlan, NoDemAreaTilesAtZoom14OrInPrintAndAreaModes)
{
  DRect elevRect{1, 2, 3, 4};
  for (auto [zoom, mode] : {std::pair{14, 0}, std::pair{10, 1}, std::pair{16, 2}, std::pair{16, 3}}) {
    const auto batch = planTiles(viewAt(zoom, mode), elevRect, nullptr);
    EXPECT_EQ(batch.size(), 15u) << zoom << " " << mode;
    EXPECT_TRUE(std::all_of(batch.begin(), batch.end(), [](const Tile& t) { return t.type == kTileMap; }));
  }
  EXPECT_DOUBLE_EQ(elevRect.x, 1);  // left as it was
}

TEST(TilePlan, KnownKeysAreNotPlannedAgain)
{
  DRect elevRect;
  // Everything known: panning by less than a tile plans nothing.
  EXPECT_TRUE(planTiles(viewAt(16), elevRect, [](const Tile&) { return true; }).empty());
  const auto batch = planTiles(viewAt(16), elevRect, [](const Tile& t) { return t.type == kTileMap && t.x == 102; });
  EXPECT_EQ(batch.size(), 12u + 4u);
}

TEST(TilePlan, PrintModePlansTheStandardMap)
{
  EXPECT_EQ(plannedMapKind(3, kMapPhoto), kMapStandard);
  EXPECT_EQ(plannedMapKind(0, kMapPhoto), kMapPhoto);
  EXPECT_EQ(plannedMapKind(1, kMapOSM), kMapOSM);
  EXPECT_EQ(plannedMapKind(0, 9), kMapStandard);
  DRect elevRect;
  for (const Tile& t : planTiles(viewAt(16, 3, kMapOSM), elevRect, nullptr)) EXPECT_EQ(t.map, kMapStandard);
  for (const Tile& t : planTiles(viewAt(12, 0, kMapPale), elevRect, nullptr)) EXPECT_EQ(t.map, kMapPale);
}

TEST(TilePlan, CompareTilePutsMapBeforeDemThenByDistance)
{
  EXPECT_TRUE(compareTile(key(0, 0, 16, kTileMap, 0, 9), key(0, 0, 14, kTileDemView, 0, 0)));
  EXPECT_FALSE(compareTile(key(0, 0, 14, kTileDemView, 0, 0), key(0, 0, 16, kTileMap, 0, 9)));
  EXPECT_TRUE(compareTile(key(0, 0, 16, kTileMap, 0, 1), key(0, 0, 16, kTileMap, 0, 2)));
  EXPECT_FALSE(compareTile(key(0, 0, 16, kTileMap, 0, 2), key(0, 0, 16, kTileMap, 0, 2)));
  EXPECT_TRUE(compareTile(key(0, 0, 14, kTileDemPoint, 0, 1), key(0, 0, 14, kTileDemView, 0, 2)));
}

TEST(TilePlan, NeedsRule)
{
  NeedsInput in;
  in.map_type = kMapPale;
  in.mode = 0;
  in.backRect = DRect{100, 50, 5, 3};
  in.elevRect = DRect{25, 12, 2, 2};
  EXPECT_TRUE(tileNeeded(key(104, 52, 16, kTileMap, kMapPale), in, false));
  EXPECT_FALSE(tileNeeded(key(104, 52, 16, kTileMap, kMapPale), in, true));      // cached
  EXPECT_FALSE(tileNeeded(key(105, 52, 16, kTileMap, kMapPale), in, false));     // outside
  EXPECT_FALSE(tileNeeded(key(104, 52, 16, kTileMap, kMapStandard), in, false)); // other kind
  in.mode = 3;
  EXPECT_TRUE(tileNeeded(key(104, 52, 16, kTileMap, kMapStandard), in, false));  // print map
  EXPECT_TRUE(tileNeeded(key(26, 13, 14, kTileDemView), in, false));
  EXPECT_FALSE(tileNeeded(key(27, 13, 14, kTileDemView), in, false));
  EXPECT_FALSE(tileNeeded(key(26, 13, 14, kTileDemView), in, true));
  // A map kind outside 0–3 plans standard tiles, which are then wanted.
  in.mode = 0;
  in.map_type = 9;
  EXPECT_TRUE(tileNeeded(key(104, 52, 16, kTileMap, kMapStandard), in, false));
  in.mode = 3;
  // Point DEM requests and unknown kinds are always wanted.
  EXPECT_TRUE(tileNeeded(key(999, 999, 14, kTileDemPoint), in, true));
  EXPECT_TRUE(tileNeeded(key(999, 999, 14, kTileDem5A), in, true));
  EXPECT_TRUE(tileNeeded(key(999, 999, 14, 8), in, true));
}

TEST(TilePlan, RequestListLookups)
{
  std::vector<Tile> requests{key(1, 2, 16, kTileMap, kMapPale, 3), key(1, 2, 14, kTileDemPoint),
                             key(1, 2, 16, kTileMap, kMapStandard), key(1, 2, 14, kTileDemPoint)};
  EXPECT_TRUE(findRequests(requests, key(1, 2, 16, kTileMap, kMapPale)));
  EXPECT_FALSE(findRequests(requests, key(1, 2, 16, kTileMap, kMapOSM)));
  EXPECT_TRUE(findRequests(requests, key(1, 2, 14, kTileDemPoint)));
  EXPECT_FALSE(findRequests(requests, key(1, 2, 14, kTileDem5A)));
  EXPECT_FALSE(findRequests(requests, key(1, 2, 15, kTileDemPoint)));
  // Removal ignores map kind and dist, and removes every duplicate.
  removeRequests(requests, key(1, 2, 16, kTileMap, kMapOSM, 77));
  ASSERT_EQ(requests.size(), 2u);
  removeRequests(requests, key(1, 2, 14, kTileDemPoint));
  EXPECT_TRUE(requests.empty());
}

TEST(TilePlan, DemDownloadsWaitForFourOutstandingMapRequests)
{
  std::vector<Tile> requests{key(0, 0, 14, kTileDemView), key(1, 0, 16), key(2, 0, 16), key(3, 0, 16)};
  EXPECT_FALSE(checkImageRequest(requests));
  EXPECT_EQ(chooseTileAction(key(0, 0, 14, kTileDemView), true, checkImageRequest(requests)),
            TileAction::DownloadElevation);
  requests.push_back(key(4, 0, 16));
  EXPECT_TRUE(checkImageRequest(requests));
  for (int32_t type : {kTileDemView, kTileDemPoint, kTileDem5A})
    EXPECT_EQ(chooseTileAction(key(0, 0, 14, type), true, true), TileAction::Postpone);
  EXPECT_EQ(chooseTileAction(key(0, 0, 16), true, true), TileAction::DownloadImage);
  EXPECT_EQ(chooseTileAction(key(0, 0, 16), false, false), TileAction::Drop);
  EXPECT_EQ(chooseTileAction(key(0, 0, 16, 5), true, false), TileAction::Nothing);
}

TEST(TilePlan, EvictionKeepsOnlyTheGrid)
{
  std::vector<Tile> cached{key(100, 50, 16), key(104, 52, 16), key(105, 52, 16), key(400, 200, 18)};
  removeOutside(cached, DRect{100, 50, 5, 3}, [](const Tile& t) { return std::pair{t.x, t.y}; });
  ASSERT_EQ(cached.size(), 2u);
  EXPECT_EQ(cached[1].x, 104);

  EXPECT_EQ(demEvictRule(14, 0, false), DemEvict::ClearAll);
  EXPECT_EQ(demEvictRule(14, 0, true), DemEvict::ClearAll);
  EXPECT_EQ(demEvictRule(15, 0, false), DemEvict::KeepInRect);
  EXPECT_EQ(demEvictRule(16, 3, false), DemEvict::ClearAll);
  EXPECT_EQ(demEvictRule(16, 3, true), DemEvict::KeepInRect);
  EXPECT_EQ(demEvictRule(16, 2, false), DemEvict::ClearAll);
}

TEST(TilePlan, AbsurdRectanglesPlanNothing)
{
  PlanInput in = viewAt(12);
  in.backRect.width = -3;
  DRect elevRect;
  EXPECT_TRUE(planTiles(in, elevRect, nullptr).empty());
  in.backRect.width = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(planTiles(in, elevRect, nullptr).empty());
}
