#include "analysis/Rests.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "analysis/Metrics.h"
#include "analysis/TimeMath.h"
#include "document/Geodesy.h"

namespace tw {

namespace {

constexpr double kStopSeconds = 180.0;
constexpr double kMergeWindowSeconds = 3600.0;
constexpr int kMovingSpeed = 500;       // m/h
constexpr int kRestSpeedCap = 1000;     // m/h
constexpr int64_t kResumeNear = 13056;  // about 51 zoom-18 pixels
constexpr int64_t kResumeFar = 38656;   // about 151 pixels
constexpr int64_t kGroupFar = 128256;   // about 501 pixels
constexpr float kMergeSpeed = 150.0f;
constexpr float kMergeSpeedSlack = 50.0f;
constexpr double kMergeDistance = 100.0;

int64_t separation(const Track& a, int32_t x, int32_t y)
{
  return approxPixelDistance(static_cast<int64_t>(a.x) - x, static_cast<int64_t>(a.y) - y);
}

// m/h, with the time difference taken as at least one second.
int64_t speedPerHour(double metres, double seconds)
{
  const double v = metres * 3600.0 / std::max(1.0, seconds);
  if (!std::isfinite(v)) return v < 0 ? INT64_MIN / 2 : INT64_MAX / 2;
  return static_cast<int64_t>(std::clamp(v, -9.0e18, 9.0e18));
}

// The phase of every point from the peak marks: a peak ends a climb, a col a descent.
void phases(const std::vector<Track>& points, std::vector<int>& states)
{
  bool descending = false;
  for (std::size_t i = 1; i < points.size(); ++i) {
    if (points[i].peak_type != 0) {
      descending = points[i].peak_type == 2;
      break;
    }
  }
  states.assign(points.size(), kStateAscending);
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (descending) states[i] = kStateDescending;
    if (points[i].peak_type == 1) descending = true;
    else if (points[i].peak_type == 2) descending = false;
  }
}

// Seconds of every point after the first, which has a time; a point without one takes its
// predecessor's.
std::vector<double> effectiveTimes(const std::vector<Track>& points)
{
  std::vector<double> t(points.size());
  const TimePoint origin = *points.front().time;
  double last = 0.0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (points[i].time) last = detail::secondsBetween(*points[i].time, origin);
    t[i] = last;
  }
  return t;
}

class RestScanner {
 public:
  // `t`: effectiveTimes(points); `v`: the rest speed.
  RestScanner(const std::vector<Track>& points, std::vector<int>& states, const std::vector<double>& t, int v)
      : p_(points), states_(states), t_(t), v_(v), h_(v / 2), ascending_(std::is_sorted(t.begin(), t.end()))
  {
  }

  void scan()
  {
    // Each point is judged by the step from its predecessor: after a rest the scan resumes at
    // the point following the rest's end.
    const std::size_t n = p_.size();
    std::size_t i = 1;
    while (i < n) {
      const int64_t v = stepSpeed(i);
      if (v >= v_) {
        ++i;
        continue;
      }
      const double dt = t_[i] - t_[i - 1];
      std::size_t s = 0, e = 0;
      if (dt > kStopSeconds && v < h_) {
        s = i - 1;
        e = i;
      } else {
        const std::size_t j = firstAfterStop(i);
        if (j >= n) {
          ++i;
          continue;
        }
        const double d = calcDistHubeny(p_[i].lat, p_[i].lon, p_[j].lat, p_[j].lon);
        if (speedPerHour(d, t_[j] - t_[i]) >= h_) {
          ++i;
          continue;
        }
        if (j != i + 1 && t_[j] - t_[j - 1] > kStopSeconds) {
          ++i;  // only the last step was long; the scan meets it there
          continue;
        }
        s = i;
        e = j;
      }
      const std::size_t end = restEnd(e, i);
      states_[s] = kStateRestStart;
      for (std::size_t k = s + 1; k < end; ++k) states_[k] = kStateRest;
      states_[end] = kStateRestEnd;
      i = end + 1;
    }
  }

 private:
  // First point more than 180 s after point i; n when none.
  std::size_t firstAfterStop(std::size_t i)
  {
    const std::size_t n = p_.size();
    std::size_t j = ascending_ ? std::max(lookahead_, i + 1) : i + 1;
    while (j < n && !(t_[j] - t_[i] > kStopSeconds)) ++j;
    if (ascending_) lookahead_ = j;
    return j;
  }

  // The rest's last point for a candidate ending at e found while examining point i. Movement
  // resumes at the first m from e on that is far enough from point i (and fast, unless very
  // far); the rest then ends after the last slow step before m. Most stays end within a few
  // points, so they are walked; a long one is answered by the index, since walking every stay
  // of a logger lying still to its end would be quadratic.
  std::size_t restEnd(std::size_t e, std::size_t i)
  {
    const std::size_t n = p_.size();
    const Track& anchor = p_[i];
    std::size_t prev = i;
    std::size_t m = e;
    const std::size_t walked = std::min(n, e + kWalkedPoints);
    for (; m < walked; ++m) {
      if (resumes(m, prev, anchor.x, anchor.y)) break;
      prev = m;
    }
    if (m == walked && m < n) m = index().firstResume(m, anchor.x, anchor.y);  // from here prev = m − 1
    if (m >= n || m == e) return e;
    if (m - e > kWalkedPoints) return index().lastSlowStepEnd(e + 1, m, e);
    for (std::size_t t = m - 1; t >= e && t < m; --t) {
      if (slowStep(t + 1)) return t + 1;
      if (t == 0) break;
    }
    return e;
  }

  // Movement has resumed at point m, coming from point prev, for a rest anchored at (ax, ay).
  bool resumes(std::size_t m, std::size_t prev, int32_t ax, int32_t ay) const
  {
    const int64_t sep = separation(p_[m], ax, ay);
    if (sep < kResumeNear) return false;
    return sep >= kResumeFar || speedPerHour(p_[m].seg_dist, t_[m] - t_[prev]) > v_;
  }

  // The speed of the step from point k − 1 to point k.
  int64_t stepSpeed(std::size_t k) const { return speedPerHour(p_[k].seg_dist, t_[k] - t_[k - 1]); }
  // That step is slower than the rest speed cap.
  bool slowStep(std::size_t k) const { return stepSpeed(k) < kRestSpeedCap; }

  // Bounding boxes of blocks of points (all of them, and those whose step in is faster than V)
  // and whether a block holds a slow step, in a binary tree over the blocks, so that the first
  // point where movement resumes for a given anchor, and the last slow step before it, are
  // found by skipping whole blocks that cannot hold one. Searches climb from their starting
  // block, and nodes are built when first reached, so a track with only short stays never
  // pays for a pass over all its points.
  class ResumeIndex {
   public:
    explicit ResumeIndex(const RestScanner& s) : s_(s), n_(s.p_.size())
    {
      std::size_t count = (n_ + kBlock - 1) / kBlock;
      levels_.emplace_back(count);
      while (count > 1) {
        count = (count + 1) / 2;
        levels_.emplace_back(count);
      }
    }

    // The first point from `from` (≥ 1) on where movement resumes for an anchor at (ax, ay),
    // judging each point's speed over its own step in; n when none.
    std::size_t firstResume(std::size_t from, int32_t ax, int32_t ay)
    {
      if (from >= n_) return n_;
      std::size_t idx = from / kBlock;
      std::size_t m = scanForward(from, std::min(n_, (idx + 1) * kBlock), ax, ay);
      for (std::size_t level = 0; m == kNone && level < levels_.size(); ++level, idx /= 2) {
        if (idx % 2 == 0 && idx + 1 < levels_[level].size()) m = firstIn(level, idx + 1, ax, ay);
      }
      return m == kNone ? n_ : m;
    }

    // The largest k in [lo, hi] (lo ≥ 1, hi < n) whose step in from k − 1 is slow;
    // `otherwise` when none.
    std::size_t lastSlowStepEnd(std::size_t lo, std::size_t hi, std::size_t otherwise)
    {
      if (lo > hi) return otherwise;
      std::size_t idx = hi / kBlock;
      std::size_t k = scanBack(std::max(lo, idx * kBlock), hi);
      for (std::size_t level = 0; k == kNone && level < levels_.size(); ++level, idx /= 2) {
        if (idx % 2 == 0) continue;
        if (((idx - 1) << level) * kBlock + (kBlock << level) <= lo) break;  // wholly before lo
        k = lastIn(level, idx - 1, lo);
      }
      return k == kNone ? otherwise : k;
    }

   private:
    static constexpr std::size_t kBlock = 64;
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    struct Box {
      int32_t minX = INT32_MAX, maxX = INT32_MIN, minY = INT32_MAX, maxY = INT32_MIN;
      bool empty() const { return minX > maxX; }
      void add(int32_t x, int32_t y)
      {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
      }
      Box merged(const Box& o) const
      {
        return {std::min(minX, o.minX), std::max(maxX, o.maxX), std::min(minY, o.minY), std::max(maxY, o.maxY)};
      }
      // An upper bound of the separation of any point inside from (ax, ay): the separation
      // grows with |dx| and |dy|, so the farthest corner bounds it.
      int64_t farthest(int32_t ax, int32_t ay) const
      {
        const int64_t dx = std::max(std::llabs(int64_t{minX} - ax), std::llabs(int64_t{maxX} - ax));
        const int64_t dy = std::max(std::llabs(int64_t{minY} - ay), std::llabs(int64_t{maxY} - ay));
        return approxPixelDistance(dx, dy);
      }
    };
    struct Node {
      Box all;
      Box fast;
      bool slow = false;
      bool ready = false;
    };

    // Node `idx` of `level` covers points [idx·2^level·kBlock, (idx + 1)·2^level·kBlock).
    const Node& node(std::size_t level, std::size_t idx)
    {
      Node& nd = levels_[level][idx];
      if (nd.ready) return nd;
      if (level == 0) {
        for (std::size_t k = std::max<std::size_t>(1, idx * kBlock); k < std::min(n_, (idx + 1) * kBlock); ++k) {
          const Track& p = s_.p_[k];
          nd.all.add(p.x, p.y);
          if (s_.stepSpeed(k) > s_.v_) nd.fast.add(p.x, p.y);
          if (s_.slowStep(k)) nd.slow = true;
        }
      } else {
        const Node& a = node(level - 1, 2 * idx);
        Node sum = a;
        if (2 * idx + 1 < levels_[level - 1].size()) {
          const Node& b = node(level - 1, 2 * idx + 1);
          sum.all = a.all.merged(b.all);
          sum.fast = a.fast.merged(b.fast);
          sum.slow = a.slow || b.slow;
        }
        nd = sum;
      }
      nd.ready = true;
      return nd;
    }

    std::size_t scanForward(std::size_t from, std::size_t to, int32_t ax, int32_t ay) const
    {
      for (std::size_t m = from; m < to; ++m) {
        if (s_.resumes(m, m - 1, ax, ay)) return m;
      }
      return kNone;
    }

    std::size_t scanBack(std::size_t lo, std::size_t hi) const
    {
      for (std::size_t k = hi + 1; k-- > lo;) {
        if (s_.slowStep(k)) return k;
      }
      return kNone;
    }

    std::size_t firstIn(std::size_t level, std::size_t idx, int32_t ax, int32_t ay)
    {
      const Node& nd = node(level, idx);
      const bool farOnes = !nd.all.empty() && nd.all.farthest(ax, ay) >= kResumeFar;
      const bool fastOnes = !nd.fast.empty() && nd.fast.farthest(ax, ay) >= kResumeNear;
      if (!farOnes && !fastOnes) return kNone;
      if (level == 0) return scanForward(std::max<std::size_t>(1, idx * kBlock), std::min(n_, (idx + 1) * kBlock), ax, ay);
      const std::size_t m = firstIn(level - 1, 2 * idx, ax, ay);
      if (m != kNone || 2 * idx + 1 >= levels_[level - 1].size()) return m;
      return firstIn(level - 1, 2 * idx + 1, ax, ay);
    }

    // The last slow step end at or after lo inside node `idx` of `level`, which ends before hi.
    std::size_t lastIn(std::size_t level, std::size_t idx, std::size_t lo)
    {
      const std::size_t end = ((idx + 1) << level) * kBlock;
      if (end <= lo || !node(level, idx).slow) return kNone;
      if (level == 0) return scanBack(std::max({lo, idx * kBlock, std::size_t{1}}), std::min(n_, end) - 1);
      if (2 * idx + 1 < levels_[level - 1].size()) {
        const std::size_t k = lastIn(level - 1, 2 * idx + 1, lo);
        if (k != kNone) return k;
      }
      return lastIn(level - 1, 2 * idx, lo);
    }

    const RestScanner& s_;
    std::size_t n_;
    std::vector<std::vector<Node>> levels_;
  };

  ResumeIndex& index()
  {
    if (!index_) index_ = std::make_unique<ResumeIndex>(*this);
    return *index_;
  }

  static constexpr std::size_t kWalkedPoints = 64;

  const std::vector<Track>& p_;
  std::vector<int>& states_;
  const std::vector<double>& t_;
  int v_;
  int h_;
  bool ascending_;
  std::size_t lookahead_ = 0;
  std::unique_ptr<ResumeIndex> index_;
};

}  // namespace

namespace {

void mergeRests(const std::vector<Track>& points, std::vector<int>& states, const std::vector<double>& t)
{
  const long long n = static_cast<long long>(points.size());
  long long last = -100;   // L
  long long group = -100;  // G
  int32_t gx = 0, gy = 0;
  float mergeSpeed = kMergeSpeed;
  // A rest of two points whose end became the next rest's start: its own start survives.
  auto merge = [&](long long from, long long to) {
    for (long long k = from; k <= to; ++k) {
      if (k != from || states[k] != kStateRestStart) states[k] = kStateRest;
    }
    if (to + 1 < n && (states[to + 1] == kStateAscending || states[to + 1] == kStateDescending))
      states[to] = kStateRestEnd;
  };
  for (long long i = 0; i < n; ++i) {
    const int st = states[i];
    if (st == kStateRestStart) {
      if (last >= 0 && last == i - 1) {
        merge(last, i);
        last = i;
        continue;
      }
      if (last >= 0 && t[i] - t[last] < kMergeWindowSeconds && group >= 0) {
        const double d = calcDistHubeny(points[group].lat, points[group].lon, points[i].lat, points[i].lon);
        const float w = static_cast<float>(d * 3600.0 / std::max(1.0, t[i] - t[group]));
        if (w <= mergeSpeed + kMergeSpeedSlack || d < kMergeDistance) {
          merge(last, i);
          last = i;
          mergeSpeed = w;
          continue;
        }
      }
      group = i;
      gx = points[i].x;
      gy = points[i].y;
      last = i;
      mergeSpeed = kMergeSpeed;
    } else if (st == kStateRest || st == kStateRestEnd) {
      last = i;
    } else if (last >= 0 && separation(points[i], gx, gy) >= kGroupFar) {
      group = -100;
      gx = gy = 0;
      last = -100;
    }
  }
}

}  // namespace

void mergeRests(const std::vector<Track>& points, std::vector<int>& states)
{
  if (points.empty() || !points.front().time || states.size() != points.size()) return;
  mergeRests(points, states, effectiveTimes(points));
}

int restSpeed(const std::vector<Track>& points)
{
  long long sum = 0, count = 0;
  for (const Track& p : points) {
    if (p.speed >= kMovingSpeed) {
      sum += p.speed;
      ++count;
    }
  }
  if (count == 0) return kRestSpeedCap;
  return static_cast<int>(std::min<long long>(kRestSpeedCap, (sum / count) / 5));
}

void checkRest(std::vector<Track>& points, bool valid_time, std::vector<int>& states)
{
  if (points.empty()) return;
  phases(points, states);
  if (!points.front().time || !points.back().time) return;
  // With phases only there is no rest to correct: these are calcSpeed's speeds.
  calcForwardSpeeds(points, valid_time);
  const std::vector<double> t = effectiveTimes(points);
  RestScanner(points, states, t, restSpeed(points)).scan();
  mergeRests(points, states, t);
  // calcSpeed with the new states: the forward windows stay, the rest correction is added.
  applyRestCorrection(points, valid_time, states);
}

}  // namespace tw
