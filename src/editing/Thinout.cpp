#include "editing/Thinout.h"

#include <cmath>
#include <queue>

#include "document/Geodesy.h"

namespace tw {

namespace {

// Seconds between two stamps (b − a).
double seconds(const TimePoint& a, const TimePoint& b)
{
  return std::chrono::duration<double>(b - a).count();
}

}  // namespace

int checkDistantPoint(std::vector<Track>& points, int target)
{
  const int n = static_cast<int>(points.size());
  if (n < 3) return 0;
  std::vector<char> keep(points.size(), 1);
  int remaining = n;
  int removed = 0;
  int prev = 0;
  for (int i = 1; i < n && remaining > target; ++i) {
    const Track& p = points[prev];
    const Track& c = points[i];
    if (!p.time || !c.time) break;
    if (i == n - 1) break;
    // Speeds in km/h straight from the stamps: a zero interval gives an infinite speed, and
    // times running backwards a negative one, which is never fast but always slow.
    const double dt = seconds(*p.time, *c.time);
    const bool fast = c.seg_dist > 50.0f && c.seg_dist * 3600.0 / dt / 1000.0 > 10.0;
    if (fast) {
      const Track& next = points[i + 1];
      if (next.time) {
        const double d = calcDistHubeny(p.lat, p.lon, next.lat, next.lon);
        const double dt2 = seconds(*p.time, *next.time);
        if (d * 3600.0 / dt2 / 1000.0 < 5.0) {
          keep[i] = 0;
          --remaining;
          ++removed;
          points[i + 1].seg_dist = static_cast<float>(d);
          prev = i + 1;
          ++i;  // the walk resumes after the bridging point
          continue;
        }
      }
    }
    prev = i;
  }
  if (removed > 0) removeUnselected(points, keep);
  return removed;
}

void markPointsBeforeRests(std::vector<int>& states)
{
  const std::vector<int> before = states;
  for (size_t i = states.size() > 0 ? states.size() - 1 : 0; i >= 1; --i) {
    if (i + 1 < before.size() && before[i + 1] == kRestStart) states[i] = kRestStart;
  }
}

std::optional<FarPoint> findFarthest(const std::vector<Track>& points, const std::vector<int>& states, int s, int e)
{
  if (e - s <= 1) return std::nullopt;
  const bool rests = states.size() == points.size();
  FarPoint f;
  f.start = s;
  f.end = e;
  const DPoint a{static_cast<double>(points[s].x), static_cast<double>(points[s].y)};
  const DPoint b{static_cast<double>(points[e].x), static_cast<double>(points[e].y)};
  for (int i = s + 1; i < e; ++i) {
    const Track& t = points[i];
    float d = distanceLine(DPoint{static_cast<double>(t.x), static_cast<double>(t.y)}, a, b);
    if (t.peak_type == 1 || t.peak_type == 2) d += 100.0f;
    if (rests) {
      const int st = states[i];
      if (st == kRestStart || st == kRestEnd)
        d += 100.0f;
      else if (st == kRestInside)
        d /= 100.0f;
    }
    if (d > f.dist) {
      f.dist = d;
      f.pos = i;
    }
  }
  return f;
}

namespace {

// Candidate queue: largest weighted distance first; among equal distances, the one queued
// first. A heap keyed on (dist, arrival) gives that order in O(log n) per step.
struct Queued {
  FarPoint far;
  unsigned long long arrival;
};
struct Later {
  bool operator()(const Queued& a, const Queued& b) const
  {
    if (a.far.dist != b.far.dist) return a.far.dist < b.far.dist;
    return a.arrival > b.arrival;
  }
};

}  // namespace

std::vector<char> selectPoints(const std::vector<Track>& points, const std::vector<int>& states, int target)
{
  const int n = static_cast<int>(points.size());
  std::vector<char> keep(points.size(), 0);
  if (n == 0) return keep;
  keep[0] = 1;
  keep[n - 1] = 1;
  int kept = n > 1 ? 2 : 1;
  std::priority_queue<Queued, std::vector<Queued>, Later> queue;
  unsigned long long arrivals = 0;
  auto push = [&](std::optional<FarPoint> f) {
    if (f) queue.push(Queued{*f, arrivals++});
  };
  push(findFarthest(points, states, 0, n - 1));
  while (kept < target && !queue.empty()) {
    const FarPoint f = queue.top().far;
    queue.pop();
    keep[f.pos] = 1;
    ++kept;
    push(findFarthest(points, states, f.start, f.pos));
    push(findFarthest(points, states, f.pos, f.end));
  }
  return keep;
}

void removeUnselected(std::vector<Track>& points, const std::vector<char>& keep)
{
  size_t out = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    if (i < keep.size() && keep[i]) points[out++] = points[i];
  }
  points.resize(out);
}

ThinoutResult thinoutPoints(std::vector<Track>& points, int target, const RestDetector& detectRests)
{
  ThinoutResult r;
  r.spikes = checkDistantPoint(points, target);
  r.changed = r.spikes > 0;
  if (static_cast<int>(points.size()) <= target) return r;
  std::vector<int> states;
  if (detectRests) states = detectRests(points);
  if (states.size() == points.size()) markPointsBeforeRests(states);
  const auto keep = selectPoints(points, states, target);
  const size_t before = points.size();
  removeUnselected(points, keep);
  r.changed = r.changed || points.size() != before;
  return r;
}

ThinoutSetting thinoutDefault(int n, double totalDist)
{
  ThinoutSetting s;
  if (n <= 0) return s;
  s.rate = 100.0 - totalDist * 100.0 / 30.0 / n;
  s.points = static_cast<int>(std::ceil((100.0 - s.rate) * n / 100.0));
  s.interval = 30.0;
  if (s.rate < 0.1 || s.points < kThinoutMinimumPoints) {
    s.rate = 10.0;
    s.points = static_cast<int>(std::ceil(n * 90.0 / 100.0));
    s.interval = totalDist / (n * 90.0 / 100.0);
  }
  return s;
}

double thinoutSliderMaximum(int n) { return n > 0 ? (1.0 - 100.0 / n) * 100.0 : 0.0; }

ThinoutSetting thinoutFromRate(int n, double totalDist, double rate)
{
  ThinoutSetting s;
  s.rate = rate;
  s.points = static_cast<int>(std::trunc(n * (100.0 - rate) / 100.0));
  if (s.points <= kThinoutMinimumPoints) s.points = kThinoutMinimumPoints;
  s.interval = totalDist / (n * (100.0 - rate) / 100.0);
  return s;
}

int thinoutCorrectPoints(int n, int typed)
{
  // Integer arithmetic: 0.99 × n in doubles can fall just below the whole number.
  const long long nn = n;
  if (100LL * typed < nn) return std::max(static_cast<int>(nn / 100), 1);
  if (100LL * typed > 99LL * nn) return static_cast<int>(nn * 99 / 100);
  return typed;
}

}  // namespace tw
