// Distances, the forward speed window and its rest correction, the section choice, the print section.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/Metrics.h"
#include "analysis/Rests.h"
#include "TrackBuilder.h"

using namespace tw;
using twtest::TrackBuilder;

namespace {

// Points 10 s apart, 12.5 m per step (dist set directly so the figures are exact).
std::vector<Track> tenSecondSteps(int n)
{
  std::vector<Track> pts(n);
  for (int i = 0; i < n; ++i) {
    pts[i].seg_dist = i == 0 ? 0.0f : 12.5f;
    pts[i].dist = 12.5f * static_cast<float>(i);
    pts[i].time = TrackBuilder::start() + std::chrono::seconds(10 * i);
  }
  return pts;
}

}  // namespace

TEST(RecalcDistance, RunningSumOfHubenySteps)
{
  TrackBuilder b;
  b.add(0, 0, 0, {}).add(100, 0, 0, {}).add(0, 250, 0, {}).add(0, 0, 0, {});
  auto pts = b.points;
  pts[0].seg_dist = 99.0f;  // stale values are overwritten
  recalcDistance(pts);
  EXPECT_EQ(pts[0].seg_dist, 0.0f);
  EXPECT_EQ(pts[0].dist, 0.0f);
  EXPECT_NEAR(pts[1].seg_dist, 100.0, 0.05);
  EXPECT_NEAR(pts[2].seg_dist, 250.0, 0.1);
  EXPECT_EQ(pts[3].seg_dist, 0.0f);  // zero-length step
  EXPECT_FLOAT_EQ(pts[3].dist, pts[1].seg_dist + pts[2].seg_dist);

  std::vector<Track> none;
  recalcDistance(none);
  EXPECT_TRUE(none.empty());
}

TEST(CalcSpeed, SixPointWindowAndTheTailUsesTheLastPoint)
{
  auto pts = tenSecondSteps(20);
  calcSpeed(pts, true, {});
  for (int i = 0; i < 19; ++i) EXPECT_EQ(pts[i].speed, 4500) << "point " << i;
  EXPECT_EQ(pts[19].speed, kUnknownSpeed);
}

TEST(CalcSpeed, InvalidTimesGiveUnknownEverywhere)
{
  auto pts = tenSecondSteps(10);
  for (auto& p : pts) p.speed = 1234;
  calcSpeed(pts, false, {});
  for (const auto& p : pts) EXPECT_EQ(p.speed, kUnknownSpeed);
}

TEST(CalcSpeed, PointsWithoutTimesAreSkippedNotWindowEnds)
{
  auto pts = tenSecondSteps(20);
  for (int i = 0; i < 20; ++i) pts[i].dist = static_cast<float>(i * i);
  pts[6].time.reset();
  calcSpeed(pts, true, {});
  EXPECT_EQ(pts[6].speed, kUnknownSpeed);
  // Point 0's window passes over point 6 and ends at point 7 (70 s, 49 m).
  EXPECT_EQ(pts[0].speed, static_cast<int>(49.0f * 3600.0f / 70.0f));
  EXPECT_EQ(pts[1].speed, static_cast<int>((49.0f - 1.0f) * 3600.0f / 60.0f));
}

TEST(CalcSpeed, EqualLastTimesAndTimelessTailsGiveUnknown)
{
  auto pts = tenSecondSteps(5);
  pts[4].time = pts[3].time;
  calcSpeed(pts, true, {});
  EXPECT_EQ(pts[3].speed, kUnknownSpeed);
  EXPECT_EQ(pts[4].speed, kUnknownSpeed);
  EXPECT_EQ(pts[2].speed, 9000);  // 25 m in 10 s, ended by the last point

  auto tail = tenSecondSteps(6);
  tail[4].time.reset();
  tail[5].time.reset();
  calcSpeed(tail, true, {});
  EXPECT_EQ(tail[3].speed, kUnknownSpeed);
  EXPECT_EQ(tail[0].speed, kUnknownSpeed);  // no later timed point a minute away, no timed last point
}

TEST(CalcSpeed, TimesRunningBackwardsStayFinite)
{
  auto pts = tenSecondSteps(30);
  std::swap(pts[10].time, pts[20].time);
  calcSpeed(pts, true, {});
  for (const auto& p : pts) EXPECT_GE(p.speed, kUnknownSpeed);
}

TEST(CalcSpeed, RestCorrectionRepairsTheApproachAndShowsDrift)
{
  // Walking 12.5 m / 10 s, a rest from point 20 to point 30 drifting 0.5 m per point, walking on.
  TrackBuilder b;
  for (int i = 0; i <= 20; ++i) b.add(i == 0 ? 0 : 12.5, 0, 500, i * 10.0);
  for (int i = 21; i <= 30; ++i) b.add(0, 0.5, 500, i * 10.0);
  for (int i = 31; i < 45; ++i) b.add(12.5, 0, 500, i * 10.0);
  auto pts = b.build();

  std::vector<int> states(pts.size(), kStateAscending);
  states[20] = kStateRestStart;
  for (int i = 21; i < 30; ++i) states[i] = kStateRest;
  states[30] = kStateRestEnd;

  auto plain = pts;
  calcSpeed(plain, true, {});
  EXPECT_LT(plain[19].speed, 1000);  // the window reaches into the rest

  calcSpeed(pts, true, states);
  EXPECT_EQ(pts[20].speed, 0);
  for (int n = 21; n <= 30; ++n) {
    const float d = static_cast<float>(calcDistHubeny(pts[n].lat, pts[n].lon, pts[20].lat, pts[20].lon));
    EXPECT_EQ(pts[n].speed, static_cast<int>(d * 3600.0f / static_cast<float>((n - 20) * 10))) << n;
  }
  // Points 14..19 lie within 60 s of the rest start: their windows end at them.
  for (int k = 14; k <= 19; ++k) EXPECT_NEAR(pts[k].speed, 4500, 5) << k;
  EXPECT_EQ(pts[13].speed, plain[13].speed);
  EXPECT_EQ(pts[31].speed, plain[31].speed);

  // Stale states (another length) are ignored altogether.
  auto stale = pts;
  std::vector<int> shorter(states.begin(), states.end() - 1);
  calcSpeed(stale, true, shorter);
  for (std::size_t i = 0; i < pts.size(); ++i) EXPECT_EQ(stale[i].speed, plain[i].speed);
}

TEST(Section, ChoiceAndInsideRule)
{
  EXPECT_EQ(chooseSection(0, 3, 5, 7, 9, 20).end, 20);
  EXPECT_EQ(chooseSection(1, 3, 5, 7, 9, 20).start, 3);
  EXPECT_EQ(chooseSection(2, 3, 5, 7, 9, 20).end, 9);
  EXPECT_TRUE(sectionInside({0, 20}, 20));
  EXPECT_TRUE(sectionInside({19, 20}, 20));
  EXPECT_FALSE(sectionInside({0, 21}, 20));
  EXPECT_FALSE(sectionInside({-1, 5}, 20));
  EXPECT_FALSE(sectionInside({0, 0}, 20));
  EXPECT_FALSE(sectionInside({20, 20}, 20));
  EXPECT_FALSE(sectionInside({5, 3}, 20));  // inverted
  EXPECT_FALSE(sectionInside({0, 1}, 0));
}

TEST(CalcTrackRange, PointsOnTheMapWidenedByOne)
{
  std::vector<Track> pts(15);
  for (int i = 0; i < 15; ++i) pts[i].x = 100 * i;
  // printPixelRect ×4 = x 500..1000, y −10..10: points 5..9.
  const RectF pixel{125, -2.5, 125, 5};
  const RectF pointRect{0, 0, 500, 20};
  Section s = calcTrackRange(pts, pixel, pointRect, RectF{}, true);
  EXPECT_EQ(s.start, 4);
  EXPECT_EQ(s.end, 10);

  // The graph box covers x 900..1000 in map pixels: point 9 no longer counts.
  s = calcTrackRange(pts, pixel, pointRect, RectF{400, 0, 100, 20}, true);
  EXPECT_EQ(s.start, 4);
  EXPECT_EQ(s.end, 9);

  // Not `normal`: factor 2, x 250..500: points 3 and 4.
  s = calcTrackRange(pts, pixel, pointRect, RectF{}, false);
  EXPECT_EQ(s.start, 2);
  EXPECT_EQ(s.end, 5);

  // Nothing on the map: the empty section [0, 0).
  s = calcTrackRange(pts, RectF{10000, 10000, 10, 10}, pointRect, RectF{}, true);
  EXPECT_EQ(s.start, 0);
  EXPECT_EQ(s.end, 0);

  // The first points on the map (x 0..200): no widening before them.
  s = calcTrackRange(pts, RectF{0, -2.5, 50, 5}, pointRect, RectF{}, true);
  EXPECT_EQ(s.start, 0);
  EXPECT_EQ(s.end, 2);
}
