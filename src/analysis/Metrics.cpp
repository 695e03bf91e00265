#include "analysis/Metrics.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "analysis/Rests.h"
#include "analysis/TimeMath.h"
#include "document/Geodesy.h"

namespace tw {

using detail::secondsBetween;

void recalcDistance(std::vector<Track>& points)
{
  for (std::size_t i = 0; i < points.size(); ++i) {
    Track& p = points[i];
    if (i == 0) {
      p.seg_dist = 0.0f;
      p.dist = 0.0f;
      continue;
    }
    const Track& q = points[i - 1];
    p.seg_dist = static_cast<float>(calcDistHubeny(q.lat, q.lon, p.lat, p.lon));
    p.dist = q.dist + p.seg_dist;
  }
}

namespace {

// m/h over `dt` seconds; a non-finite result (bogus distances) is unknown.
int32_t speedOver(float metres, float dt)
{
  const float v = metres * 3600.0f / dt;
  if (!std::isfinite(v)) return kUnknownSpeed;
  return detail::truncToInt(v, kUnknownSpeed);
}

// Speeds of the points just before the rest starting at m, from windows that end at them.
void repairApproach(std::vector<Track>& points, std::size_t m)
{
  const TimePoint start = *points[m].time;
  for (std::size_t k = m - 1; k >= 1 && k < m; --k) {
    const Track& pk = points[k];
    if (!pk.time) continue;
    if (secondsBetween(start, *pk.time) > 60.0) break;
    for (std::size_t n = k; n-- > 0;) {
      if (!points[n].time) continue;
      const float d = static_cast<float>(secondsBetween(*pk.time, *points[n].time));
      if (d >= 60.0f || (n == 0 && d > 0.0f)) {
        points[k].speed = speedOver(pk.dist - points[n].dist, d);
        break;
      }
    }
  }
}

// Drift from the rest's first point; returns the index of the rest's last point, or m when the
// rest is cut short by a point without a time or by the end of the track.
std::size_t driftInRest(std::vector<Track>& points, const std::vector<int>& states, std::size_t m)
{
  const Track start = points[m];
  for (std::size_t n = m; n < points.size() && points[n].time; ++n) {
    Track& p = points[n];
    const float d = static_cast<float>(calcDistHubeny(p.lat, p.lon, start.lat, start.lon));
    const float dt = static_cast<float>(secondsBetween(*p.time, *start.time));
    p.speed = dt <= 0.0f ? 0 : speedOver(d, dt);
    if (states[n] == kStateRestEnd) return n;
  }
  return m;
}

}  // namespace

void calcSpeed(std::vector<Track>& points, bool valid_time, const std::vector<int>& states)
{
  calcForwardSpeeds(points, valid_time);
  applyRestCorrection(points, valid_time, states);
}

void calcForwardSpeeds(std::vector<Track>& points, bool valid_time)
{
  const std::size_t n = points.size();
  // While times do not run backwards a window ends no earlier than the previous timed point's,
  // so the search resumes there: the pass stays linear on a log of one point a second.
  std::size_t carried = 0;
  std::optional<TimePoint> lastTime;
  for (std::size_t i = 0; i < n; ++i) {
    Track& p = points[i];
    if (!valid_time || !p.time) {
      p.speed = kUnknownSpeed;
      continue;
    }
    const bool carry = lastTime && *p.time >= *lastTime;
    std::size_t end = n;
    float dtEnd = 0.0f;
    for (std::size_t j = carry ? std::max(carried, i + 1) : i + 1; j < n; ++j) {
      if (!points[j].time) continue;
      const float dt = static_cast<float>(secondsBetween(*points[j].time, *p.time));
      if (dt >= 60.0f) {
        end = j;
        dtEnd = dt;
        break;
      }
    }
    carried = end;
    lastTime = *p.time;
    const Track& lastPoint = points.back();
    if (end == n && i + 1 < n && lastPoint.time) {
      const float dt = static_cast<float>(secondsBetween(*lastPoint.time, *p.time));
      if (dt > 0.0f) {
        end = n - 1;
        dtEnd = dt;
      }
    }
    p.speed = end == n ? kUnknownSpeed : speedOver(points[end].dist - p.dist, dtEnd);
  }
}

void applyRestCorrection(std::vector<Track>& points, bool valid_time, const std::vector<int>& states)
{
  if (!valid_time || states.size() != points.size()) return;  // stale states belong to another track shape
  for (std::size_t m = 0; m < points.size(); ++m) {
    if (states[m] != kStateRestStart || !points[m].time) continue;
    repairApproach(points, m);
    m = driftInRest(points, states, m);
  }
}

Section chooseSection(int graph_type, int part_start, int part_end, int range_start, int range_end,
                      std::size_t count)
{
  if (graph_type == 1) return {part_start, part_end};
  if (graph_type == 2) return {range_start, range_end};
  return {0, static_cast<int>(count)};
}

bool sectionInside(Section section, std::size_t count)
{
  const auto n = static_cast<long long>(count);
  // An inverted section would give negative times and distances; it is treated as empty.
  return section.start >= 0 && section.start < n && section.end >= 1 && section.end - 1 < n &&
         section.end > section.start;
}

bool RectF::contains(double px, double py) const
{
  return width > 0.0 && height > 0.0 && px >= x && px < x + width && py >= y && py < y + height;
}

Section calcTrackRange(const std::vector<Track>& points, const RectF& printPixelRect,
                       const RectF& printPointRect, const RectF& graphRect, bool normal)
{
  const double f = normal ? 4.0 : 2.0;
  const RectF r1{printPixelRect.x * f, printPixelRect.y * f, printPixelRect.width * f,
                 printPixelRect.height * f};
  RectF r2;
  if (printPointRect.width > 0.0 && printPointRect.height > 0.0) {
    const double sx = r1.width / printPointRect.width;
    const double sy = r1.height / printPointRect.height;
    r2.width = graphRect.width * sx;
    r2.height = graphRect.height * sy;
    r2.x = graphRect.x * sx + r1.x;
    r2.y = (r1.y + r1.height) - (graphRect.height + graphRect.y) * sy;
  }
  long long start = static_cast<long long>(points.size());
  long long end = -1;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const double x = points[i].x, y = points[i].y;
    if (r1.contains(x, y) && !r2.contains(x, y)) {
      start = std::min<long long>(start, static_cast<long long>(i));
      end = std::max<long long>(end, static_cast<long long>(i));
    }
  }
  if (end < 0) return {0, 0};
  if (start > 0) --start;
  ++end;
  return {static_cast<int>(start), static_cast<int>(end)};
}

}  // namespace tw
