// Filling unknown elevations from the caches, the DEM5A gaps and what a recalculation clears;
// the caches themselves: one tile per place and model, and eviction that spares unread tiles.
#include <gtest/gtest.h>

#include <tuple>

#include "DemTestUtil.h"
#include "elevation/DemStore.h"
#include "elevation/ElevationFill.h"

using namespace tw;
using namespace elevtest;

namespace {
// Track 0: unknown in TX, unknown in TX + 1, known 500 m in TX; track 1: unknown in TX + 1.
std::vector<TrackInfo> twoTracks()
{
  std::vector<TrackInfo> tracks(2);
  tracks[0].points = {pointIn(TX, 1, 1), pointIn(TX + 1, 1, 1), pointIn(TX, 2, 2, 500.0f)};
  tracks[1].points = {pointIn(TX + 1, 3, 3)};
  return tracks;
}
}  // namespace

TEST(ElevationFill, OneTrackFilledThenMarked)
{
  std::vector<TrackInfo> tracks = twoTracks();
  tracks[0].points[1].time = TimePoint{};
  TrackFillResult r = calcTrackElevation(tracks[0], true, {flatTile(TX, TY, 12340)});
  // The second point's tile is not cached; route_time is raised even by a point that is skipped.
  EXPECT_TRUE(r.modify && r.invalid_track && r.route_time);
  EXPECT_FLOAT_EQ(tracks[0].points[0].elev, 123.4f);
  EXPECT_EQ(std::tuple(tracks[0].points[1].elev, tracks[0].points[2].elev), std::tuple(kUnknownElevation, 500.0f));
  r = calcTrackElevation(tracks[1], false, {});  // another track's gap does not raise invalid_track
  EXPECT_FALSE(r.invalid_track || r.modify || r.route_time);

  // A climb from 100 m to 900 m and back: the top becomes a peak once the DEM fills it.
  TrackInfo hill;
  hill.stable = 0;
  hill.points = {pointIn(TX, 0, 0, 100.0f), pointIn(TX, 100, 100), pointIn(TX, 200, 200, 100.0f)};
  auto dem = flatTile(TX, TY, 0);
  dem->tiles[100 * 256 + 100] = 90000;
  calcTrackElevation(hill, true, {dem});
  EXPECT_EQ(std::tuple(hill.points[1].elev, hill.points[1].peak_type), std::tuple(900.0f, 1));
}

TEST(ElevationFill, AllTracksAsTilesArrive)
{
  std::vector<TrackInfo> tracks = twoTracks();
  tracks[1].points[0].elev = kDem5ANoData;  // left by an abandoned DEM5A recalculation
  ElevationList dem10b{flatTile(TX, TY, 10000)};
  CheckTrackResult r = fillAllTracks(tracks, 0, 0, dem10b, {});
  EXPECT_TRUE(r.missing_tile && r.invalid_track && r.modify);
  EXPECT_EQ(r.changed_tracks, std::vector<int>{0});
  dem10b.push_back(flatTile(TX + 1, TY, 0));  // sea: a 404 answer gives 0 m
  r = fillAllTracks(tracks, 0, 0, dem10b, {});
  EXPECT_FALSE(r.missing_tile || r.invalid_track);
  EXPECT_EQ(r.changed_tracks, (std::vector<int>{0, 1}));
  EXPECT_EQ(tracks[1].points[0].elev, 0.0f);  // outside DEM5A mode a gap is unknown again
  r = fillAllTracks(tracks, 0, 0, dem10b, {});
  EXPECT_TRUE(!r.modify && r.changed_tracks.empty());
}

TEST(ElevationFill, Dem5AGapsStayUntilTheFallback)
{
  std::vector<TrackInfo> tracks = twoTracks();
  auto gap = flatTile(TX, TY, 2000);
  gap->tiles[1 * 256 + 1] = -1;  // the first point's cell has no DEM5A data
  const ElevationList dem5a{gap, flatTile(TX + 1, TY, 3000)}, dem10b{flatTile(TX, TY, 1500)};
  for (int pass = 0; pass < 2; ++pass) {  // the gap keeps invalid_track raised
    const CheckTrackResult r = fillAllTracks(tracks, 0, 1, dem10b, dem5a);
    EXPECT_TRUE(r.invalid_track && !r.missing_tile);
    EXPECT_EQ(r.changed_tracks.empty(), pass == 1);
  }
  EXPECT_EQ(tracks[0].points[0].elev, kDem5ANoData);
  EXPECT_EQ(resetDem5AGaps(tracks), 1);
  EXPECT_EQ(tracks[0].points[0].elev, kUnknownElevation);
}

TEST(ElevationFill, RecalculationClearsTracksAndUnknownWayPoints)
{
  DocumentState d;
  d.tracks = twoTracks();
  d.waypoints.resize(3);
  std::tie(d.waypoints[0].elev, d.waypoints[1].elev, d.waypoints[2].elev) = std::tuple(0.0f, 350.0f, -1.0f);
  clearElevationsForRecalc(d);
  for (const auto& t : d.tracks)
    for (const auto& p : t.points) EXPECT_EQ(p.elev, kUnknownElevation);
  EXPECT_EQ(std::vector<float>({d.waypoints[0].elev, d.waypoints[1].elev, d.waypoints[2].elev}),
            (std::vector<float>{0.0f, 350.0f, kUnknownElevation}));
}

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
  EXPECT_EQ(std::tuple(s.elevation(p.lat, p.lon), s.elevation5A(p.lat, p.lon)), std::tuple(10.0f, 30.0f));
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
    EXPECT_EQ(std::tuple(has(s, TX, kTileDemPoint), has(s, TX, kTileDem5A)), std::tuple(c.in10b, c.in5a)) << c.zoom << " " << int(c.mode);
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
  EXPECT_TRUE(!has(s, TX, kTileDemPoint) && has(s, TX + 1, kTileDemPoint));
  s.markRead(s.readMark());
  s.evict(14, Mode::Base, {});
  EXPECT_FALSE(has(s, TX + 1, kTileDemPoint));
}
