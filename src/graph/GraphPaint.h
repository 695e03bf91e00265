#pragma once
// Shared pieces of the graph drawings (internal to src/graph).

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <cmath>
#include <functional>
#include <vector>

#include "graph/GraphDraw.h"

namespace tw::graphpaint {

// y-up drawing space with its origin at the bottom-left of a Qt rectangle.
struct Flip {
  double ox = 0, bottom = 0;
  QPointF pt(double x, double y) const { return {ox + x, bottom - y}; }
  QRectF rect(double x, double y, double w, double h) const { return {ox + x, bottom - y - h, w, h}; }
  QRectF rect(const GRect& r) const { return rect(r.x, r.y, r.w, r.h); }
};

// A polyline through the graphed points reduced to what one column of `res` points can show:
// per column the first, lowest, highest and last points, in their order. `xOf`/`yOf` give the
// y-up position of a point.
template <class XOf, class YOf>
QPolygonF profilePolyline(const std::vector<GraphPoint>& pts, const Flip& f, double res, XOf xOf, YOf yOf)
{
  QPolygonF out;
  out.reserve(static_cast<int>(std::min<std::size_t>(pts.size(), 8192)));
  bool open = false;
  double col = 0;
  QPointF first, lo, hi, last;
  std::size_t loAt = 0, hiAt = 0;
  auto flush = [&] {
    if (!open) return;
    out << first;
    if (loAt < hiAt) {
      if (lo != first) out << lo;
      if (hi != lo && hi != last) out << hi;
    } else {
      if (hi != first) out << hi;
      if (lo != hi && lo != last) out << lo;
    }
    if (last != first) out << last;
  };
  for (std::size_t i = 0; i < pts.size(); ++i) {
    const QPointF q = f.pt(xOf(pts[i]), yOf(pts[i]));
    const double c = std::floor(q.x() / res);
    if (!open || c != col) {
      flush();
      open = true;
      col = c;
      first = lo = hi = last = q;
      loAt = hiAt = i;
      continue;
    }
    // Qt's y grows downward: the lowest point on paper has the largest y.
    if (q.y() > lo.y()) lo = q, loAt = i;
    if (q.y() < hi.y()) hi = q, hiAt = i;
    last = q;
  }
  flush();
  return out;
}

QFont graphFont(const char* name, double size);

// Draws the waypoint marks and names of the model along the profile.
struct WayPointStyle {
  double markBase = 6, noMarkBase = 2;        // label bottom above the point
  double markBelow = 12, noMarkBelow = 6;     // moved under the point: bottom this far below the base
  QFont font;
  bool screen = true;
  const QImage* ring = nullptr;
};
// `posOf(i)` is the y-up mark position of point i; only points carrying a waypoint are asked.
void drawWayPoints(QPainter& p, const Flip& f, const GraphModel& m, const GRect& plot, const WayPointStyle& st,
                   const std::function<QPointF(std::size_t)>& posOf);

}  // namespace tw::graphpaint
