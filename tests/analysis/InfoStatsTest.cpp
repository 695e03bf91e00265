// Track information: gradient classes, slope distance, the time split, the dialog's texts
// without figures. (golden/texts.txt holds the full texts of two tracks.)
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>

#include "analysis/InfoFields.h"
#include "analysis/Rests.h"
#include "analysis/TrackInfoStats.h"
#include "TrackBuilder.h"

using namespace tw;

TEST(TrackInfo, GradientClasses)
{
  // Rates, then the average, steepest climb and descent: up, down, gentle/steep up, gentle/steep
  // down, average up/down, max, min.
  const std::tuple<bool, std::vector<float>, std::array<int, 10>> cases[] = {
      {false, {5, 14.9f, 15, 29.9f, 30, 45, -5, -15, -30, -40, 4.9f, -4.9f, kUnknownGradient}, {50, 33, 33, 33, 25, 50, 23, -22, 45, -40}},
      {true, {2, 3.9f, 4, 7.9f, 8, -2, -4, -8}, {62, 37, 40, 20, 33, 33, 5, -4, 8, -8}},
      {false, {10, 0, 0}, {33, 0, 0, 0, 0, 0, 0, 0, 10, 0}},  // one climbing sample gives no average
  };
  for (const auto& [cycling, gradients, want] : cases) {
    std::vector<PosInfo> pos(gradients.size());
    for (std::size_t k = 0; k < pos.size(); ++k) pos[k].gradient = gradients[k];
    TrackStats s;
    calcSlopeAndGradientStats(std::vector<Track>(2), Section{0, 2}, pos, cycling, s);
    EXPECT_EQ((std::array{s.up_rate, s.down_rate, s.easy_up_rate, s.hard_up_rate, s.easy_down_rate, s.hard_down_rate,
                          s.ave_up_gradient, s.ave_down_gradient, s.max_gradient, s.min_gradient}), want);
  }
}

TEST(TrackInfo, SlopeDistanceWithUnknownElevations)
{
  twtest::TrackBuilder b;
  auto pts = b.add(0, 0, 100).add(300, 0, 140).add(100, 0, kUnknownElevation).add(100, 0, 140).build();
  TrackStats st;
  calcSlopeAndGradientStats(pts, Section{0, 4}, {}, false, st);
  EXPECT_NEAR(st.total_distance, std::hypot(pts[1].seg_dist, 40.0f) + pts[2].seg_dist + pts[3].seg_dist, 1e-2);
  pts[0].elev = kUnknownElevation;  // the reference never becomes known
  calcSlopeAndGradientStats(pts, Section{0, 4}, {}, false, st);
  EXPECT_NEAR(st.total_distance, pts[3].dist, 1e-2);
}

TEST(TrackInfo, TimeSplit)
{
  // A minute apart: climb 2 × 100 m, rest (3, 0, 4), descend 2 × 150 m.
  std::vector<Track> pts(7);
  for (int i = 0; i < 7; ++i) {
    pts[i].seg_dist = std::array{0, 100, 100, 5, 5, 150, 150}[i];
    pts[i].time = twtest::TrackBuilder::start() + std::chrono::minutes(i);
  }
  pts[3].time.reset();  // borrows its predecessor's
  const std::vector<int> states = {1, 1, 3, 0, 4, 2, 2};
  TrackStats st;
  calcTimeStats(pts, Section{0, 7}, states, st);
  EXPECT_EQ((std::array{st.total_time, st.rest_time, st.walk_time}), (std::array{360, 120, 240}));
  // Up 200 m in 120 s (the rest start after a climb climbs), down 300 m in 120 s, km/h.
  EXPECT_EQ((std::array{st.up_avg_speed, st.down_avg_speed, st.avg_speed}), (std::array{6.0f, 9.0f, 7.5f}));
  TrackStats stale;  // states of another track shape are not used
  calcTimeStats(pts, Section{0, 7}, std::vector<int>(6, 1), stale);
  EXPECT_EQ(stale.total_time, 0);
}

TEST(TrackInfo, TextsWithoutFigures)
{
  const InfoFields zero = formatInfoFields(TrackStats{}, false);
  EXPECT_FALSE(zero.totalTimeField.has_value());
  EXPECT_EQ(zero.normalUpField, "0% (0.00km)");  // no climbing distance: normal is 0, not 100
  EXPECT_EQ(zero.speedField, "---");
  EXPECT_EQ(calcDegree(-10000), 0);
}
