// Rest detection against a plain reference in which every speed window, look-ahead and rest-end
// search walks point by point: the searches that resume where the previous one stopped and the
// block index of the end search must find the same rests and speeds. The generated tracks mix
// walking, long stays with jitter, long single steps, missing, equal and backward times, on whole
// pixels so that the separation thresholds are met exactly. Then the merging of touching rests
// and the speeds corrected around a rest, which the reference shares. (Detection on real tracks
// is pinned by cli_info_golden.sh.)
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>
#include <utility>

#include "analysis/Metrics.h"
#include "analysis/Rests.h"
#include "document/Geodesy.h"
#include "TrackBuilder.h"

using namespace tw;

namespace {

int64_t refSpeed(double metres, double seconds)
{
  const double v = metres * 3600.0 / std::max(1.0, seconds);
  if (!std::isfinite(v)) return v < 0 ? INT64_MIN / 2 : INT64_MAX / 2;
  return static_cast<int64_t>(std::clamp(v, -9.0e18, 9.0e18));
}

float secondsBetween(const Track& later, const Track& earlier)
{
  return static_cast<float>(std::chrono::duration<double>(*later.time - *earlier.time).count());
}

void referenceForwardSpeeds(std::vector<Track>& p, bool valid_time)
{
  const std::size_t n = p.size();
  for (std::size_t i = 0; i < n; ++i) {
    p[i].speed = kUnknownSpeed;
    if (!valid_time || !p[i].time) continue;
    std::size_t end = n;
    for (std::size_t j = i + 1; j < n && end == n; ++j)
      if (p[j].time && secondsBetween(p[j], p[i]) >= 60.0f) end = j;
    if (end == n && i + 1 < n && p.back().time && secondsBetween(p.back(), p[i]) > 0.0f) end = n - 1;
    if (end == n) continue;
    const float v = (p[end].dist - p[i].dist) * 3600.0f / secondsBetween(p[end], p[i]);
    p[i].speed = std::isfinite(v) ? static_cast<int32_t>(v) : kUnknownSpeed;
  }
}

void referenceCheckRest(std::vector<Track>& p, bool valid_time, std::vector<int>& states)
{
  std::vector<Track> untimedEnd = p;  // phases only
  untimedEnd.back().time.reset();
  checkRest(untimedEnd, valid_time, states);
  const std::size_t n = p.size();
  if (!p.front().time || !p.back().time) return;
  std::vector<double> t(n);
  for (std::size_t i = 0; i < n; ++i) t[i] = p[i].time ? std::chrono::duration<double>(*p[i].time - *p[0].time).count() : t[i - 1];
  referenceForwardSpeeds(p, valid_time);
  const int v = restSpeed(p), h = v / 2;
  for (std::size_t i = 1; i < n;) {
    const double dt = t[i] - t[i - 1];
    const int64_t sv = refSpeed(p[i].seg_dist, dt);
    std::size_t s = i - 1, e = i, j = i + 1;
    if (sv >= v) {
      ++i;
      continue;
    }
    if (!(dt > 180.0 && sv < h)) {
      while (j < n && !(t[j] - t[i] > 180.0)) ++j;
      if (j >= n || refSpeed(calcDistHubeny(p[i].lat, p[i].lon, p[j].lat, p[j].lon), t[j] - t[i]) >= h ||
          (j != i + 1 && t[j] - t[j - 1] > 180.0)) {
        ++i;
        continue;
      }
      s = i;
      e = j;
    }
    // Walk until movement resumes, then back to the last slow step.
    std::size_t prev = i, m = e, end = e;
    for (; m < n; prev = m++) {
      const int64_t sep = approxPixelDistance(int64_t{p[m].x} - p[i].x, int64_t{p[m].y} - p[i].y);
      if (sep >= 13056 && (refSpeed(p[m].seg_dist, t[m] - t[prev]) > v || sep >= 38656)) break;
    }
    for (std::size_t k = m; m < n && k > e && end == e; --k)
      if (refSpeed(p[k].seg_dist, t[k] - t[k - 1]) < 1000) end = k;
    std::fill(states.begin() + static_cast<long>(s), states.begin() + static_cast<long>(end), kStateRest);
    states[s] = kStateRestStart;
    states[end] = kStateRestEnd;
    i = end + 1;
  }
  mergeRests(p, states);
  applyRestCorrection(p, valid_time, states);
}

// A track walked on whole zoom-18 pixels (about 0.49 m here), lat/lon following the pixels.
std::vector<Track> generate(std::mt19937& rng)
{
  auto uniform = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  std::vector<Track> pts;
  int x = 0, y = 0;
  auto add = [&](double seconds, int dx, int dy) {
    Track& p = pts.emplace_back();
    p.x = 58000000 + (x += dx), p.y = 26000000 + (y += dy), p.lon = 138.7 + x * 0.49 / 91000.0;
    p.lat = 35.3 - y * 0.49 / 111000.0;
    p.time = TimePoint{std::chrono::seconds{1714521600}} + std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
  };
  const int target = uniform(2, 4000);
  for (double t = 0.0; static_cast<int>(pts.size()) < target;) {
    switch (uniform(0, 6)) {
      case 0:
      case 1: {  // walking or cycling
        const int steps = uniform(1, 300), speed = uniform(1, 40), dt = uniform(1, 20);
        for (int k = 0; k < steps; ++k) add(t += dt, uniform(-speed, speed), uniform(-speed, speed));
        break;
      }
      case 2: {  // a long stay with jitter, now and then out to a separation threshold exactly
        const int steps = uniform(50, 2500), jitter = uniform(0, 3), dt = uniform(1, 5), cx = x, cy = y;
        static const int offsets[][2] = {{51, 5}, {53, 0}, {157, 1}, {150, 17}, {50, 5}, {51, 4}};
        for (int k = 0; k < steps; ++k, x = cx, y = cy) {
          if (uniform(0, 200) != 0) {
            add(t += dt, uniform(-jitter, jitter), uniform(-jitter, jitter));
            continue;
          }
          const auto& o = offsets[uniform(0, 5)];
          add(t += dt, o[0] * (uniform(0, 1) ? 1 : -1), o[1] * (uniform(0, 1) ? 1 : -1));
        }
        break;
      }
      case 3:  // one long step
        add(t += uniform(150, 1200) + (uniform(0, 1) ? 30 : 0), uniform(-10, 10), uniform(-10, 10));
        break;
      case 4:  // a step of exactly 180 s, then several points at one instant
        add(t += 180, uniform(-3, 3), uniform(-3, 3));
        for (int k = uniform(0, 3); k > 0; --k) add(t, uniform(-2, 2), uniform(-2, 2));
        break;
      case 5:  // a stop logged as one long step, one still step, then restless jitter
        add(t += uniform(181, 900), uniform(-5, 5), uniform(-5, 5));
        add(t += 1, 0, 0);
        for (int k = uniform(60, 400); k > 0; --k) add(t += 1, k % 2 ? 1 : -1, uniform(-1, 1));
        break;
      default:  // a clock running backwards for a moment
        add(t -= uniform(1, 30), uniform(-5, 5), uniform(-5, 5));
        t += 60;
    }
  }
  pts.resize(static_cast<std::size_t>(target));
  recalcDistance(pts);
  for (int k = uniform(0, 3) == 0 ? uniform(1, 20) : 0; k > 0; --k) pts[uniform(0, target - 1)].time.reset();
  if (uniform(0, 40) == 0) pts.back().time.reset();
  if (uniform(0, 3) == 0) pts[uniform(1, target - 1)].peak_type = uniform(1, 2);
  return pts;
}

}  // namespace

TEST(CheckRestEquivalence, MatchesThePointByPointSearchesOnGeneratedTracks)
{
  std::mt19937 rng(20261206);
  int rests = 0, longRests = 0;
  for (int k = 0; k < 400; ++k) {
    std::vector<Track> pts = generate(rng), expectedPts = pts;
    const bool valid = rng() % 6 != 0;
    std::vector<int> expected, actual;
    referenceCheckRest(expectedPts, valid, expected);
    checkRest(pts, valid, actual);
    ASSERT_EQ(actual, expected) << "track " << k << " of " << pts.size() << " points";
    for (std::size_t i = 0; i < pts.size(); ++i) ASSERT_EQ(pts[i].speed, expectedPts[i].speed) << "track " << k << " point " << i;
    for (std::size_t i = 0, start = 0; i < actual.size(); ++i) {
      if (actual[i] == kStateRestStart) start = i, ++rests;
      if (actual[i] == kStateRestEnd) longRests += i - start > 64;
    }
  }
  // The generated tracks reach both the walked and the indexed end searches.
  EXPECT_GT(rests, 400);
  EXPECT_GT(longRests, 50);
}

TEST(MergeRests, TouchingRestsBecomeOne)
{
  twtest::TrackBuilder b;
  for (int i = 0; i < 9; ++i) b.add(1, 0, 500, i * 100.0);
  const std::vector<Track> pts = b.build();
  // Touching rests become one; a two-point rest whose end became the next start keeps its start.
  for (auto [in, out] : {std::pair{std::vector{1, 1, 3, 0, 3, 0, 4, 1, 1}, std::vector{1, 1, 3, 0, 0, 0, 4, 1, 1}},
                         {std::vector{1, 3, 3, 0, 4, 1, 1, 1, 1}, std::vector{1, 3, 0, 0, 4, 1, 1, 1, 1}},
                         {std::vector{1, 3, 4, 3, 4, 1, 1, 1, 1}, std::vector{1, 3, 0, 0, 4, 1, 1, 1, 1}}}) {
    mergeRests(pts, in);
    EXPECT_EQ(in, out);
  }
}

TEST(CalcSpeed, RestCorrectionRepairsTheApproachAndShowsDrift)
{
  // Walking 12.5 m / 10 s, a rest from point 20 to point 30 drifting 0.5 m per point, walking on.
  twtest::TrackBuilder b;
  for (int i = 0; i < 45; ++i) b.add(i == 0 ? 0 : (i > 20 && i <= 30 ? 0 : 12.5), i > 20 && i <= 30 ? 0.5 : 0, 500, i * 10.0);
  auto pts = b.build(), plain = pts;
  std::vector<int> states(pts.size(), kStateAscending);
  std::fill(states.begin() + 20, states.begin() + 31, kStateRest);
  states[20] = kStateRestStart;
  states[30] = kStateRestEnd;
  calcSpeed(plain, true, {});
  calcSpeed(pts, true, states);
  EXPECT_LT(plain[19].speed, 1000);  // uncorrected, its window reaches into the rest
  for (int k = 14; k <= 19; ++k) EXPECT_NEAR(pts[k].speed, 4500, 5) << k;  // windows end at them
  const auto drift = static_cast<float>(calcDistHubeny(pts[25].lat, pts[25].lon, pts[20].lat, pts[20].lon));
  EXPECT_EQ(std::tuple(pts[20].speed, pts[25].speed), std::tuple(0, static_cast<int>(drift * 3600.0f / 50.0f)));
  EXPECT_EQ(pts[13].speed, plain[13].speed);
  EXPECT_EQ(pts[31].speed, plain[31].speed);
  calcSpeed(pts, true, std::vector<int>(states.begin(), states.end() - 1));  // stale states: no correction
  EXPECT_EQ(pts[20].speed, plain[20].speed);
}
