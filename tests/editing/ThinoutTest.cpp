#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <tuple>

#include "EditingFixtures.h"
#include "document/Geodesy.h"
#include "analysis/Peaks.h"
#include "analysis/Rests.h"
#include "editing/Thinout.h"
#include "gpx/GpxReader.h"
#include "support/TestPaths.h"

using namespace tw;
using edittest::at;
using edittest::line;
using edittest::pix;

namespace {

// Ends and exact count: ThinoutCorpus below and the controller's thinout command.
TEST(Thinout, MarkedPeakOutranksFartherUnmarkedPoint)
{
  // Chord along y = 0; a peak 50 px off and an ordinary point 120 px off.
  std::vector<Track> pts{pix(0, 0), pix(1000, 50, 1), pix(2000, 120), pix(3000, 0)};
  auto f = findFarthest(pts, {}, 0, 3);
  ASSERT_TRUE(f);
  EXPECT_EQ(std::tuple(f->pos, f->dist), std::tuple(1, 150.0f));
  EXPECT_EQ(selectPoints(pts, {}, 3), (std::vector<char>{1, 1, 0, 1}));
  // A col weighs the same.
  pts[1].peak_type = 2;
  EXPECT_EQ(findFarthest(pts, {}, 0, 3)->pos, 1);
}

TEST(Thinout, RestWeighting)
{
  std::vector<Track> pts{pix(0, 0), pix(100, 300), pix(200, 10), pix(300, 0), pix(400, 0)};
  // Inside a rest, 300 px counts as 3; a rest end at 10 px counts 110.
  std::vector<int> states{1, 0, 4, 1, 1};
  auto f = findFarthest(pts, states, 0, 4);
  ASSERT_TRUE(f);
  EXPECT_EQ(std::tuple(f->pos, f->dist), std::tuple(2, 110.0f));
  // States of another length are ignored.
  EXPECT_EQ(findFarthest(pts, {1, 0}, 0, 4)->pos, 1);
  EXPECT_FALSE(findFarthest(pts, states, 2, 3));

  std::vector<int> marks{1, 1, 3, 0, 0, 4, 1, 3, 4};
  markPointsBeforeRests(marks);
  EXPECT_EQ(marks, (std::vector<int>{1, 3, 3, 0, 0, 4, 3, 3, 4}));
  std::vector<int> first{3, 0, 4};
  markPointsBeforeRests(first);  // point 0 is never changed
  EXPECT_EQ(first, (std::vector<int>{3, 0, 4}));
}

TEST(Thinout, RestInteriorsGoFirstAndRestEndsEarly)
{
  // A wiggly walk with a wandering rest in the middle (points 40–60).
  std::vector<Track> pts;
  std::vector<int> states;
  for (int i = 0; i < 100; ++i) {
    const int wiggle = (i % 2) ? 40 : -40;
    pts.push_back(pix(i * 100, wiggle));
    states.push_back(i == 40 ? 3 : i == 60 ? 4 : (i > 40 && i < 60) ? 0 : 1);
  }
  markPointsBeforeRests(states);
  auto keep = selectPoints(pts, states, 20);
  EXPECT_TRUE(keep[39] && keep[40] && keep[60]);
  EXPECT_EQ(std::count(keep.begin() + 41, keep.begin() + 60, 1), 0);
}

TEST(Thinout, SpikeRemoval)
{
  // Steady walk, 10 m in 10 s; point 5 jumps ~200 m away and comes straight back.
  auto pts = line(10, 0.0001);
  pts[5].lat += 0.002;
  tw::recalcDistance(pts);
  auto copy = pts;
  EXPECT_EQ(checkDistantPoint(copy, 3), 1);
  ASSERT_EQ(copy.size(), 9u);
  EXPECT_DOUBLE_EQ(copy[5].lat, pts[6].lat);
  EXPECT_NEAR(copy[5].seg_dist, calcDistHubeny(pts[4].lat, pts[4].lon, pts[6].lat, pts[6].lon), 1e-3);

  // The target is reached by spike removal alone: thinning stops there.
  copy = pts;
  EXPECT_EQ(thinoutPoints(copy, 9, nullptr).spikes, 1);
  EXPECT_EQ(copy.size(), 9u);

  // Without time stamps nothing is a spike.
  copy = pts;
  copy[3].time.reset();
  EXPECT_EQ(checkDistantPoint(copy, 3), 0);
  // A far last point is no spike: only point 5 goes.
  copy = pts;
  copy.back().lat += 0.01;
  tw::recalcDistance(copy);
  EXPECT_EQ(checkDistantPoint(copy, 3), 1);

  // Every spike goes, until the target; two far points in a row are an excursion.
  auto two = line(12, 0.0001);
  two[3].lat += 0.002;
  two[7].lon += 0.003;
  tw::recalcDistance(two);
  auto all = two;
  EXPECT_EQ(std::tuple(checkDistantPoint(all, 3), checkDistantPoint(two, 11)), std::tuple(2, 1));
  auto twice = line(12, 0.0001);
  twice[4].lat += 0.002;
  twice[5].lat += 0.002;
  tw::recalcDistance(twice);
  EXPECT_EQ(checkDistantPoint(twice, 3), 0);
}

TEST(Thinout, SpikeSpeedsKeepTheirSign)
{
  // Point 5 lies ~220 m off a 10 m / 10 s walk. Speeds are distance over signed time: no time
  // between two stamps is infinitely fast, and time running backwards is slow, never fast.
  struct Case { int point, second, removed; } cases[] = {
      {5, 50, 1},  // as recorded
      {5, 40, 1},  // the spike stamped like the point before it: infinitely fast out
      {5, 30, 0},  // the spike stamped before the point before it: negative speed out, not fast
      {6, 30, 1},  // the point after it stamped before the point before it: negative speed across, slow
  };
  for (const auto& c : cases) {
    auto pts = line(10, 0.0001);
    pts[5].lat += 0.002;
    pts[c.point].time = at(c.second);
    tw::recalcDistance(pts);
    EXPECT_EQ(checkDistantPoint(pts, 3), c.removed) << "point " << c.point << " at " << c.second << " s";
  }
}

TEST(Thinout, EqualDistanceTies)
{
  // Two interior points equally far: the earlier one wins.
  std::vector<Track> pts{pix(0, 0), pix(100, 50), pix(200, 50), pix(300, 0)};
  EXPECT_EQ(findFarthest(pts, {}, 0, 3)->pos, 1);

  // A marked peak on the chord splits first; both halves then offer weight 50 exactly,
  // and the left half, queued first, is taken first.
  std::vector<Track> z{pix(0, 0),   pix(100, 50), pix(200, 0), pix(300, 0, 1), pix(400, 0), pix(500, 50), pix(600, 0)};
  EXPECT_EQ(selectPoints(z, {}, 4), (std::vector<char>{1, 1, 0, 1, 0, 0, 1}));
  EXPECT_EQ(selectPoints(z, {}, 5), (std::vector<char>{1, 1, 0, 1, 0, 1, 1}));
}

TEST(Thinout, RestDetectorSeesTheTrackAfterSpikes)
{
  auto pts = line(300, 0.0001);
  pts[100].lat += 0.002;
  tw::recalcDistance(pts);
  size_t seen = 0;
  auto r = thinoutPoints(pts, 120, [&](std::vector<Track>& p) {
    seen = p.size();
    return std::vector<int>(p.size(), 1);
  });
  EXPECT_EQ(std::tuple(seen, r.spikes, pts.size()), std::tuple(299ul, 1, 120ul));
}

TEST(ThinoutDialog, DefaultsAndCorrections)
{
  auto d = thinoutDefault(1000, 10000.0);
  EXPECT_EQ(d.points, 334);
  EXPECT_NEAR(d.rate, 66.6667, 1e-3);
  EXPECT_DOUBLE_EQ(d.interval, 30.0);
  auto s = thinoutDefault(1000, 2000.0);
  EXPECT_EQ(s.points, 900);
  EXPECT_DOUBLE_EQ(s.rate, 10.0);
  EXPECT_NEAR(s.interval, 2000.0 / 900.0, 1e-9);
  // A long, sparse track: one point per 30 m would keep more than there are.
  EXPECT_EQ(thinoutDefault(1000, 60000.0).points, 900);

  for (auto [n, asked, got] : {std::tuple{1000, 5, 10}, {1000, 995, 990}, {1000, 990, 990}, {1000, 10, 10},
                               {1000, 500, 500}, {150, 0, 1}})
    EXPECT_EQ(thinoutCorrectPoints(n, asked), got) << n << " " << asked;

  EXPECT_DOUBLE_EQ(thinoutSliderMaximum(1000), 90.0);
  auto r = thinoutFromRate(1000, 10000.0, 50.0);
  EXPECT_EQ(r.points, 500);
  EXPECT_DOUBLE_EQ(r.interval, 20.0);
  EXPECT_EQ(thinoutFromRate(1000, 10000.0, 95.0).points, 100);
}

// Thinning real tracks of the shared corpus, analysed the way the app analyses them.
std::vector<int> rests(std::vector<Track>& pts, bool valid_time)
{
  std::vector<int> states;
  checkRest(pts, valid_time, states);
  return states;
}

TEST(ThinoutCorpus, RealTracksKeepEndsOrderAndCount)
{
  TW_REQUIRE_CORPUS();
  int thinned = 0;
  for (const auto& e : std::filesystem::directory_iterator(twtest::corpusDir() + "/gpx")) {
    if (e.path().extension() != ".gpx") continue;
    auto r = parseGPX(twtest::readFile(e.path().string()));
    if (!r.ok()) continue;
    for (auto& t : r.data.tracks) {
      const int n = static_cast<int>(t.points.size());
      if (n < kThinoutMinimumPoints + 10) continue;
      SCOPED_TRACE(e.path().filename().string());
      recalcDistance(t.points);
      markPeaks(t.points, t.stable);
      const Track first = t.points.front(), last = t.points.back();
      const int target = std::max(kThinoutMinimumPoints, n / 5);
      const bool valid = t.valid_time;
      auto res = thinoutPoints(t.points, target, [valid](std::vector<Track>& p) { return rests(p, valid); });
      EXPECT_TRUE(res.changed);
      EXPECT_EQ(std::tuple(int(t.points.size()), t.points.front().lat, t.points.back().lat), std::tuple(target, first.lat, last.lat));
      // Kept points stay in their order: timed points never go back in time.
      std::optional<TimePoint> prev;
      bool ordered = true;
      for (const auto& p : t.points)
        if (p.time) ordered &= !(prev && *p.time < *prev), prev = p.time;
      EXPECT_TRUE(ordered || !t.valid_time);
      ++thinned;
    }
  }
  EXPECT_GT(thinned, 5);
}

}  // namespace
