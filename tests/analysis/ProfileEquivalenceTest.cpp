// The measuring pass computes the gradients and the information totals on its sampling walk.
// Here they are checked against the separate passes: gradients from the turn boundaries read
// off the samples, and the information computed from the finished samples and points.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "analysis/Peaks.h"
#include "analysis/Profile.h"
#include "analysis/TrackInfoStats.h"
#include "analysis/TrackBuilder.h"

using namespace tw;

namespace {

// Climbs and descents of random length and steepness with noise, flat stretches, steps of
// zero length, and runs of unknown elevations; short tracks fall under 1000 m and are
// sampled every metre.
std::vector<Track> generated(std::mt19937& rng, bool shortTrack)
{
  auto uni = [&rng](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  twtest::TrackBuilder b;
  const int n = shortTrack ? static_cast<int>(uni(2, 120)) : static_cast<int>(uni(200, 6000));
  float elev = 500.0f;
  double grade = 0.1, t = 0.0;
  int unknownRun = 0;
  for (int i = 0; i < n; ++i) {
    if (uni(0, 1) < 0.02) grade = uni(-0.3, 0.3);
    const double step = uni(0, 1) < 0.05 ? 0.0 : uni(0.5, shortTrack ? 8.0 : 40.0);
    elev += static_cast<float>(step * grade + uni(-1.5, 1.5));
    if (unknownRun == 0 && uni(0, 1) < 0.01) unknownRun = static_cast<int>(uni(1, 30));
    const float e = unknownRun > 0 ? kUnknownElevation : elev;
    if (unknownRun > 0) --unknownRun;
    b.add(i == 0 ? 0.0 : step * 0.6, i == 0 ? 0.0 : step * 0.8, e, t += uni(1, 20));
  }
  auto pts = b.build();
  markPeaks(pts, uni(0, 1) < 0.5 ? 1 : 0);
  return pts;
}

// The sample index closing each turn: the last sample taken at or before a marked point, and
// at the section's last point.
std::vector<std::size_t> turnBoundaries(const std::vector<Track>& pts, Section sec, const std::vector<PosInfo>& pos)
{
  std::vector<std::size_t> out;
  std::size_t k = 0;
  for (int i = sec.start + 1; i < sec.end; ++i) {
    while (k + 1 < pos.size() && pos[k + 1].point_index <= i) ++k;
    if (pts[i].peak_type != 0 || i == sec.end - 1) out.push_back(k);
  }
  return out;
}

}  // namespace

TEST(ProfileEquivalence, WalkGradientsAndTotalsMatchTheSeparatePasses)
{
  std::mt19937 rng(2026);
  int resampled = 0, withUnknown = 0;
  for (int k = 0; k < 300; ++k) {
    std::vector<Track> pts = generated(rng, k % 3 == 0);
    const int n = static_cast<int>(pts.size());
    const int a = k % 2 ? 0 : static_cast<int>(rng() % static_cast<unsigned>(n));
    const int b = k % 2 ? n : a + 1 + static_cast<int>(rng() % static_cast<unsigned>(n - a));
    const Section sec{a, b};

    TrackStats st;
    std::vector<PosInfo> pos;
    ProfileTotals totals;
    calcTrackProfile(pts, sec, st, pos, &totals);
    ASSERT_TRUE(totals.valid);
    if (st.span == 1.0) ++resampled;

    std::vector<PosInfo> separate = pos;
    for (PosInfo& s : separate) s.gradient = kUnknownGradient;
    calcGradients(separate, turnBoundaries(pts, sec, pos), st.span);
    for (std::size_t i = 0; i < pos.size(); ++i) {
      ASSERT_EQ(std::memcmp(&pos[i].gradient, &separate[i].gradient, sizeof(float)), 0)
          << "track " << k << " sample " << i << ": " << pos[i].gradient << " vs " << separate[i].gradient;
      if (pos[i].elev == kUnknownElevation) ++withUnknown;
    }

    for (bool cycling : {false, true}) {
      std::vector<int> s1, s2;
      std::vector<Track> p1 = pts, p2 = pts;
      TrackStats fromTotals = st, fromSamples = st;
      RestWalk walk;
      calcTrackInfo(p1, true, sec, totals, cycling, s1, walk, fromTotals);
      calcTrackInfo(p2, true, sec, pos, cycling, s2, fromSamples);
      EXPECT_EQ(fromTotals.total_distance, fromSamples.total_distance) << k;
      EXPECT_EQ(fromTotals.ave_elev, fromSamples.ave_elev) << k;
      EXPECT_EQ(fromTotals.up_rate, fromSamples.up_rate) << k;
      EXPECT_EQ(fromTotals.down_rate, fromSamples.down_rate) << k;
      EXPECT_EQ(fromTotals.ave_up_gradient, fromSamples.ave_up_gradient) << k;
      EXPECT_EQ(fromTotals.ave_down_gradient, fromSamples.ave_down_gradient) << k;
      EXPECT_EQ(fromTotals.max_gradient, fromSamples.max_gradient) << k;
      EXPECT_EQ(fromTotals.min_gradient, fromSamples.min_gradient) << k;
      EXPECT_EQ(fromTotals.easy_up_rate, fromSamples.easy_up_rate) << k;
      EXPECT_EQ(fromTotals.hard_up_rate, fromSamples.hard_up_rate) << k;
      EXPECT_EQ(fromTotals.easy_down_rate, fromSamples.easy_down_rate) << k;
      EXPECT_EQ(fromTotals.hard_down_rate, fromSamples.hard_down_rate) << k;
      EXPECT_EQ(fromTotals.total_time, fromSamples.total_time) << k;
      EXPECT_EQ(fromTotals.rest_time, fromSamples.rest_time) << k;
    }
  }
  // Both sampling steps and unknown elevations were exercised.
  EXPECT_GT(resampled, 50);
  EXPECT_GT(withUnknown, 100);
}

TEST(ProfileEquivalence, SectionOutsideThePointsLeavesTheTotalsInvalid)
{
  std::mt19937 rng(1);
  std::vector<Track> pts = generated(rng, false);
  TrackStats st;
  std::vector<PosInfo> pos;
  ProfileTotals totals;
  totals.valid = true;
  calcTrackProfile(pts, Section{5, static_cast<int>(pts.size()) + 3}, st, pos, &totals);
  EXPECT_FALSE(totals.valid);
  EXPECT_TRUE(pos.empty());
}
