#include "analysis/TrackInfoStats.h"

#include <cmath>
#include <optional>

#include "analysis/Prefetch.h"
#include "analysis/Rests.h"
#include "analysis/TimeMath.h"

namespace tw {

using detail::saneLength;
using detail::truncToInt;

void calcSlopeAndGradientStats(const std::vector<Track>& points, Section sec,
                               const std::vector<PosInfo>& positions, bool cycling, TrackStats& st)
{
  if (!sectionInside(sec, points.size())) return;
  ProfileTotals totals;
  float ref = points[sec.start].elev;
  for (int i = sec.start + 1; i < sec.end; ++i) {
    detail::prefetchAhead(points, static_cast<std::size_t>(i));
    addSlopeStep(points[i], ref, totals.slope);
  }
  totals.max_gradient = st.max_gradient;
  totals.min_gradient = st.min_gradient;
  for (std::size_t k = 0; k < positions.size(); ++k) {
    detail::prefetchAhead(positions, k);
    totals.addSample(positions[k]);
  }
  applyProfileTotals(totals, cycling, st);
}

namespace {

// `msAt(i)`: the time of point i in milliseconds since the epoch, RestWalk::kNoTime without one;
// `segAt(i)`: its step length.
template <typename MsAt, typename SegAt>
void timeStats(const std::vector<Track>& points, Section sec, const std::vector<int>& states, MsAt msAt, SegAt segAt,
               TrackStats& st)
{
  constexpr int64_t kNoTime = RestWalk::kNoTime;
  float rest = 0.0f, moving = 0.0f, upDist = 0.0f, downDist = 0.0f, upTime = 0.0f, downTime = 0.0f;
  int64_t prevTime = kNoTime;
  int prevState = 0;
  for (int i = sec.start; i < sec.end; ++i) {
    int64_t t = msAt(i);
    if (t == kNoTime && i > sec.start) t = prevTime;
    const int state = states[i];
    const bool bothTimes = t != kNoTime && prevTime != kNoTime && i > sec.start;
    const float dt = bothTimes ? static_cast<float>(static_cast<double>(t - prevTime) / 1000.0) : 0.0f;
    if ((state == kStateRest || state == kStateRestEnd) && i > sec.start) {
      rest += dt;
    } else if (i > sec.start) {
      const float seg = saneLength(segAt(i));
      const bool climbing =
          state == kStateAscending || (state == kStateRestStart && prevState == kStateAscending);
      moving += seg;
      (climbing ? upDist : downDist) += seg;
      (climbing ? upTime : downTime) += dt;
    }
    prevTime = t;
    prevState = state;
  }

  const Track& first = points[sec.start];
  const Track& last = points[sec.end - 1];
  if (first.time && last.time) st.total_time = truncToInt(detail::secondsBetween(*last.time, *first.time));
  st.rest_time = truncToInt(rest);
  st.walk_time = st.total_time - st.rest_time;
  if (upTime > 0.0f) st.up_avg_speed = upDist * 3600.0f / upTime / 1000.0f;
  if (downTime > 0.0f) st.down_avg_speed = downDist * 3600.0f / downTime / 1000.0f;
  if (upTime > 0.0f || downTime > 0.0f) {
    const float all = upTime + downTime;
    // Opposite signs can cancel out on tracks whose times run backwards.
    st.avg_speed = all > 0.0f ? moving * 3600.0f / all / 1000.0f : 0.0f;
  }
}

}  // namespace

void calcTimeStats(const std::vector<Track>& points, Section sec, const std::vector<int>& states, TrackStats& st)
{
  // Stale states (another track shape) would misattribute every point.
  if (!sectionInside(sec, points.size()) || states.size() != points.size()) return;
  auto msAt = [&points](int i) {
    detail::prefetchAhead(points, static_cast<std::size_t>(i));
    const auto& t = points[static_cast<std::size_t>(i)].time;
    return t ? t->time_since_epoch().count() : RestWalk::kNoTime;
  };
  auto segAt = [&points](int i) { return points[static_cast<std::size_t>(i)].seg_dist; };
  timeStats(points, sec, states, msAt, segAt, st);
}

void calcTimeStats(const std::vector<Track>& points, Section sec, const std::vector<int>& states,
                   const RestWalk& walk, TrackStats& st)
{
  if (!walk.filled || walk.ms.size() != points.size()) {
    calcTimeStats(points, sec, states, st);
    return;
  }
  if (!sectionInside(sec, points.size()) || states.size() != points.size()) return;
  auto msAt = [&walk, &states](int i) {
    const auto k = static_cast<std::size_t>(i);
    if (k % 8 == 0) {  // a line holds 8 times; the step lengths and states are prefetched twice
      detail::prefetchAhead(walk.ms, k);
      detail::prefetchAhead(walk.seg, k);
      detail::prefetchAhead(states, k);
    }
    return walk.ms[k];
  };
  auto segAt = [&walk](int i) { return walk.seg[static_cast<std::size_t>(i)]; };
  timeStats(points, sec, states, msAt, segAt, st);
}

namespace {

void restsAndTimes(std::vector<Track>& points, bool valid_time, Section sec, std::vector<int>& states,
                   RestWalk& walk, TrackStats& st)
{
  checkRest(points, valid_time, states, walk);
  if (states.empty()) return;
  calcTimeStats(points, sec, states, walk, st);
}

}  // namespace

void calcTrackInfo(std::vector<Track>& points, bool valid_time, Section sec, const std::vector<PosInfo>& positions,
                   bool cycling, std::vector<int>& states, TrackStats& st)
{
  st.resetInfo();
  if (points.size() < 2 || !sectionInside(sec, points.size())) return;
  calcSlopeAndGradientStats(points, sec, positions, cycling, st);
  RestWalk walk;
  restsAndTimes(points, valid_time, sec, states, walk, st);
}

void calcTrackInfo(std::vector<Track>& points, bool valid_time, Section sec, const ProfileTotals& totals,
                   bool cycling, std::vector<int>& states, RestWalk& walk, TrackStats& st)
{
  st.resetInfo();
  if (points.size() < 2 || !sectionInside(sec, points.size())) return;
  applyProfileTotals(totals, cycling, st);
  restsAndTimes(points, valid_time, sec, states, walk, st);
}

int calcDegree(int gradient)
{
  if (gradient == -10000) return 0;
  const float ratio = static_cast<float>(gradient) / 100.0f;
  const float angle = static_cast<float>(std::atan(static_cast<double>(ratio)));
  return static_cast<int>(static_cast<double>(angle) * 57.29577951308232);
}

}  // namespace tw
