// A generated day hike analysed end to end, against figures worked out from its construction.
// One point every 10 s, measured elevations (stable 1), noise of ±0.5 m on moving points except
// within three points of a turn (fixed LCG), so the summits and cols are exact:
//   climb 500 → 900 m (320 × 12.5 m east, +1.25 m: 10 %, 4.5 km/h); rest: 90 points of 0.3 m
//   jitter; descent 900 → 600 m (200 × 15 m north, −1.5 m: 5.4 km/h); rest: 60 points; climb
//   600 → 1000 m (320 × 12.5 m east); descent 1000 → 550 m (300 × 15 m south).
// So: 1291 points, 12900 s; length 4000 + 3000 + 4000 + 4500 + 150 × 0.3 = 15545 m; up 800 m,
// down 750 m, 2 peaks, 500..1000 m; slope 640 × √(12.5² + 1.25²) + 500 × √(15² + 1.5²) + 45 =
// 15622.3 m; mean elevation 11 772 600 / 15545 = 757.3 m; 51.5 % climbs, 48.2 % descends, all
// at 10 % ± 2.5 (gentle when walking); 2 rests of 890 + 590 s; 4.5 km/h up, 5.4 km/h
// down, 15500 m / 11400 s = 4.89 km/h overall.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "analysis/TrackAnalysis.h"
#include "TrackBuilder.h"

using namespace tw;

namespace {

TrackInfo hike()
{
  const struct {
    int steps;
    double east, north, rise;  // a rest's points go north and back
  } legs[] = {{320, 12.5, 0, 1.25f}, {90, 0, 0.3, 0}, {200, 0, 15, -1.5f},
              {60, 0, 0.3, 0},       {320, 12.5, 0, 1.25f}, {300, 0, -15, -1.5f}};
  twtest::TrackBuilder b;
  double t = 0.0;
  float elev = 500.0f;
  uint64_t seed = 20240501;
  b.add(0, 0, elev, t);
  for (const auto& l : legs) {
    for (int k = 1; k <= l.steps; ++k) {
      float noise = 0.0f;
      if (l.rise != 0.0) seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
      if (l.rise != 0.0 && k > 3 && k < l.steps - 3) noise = static_cast<float>((seed >> 40) % 1001) / 1000.0f - 0.5f;
      b.add(l.east, l.rise == 0.0 && k % 2 == 0 ? -l.north : l.north, (elev += static_cast<float>(l.rise)) + noise, t += 10.0);
    }
  }
  return TrackInfo{.points = b.build(), .name = "", .valid_time = true, .stable = 1};
}

struct Figure {
  template <typename T>
  Figure(const char* n, T g, double w, double tol) : name(n), got(static_cast<double>(g)), want(w), tolerance(tol) {}
  const char* name;
  double got, want, tolerance;
};

}  // namespace

TEST(GoldenTrack, GeneratedHikeMatchesItsConstruction)
{
  TrackInfo track = hike();
  ASSERT_EQ(track.points.size(), 1291u);
  const TrackAnalysis a = analyzeTrack(track, false);
  const TrackStats& s = a.stats;
  const Figure figures[] = {
      {"total_time", s.total_time, 12900, 0}, {"total_dist", s.total_dist, 15545, 15}, {"span", s.span, 10, 0},
      {"samples", double(a.positions.size()), std::floor(s.total_dist / 10.0) + 1, 0},
      {"total_up", s.total_up, 800, 0.01}, {"total_down", s.total_down, 750, 0.01}, {"peaks", s.peak_count, 2, 0},
      {"max_elev", s.max_elev, 1000, 0}, {"min_elev", s.min_elev, 500, 0}, {"slope", s.total_distance, 15622.3, 20},
      {"ave_elev", s.ave_elev, 757.3, 1}, {"up_rate", s.up_rate, 51, 1}, {"down_rate", s.down_rate, 48, 1},
      {"easy_up_rate", s.easy_up_rate, 99.5, 0.5}, {"easy_down_rate", s.easy_down_rate, 99.5, 0.5},
      {"hard_up_rate", s.hard_up_rate, 0, 0}, {"ave_up_gradient", s.ave_up_gradient, 10, 1},
      {"ave_down_gradient", s.ave_down_gradient, -10, 1}, {"max_gradient", s.max_gradient, 11.5, 1.5},
      {"min_gradient", s.min_gradient, -11.5, 1.5}, {"rests", a.rests, 2, 0}, {"rest_time", s.rest_time, 1480, 30},
      {"walk_time", s.walk_time, 12900.0 - s.rest_time, 0}, {"up_avg_speed", s.up_avg_speed, 4.5, 0.05},
      {"down_avg_speed", s.down_avg_speed, 5.4, 0.05}, {"avg_speed", s.avg_speed, 4.89, 0.05},
  };
  for (const Figure& f : figures) EXPECT_NEAR(f.got, f.want, f.tolerance) << f.name;
}

TEST(GoldenTrack, PartialSectionCoversOnlyTheSecondClimb)
{
  TrackInfo track = hike();
  // Leg 5 runs from point 670 (the last resting point, 600 m) to point 990 (the second summit).
  const TrackStats s = analyzeTrack(track, Section{670, 991}, false).stats;
  EXPECT_NEAR(s.total_dist, 4000.0, 5.0);
  EXPECT_NEAR(s.total_up, 400.0, 0.01);
  EXPECT_EQ(std::tuple(s.total_down, s.total_time, s.rest_time), std::tuple(0.0f, 3200, 0));
  EXPECT_GE(s.up_rate, 98);
}
