// Track information: slope distance, gradient classes, time split, degrees, dialog texts,
// and the changes of the dialog's OK button.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/InfoFields.h"
#include "analysis/Rests.h"
#include "analysis/TrackInfoStats.h"
#include "TrackBuilder.h"

using namespace tw;
using twtest::TrackBuilder;

namespace {

std::vector<PosInfo> samples(std::initializer_list<float> gradients)
{
  std::vector<PosInfo> pos;
  for (float g : gradients) {
    PosInfo s;
    s.elev = 500.0f;
    s.gradient = g;
    pos.push_back(s);
  }
  return pos;
}

TrackStats gradientStats(const std::vector<PosInfo>& pos, bool cycling)
{
  std::vector<Track> pts(2);
  TrackStats st;
  calcSlopeAndGradientStats(pts, Section{0, 2}, pos, cycling, st);
  return st;
}

}  // namespace

TEST(GradientClasses, WalkingCountsThreePercentAsFlatCyclingAsGentle)
{
  const auto pos = samples({3, 3, 3, 3});
  TrackStats walk = gradientStats(pos, false);
  EXPECT_EQ(walk.up_rate, 0);
  EXPECT_EQ(walk.easy_up_rate, 0);
  TrackStats ride = gradientStats(pos, true);
  EXPECT_EQ(ride.up_rate, 100);
  EXPECT_EQ(ride.easy_up_rate, 100);
  EXPECT_EQ(ride.ave_up_gradient, 3);
}

TEST(GradientClasses, BoundariesOfEachClass)
{
  // Walking: 5 climbs (gentle), 15 normal, 30 steep; −5 descends, −15 normal, −30 steep.
  const auto pos = samples({5, 14.9f, 15, 29.9f, 30, 45, -5, -15, -30, -40, 4.9f, -4.9f, kUnknownGradient});
  TrackStats st = gradientStats(pos, false);
  EXPECT_EQ(st.up_rate, 6 * 100 / 12);
  EXPECT_EQ(st.down_rate, 4 * 100 / 12);
  EXPECT_EQ(st.easy_up_rate, 2 * 100 / 6);
  EXPECT_EQ(st.hard_up_rate, 2 * 100 / 6);
  EXPECT_EQ(st.easy_down_rate, 1 * 100 / 4);
  EXPECT_EQ(st.hard_down_rate, 2 * 100 / 4);
  EXPECT_EQ(st.max_gradient, 45);
  EXPECT_EQ(st.min_gradient, -40);
  EXPECT_EQ(st.ave_up_gradient, static_cast<int>((5 + 14.9f + 15 + 29.9f + 30 + 45) / 6));
  EXPECT_EQ(st.ave_down_gradient, (-5 - 15 - 30 - 40) / 4);

  TrackStats cyc = gradientStats(samples({2, 3.9f, 4, 7.9f, 8, -2, -4, -8}), true);
  EXPECT_EQ(cyc.up_rate, 5 * 100 / 8);
  EXPECT_EQ(cyc.easy_up_rate, 2 * 100 / 5);
  EXPECT_EQ(cyc.hard_up_rate, 1 * 100 / 5);
  EXPECT_EQ(cyc.easy_down_rate, 1 * 100 / 3);
  EXPECT_EQ(cyc.hard_down_rate, 1 * 100 / 3);
}

TEST(GradientClasses, OneClimbingSampleGivesNoAverage)
{
  TrackStats st = gradientStats(samples({10, 0, 0}), false);
  EXPECT_EQ(st.up_rate, 33);
  EXPECT_EQ(st.ave_up_gradient, 0);
  EXPECT_EQ(st.easy_up_rate, 0);
  EXPECT_EQ(st.hard_up_rate, 0);
  EXPECT_EQ(st.max_gradient, 10);
  EXPECT_EQ(st.min_gradient, 0);  // never descends

  TrackStats down = gradientStats(samples({-7, -8}), false);
  EXPECT_EQ(down.max_gradient, 0);
  EXPECT_EQ(down.min_gradient, -8);
}

TEST(SlopeDistance, PythagorasWithUnknownsAsHorizontal)
{
  TrackBuilder b;
  b.add(0, 0, 100, {}).add(300, 0, 140, {}).add(400, 0, kUnknownElevation, {}).add(500, 0, 140, {});
  auto pts = b.build();
  TrackStats st;
  calcSlopeAndGradientStats(pts, Section{0, 4}, {}, false, st);
  const float s1 = pts[1].seg_dist;
  EXPECT_NEAR(st.total_distance, std::sqrt(s1 * s1 + 1600.0f) + pts[2].seg_dist + pts[3].seg_dist, 1e-2);

  pts[0].elev = kUnknownElevation;  // the reference never becomes known
  calcSlopeAndGradientStats(pts, Section{0, 4}, {}, false, st);
  EXPECT_NEAR(st.total_distance, pts[3].dist, 1e-2);
}

TEST(TimeStats, RestMovingClimbingAndDescending)
{
  // Points every 60 s: climb 2 steps of 100 m, rest (3, 0, 4), descend 2 steps of 150 m.
  std::vector<Track> pts(7);
  const float seg[] = {0, 100, 100, 5, 5, 150, 150};
  for (int i = 0; i < 7; ++i) {
    pts[i].seg_dist = seg[i];
    pts[i].time = TrackBuilder::start() + std::chrono::minutes(i);
  }
  const std::vector<int> states = {1, 1, 3, 0, 4, 2, 2};
  TrackStats st;
  calcTimeStats(pts, Section{0, 7}, states, st);
  EXPECT_EQ(st.total_time, 360);
  EXPECT_EQ(st.rest_time, 120);
  EXPECT_EQ(st.walk_time, 240);
  // Climbing: points 1, 2 (3 after 1): 200 m in 120 s; descending 300 m in 120 s.
  EXPECT_FLOAT_EQ(st.up_avg_speed, 200.0f * 3600.0f / 120.0f / 1000.0f);
  EXPECT_FLOAT_EQ(st.down_avg_speed, 300.0f * 3600.0f / 120.0f / 1000.0f);
  EXPECT_FLOAT_EQ(st.avg_speed, 500.0f * 3600.0f / 240.0f / 1000.0f);

  // A point without a time in the middle borrows its predecessor's.
  pts[3].time.reset();
  TrackStats gap;
  calcTimeStats(pts, Section{0, 7}, states, gap);
  EXPECT_EQ(gap.rest_time, 120);

  // Stale states are not used.
  TrackStats stale;
  calcTimeStats(pts, Section{0, 7}, std::vector<int>(6, 1), stale);
  EXPECT_EQ(stale.total_time, 0);
}

TEST(CalcTrackInfo, TooShortOrOutsideLeavesZeros)
{
  std::vector<Track> one(1);
  std::vector<int> states;
  TrackStats st;
  st.up_rate = 55;
  calcTrackInfo(one, true, Section{0, 1}, std::vector<PosInfo>{}, false, states, st);
  EXPECT_EQ(st.up_rate, 0);
  EXPECT_TRUE(states.empty());

  auto pts = twtest::uniformTrack(5, 10, 10);
  calcTrackInfo(pts, true, Section{2, 9}, std::vector<PosInfo>{}, false, states, st);
  EXPECT_EQ(st.total_time, 0);
  EXPECT_EQ(st.total_distance, 0.0f);
}

TEST(CalcTrackInfo, TrackWithoutTimesHasPhasesOnlyAndDashes)
{
  TrackBuilder b;
  for (int i = 0; i < 20; ++i) b.add(i == 0 ? 0 : 30, 0, 100.0f + 5.0f * static_cast<float>(i < 10 ? i : 20 - i), {});
  auto pts = b.build();
  std::vector<int> states;
  TrackStats st;
  calcTrackInfo(pts, false, Section{0, 20}, std::vector<PosInfo>{}, false, states, st);
  ASSERT_EQ(states.size(), 20u);
  for (int s : states) EXPECT_TRUE(s == kStateAscending || s == kStateDescending);
  EXPECT_EQ(st.rest_time, 0);
  EXPECT_EQ(st.total_time, 0);
  const InfoFields f = formatInfoFields(st, false);
  EXPECT_FALSE(f.totalTimeField.has_value());
  EXPECT_EQ(f.restTimeField, "---");
  EXPECT_EQ(f.walkTimeField, "---");
  EXPECT_EQ(f.speedField, "---");
}

TEST(CalcDegree, RoundsLikeTheDialog)
{
  EXPECT_EQ(calcDegree(100), 45);
  EXPECT_EQ(calcDegree(-10000), 0);
  EXPECT_EQ(calcDegree(-100), -45);
  EXPECT_EQ(calcDegree(10), 5);
  EXPECT_EQ(calcDegree(0), 0);
  EXPECT_EQ(calcDegree(-9999), -89);
}

TEST(InfoFields, FormatsEveryField)
{
  TrackStats s;
  s.total_dist = 12345.6f;
  s.total_distance = 12400.0f;
  s.peak_count = 3;
  s.up_rate = 40;
  s.down_rate = 35;
  s.total_up = 812.34f;
  s.total_down = 790.0f;
  s.max_elev = 1980.0f;
  s.min_elev = 1210.5f;
  s.ave_elev = 1500.25f;
  s.ave_up_gradient = 12;
  s.ave_down_gradient = -10;
  s.max_gradient = 100;
  s.min_gradient = -35;
  s.easy_up_rate = 50;
  s.hard_up_rate = 10;
  s.easy_down_rate = 0;
  s.hard_down_rate = 0;
  s.total_time = 3725;
  s.rest_time = 600;
  s.walk_time = 3125;
  s.avg_speed = 4.5f;
  s.up_avg_speed = 3.25f;
  s.down_avg_speed = 0.0f;
  const InfoFields f = formatInfoFields(s, false);
  EXPECT_EQ(f.distanceField, "12.346km");
  EXPECT_EQ(f.totalField, "12.400km");
  EXPECT_EQ(f.peaksField, "3個");
  EXPECT_EQ(f.upRateField, "40% (4.94km)");
  EXPECT_EQ(f.downRateField, "35% (4.32km)");
  EXPECT_EQ(f.flatRateField, "25% (3.09km)");
  EXPECT_EQ(f.totalUpField, "812.3m");
  EXPECT_EQ(f.totalDownField, "790.0m");
  EXPECT_EQ(f.maxDiffField, "769.5m");
  EXPECT_EQ(f.minElevField, "1210.5m");
  EXPECT_EQ(f.aveElevField, "1500.2m");
  EXPECT_EQ(f.aveUpField, "12% (6°)");
  EXPECT_EQ(f.maxGradField, "100% (45°)");
  EXPECT_EQ(f.minGradField, "-35% (-19°)");
  EXPECT_EQ(f.easyUpField, "50% (2.47km)");
  EXPECT_EQ(f.normalUpField, "40% (1.98km)");
  EXPECT_EQ(f.hardUpField, "10% (0.49km)");
  EXPECT_EQ(f.normalDownField, "100% (4.32km)");
  EXPECT_EQ(f.totalTimeField.value_or(""), "01:02:05");
  EXPECT_EQ(f.restTimeField, "00:10:00");
  EXPECT_EQ(f.walkTimeField, "00:52:05");
  EXPECT_EQ(f.speedField, "4.500km/h");
  EXPECT_EQ(f.upSpeedField, "3.250km/h");
  EXPECT_EQ(f.downSpeedField, "---");
  EXPECT_EQ(f.updownHeader, "登り/下り (緩やか:5%〜, 普通:15%〜, 急:30%〜）");
  EXPECT_EQ(formatInfoFields(s, true).updownHeader, "登り/下り (緩やか:2%〜, 普通:4%〜, 急:8%〜）");

  const InfoFields zero = formatInfoFields(TrackStats{}, false);
  EXPECT_EQ(zero.normalUpField, "0% (0.00km)");  // no climbing distance: normal is 0, not 100
  EXPECT_EQ(zero.flatRateField, "100% (0.00km)");
  EXPECT_EQ(zero.aveUpField, "0% (0°)");
  EXPECT_EQ(f.rows().size(), 29u);
}

TEST(DialogOK, TimeShiftsAndRemovalAndNames)
{
  auto pts = twtest::uniformTrack(5, 10, 10);
  pts[2].time.reset();
  const auto before = pts;
  EXPECT_TRUE(adjustTrackTimes(pts, kTimePlus9h));
  EXPECT_EQ(*pts[0].time - *before[0].time, std::chrono::hours(9));
  EXPECT_EQ(*pts[4].time - *before[4].time, std::chrono::hours(9));
  EXPECT_FALSE(pts[2].time.has_value());
  EXPECT_TRUE(adjustTrackTimes(pts, kTimeMinus9h));
  EXPECT_EQ(*pts[4].time, *before[4].time);
  EXPECT_TRUE(adjustTrackTimes(pts, kTimeKeep));
  EXPECT_EQ(*pts[4].time, *before[4].time);

  EXPECT_FALSE(adjustTrackTimes(pts, kTimeRemove));
  for (const auto& p : pts) EXPECT_FALSE(p.time.has_value());
  TrackStats st;
  std::vector<int> states;
  calcTrackInfo(pts, true, Section{0, 5}, std::vector<PosInfo>{}, false, states, st);
  EXPECT_EQ(formatInfoFields(st, false).restTimeField, "---");

  EXPECT_TRUE(isValidTrackName("北岳 2024"));
  EXPECT_FALSE(isValidTrackName("a]]>b"));
}
