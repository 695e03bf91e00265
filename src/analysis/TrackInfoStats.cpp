#include "analysis/TrackInfoStats.h"

#include <cmath>
#include <optional>

#include "analysis/Rests.h"
#include "analysis/TimeMath.h"

namespace tw {

using detail::saneLength;
using detail::truncToInt;

namespace {

// Gradient class thresholds in percent.
struct GradientClasses {
  float climb;        // climbing sample: gradient >= climb
  float gentle_up;    // gentle climb: gradient < gentle_up
  float steep_up;     // steep climb: gradient >= steep_up
  float descent;      // descending sample: gradient <= descent
  float gentle_down;  // gentle descent: gradient > gentle_down
  float steep_down;   // steep descent: gradient <= steep_down
};
constexpr GradientClasses kWalking{5.0f, 15.0f, 30.0f, -5.0f, -15.0f, -30.0f};
constexpr GradientClasses kCycling{2.0f, 4.0f, 8.0f, -2.0f, -4.0f, -8.0f};

// Distance along the slope. A step to an unknown elevation counts horizontally; so does every
// step when the section's first elevation is unknown.
float slopeDistance(const std::vector<Track>& points, Section sec)
{
  float slope = 0.0f;
  float ref = points[sec.start].elev;
  for (int i = sec.start + 1; i < sec.end; ++i) {
    const Track& p = points[i];
    const float seg = saneLength(p.seg_dist);
    if (ref == kUnknownElevation || !p.hasElevation()) {
      slope += seg;
    } else {
      const float dz = p.elev - ref;
      slope += std::sqrt(dz * dz + seg * seg);
      ref = p.elev;
    }
  }
  return slope;
}

}  // namespace

void calcSlopeAndGradientStats(const std::vector<Track>& points, Section sec,
                               const std::vector<PosInfo>& positions, bool cycling, TrackStats& st)
{
  if (!sectionInside(sec, points.size())) return;
  st.total_distance = slopeDistance(points, sec);

  const GradientClasses& cls = cycling ? kCycling : kWalking;
  double elevSum = 0.0, upSum = 0.0, downSum = 0.0;
  long long known = 0, classified = 0, climbing = 0, descending = 0;
  long long gentleUp = 0, steepUp = 0, gentleDown = 0, steepDown = 0;
  for (const PosInfo& s : positions) {
    if (s.elev != kUnknownElevation) {
      elevSum += s.elev;
      ++known;
    }
    const float g = s.gradient;
    if (g == kUnknownGradient || !std::isfinite(g)) continue;
    ++classified;
    if (g >= cls.climb) {
      ++climbing;
      upSum += g;
      if (g < cls.gentle_up) ++gentleUp;
      else if (g >= cls.steep_up) ++steepUp;
    } else if (g <= cls.descent) {
      ++descending;
      downSum += g;
      if (g > cls.gentle_down) ++gentleDown;
      else if (g <= cls.steep_down) ++steepDown;
    }
    if (g > static_cast<float>(st.max_gradient)) st.max_gradient = truncToInt(g);
    else if (g < static_cast<float>(st.min_gradient)) st.min_gradient = truncToInt(g);
  }

  if (known > 0) st.ave_elev = static_cast<float>(elevSum / static_cast<double>(known));
  if (classified > 0) {
    st.up_rate = static_cast<int32_t>(climbing * 100 / classified);
    st.down_rate = static_cast<int32_t>(descending * 100 / classified);
  }
  if (climbing >= 2) {
    st.ave_up_gradient = truncToInt(upSum / static_cast<double>(climbing));
    st.easy_up_rate = static_cast<int32_t>(gentleUp * 100 / climbing);
    st.hard_up_rate = static_cast<int32_t>(steepUp * 100 / climbing);
  }
  if (descending >= 2) {
    st.ave_down_gradient = truncToInt(downSum / static_cast<double>(descending));
    st.easy_down_rate = static_cast<int32_t>(gentleDown * 100 / descending);
    st.hard_down_rate = static_cast<int32_t>(steepDown * 100 / descending);
  }
}

void calcTimeStats(const std::vector<Track>& points, Section sec, const std::vector<int>& states, TrackStats& st)
{
  // Stale states (another track shape) would misattribute every point.
  if (!sectionInside(sec, points.size()) || states.size() != points.size()) return;
  float rest = 0.0f, moving = 0.0f, upDist = 0.0f, downDist = 0.0f, upTime = 0.0f, downTime = 0.0f;
  std::optional<TimePoint> prevTime;
  int prevState = 0;
  for (int i = sec.start; i < sec.end; ++i) {
    std::optional<TimePoint> t = points[i].time;
    if (!t && i > sec.start) t = prevTime;  // a point without a time takes its predecessor's
    const int state = states[i];
    const bool bothTimes = t && prevTime && i > sec.start;
    const float dt = bothTimes ? static_cast<float>(detail::secondsBetween(*t, *prevTime)) : 0.0f;
    if ((state == kStateRest || state == kStateRestEnd) && i > sec.start) {
      rest += dt;
    } else if (i > sec.start) {
      const float seg = saneLength(points[i].seg_dist);
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

void calcTrackInfo(std::vector<Track>& points, bool valid_time, Section sec, const std::vector<PosInfo>& positions,
                   bool cycling, std::vector<int>& states, TrackStats& st)
{
  st.resetInfo();
  if (points.size() < 2 || !sectionInside(sec, points.size())) return;
  calcSlopeAndGradientStats(points, sec, positions, cycling, st);
  checkRest(points, valid_time, states);
  calcTimeStats(points, sec, states, st);
}

int calcDegree(int gradient)
{
  if (gradient == -10000) return 0;
  const float ratio = static_cast<float>(gradient) / 100.0f;
  const float angle = static_cast<float>(std::atan(static_cast<double>(ratio)));
  return static_cast<int>(static_cast<double>(angle) * 57.29577951308232);
}

}  // namespace tw
