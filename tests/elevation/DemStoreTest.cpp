// The app's DEM caches: one tile per place and model, and eviction that spares unread tiles.
#include <gtest/gtest.h>

#include "DemTestUtil.h"
#include "elevation/DemStore.h"

using namespace tw;
using namespace elevtest;

namespace {
bool has(const DemStore& s, int x, int32_t type) { return s.contains(Tile{x, TY, 14, type, 0, MapType::Standard}); }
}  // namespace

TEST(DemStore, OneTilePerPlaceAndModel)
{
  DemStore s;
  s.add(flatTile(TX, TY, 1000), false);
  s.add(flatTile(TX, TY, 2000), false);  // a view tile and a point tile of one place
  s.add(flatTile(TX, TY, 3000), true);
  const Track p = pointIn(TX, 9, 9);
  EXPECT_EQ(s.elevation(p.lat, p.lon), 10.0f);
  EXPECT_EQ(s.elevation5A(p.lat, p.lon), 30.0f);
  EXPECT_TRUE(has(s, TX, kTileDemView) && has(s, TX, kTileDemPoint) && has(s, TX, kTileDem5A));
  EXPECT_FALSE(has(s, TX + 1, kTileDemPoint));
}

TEST(DemStore, EvictionRules)
{
  // DEM10B and DEM5A tiles at TX (inside elevRect) and TX + 1 (outside), all read.
  struct Case { int zoom; Mode mode; bool in10b, in5a; };
  const Case cases[] = {
      {15, Mode::Base, true, true}, {16, Mode::Edit, true, true},  // zoom 15 and closer: elevRect stays
      {14, Mode::Base, false, false},  // farther: nothing stays
      {16, Mode::Area, false, true}, {16, Mode::Print, false, true},  // area selection and print empty DEM10B
  };
  for (const Case& c : cases) {
    DemStore s;
    for (bool dem5a : {false, true})
      for (int x : {TX, TX + 1}) s.add(flatTile(x, TY, 100), dem5a);
    s.markRead(s.readMark());
    s.evict(c.zoom, c.mode, DRect{double(TX), double(TY), 1, 1});
    EXPECT_EQ(has(s, TX, kTileDemPoint), c.in10b) << c.zoom << " " << static_cast<int>(c.mode);
    EXPECT_EQ(has(s, TX, kTileDem5A), c.in5a) << c.zoom << " " << static_cast<int>(c.mode);
    EXPECT_FALSE(has(s, TX + 1, kTileDemPoint) || has(s, TX + 1, kTileDem5A));
  }
}

TEST(DemStore, UnreadTilesOutliveEvictionUntilAFillHasReadThem)
{
  DemStore s;
  s.add(flatTile(TX, TY, 100), false);
  s.evict(14, Mode::Base, {});
  EXPECT_TRUE(has(s, TX, kTileDemPoint));
  const auto mark = s.readMark();
  s.add(flatTile(TX + 1, TY, 100), false);  // arrives while the fill runs
  s.markRead(mark);
  s.evict(14, Mode::Base, {});
  EXPECT_FALSE(has(s, TX, kTileDemPoint));
  EXPECT_TRUE(has(s, TX + 1, kTileDemPoint));
  s.markRead(s.readMark());
  s.evict(14, Mode::Base, {});
  EXPECT_FALSE(has(s, TX + 1, kTileDemPoint));
}
