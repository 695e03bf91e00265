#include <gtest/gtest.h>

#include "DemTestUtil.h"
#include "elevation/DemLookup.h"
#include "elevation/ElevationFill.h"

using namespace tw;

namespace {

// Two tiles side by side at zoom 14 near Mt. Fuji.
constexpr int TX = 14553, TY = 6450;

Track pointIn(int tx, int ty, int col, int row, float elev = kUnknownElevation)
{
  double lat, lon;
  elevtest::cellCentre(tx, ty, col, row, lat, lon);
  Track t;
  setPosition(t, lat, lon);
  t.elev = elev;
  return t;
}

std::vector<TrackInfo> twoTracks()
{
  std::vector<TrackInfo> tracks(2);
  tracks[0].points = {pointIn(TX, TY, 1, 1), pointIn(TX + 1, TY, 1, 1), pointIn(TX, TY, 2, 2, 500.0f)};
  tracks[1].points = {pointIn(TX + 1, TY, 3, 3)};
  return tracks;
}

}  // namespace

TEST(ElevationFill, TrackFillFromDem10B)
{
  std::vector<TrackInfo> tracks = twoTracks();
  tracks[0].points[0].peak_type = 1;
  tracks[0].points[1].time = TimePoint{};
  const ElevationList dem10b{elevtest::flatTile(TX, TY, 12340)};

  TrackFillResult r = calcTrackElevation(tracks[0], true, dem10b);
  EXPECT_TRUE(r.modify);
  EXPECT_TRUE(r.invalid_track);  // the second point's tile is not cached
  EXPECT_TRUE(r.route_time);     // raised even by a point that is skipped
  EXPECT_FLOAT_EQ(tracks[0].points[0].elev, 123.4f);
  EXPECT_EQ(tracks[0].points[1].elev, kUnknownElevation);
  EXPECT_EQ(tracks[0].points[2].elev, 500.0f);

  // Another track: a missing tile does not raise invalid_track.
  r = calcTrackElevation(tracks[1], false, dem10b);
  EXPECT_FALSE(r.invalid_track);
  EXPECT_FALSE(r.modify);
  EXPECT_FALSE(r.route_time);
}

TEST(ElevationFill, FilledTrackIsMarkedAgain)
{
  // A climb from 100 m to 900 m and back, far enough apart for the marking distance: the top
  // becomes a peak once the DEM fills it.
  std::vector<TrackInfo> tracks(1);
  tracks[0].stable = 0;
  tracks[0].points = {pointIn(TX, TY, 0, 0, 100.0f), pointIn(TX, TY, 100, 100), pointIn(TX, TY, 200, 200, 100.0f)};
  auto hill = std::make_shared<Elevation>(*elevtest::flatTile(TX, TY, 0));
  hill->tiles[100 * 256 + 100] = 90000;
  const TrackFillResult r = calcTrackElevation(tracks[0], true, ElevationList{hill});
  EXPECT_FALSE(r.invalid_track);
  EXPECT_EQ(tracks[0].points[1].elev, 900.0f);
  EXPECT_EQ(tracks[0].points[1].peak_type, 1);
}

TEST(ElevationFill, CheckTrackElevationFillsWhenTilesArrive)
{
  std::vector<TrackInfo> tracks = twoTracks();
  ElevationList dem10b{elevtest::flatTile(TX, TY, 10000)};
  CheckTrackResult r = fillAllTracks(tracks, 0, 0, dem10b, {});
  EXPECT_TRUE(r.missing_tile);
  EXPECT_TRUE(r.invalid_track);
  EXPECT_TRUE(r.modify);
  EXPECT_EQ(r.changed_tracks, std::vector<int>{0});
  EXPECT_EQ(recalcStep(true, r.missing_tile, r.invalid_track, 0), RecalcStep::Running);

  dem10b.push_back(elevtest::flatTile(TX + 1, TY, 0));  // sea: the server's 404 gives 0 m
  r = fillAllTracks(tracks, 0, 0, dem10b, {});
  EXPECT_FALSE(r.missing_tile);
  EXPECT_FALSE(r.invalid_track);
  EXPECT_EQ(r.changed_tracks, (std::vector<int>{0, 1}));
  EXPECT_EQ(tracks[0].points[1].elev, 0.0f);
  EXPECT_EQ(tracks[1].points[0].elev, 0.0f);
  EXPECT_EQ(recalcStep(true, false, false, 0), RecalcStep::Finished);
  EXPECT_EQ(recalcStep(false, false, false, 0), RecalcStep::Running);

  // Nothing left: nothing changes.
  r = fillAllTracks(tracks, 0, 0, dem10b, {});
  EXPECT_FALSE(r.modify);
  EXPECT_TRUE(r.changed_tracks.empty());
}

TEST(ElevationFill, Dem5AGapsAndFallback)
{
  std::vector<TrackInfo> tracks = twoTracks();
  for (auto& t : tracks)
    for (auto& p : t.points) p.elev = kUnknownElevation;
  auto gap = std::make_shared<Elevation>(*elevtest::flatTile(TX, TY, 2000));
  gap->tiles[1 * 256 + 1] = -1;  // the first point's cell has no DEM5A data
  const ElevationList dem5a{gap, elevtest::flatTile(TX + 1, TY, 3000)};
  const ElevationList dem10b{elevtest::flatTile(TX, TY, 1500)};

  CheckTrackResult r = fillAllTracks(tracks, 0, 1, dem10b, dem5a);
  EXPECT_FALSE(r.missing_tile);
  EXPECT_TRUE(r.invalid_track);
  EXPECT_EQ(tracks[0].points[0].elev, kDem5ANoData);
  EXPECT_EQ(tracks[0].points[1].elev, 30.0f);
  EXPECT_EQ(tracks[0].points[2].elev, 20.0f);
  EXPECT_EQ(recalcStep(true, r.missing_tile, r.invalid_track, 1), RecalcStep::AskFallback);

  // A gap keeps invalid_track raised on the next pass in DEM5A mode.
  r = fillAllTracks(tracks, 0, 1, dem10b, dem5a);
  EXPECT_TRUE(r.invalid_track);
  EXPECT_TRUE(r.changed_tracks.empty());

  // Accepted: the gap is unknown again and DEM10B fills it.
  EXPECT_EQ(resetDem5AGaps(tracks), 1);
  r = fillAllTracks(tracks, 0, 0, dem10b, dem5a);
  EXPECT_FALSE(r.invalid_track);
  EXPECT_EQ(tracks[0].points[0].elev, 15.0f);
  EXPECT_EQ(recalcStep(true, r.missing_tile, r.invalid_track, 0), RecalcStep::Finished);
}

TEST(ElevationFill, GapLeftByAbandonedRecalculationIsFilledFromDem10B)
{
  std::vector<TrackInfo> tracks(1);
  tracks[0].points = {pointIn(TX, TY, 5, 5, kDem5ANoData)};
  const ElevationList dem10b{elevtest::flatTile(TX, TY, 4200)};
  const CheckTrackResult r = fillAllTracks(tracks, 0, 0, dem10b, {});
  EXPECT_EQ(tracks[0].points[0].elev, 42.0f);
  EXPECT_FALSE(r.invalid_track);
}

TEST(ElevationFill, WayPoints)
{
  std::vector<WayPoint> wps(3);
  double lat, lon;
  elevtest::cellCentre(TX, TY, 7, 7, lat, lon);
  wps[0].setPosition(lat, lon);
  wps[1].setPosition(lat, lon);
  wps[1].elev = 350.0f;
  elevtest::cellCentre(TX + 1, TY, 7, 7, lat, lon);
  wps[2].setPosition(lat, lon);
  const ElevationList dem10b{elevtest::flatTile(TX, TY, 99900)};
  const WayPointFillResult r = fillWayPoints(wps, dem10b);
  EXPECT_TRUE(r.changed);
  EXPECT_TRUE(r.invalid_wp);
  EXPECT_EQ(wps[0].elev, 999.0f);
  EXPECT_EQ(wps[1].elev, 350.0f);
  EXPECT_EQ(wps[2].elev, kUnknownElevation);
}

TEST(ElevationFill, RecalcClearsTracksAndUnknownWayPointsOnly)
{
  DocumentState d;
  d.tracks = twoTracks();
  d.waypoints.resize(3);
  d.waypoints[0].elev = 350.0f;
  d.waypoints[1].elev = -1.0f;
  d.waypoints[2].elev = 0.0f;
  clearElevationsForRecalc(d);
  for (const auto& t : d.tracks)
    for (const auto& p : t.points) EXPECT_EQ(p.elev, kUnknownElevation);
  EXPECT_EQ(d.waypoints[0].elev, 350.0f);
  EXPECT_EQ(d.waypoints[1].elev, kUnknownElevation);
  EXPECT_EQ(d.waypoints[2].elev, 0.0f);
}
