#include "analysis/Profile.h"

#include <algorithm>
#include <cmath>

#include "analysis/TimeMath.h"

namespace tw {

using detail::saneLength;

namespace {

constexpr float kUnknown = kUnknownElevation;

// Ascending at the start of the section: decided by its first mark, else by the end points.
bool startsAscending(const std::vector<Track>& points, Section sec)
{
  for (int i = sec.start; i < sec.end; ++i) {
    const int type = points[i].peak_type;
    if (type == 2) return i == sec.start;
    if (type == 1) return i != sec.start;
  }
  return !(points[sec.end - 1].elev < std::trunc(points[sec.start].elev));
}

float lerp(float a, float b, float f) { return a + (b - a) * f; }

// Gradients of samples [from, to] of the segment [a, b] between consecutive turn samples, over
// ±20 m, the window shifted or shrunk so that it stays inside the segment.
void segmentGradients(std::vector<PosInfo>& positions, long long from, long long to, long long a, long long b,
                      double span)
{
  long long n = static_cast<long long>(std::ceil(20.0 / span));
  if (n == 0) n = 1;
  const long long count = static_cast<long long>(positions.size());
  for (long long k = from; k <= to; ++k) {
    long long lo = k - n, hi = k + n;
    if (lo < a || hi > b) {
      if (b - a >= 2 * n) {
        if (lo < a) {
          lo = a;
          hi = a + 2 * n;
        } else {
          lo = b - 2 * n;
          hi = b;
        }
      } else {
        lo = a;
        hi = b;
      }
    }
    PosInfo& s = positions[static_cast<std::size_t>(k)];
    lo = std::clamp(lo, 0LL, count - 1);
    hi = std::clamp(hi, 0LL, count - 1);
    const float elo = positions[static_cast<std::size_t>(lo)].elev, ehi = positions[static_cast<std::size_t>(hi)].elev;
    // An unknown elevation at either end of the window would read as a 100 m cliff.
    if (hi == lo || s.elev == kUnknown || elo == kUnknown || ehi == kUnknown) {
      s.gradient = kUnknownGradient;
    } else {
      s.gradient = static_cast<float>((ehi - elo) * 100.0 / (static_cast<double>(hi - lo) * span));
    }
  }
}

// Peak count, elevation range and horizontal length of the section.
void rangeStatistics(const std::vector<Track>& points, Section sec, TrackStats& stats)
{
  for (int i = sec.start; i < sec.end; ++i) {
    const Track& p = points[i];
    if (p.peak_type == 1) ++stats.peak_count;
    if (p.elev > stats.max_elev) stats.max_elev = p.elev;
    if (p.elev < stats.min_elev) stats.min_elev = p.elev;
    if (i > sec.start) stats.total_dist += saneLength(p.seg_dist);
  }
}

// Samples every `span` metres, ascent and descent from turn to turn, and the sample index of
// every turn (and of the section's end), where the gradient windows stop.
void sampleSection(const std::vector<Track>& points, Section sec, double span, TrackStats& stats,
                   std::vector<PosInfo>& positions, std::vector<std::size_t>& boundaries)
{
  const Track& first = points[sec.start];
  bool ascending = startsAscending(points, sec);
  float turnElev = first.elev;  // Et
  float envelope = first.elev;  // X
  float up = 0.0f, down = 0.0f, cumulative = 0.0f;
  float prevElev = first.elev;
  {
    PosInfo s0;
    s0.dist = 0.0f;
    s0.elev = s0.env_elev = first.elev;
    s0.lat = first.lat;
    s0.lon = first.lon;
    s0.up = s0.down = 0.0f;
    s0.point_index = sec.start;
    positions.push_back(s0);
  }

  for (int i = sec.start + 1; i < sec.end; ++i) {
    const Track& prev = points[i - 1];
    const Track& p = points[i];
    const bool known = p.hasElevation();
    const float el = p.elev;
    const float seg = saneLength(p.seg_dist);
    // A section that starts without an elevation measures from its first known one.
    if (known && envelope == kUnknown) envelope = el;
    if (known && turnElev == kUnknown) turnElev = el;

    float env2 = envelope, up2 = up, down2 = down;
    if (known) {
      if (ascending && el > envelope) {
        up2 = up + (el - envelope);
        env2 = el;
      } else if (!ascending && el < envelope) {
        down2 = down + (envelope - el);
        env2 = el;
      }
    }

    const bool last = i == sec.end - 1;
    bool turn = false;
    if (p.peak_type == 1 || (last && ascending)) {
      if (known) {
        stats.total_up += std::max(0.0f, el - turnElev);
        turnElev = env2 = el;
      }
      up2 = stats.total_up;
      ascending = false;
      turn = true;
    } else if (p.peak_type == 2 || (last && !ascending)) {
      if (known) {
        stats.total_down += std::max(0.0f, turnElev - el);
        turnElev = env2 = el;
      }
      down2 = stats.total_down;
      ascending = true;
      turn = true;
    }

    const float cumulative2 = cumulative + seg;
    while (positions.size() < kMaxProfileSamples &&
           static_cast<double>(positions.size()) * span <= static_cast<double>(cumulative2)) {
      const double d = static_cast<double>(positions.size()) * span;
      const float f = seg > 0.0f ? static_cast<float>((d - cumulative) / seg) : 1.0f;
      PosInfo s;
      s.dist = static_cast<float>(d);
      s.lat = prev.lat + (p.lat - prev.lat) * f;
      s.lon = prev.lon + (p.lon - prev.lon) * f;
      s.point_index = i;
      if (prevElev == kUnknown || !known) {
        s.elev = s.env_elev = kUnknown;
        s.up = up;
        s.down = down;
      } else {
        s.elev = lerp(prevElev, el, f);
        s.env_elev = lerp(envelope, env2, f);
        s.up = lerp(up, up2, f);
        s.down = lerp(down, down2, f);
      }
      positions.push_back(s);
    }
    if (turn || last) boundaries.push_back(positions.size() - 1);

    envelope = env2;
    up = up2;
    down = down2;
    cumulative = cumulative2;
    prevElev = el;
  }
}

}  // namespace

void calcTrackProfile(const std::vector<Track>& points, Section sec, TrackStats& stats,
                      std::vector<PosInfo>& positions)
{
  stats.resetMeasured();
  positions.clear();
  stats.route_time = std::any_of(points.begin(), points.end(), [](const Track& p) { return p.time.has_value(); });
  if (!sectionInside(sec, points.size())) return;
  rangeStatistics(points, sec, stats);
  stats.span = stats.total_dist < 1000.0f ? 1.0 : 10.0;
  positions.reserve(static_cast<std::size_t>(
      std::min(static_cast<double>(kMaxProfileSamples), static_cast<double>(stats.total_dist) / stats.span + 2.0)));
  std::vector<std::size_t> boundaries;
  sampleSection(points, sec, stats.span, stats, positions, boundaries);
  calcGradients(positions, boundaries, stats.span);
}

void calcGradients(std::vector<PosInfo>& positions, const std::vector<std::size_t>& boundaries, double span)
{
  if (positions.empty()) return;
  if (boundaries.empty()) segmentGradients(positions, 0, 0, 0, 0, span);
  // Sample k belongs to the segment closed by the first boundary at or after it; samples past
  // the last boundary keep their gradient.
  const long long last = static_cast<long long>(positions.size()) - 1;
  long long a = 0, done = -1;
  for (std::size_t boundary : boundaries) {
    const long long b = static_cast<long long>(boundary);
    if (done >= last) break;
    if (b <= done) continue;
    segmentGradients(positions, done + 1, std::min(b, last), a, b, span);
    a = done = b;
  }
}

}  // namespace tw
