// A generated day hike analysed end to end, against figures worked out from its construction.
//
// The track (one point every 10 s, measured elevations, stable = 1):
//   leg 1  climb   500 → 900 m:  320 steps of 12.5 m east,  +1.25 m each (10 %, 4.5 km/h)
//   rest   at the summit:        90 points, GPS jitter 0.3 m north and back (15 min)
//   leg 3  descent 900 → 600 m:  200 steps of 15 m north,   −1.5 m each (−10 %, 5.4 km/h)
//   rest                          60 points of jitter (10 min)
//   leg 5  climb   600 → 1000 m: 320 steps of 12.5 m east
//   leg 6  descent 1000 → 550 m: 300 steps of 15 m south
// Elevation noise uniform in [−0.5, 0.5] m (fixed LCG) on moving points, none within three
// points of a turn, so the summits and cols are exact.
//
// Expected figures, from the construction (checked with a few lines of Python):
//   points 1291, total_time 1290 × 10 s = 12900 s
//   total_dist 4000 + 3000 + 4000 + 4500 + (90 + 60) × 0.3 = 15545 m
//   total_up (900 − 500) + (1000 − 600) = 800 m, total_down (900 − 600) + (1000 − 550) = 750 m
//   peaks 2, max 1000 m, min 500 m
//   slope 640 × √(12.5² + 1.25²) + 500 × √(15² + 1.5²) + 45 = 15622.3 m (+ a few m of noise)
//   ave_elev = Σ(mean elevation × length) / length = 11 772 600 / 15545 = 757.3 m
//   up_rate 8000 / 15545 = 51.5 %, down_rate 7500 / 15545 = 48.2 %; every moving gradient is
//   ±10 % ± 2.5 % of noise: all gentle in walking classes, all steep in cycling classes
//   rests 2, resting 890 + 590 s (first to last jittered point)
//   up speed 4.5 km/h, down 5.4 km/h, overall 15500 m / 11400 s = 4.89 km/h
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "analysis/InfoFields.h"
#include "analysis/TrackAnalysis.h"
#include "TrackBuilder.h"

using namespace tw;

namespace {

class Hike {
 public:
  TrackInfo build()
  {
    b_.add(0, 0, 500, t_);
    leg(320, 12.5, 0, 1.25f);
    rest(90);
    leg(200, 0, 15, -1.5f);
    rest(60);
    leg(320, 12.5, 0, 1.25f);
    leg(300, 0, -15, -1.5f);
    TrackInfo track;
    track.points = b_.build();
    track.valid_time = true;
    track.stable = 1;
    return track;
  }

 private:
  float noise()
  {
    seed_ = seed_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<float>((seed_ >> 40) % 1001) / 1000.0f - 0.5f;
  }

  void leg(int steps, double east, double north, float rise)
  {
    for (int k = 1; k <= steps; ++k) {
      elev_ += rise;
      t_ += 10.0;
      const float n = noise();
      b_.add(east, north, (k <= 3 || k >= steps - 3) ? elev_ : elev_ + n, t_);
    }
  }

  void rest(int points)
  {
    for (int k = 1; k <= points; ++k) {
      t_ += 10.0;
      b_.add(0, k % 2 ? 0.3 : -0.3, elev_, t_);
    }
  }

  twtest::TrackBuilder b_;
  double t_ = 0.0;
  float elev_ = 500.0f;
  uint64_t seed_ = 20240501;
};

}  // namespace

TEST(GoldenTrack, GeneratedHikeMatchesItsConstruction)
{
  TrackInfo track = Hike().build();
  ASSERT_EQ(track.points.size(), 1291u);
  const TrackAnalysis a = analyzeTrack(track, false);
  const TrackStats& s = a.stats;

  EXPECT_EQ(s.total_time, 12900);
  EXPECT_NEAR(s.total_dist, 15545.0, 15.0);
  EXPECT_EQ(s.span, 10.0);
  EXPECT_EQ(a.positions.size(), static_cast<std::size_t>(s.total_dist / 10.0) + 1);
  EXPECT_NEAR(s.total_up, 800.0, 0.01);
  EXPECT_NEAR(s.total_down, 750.0, 0.01);
  EXPECT_EQ(s.peak_count, 2);
  EXPECT_FLOAT_EQ(s.max_elev, 1000.0f);
  EXPECT_FLOAT_EQ(s.min_elev, 500.0f);
  EXPECT_NEAR(s.total_distance, 15622.3, 20.0);
  EXPECT_NEAR(s.ave_elev, 757.3, 1.0);

  EXPECT_NEAR(s.up_rate, 51, 1);
  EXPECT_NEAR(s.down_rate, 48, 1);
  EXPECT_GE(s.easy_up_rate, 99);
  EXPECT_GE(s.easy_down_rate, 99);
  EXPECT_EQ(s.hard_up_rate, 0);
  EXPECT_NEAR(s.ave_up_gradient, 10, 1);
  EXPECT_NEAR(s.ave_down_gradient, -10, 1);
  EXPECT_GE(s.max_gradient, 10);
  EXPECT_LE(s.max_gradient, 13);
  EXPECT_LE(s.min_gradient, -10);
  EXPECT_GE(s.min_gradient, -13);

  EXPECT_EQ(a.rests, 2);
  EXPECT_NEAR(s.rest_time, 1480, 30);
  EXPECT_EQ(s.walk_time, s.total_time - s.rest_time);
  EXPECT_NEAR(s.up_avg_speed, 4.5, 0.05);
  EXPECT_NEAR(s.down_avg_speed, 5.4, 0.05);
  EXPECT_NEAR(s.avg_speed, 4.89, 0.05);

  // Cycling classes: the same 10 % gradients are all steep.
  TrackInfo again = Hike().build();
  const TrackAnalysis c = analyzeTrack(again, true);
  EXPECT_GE(c.stats.hard_up_rate, 99);
  EXPECT_GE(c.stats.hard_down_rate, 99);
  EXPECT_EQ(formatInfoFields(c.stats, true).peaksField, "2個");
}

TEST(GoldenTrack, PartialSectionCoversOnlyTheSecondClimb)
{
  TrackInfo track = Hike().build();
  // Leg 5 runs from point 670 (the last resting point, 600 m) to point 990 (the second summit).
  const TrackAnalysis a = analyzeTrack(track, Section{670, 991}, false);
  EXPECT_NEAR(a.stats.total_dist, 4000.0, 5.0);
  EXPECT_NEAR(a.stats.total_up, 400.0, 0.01);
  EXPECT_NEAR(a.stats.total_down, 0.0, 0.01);
  EXPECT_EQ(a.stats.total_time, 3200);
  EXPECT_GE(a.stats.up_rate, 98);
  EXPECT_EQ(a.stats.rest_time, 0);
}
