#include "analysis/Profile.h"

#include <algorithm>
#include <cmath>

#include "analysis/Prefetch.h"
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
                      double span, ProfileTotals* totals = nullptr)
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
    if (totals) totals->addSample(s);
  }
}

// Walks the segments as their closing boundaries become known: sample k belongs to the segment
// closed by the first boundary at or after it; samples past the last boundary keep their gradient.
struct SegmentCursor {
  ProfileTotals* totals = nullptr;  // takes each sample once its gradient is known
  long long a = 0;
  long long done = -1;
  bool finished(const std::vector<PosInfo>& positions) const
  {
    return done >= static_cast<long long>(positions.size()) - 1;
  }
  void close(std::vector<PosInfo>& positions, std::size_t boundary, double span)
  {
    const long long b = static_cast<long long>(boundary);
    if (b <= done) return;
    segmentGradients(positions, done + 1, std::min(b, static_cast<long long>(positions.size()) - 1), a, b, span,
                     totals);
    a = b;
    done = b;
  }
};

}  // namespace

namespace {

// One walk over the section: samples every `span` metres, ascent and descent from turn to turn,
// the gradients of each turn-to-turn stretch as soon as it is complete (while its samples are
// still in the caches), and, when `range` is set, the range statistics (peak count, extremes,
// total_dist) on the way. `totals`, when given, takes the samples and, on the range walk, the
// slope distance.
void sampleSection(const std::vector<Track>& points, Section sec, double span, bool range, TrackStats& stats,
                   std::vector<PosInfo>& positions, ProfileTotals* totals)
{
  positions.clear();
  SegmentCursor gradients;
  gradients.totals = totals;
  if (totals) totals->resetSamples();
  float* slope = range && totals ? &totals->slope : nullptr;
  stats.total_up = stats.total_down = 0.0f;
  const Track& first = points[sec.start];
  if (range) {
    if (first.peak_type == 1) ++stats.peak_count;
    if (first.elev > stats.max_elev) stats.max_elev = first.elev;
    if (first.elev < stats.min_elev) stats.min_elev = first.elev;
  }
  bool ascending = startsAscending(points, sec);
  float turnElev = first.elev;  // Et
  float envelope = first.elev;  // X
  float up = 0.0f, down = 0.0f, cumulative = 0.0f;
  float prevElev = first.elev;
  float slopeRef = first.elev;
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
    detail::prefetchAhead(points, static_cast<std::size_t>(i));
    const Track& prev = points[i - 1];
    const Track& p = points[i];
    const bool known = p.hasElevation();
    const float el = p.elev;
    const float seg = saneLength(p.seg_dist);
    if (slope) addSlopeStep(p, slopeRef, *slope);
    if (range) {
      if (p.peak_type == 1) ++stats.peak_count;
      if (el > stats.max_elev) stats.max_elev = el;
      if (el < stats.min_elev) stats.min_elev = el;
      stats.total_dist += seg;
    }
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
      detail::prefetchForAppend(positions);
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
    if (turn || last) gradients.close(positions, positions.size() - 1, span);

    envelope = env2;
    up = up2;
    down = down2;
    cumulative = cumulative2;
    prevElev = el;
  }
  if (gradients.done < 0) segmentGradients(positions, 0, 0, 0, 0, span, totals);
}

}  // namespace

void calcTrackProfile(const std::vector<Track>& points, Section sec, TrackStats& stats,
                      std::vector<PosInfo>& positions, ProfileTotals* totals)
{
  if (totals) *totals = ProfileTotals{};
  stats.resetMeasured();
  positions.clear();
  stats.route_time = std::any_of(points.begin(), points.end(), [](const Track& p) { return p.time.has_value(); });
  if (!sectionInside(sec, points.size())) return;
  stats.span = 10.0;

  // The length decides the step, so sample at 10 m while measuring it and sample again at 1 m
  // when the section turns out shorter than 1000 m: long tracks are walked once.
  const double estimate = static_cast<double>(points[sec.end - 1].dist) - points[sec.start].dist;
  if (std::isfinite(estimate) && estimate > 0.0)
    positions.reserve(std::min<std::size_t>(kMaxProfileSamples, static_cast<std::size_t>(estimate / 10.0) + 2));
  sampleSection(points, sec, 10.0, true, stats, positions, totals);
  if (stats.total_dist < 1000.0f) {
    stats.span = 1.0;
    sampleSection(points, sec, 1.0, false, stats, positions, totals);
  }
  if (totals) {
    totals->valid = true;
    totals->section = sec;
    totals->points = points.size();
  }
}

void calcGradients(std::vector<PosInfo>& positions, const std::vector<std::size_t>& boundaries, double span)
{
  if (positions.empty()) return;
  SegmentCursor cursor;
  for (std::size_t b : boundaries) {
    if (cursor.finished(positions)) break;
    cursor.close(positions, b, span);
  }
  if (boundaries.empty()) segmentGradients(positions, 0, 0, 0, 0, span);
}

}  // namespace tw
