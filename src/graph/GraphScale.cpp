#include "graph/GraphScale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tw {

namespace {

// Truncation that never overflows: a panel too small or data too odd must not be undefined.
int64_t trunc64(double v)
{
  if (std::isnan(v)) return 0;
  constexpr double kMax = 9.0e18;
  return static_cast<int64_t>(std::clamp(v, -kMax, kMax));
}

int trunc32(double v)
{
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(v, -2.0e9, 2.0e9));
}

}  // namespace

double ElevAxis::offset(double e) const
{
  return (e - start_elev) * ph / static_cast<double>(end_elev - start_elev);
}

ElevAxis elevationAxis(float min_elev, float max_elev, int ph, int headroom)
{
  ElevAxis a;
  a.ph = ph;
  int m = trunc32(min_elev);
  if (m == 3800) m = 0;
  a.start_elev = (m / 100) * 100;
  if (m - a.start_elev < 25 && a.start_elev >= 100) a.start_elev -= 100;
  const int top = trunc32(max_elev);
  a.end_elev = top == 0 ? 1100 : ((top + 100) / 100) * 100;
  if (a.end_elev <= a.start_elev) a.end_elev = a.start_elev + 100;
  a.s = ph * 100.0 / (a.end_elev - a.start_elev);
  if (headroom > 0 && top != 0 && a.s > 0) {
    a.end_elev = trunc32(max_elev + headroom * 100.0 / a.s);
    if (a.end_elev <= a.start_elev) a.end_elev = a.start_elev + 100;
    a.s = ph * 100.0 / (a.end_elev - a.start_elev);
  }
  if (a.s < 20) {
    // A plot with no height at all still gets one finite step.
    const double per = a.s > 0 ? 20 / a.s : 1e6;
    a.label_step = static_cast<int>(std::min<int64_t>(trunc64(per) * 100 + 100, 1'000'000'000));
  }
  return a;
}

std::vector<AxisLabel> elevationLabels(const ElevAxis& a)
{
  std::vector<AxisLabel> out;
  int64_t v = a.start_elev;
  int prev = -20;
  for (;;) {
    const int64_t vv = std::min<int64_t>(v, a.end_elev);
    const int y = trunc32(static_cast<double>((vv - a.start_elev) / 100) * a.s);
    if (y - prev < 20) break;
    out.push_back({vv, y});
    prev = y;
    if (vv >= a.end_elev) break;
    v = vv + a.label_step;
  }
  return out;
}

std::vector<AxisLabel> elevationGrid(const ElevAxis& a, bool onlyLabelSteps)
{
  std::vector<AxisLabel> out;
  for (int64_t e = a.start_elev; e < a.end_elev; e += 100) {
    if (onlyLabelSteps && (e - a.start_elev) % a.label_step != 0) continue;
    out.push_back({e, trunc32(static_cast<double>((e - a.start_elev) / 100) * a.s)});
  }
  return out;
}

int DistAxis::offset(int64_t v) const
{
  // A label step below a thinned unit would stack its labels under integer division.
  if (v % u != 0) return trunc32(static_cast<double>(v) * p / static_cast<double>(u));
  return trunc32(static_cast<double>(v / u) * p);
}

DistAxis distanceAxis(double total_dist, int pw, double minSpacing)
{
  DistAxis a;
  a.D = (std::isfinite(total_dist) && total_dist > 0) ? total_dist : 1000;
  // A plot without width still needs a positive scale for the label step below.
  a.p = std::max(pw * 100.0 / a.D, 1e-9);
  a.u = 100;
  if (a.p < minSpacing) {
    a.u = 1000;
    a.p *= 10;
  }
  a.L = a.u;
  if (a.p < 45) {
    const int64_t n = (trunc64(45 / a.p) + 1) * a.u;
    int64_t k = 1;
    while (n / k >= 10) k *= 10;
    const int64_t c = n / k >= 5 ? 10 * k : 5 * k;
    a.L = c > a.D ? k : c;
  }
  if (a.p > minSpacing) {
  } else if (5 * a.p > minSpacing) {
    a.u *= 5;
    a.p *= 5;
  } else if (10 * a.p > minSpacing) {
    a.u *= 10;
    a.p *= 10;
  } else {
    a.sparse = true;
  }
  return a;
}

std::vector<DistGridLine> distanceGrid(const DistAxis& a)
{
  std::vector<DistGridLine> out;
  // Sparse: only the label positions, so a huge distance never walks its tiny units.
  const int64_t step = a.sparse ? a.L : a.u;
  for (int64_t i = 0; i < a.D; i += step) out.push_back({a.offset(i), i % a.L == 0});
  return out;
}

std::vector<AxisLabel> distanceLabels(const DistAxis& a)
{
  std::vector<AxisLabel> out;
  for (int64_t v = a.L; v <= a.D; v += a.L) out.push_back({v, a.offset(v)});
  return out;
}

std::string distanceLabelText(int64_t v, int64_t L)
{
  char buf[48];
  if (L < 1000)
    std::snprintf(buf, sizeof buf, "%3.1fkm", static_cast<double>(v) / 1000);
  else
    std::snprintf(buf, sizeof buf, "%dkm", static_cast<int>(v / 1000));
  return buf;
}

int elevationBand(double e)
{
  if (!(e >= 500)) return 0;
  return static_cast<int>(std::min(6.0, std::floor(e / 500)));
}

int distanceBand(double metres)
{
  if (!(metres > 5000)) return 0;
  return static_cast<int>(std::min(6.0, std::ceil(metres / 5000) - 1));
}

bool WayPointMarker::mark(double dist, double x, int wp)
{
  if (any_ && wp == wp_ && !(dist - dist_ >= 100 && x - x_ >= 32)) return false;
  any_ = true;
  dist_ = dist;
  x_ = x;
  wp_ = wp;
  return true;
}

GRect placeWayPointLabel(GRect r, double below, const GRect& plot)
{
  if (plot.contains(r)) return r;
  r.x = std::max(plot.x, std::min(r.x, plot.right() - r.w));
  if (r.top() > plot.top()) r.y = below - r.h;
  return r;
}

GRect avoidWayPointLabels(GRect r, double below, const GRect& plot, const std::vector<const GRect*>& others)
{
  for (const GRect* o : others) {
    if (o && r.intersects(*o)) {
      r.y = std::max(below - r.h, plot.y);
      break;
    }
  }
  return r;
}

std::size_t fittingVariant(const std::vector<double>& widths, double available)
{
  for (std::size_t i = 0; i < widths.size(); ++i)
    if (widths[i] <= available) return i;
  return widths.size();
}

int64_t pointerSampleIndex(double x, double width, double total_dist, double span, std::size_t samples)
{
  if (samples == 0 || !(width > 0) || !(span > 0) || x < 0) return -1;
  const double raw = x / width * total_dist / span;
  if (!std::isfinite(raw)) return -1;
  const int64_t i = trunc64(raw);
  const auto n = static_cast<int64_t>(samples);
  if (i >= n && i <= n + 2) return n - 1;
  return i < n ? i : -1;
}

int wedgeClass(double gradient, bool cycling)
{
  const int deg = trunc32(std::fabs(std::atan(gradient / 100)) * 180 / M_PI);
  static const int kWalk[] = {14, 19, 24, 29};
  static const int kCycle[] = {2, 5, 8, 11};
  const int* limits = cycling ? kCycle : kWalk;
  for (int c = 0; c < 4; ++c)
    if (deg <= limits[c]) return c;
  return 4;
}

WedgeHeights wedgeHeights(double gradient, double bw)
{
  const double a = std::atan(gradient / 100);
  if (a > 0) return {0, trunc32(std::tan(a) * bw)};
  if (a < 0) return {trunc32(std::tan(-a) * bw), 0};
  return {};
}

PanelFrames placeGraphView(GRect r, double baseWidth, double baseHeight, bool minimize)
{
  double w = std::max(r.w, 150.0);
  double h = minimize ? r.h : std::max(r.h, 60.0);
  double x = r.x, y = r.y;
  if (baseWidth < w) {
    w = baseWidth;
    x = 0;
  }
  if (baseHeight < h) {
    h = baseHeight;
    y = 0;
  }
  x = std::max(x, 0.0);
  y = std::max(y, 0.0);
  if (x + w > baseWidth) x = baseWidth - w;
  if (y + h > baseHeight) y = baseHeight - h;
  PanelFrames f;
  f.graph = {std::trunc(x), std::trunc(y), std::trunc(w), std::trunc(h)};
  if (!minimize) f.pointer = {50, 20, f.graph.w - 65, f.graph.h - 52};
  return f;
}

PanelFrames minimizedFrames(const GRect& current)
{
  return {{std::trunc(current.x), 0, std::trunc(current.w), 22}, {}};
}

PanelFrames maximizedFrames(double baseWidth, double baseHeight)
{
  const double w = std::trunc(baseWidth), h = std::trunc(baseHeight);
  return {{0, 0, w, h}, {50, 20, w - 65, h - 52}};
}

}  // namespace tw
