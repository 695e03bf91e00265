// The screen panel's layer below the pointer: background, title bar, information line, scales,
// profile, waypoints and rests, in the panel's colours.
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <cmath>

#include "graph/GraphDraw.h"
#include "graph/GraphPaint.h"

namespace tw {

using namespace graphpaint;

namespace {

struct Segment {
  QString text;
  QColor color;
};

QColor rgba(double r, double g, double b, double a) { return QColor::fromRgbF(float(r), float(g), float(b), float(a)); }

// The information line's coloured pieces for each variant, full line first.
std::vector<std::vector<Segment>> infoSegments(const GraphModel& m)
{
  const QColor label = rgba(1, 1, 1, 0.9);
  const Segment info1{QStringLiteral(" 点数: "), label}, info1a{QStringLiteral(" ピーク数: "), label},
      info2a{QStringLiteral(" 累積標高: "), label}, info2b{QStringLiteral(" 標高: "), label},
      info2c{QStringLiteral(" / "), label}, info3{QStringLiteral(" 距離: "), label};
  const Segment points{QString::number(m.points.size()), rgba(0.3, 1, 1, 0.9)};
  const Segment peaks{QString::number(m.peak_count) + (m.stable != 0 ? QStringLiteral("?") : QString()),
                      rgba(1, 0.8, 0, 0.9)};
  const Segment up{m.invalid_track ? QStringLiteral("?m") : QStringLiteral("%1m").arg(int(std::trunc(m.total_up))),
                   rgba(1, 0.3, 0.1, 0.9)};
  const Segment down{m.invalid_track ? QStringLiteral("?m") : QStringLiteral("%1m").arg(int(std::trunc(m.total_down))),
                     rgba(0.3, 0.6, 1, 0.9)};
  const Segment dist{QString::asprintf("%6.3fkm", m.total_dist / 1000.0), rgba(0.3, 1, 0.3, 0.9)};
  return {{info1, points, info1a, peaks, info2a, up, info2c, down, info3, dist},
          {info1a, peaks, info2a, up, info2c, down, info3, dist},
          {info2a, up, info2c, down, info3, dist},
          {info2b, up, info2c, down, info3, dist},
          {info3, dist}};
}

QString plain(const std::vector<Segment>& segs)
{
  QString t;
  for (const Segment& s : segs) t += s.text;
  return t;
}

QFont infoFont() { return graphFont("HiraKakuProN-W3", 14); }

int chooseInfo(const std::vector<std::vector<Segment>>& variants, int w, int leftLimit)
{
  const QFontMetricsF fm(infoFont());
  std::vector<double> widths;
  for (const auto& v : variants) widths.push_back(fm.horizontalAdvance(plain(v)));
  return static_cast<int>(fittingVariant(widths, w - 10 - leftLimit));
}

}  // namespace

std::vector<QString> graphInfoVariants(const GraphModel& m)
{
  std::vector<QString> out;
  for (const auto& v : infoSegments(m)) out.push_back(plain(v));
  return out;
}

QString graphInfoLine(const GraphModel& m, int w, int leftLimit)
{
  const auto variants = infoSegments(m);
  const auto k = static_cast<std::size_t>(chooseInfo(variants, w, leftLimit));
  return k < variants.size() ? plain(variants[k]) : QString();
}

GraphScreenInfo drawGraphScreen(QPainter& p, int W, int H, const GraphModel& m, const GraphChrome& chrome)
{
  GraphScreenInfo info;
  const Flip f{0, double(H)};
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.fillRect(QRect(0, 0, W, H), rgba(0, 0, 0, 0.85));
  p.fillRect(QRect(0, 0, W, 22), Qt::black);
  const int xs[] = {5, 26, 47};
  const QImage* imgs[] = {&chrome.close, &chrome.minimize, &chrome.maximize};
  for (int i = 0; i < 3; ++i)
    if (!imgs[i]->isNull()) p.drawImage(QRect(xs[i], 3, 16, 16), *imgs[i]);
  const bool warn = m.stable == 1 && !m.outside;
  if (warn && !chrome.warn.isNull()) p.drawImage(QRect(146, 3, 16, 16), chrome.warn);
  const QFont title = graphFont("HiraKakuProN-W3", 14);
  const QString titleText = QStringLiteral("標高グラフ");
  info.titleWidth = int(std::ceil(QFontMetricsF(title).horizontalAdvance(titleText)));
  if (m.graph_type == 1) {
    if (!chrome.reset.isNull()) p.drawImage(QRect(68, 3, 72, 16), chrome.reset);
  } else {
    p.setFont(title);
    p.setPen(rgba(0, 1, 1, 0.8));
    p.drawText(QRect(68, 3, info.titleWidth, 18), Qt::AlignLeft | Qt::AlignVCenter, titleText);
  }

  // Information line, right-aligned, in its colours.
  const auto variants = infoSegments(m);
  const auto k = static_cast<std::size_t>(chooseInfo(variants, W, warn ? 162 : info.titleWidth + 68));
  if (k < variants.size()) {
    const QFont font = infoFont();
    const QFontMetricsF fm(font);
    p.setFont(font);
    double x = W - 10 - fm.horizontalAdvance(plain(variants[k]));
    for (const Segment& s : variants[k]) {
      const double w = fm.horizontalAdvance(s.text);
      p.setPen(s.color);
      p.drawText(QRectF(x, 3, w + 1, 18), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, s.text);
      x += w;
    }
  }
  if (chrome.minimized) {
    p.restore();
    return info;
  }

  const int pw = (W - 15) - 50, ph = (H - 32) - 20;
  info.plot = f.rect(50, 20, pw, ph);
  p.setPen(QPen(rgba(0.7, 0.7, 0.7, 0.7), 1));
  for (int d : {14, 10, 6, 2}) p.drawLine(QPointF(W - d, H), QPointF(W, H - d));
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(rgba(1, 1, 1, 0.8), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(f.rect(50, 20, pw, ph).adjusted(0, 0, -1, -1));

  int headroom = 0;
  if (m.drawsWayPoints()) headroom = ((m.graph_wp_type & 1) ? 6 : 0) + ((m.graph_wp_type & 2) ? 18 : 0);
  const ElevAxis ea = elevationAxis(m.min_elev, m.max_elev, ph, headroom);
  info.elev = ea;
  for (const AxisLabel& g : elevationGrid(ea, false)) {
    p.setPen(QPen(bandGridColor(elevationBand(double(g.value)), g.value % 500 == 0 ? 0.5 : 0.2), 1));
    p.drawLine(f.pt(50, 20 + g.offset), f.pt(W - 15, 20 + g.offset));
  }
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setFont(graphFont("Helvetica", 12));
  for (const AxisLabel& l : elevationLabels(ea)) {
    p.setPen(bandLabelColor(elevationBand(double(l.value)), 0.8));
    p.drawText(f.rect(0, 20 + l.offset - 5, 45, 14), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1m").arg(l.value));
  }
  const DistAxis da = distanceAxis(m.total_dist, pw, 10);
  p.setRenderHint(QPainter::Antialiasing, false);
  for (const DistGridLine& g : distanceGrid(da)) {
    p.setPen(QPen(g.major ? rgba(0.8, 0.8, 0.8, 0.3) : rgba(0.5, 0.5, 0.5, 0.1), 1));
    p.drawLine(f.pt(50 + g.offset, 20), f.pt(50 + g.offset, H - 32));
  }
  p.setRenderHint(QPainter::Antialiasing, true);
  for (const AxisLabel& l : distanceLabels(da)) {
    int x = 50 + l.offset - 22;
    if (x + 45 > W) x = W - 45;
    p.setPen(bandLabelColor(distanceBand(double(l.value)), 0.8));
    p.drawText(f.rect(x, 5, 45, 14), Qt::AlignHCenter | Qt::AlignVCenter,
               QString::fromStdString(distanceLabelText(l.value, da.L)));
  }

  if (m.total_dist > 0 && !m.points.empty()) {
    const long long span = ea.end_elev - ea.start_elev;
    auto xOf = [&](const GraphPoint& g) { return 50 + g.dist * pw / m.total_dist; };
    auto yFill = [&](const GraphPoint& g) {
      const double e = g.elev == kUnknownElevation ? ea.start_elev : g.elev;
      return 20 + (e - ea.start_elev) * ph / span;
    };
    auto yLine = [&](const GraphPoint& g) {
      long long e = std::isfinite(g.elev) ? static_cast<long long>(g.elev) : ea.start_elev;
      if (g.elev == kUnknownElevation || e < ea.start_elev) e = ea.start_elev;
      const long long y = 20 + ((e - ea.start_elev) * ph) / span;
      return double(y == 20 ? 21 : y);
    };
    QPolygonF outline;
    outline << f.pt(W - 15, 20) << f.pt(50, 20);
    outline += profilePolyline(m.points, f, 1.0, xOf, yFill);
    QPainterPath fill;
    fill.addPolygon(outline);
    fill.closeSubpath();
    QLinearGradient grad(f.pt(50, 20), f.pt(50, H - 32));
    grad.setColorAt(0, rgba(0, 0.5, 0.5, 0));
    grad.setColorAt(1, rgba(0, 0.5, 0.5, 0.25));
    p.fillPath(fill, grad);
    p.setPen(QPen(rgba(0.5, 1, 1, 0.7), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin));
    p.drawPolyline(profilePolyline(m.points, f, 1.0, xOf, yLine));
    if (m.drawsWayPoints()) {
      WayPointStyle st;
      st.font = graphFont("HiraKakuProN-W3", 13);
      st.ring = &chrome.waypoint;
      drawWayPoints(p, f, m, {50, 20, double(pw), double(ph)}, st,
                    [&](std::size_t i) { return QPointF(xOf(m.points[i]), yLine(m.points[i])); });
    }
    if (m.show_rest && !chrome.rest.isNull()) {
      for (const GraphRest& r : m.rests) {
        const GraphPoint& g = m.points[static_cast<std::size_t>(r.index)];
        p.drawImage(f.rect(std::trunc(xOf(g) - r.side / 2.0), std::trunc(yLine(g) + 2), r.side, r.side), chrome.rest);
      }
    }
  }
  p.restore();
  return info;
}

}  // namespace tw
