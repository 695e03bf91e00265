// checkRest against a plain reference: every look-ahead and every end search walks point by
// point, as in the first implementation. The tracks mix walking, long stays with jitter, long
// single steps, missing, equal and backward times, and positions on whole pixels so that the
// separation thresholds are met exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "analysis/Metrics.h"
#include "analysis/Rests.h"
#include "analysis/TrackInfoStats.h"
#include "document/Geodesy.h"

using namespace tw;

namespace {

int64_t refSpeed(double metres, double seconds)
{
  const double v = metres * 3600.0 / std::max(1.0, seconds);
  if (!std::isfinite(v)) return v < 0 ? INT64_MIN / 2 : INT64_MAX / 2;
  return static_cast<int64_t>(std::clamp(v, -9.0e18, 9.0e18));
}

int64_t refSeparation(const Track& a, const Track& b)
{
  return approxPixelDistance(static_cast<int64_t>(a.x) - b.x, static_cast<int64_t>(a.y) - b.y);
}

void referenceCheckRest(std::vector<Track>& p, bool valid_time, std::vector<int>& states)
{
  const std::size_t n = p.size();
  if (n == 0) return;
  bool descending = false;
  for (std::size_t i = 1; i < n; ++i) {
    if (p[i].peak_type != 0) {
      descending = p[i].peak_type == 2;
      break;
    }
  }
  states.clear();
  for (std::size_t i = 0; i < n; ++i) {
    states.push_back(descending ? kStateDescending : kStateAscending);
    if (p[i].peak_type == 1) descending = true;
    else if (p[i].peak_type == 2) descending = false;
  }
  if (!p.front().time || !p.back().time) return;
  std::vector<double> t(n);
  double last = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    if (p[i].time) last = std::chrono::duration<double>(*p[i].time - *p.front().time).count();
    t[i] = last;
  }

  calcSpeed(p, valid_time, {});
  const int v = restSpeed(p);
  const int h = v / 2;

  std::size_t r = 0;
  std::size_t i = 1;
  while (i < n) {
    const double dt = t[i] - t[r];
    const int64_t sv = refSpeed(p[i].seg_dist, dt);
    if (sv >= v) {
      r = i++;
      continue;
    }
    std::size_t s = 0, e = 0;
    if (dt > 180.0 && sv < h) {
      s = i - 1;
      e = i;
    } else {
      std::size_t j = i + 1;
      while (j < n && !(t[j] - t[i] > 180.0)) ++j;
      if (j >= n) {
        r = i++;
        continue;
      }
      const double d = calcDistHubeny(p[i].lat, p[i].lon, p[j].lat, p[j].lon);
      if (refSpeed(d, t[j] - t[i]) >= h || (j != i + 1 && t[j] - t[j - 1] > 180.0)) {
        r = i++;
        continue;
      }
      s = i;
      e = j;
    }
    // End search: walk until movement resumes, then back to the last slow step.
    std::size_t prev = i;
    std::size_t m = e;
    for (; m < n; ++m) {
      const int64_t sep = refSeparation(p[m], p[i]);
      const int64_t q = refSpeed(p[m].seg_dist, t[m] - t[prev]);
      if (sep >= 13056 && (q > v || sep >= 38656)) break;
      prev = m;
    }
    std::size_t end = e;
    if (m < n && m != e) {
      for (std::size_t k = m; k > e; --k) {
        if (refSpeed(p[k].seg_dist, t[k] - t[k - 1]) < 1000) {
          end = k;
          break;
        }
      }
    }
    states[s] = kStateRestStart;
    for (std::size_t k = s + 1; k < end; ++k) states[k] = kStateRest;
    states[end] = kStateRestEnd;
    r = end;
    i = end + 1;
  }
  mergeRests(p, states);
  calcSpeed(p, valid_time, states);
}

// A track walked on whole zoom-18 pixels (about 0.49 m here), lat/lon following the pixels.
class Generator {
 public:
  explicit Generator(unsigned seed) : rng_(seed) {}

  std::vector<Track> track()
  {
    std::vector<Track> pts;
    const int target = uniform(2, 4000);
    x_ = 0;
    y_ = 0;
    double t = 0.0;
    while (static_cast<int>(pts.size()) < target) {
      switch (uniform(0, 6)) {
        case 0:
        case 1: {  // walking or cycling
          const int steps = uniform(1, 300);
          const int speed = uniform(1, 40);  // pixels per step
          const int dt = uniform(1, 20);
          for (int k = 0; k < steps; ++k) add(pts, t += dt, uniform(-speed, speed), uniform(-speed, speed));
          break;
        }
        case 2: {  // a long stay with jitter, sometimes drifting out to the thresholds
          const int steps = uniform(50, 2500);
          const int jitter = uniform(0, 3);
          const int dt = uniform(1, 5);
          const int cx = x_, cy = y_;
          for (int k = 0; k < steps; ++k) {
            x_ = cx;
            y_ = cy;
            if (uniform(0, 200) == 0) {
              // on a separation threshold exactly: (51, 5) is 13056, (157, 0) is 38622, (152, 12) 38616
              static const int offsets[][2] = {{51, 5}, {53, 0}, {157, 1}, {150, 17}, {50, 5}, {51, 4}};
              const auto& o = offsets[uniform(0, 5)];
              add(pts, t += dt, o[0] * (uniform(0, 1) ? 1 : -1), o[1] * (uniform(0, 1) ? 1 : -1));
              x_ = cx;
              y_ = cy;
            } else {
              add(pts, t += dt, uniform(-jitter, jitter), uniform(-jitter, jitter));
            }
          }
          break;
        }
        case 3:  // one long step
          add(pts, t += uniform(150, 1200) + (uniform(0, 1) ? 30 : 0), uniform(-10, 10), uniform(-10, 10));
          break;
        case 4: {  // steps of exactly 180 s and several points at one instant
          add(pts, t += 180, uniform(-3, 3), uniform(-3, 3));
          for (int k = uniform(0, 3); k > 0; --k) add(pts, t, uniform(-2, 2), uniform(-2, 2));
          break;
        }
        case 5: {  // a stop logged as one long step, one still step, then restless jitter
          add(pts, t += uniform(181, 900), uniform(-5, 5), uniform(-5, 5));
          add(pts, t += 1, 0, 0);
          for (int k = uniform(60, 400); k > 0; --k) add(pts, t += 1, k % 2 ? 1 : -1, uniform(-1, 1));
          break;
        }
        default:  // a clock running backwards for a moment
          add(pts, t -= uniform(1, 30), uniform(-5, 5), uniform(-5, 5));
          t += 60;
          break;
      }
    }
    pts.resize(static_cast<std::size_t>(target));
    recalcDistance(pts);
    const int missing = uniform(0, 3) == 0 ? uniform(1, 20) : 0;
    for (int k = 0; k < missing; ++k) pts[static_cast<std::size_t>(uniform(0, target - 1))].time.reset();
    if (uniform(0, 40) == 0) pts.back().time.reset();
    if (uniform(0, 3) == 0) pts[static_cast<std::size_t>(uniform(1, target - 1))].peak_type = uniform(1, 2);
    return pts;
  }

  int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

 private:
  void add(std::vector<Track>& pts, double seconds, int dx, int dy)
  {
    x_ += dx;
    y_ += dy;
    Track p;
    p.x = 58000000 + x_;
    p.y = 26000000 + y_;
    p.lon = 138.7 + x_ * 0.49 / 91000.0;
    p.lat = 35.3 - y_ * 0.49 / 111000.0;
    p.elev = 800.0f;
    p.time = TimePoint{std::chrono::seconds{1714521600}} + std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
    pts.push_back(p);
  }

  std::mt19937 rng_;
  int x_ = 0;
  int y_ = 0;
};

}  // namespace

TEST(CheckRestEquivalence, MatchesThePointByPointSearchOnGeneratedTracks)
{
  Generator gen(20261206);
  int rests = 0, longRests = 0;
  for (int k = 0; k < 400; ++k) {
    std::vector<Track> pts = gen.track();
    const bool valid = gen.uniform(0, 5) != 0;
    std::vector<Track> expectedPts = pts;
    std::vector<int> expected, actual;
    referenceCheckRest(expectedPts, valid, expected);
    checkRest(pts, valid, actual);
    ASSERT_EQ(actual, expected) << "track " << k << " of " << pts.size() << " points";
    for (std::size_t i = 0; i < pts.size(); ++i) ASSERT_EQ(pts[i].speed, expectedPts[i].speed) << "track " << k << " point " << i;
    for (std::size_t i = 0; i < actual.size(); ++i) {
      if (actual[i] != kStateRestStart) continue;
      ++rests;
      std::size_t j = i + 1;
      while (j < actual.size() && actual[j] == kStateRest) ++j;
      if (j - i > 64) ++longRests;
    }
  }
  // The generated tracks reach both the walked and the indexed end searches.
  EXPECT_GT(rests, 400);
  EXPECT_GT(longRests, 50);
}

// The forward window searched from the next point every time, as first written: the search
// that resumes where the previous window ended must find the same ends, also where the clock
// runs backwards or points have no time.
TEST(ForwardSpeedsEquivalence, MatchTheSearchFromTheNextPoint)
{
  Generator gen(7);
  for (int k = 0; k < 400; ++k) {
    std::vector<Track> pts = gen.track();
    std::vector<Track> expected = pts;
    const std::size_t n = pts.size();
    for (std::size_t i = 0; i < n; ++i) {
      Track& p = expected[i];
      p.speed = kUnknownSpeed;
      if (!p.time) continue;
      std::size_t end = n;
      float dt = 0.0f;
      for (std::size_t j = i + 1; j < n && end == n; ++j) {
        if (!expected[j].time) continue;
        const float d = static_cast<float>(std::chrono::duration<double>(*expected[j].time - *p.time).count());
        if (d >= 60.0f) end = j, dt = d;
      }
      if (end == n && i + 1 < n && expected.back().time) {
        const float d = static_cast<float>(std::chrono::duration<double>(*expected.back().time - *p.time).count());
        if (d > 0.0f) end = n - 1, dt = d;
      }
      if (end == n) continue;
      const float v = (expected[end].dist - p.dist) * 3600.0f / dt;
      p.speed = std::isfinite(v) ? static_cast<int32_t>(v) : kUnknownSpeed;
    }
    calcForwardSpeeds(pts, true);
    for (std::size_t i = 0; i < n; ++i) ASSERT_EQ(pts[i].speed, expected[i].speed) << "track " << k << " point " << i;
  }
}
