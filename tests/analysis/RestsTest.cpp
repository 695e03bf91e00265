// Rest detection: phases, the rest speed, the scan for stops, the end search and merging.
#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/Metrics.h"
#include "analysis/Peaks.h"
#include "analysis/Rests.h"
#include "TrackBuilder.h"

using namespace tw;
using twtest::TrackBuilder;

namespace {

// Walks east `steps` × `metres`, one point every `seconds`.
void walk(TrackBuilder& b, double& t, int steps, double metres = 12.5, double seconds = 10.0)
{
  for (int i = 0; i < steps; ++i) {
    t += seconds;
    b.add(metres, 0, 500, t);
  }
}

std::vector<int> detect(std::vector<Track>& pts)
{
  std::vector<int> states;
  checkRest(pts, true, states);
  return states;
}

int count(const std::vector<int>& states, int v) { return static_cast<int>(std::count(states.begin(), states.end(), v)); }

// Moving 0..9, then a stop recorded as one step `gap` seconds long to a point `metres` away.
TrackBuilder withLongStep(double& t, double gap, double metres)
{
  TrackBuilder b;
  b.add(0, 0, 500, t);
  walk(b, t, 9);
  t += gap;
  b.add(metres, 0, 500, t);
  return b;
}

}  // namespace

TEST(CheckRest, PhasesFollowThePeakMarks)
{
  TrackBuilder b;
  for (int i = 0; i < 30; ++i) b.add(i == 0 ? 0 : 30, 0, 100.0f + 5.0f * static_cast<float>(i < 15 ? i : 30 - i), {});
  auto pts = b.build();
  markPeaks(pts, 0);
  const auto peak = std::find_if(pts.begin(), pts.end(), [](const Track& p) { return p.peak_type == 1; }) - pts.begin();
  ASSERT_GT(peak, 0);
  auto states = detect(pts);
  ASSERT_EQ(states.size(), pts.size());
  EXPECT_EQ(states[peak], kStateAscending);  // the peak itself still climbs
  EXPECT_EQ(states[peak + 1], kStateDescending);
  EXPECT_EQ(states[0], kStateAscending);

  // Starting into a col: the first phase descends.
  for (auto& p : pts) p.peak_type = 0;
  pts[5].peak_type = 2;
  states = detect(pts);
  EXPECT_EQ(states[0], kStateDescending);
  EXPECT_EQ(states[5], kStateDescending);
  EXPECT_EQ(states[6], kStateAscending);

  std::vector<Track> none;
  std::vector<int> kept = {7, 7};
  checkRest(none, true, kept);
  EXPECT_EQ(kept, (std::vector<int>{7, 7}));  // no points: left as it was
}

TEST(CheckRest, UniformSpeedHasNoRest)
{
  auto pts = twtest::uniformTrack(100, 12.5, 10);
  auto states = detect(pts);
  EXPECT_EQ(count(states, kStateRestStart), 0);
  EXPECT_EQ(count(states, kStateAscending), 100);
}

TEST(CheckRest, OneLongStepIsARest)
{
  double t = 0;
  TrackBuilder b = withLongStep(t, 600, 3);
  walk(b, t, 20);
  auto pts = b.build();
  auto states = detect(pts);
  EXPECT_EQ(states[9], kStateRestStart);
  EXPECT_EQ(states[10], kStateRestEnd);
  EXPECT_EQ(count(states, kStateRestStart), 1);
  EXPECT_EQ(count(states, kStateRest), 0);
  // Speeds were recomputed with the rest: resting points show their drift.
  EXPECT_EQ(pts[9].speed, 0);
  EXPECT_LT(pts[10].speed, 100);
  EXPECT_NEAR(pts[8].speed, 4500, 5);
}

TEST(CheckRest, ManyPointsWithinThreeMinutesBecomeARest)
{
  double t = 0;
  TrackBuilder b;
  b.add(0, 0, 500, t);
  walk(b, t, 10);  // points 1..10
  for (int i = 11; i <= 40; ++i) {
    t += 10;
    b.add(0, i % 2 ? 0.3 : -0.3, 500, t);  // GPS jitter while standing
  }
  walk(b, t, 20);
  auto pts = b.build();
  auto states = detect(pts);
  EXPECT_EQ(states[10], kStateAscending);
  EXPECT_EQ(states[11], kStateRestStart);
  for (int i = 12; i < 40; ++i) EXPECT_EQ(states[i], kStateRest) << i;
  EXPECT_EQ(states[40], kStateRestEnd);
  EXPECT_EQ(states[41], kStateAscending);
}

TEST(CheckRest, TwoRestsSixtyMetresApartMerge)
{
  double t = 0;
  TrackBuilder b = withLongStep(t, 1150, 3);  // rest A: 9 → 10
  walk(b, t, 4, 15, 12);                      // 60 m
  t += 1200;                                  // rest B: 14 → 15, 20 minutes after A began
  b.add(2, 0, 500, t);
  walk(b, t, 20);
  auto pts = b.build();
  auto states = detect(pts);
  EXPECT_EQ(states[9], kStateRestStart);
  for (int i = 10; i <= 14; ++i) EXPECT_EQ(states[i], kStateRest) << i;
  EXPECT_EQ(states[15], kStateRestEnd);
  EXPECT_EQ(count(states, kStateRestStart), 1);
}

TEST(CheckRest, RestsFarApartOrFastBetweenStaySeparate)
{
  {
    double t = 0;
    TrackBuilder b = withLongStep(t, 600, 3);
    walk(b, t, 160);  // 2 km
    t += 600;
    b.add(2, 0, 500, t);
    walk(b, t, 20);
    auto pts = b.build();
    auto states = detect(pts);
    EXPECT_EQ(count(states, kStateRestStart), 2);
    EXPECT_EQ(count(states, kStateRestEnd), 2);
  }
  {
    // 150 m in two minutes: close enough to stay in the group, but 700+ m/h from its start.
    double t = 0;
    TrackBuilder b = withLongStep(t, 600, 3);
    walk(b, t, 10, 15, 12);
    t += 600;
    b.add(2, 0, 500, t);
    walk(b, t, 20);
    auto pts = b.build();
    auto states = detect(pts);
    EXPECT_EQ(count(states, kStateRestStart), 2);
  }
}

TEST(MergeRests, TouchingRestsBecomeOne)
{
  std::vector<Track> pts = twtest::uniformTrack(9, 1, 100);
  std::vector<int> states = {1, 1, 3, 0, 3, 0, 4, 1, 1};  // the first rest's end became a start
  mergeRests(pts, states);
  EXPECT_EQ(states, (std::vector<int>{1, 1, 3, 0, 0, 0, 4, 1, 1}));

  // A two-point rest whose end is the next start keeps its own start.
  states = {1, 3, 3, 0, 4, 1, 1, 1, 1};
  mergeRests(pts, states);
  EXPECT_EQ(states, (std::vector<int>{1, 3, 0, 0, 4, 1, 1, 1, 1}));

  // Rest right after a rest end.
  states = {1, 3, 4, 3, 4, 1, 1, 1, 1};
  mergeRests(pts, states);
  EXPECT_EQ(states, (std::vector<int>{1, 3, 0, 0, 4, 1, 1, 1, 1}));
}

TEST(RestSpeed, FifthOfTheMeanCappedAtThousand)
{
  std::vector<Track> pts(3);
  pts[0].speed = 3000;
  pts[1].speed = 3000;
  pts[2].speed = 100;  // below 500: not moving, not counted
  EXPECT_EQ(restSpeed(pts), 600);
  pts[0].speed = pts[1].speed = 6000;
  EXPECT_EQ(restSpeed(pts), 1000);
  for (auto& p : pts) p.speed = kUnknownSpeed;
  EXPECT_EQ(restSpeed(pts), 1000);
}

TEST(CheckRest, ToleratesMissingAndEqualTimes)
{
  double t = 0;
  TrackBuilder b = withLongStep(t, 600, 3);
  walk(b, t, 20);
  auto pts = b.build();
  pts[5].time.reset();
  pts[12].time.reset();
  auto states = detect(pts);
  EXPECT_EQ(states.size(), pts.size());
  EXPECT_EQ(count(states, kStateRestStart), 1);

  auto same = twtest::uniformTrack(50, 12.5, 0);  // every point at the same instant
  states = detect(same);
  EXPECT_EQ(states.size(), same.size());

  auto untimedEnd = twtest::uniformTrack(20, 12.5, 10);
  untimedEnd.back().time.reset();
  states = detect(untimedEnd);
  EXPECT_EQ(count(states, kStateAscending), 20);

  auto single = twtest::uniformTrack(1, 0, 10);
  states = detect(single);
  EXPECT_EQ(states, std::vector<int>{kStateAscending});
}
