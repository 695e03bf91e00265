#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <mutex>
#include <thread>

#include "DemTestUtil.h"
#include "elevation/ElevationBatch.h"
#include "elevation/ElevationPlan.h"

using namespace tw;

namespace {

constexpr int TX = 14553, TY = 6450;

Track pointIn(int tx, int col, int row, float elev = kUnknownElevation)
{
  double lat, lon;
  elevtest::cellCentre(tx, TY, col, row, lat, lon);
  Track t;
  setPosition(t, lat, lon);
  t.elev = elev;
  return t;
}

DocumentState document()
{
  DocumentState d;
  d.tracks.resize(2);
  d.active_track = 0;
  d.tracks[0].stable = 1;
  d.tracks[0].points = {pointIn(TX, 1, 1), pointIn(TX, 2, 2, 321.0f), pointIn(TX + 1, 3, 3)};
  d.tracks[1].stable = 1;
  d.tracks[1].points = {pointIn(TX + 1, 9, 9)};
  d.waypoints.resize(1);
  double lat, lon;
  elevtest::cellCentre(TX, TY, 5, 5, lat, lon);
  d.waypoints[0].setPosition(lat, lon);
  return d;
}

// Answers by (type, x); counts calls and the most running at once.
struct FakeServer {
  std::map<std::pair<int, int>, DemAnswer> answers;
  std::mutex m;
  std::vector<Tile> asked;
  std::atomic<int> running{0};
  std::atomic<int> maxRunning{0};

  DemFetch fetch()
  {
    return [this](const Tile& k) {
      const int now = ++running;
      int prev = maxRunning;
      while (now > prev && !maxRunning.compare_exchange_weak(prev, now)) {
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      DemAnswer a{false, 404, ""};
      {
        std::lock_guard<std::mutex> g(m);
        asked.push_back(k);
        auto it = answers.find({k.type == kTileDem5A ? 5 : 10, k.x});
        if (it != answers.end()) a = it->second;
      }
      --running;
      return a;
    };
  }
};

}  // namespace

TEST(ElevationBatch, FillsMissingElevations)
{
  DocumentState d = document();
  FakeServer s;
  s.answers[{10, TX}] = {false, 200, elevtest::demText("100.25")};
  s.answers[{10, TX + 1}] = {false, 200, elevtest::demText("7")};
  std::vector<std::pair<std::size_t, std::size_t>> progress;
  const BatchResult r = fillDocumentElevations(d, false, false, s.fetch(), [&](std::size_t a, std::size_t b) {
    progress.emplace_back(a, b);
  });
  EXPECT_FALSE(r.transportError);
  EXPECT_EQ(r.tilesFetched, 2u);
  EXPECT_EQ(r.stillUnknown, 0);
  EXPECT_FLOAT_EQ(d.tracks[0].points[0].elev, 100.25f);
  EXPECT_EQ(d.tracks[0].points[1].elev, 321.0f);
  EXPECT_EQ(d.tracks[0].points[2].elev, 7.0f);
  EXPECT_EQ(d.tracks[1].points[0].elev, 7.0f);
  EXPECT_FLOAT_EQ(d.waypoints[0].elev, 100.25f);
  ASSERT_EQ(progress.size(), 2u);
  EXPECT_EQ(progress.back(), std::make_pair(std::size_t(2), std::size_t(2)));
}

TEST(ElevationBatch, Dem5AGapsFallBackToDem10B)
{
  DocumentState d = document();
  FakeServer s;
  s.answers[{5, TX}] = {false, 200, elevtest::demText("e")};
  s.answers[{5, TX + 1}] = {false, 200, elevtest::demText("60.5")};
  s.answers[{10, TX}] = {false, 200, elevtest::demText("11")};
  const BatchResult r = fillDocumentElevations(d, true, true, s.fetch(), nullptr);
  EXPECT_EQ(r.dem5aGaps, 2);  // both points of the first tile
  EXPECT_EQ(r.stillUnknown, 0);
  EXPECT_EQ(d.tracks[0].points[0].elev, 11.0f);
  EXPECT_EQ(d.tracks[0].points[1].elev, 11.0f);  // recalculated
  EXPECT_EQ(d.tracks[0].points[2].elev, 60.5f);
  EXPECT_EQ(d.tracks[0].stable, 0);
  // Waypoints always DEM10B; DEM10B of the second tile is never needed.
  for (const Tile& k : s.asked) EXPECT_FALSE(k.type == kTileDemPoint && k.x == TX + 1);
}

TEST(ElevationBatch, TransportErrorStopsAndSaysWhich)
{
  DocumentState d = document();
  FakeServer s;
  s.answers[{10, TX}] = {true, 0, ""};
  s.answers[{10, TX + 1}] = {true, 0, ""};
  const BatchResult r = fillDocumentElevations(d, false, false, s.fetch(), nullptr);
  EXPECT_TRUE(r.transportError);
  EXPECT_EQ(r.failedTile.zoom, 14);
  EXPECT_EQ(d.tracks[0].points[0].elev, kUnknownElevation);
}

TEST(ElevationBatch, MalformedTilesAreCountedNotRetried)
{
  DocumentState d = document();
  FakeServer s;
  s.answers[{10, TX}] = {false, 200, "garbage"};
  s.answers[{10, TX + 1}] = {false, 200, elevtest::demText("3")};
  const BatchResult r = fillDocumentElevations(d, false, false, s.fetch(), nullptr);
  EXPECT_EQ(r.malformedTiles, 1u);
  EXPECT_EQ(r.stillUnknown, 2);  // a track point and the waypoint
  EXPECT_EQ(s.asked.size(), 2u);
}

TEST(ElevationBatch, AtMostFiveDownloadsAtOnce)
{
  DocumentState d;
  d.tracks.resize(1);
  d.active_track = 0;
  for (int i = 0; i < 12; ++i) d.tracks[0].points.push_back(pointIn(TX + i, 0, 0));
  FakeServer s;
  const BatchResult r = fillDocumentElevations(d, false, false, s.fetch(), nullptr);
  EXPECT_EQ(r.tilesFetched, 12u);  // 404: sea, 0 m
  EXPECT_LE(s.maxRunning.load(), kMaxConcurrentDownloads);
  EXPECT_EQ(d.tracks[0].points[11].elev, 0.0f);
}
