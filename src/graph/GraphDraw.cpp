#include "graph/GraphDraw.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "analysis/Rests.h"
#include "analysis/TrackAnalysis.h"
#include "app/ConfigSchema.h"
#include "document/DocumentState.h"
#include "graph/GraphPaint.h"
#include "view/MapFonts.h"

namespace tw {

namespace {

const double kBand[7][3] = {{1, 1, 1}, {0.5, 1, 1}, {0.5, 1, 0.5}, {1, 1, 0.5}, {1, 0.65, 0}, {0.8, 0.5, 0.3}, {1, 0.3, 0.3}};

QString fmt(const char* format, auto... args)
{
  return QString::asprintf(format, args...);
}

}  // namespace

QColor bandLabelColor(int band, double alpha)
{
  const auto& c = kBand[std::clamp(band, 0, 6)];
  return QColor::fromRgbF(float(c[0]), float(c[1]), float(c[2]), float(alpha));
}

QColor bandGridColor(int band, double alpha)
{
  if (band == 5) return QColor::fromRgbF(0.6f, 0.5f, 0.3f, float(alpha));
  return bandLabelColor(band, alpha);
}

GraphModel buildGraphModel(const std::vector<Track>& pts, Section section, const TrackStats& stats,
                           const std::vector<int>& states, const std::vector<WayPoint>& waypoints)
{
  GraphModel m;
  m.valid = true;
  m.total_dist = stats.total_dist;
  m.total_up = stats.total_up;
  m.total_down = stats.total_down;
  m.max_elev = stats.max_elev;
  m.min_elev = stats.min_elev;
  m.peak_count = stats.peak_count;
  for (const WayPoint& w : waypoints) m.wpNames.push_back(w.getGraphName());
  if (!sectionInside(section, pts.size())) return m;
  const auto first = static_cast<std::size_t>(section.start), last = static_cast<std::size_t>(section.end);
  m.points.reserve(last - first);
  double d = 0;
  for (std::size_t i = first; i < last; ++i) {
    if (i > first && std::isfinite(pts[i].seg_dist)) d += pts[i].seg_dist;
    m.points.push_back({static_cast<float>(d), pts[i].elev, pts[i].wp_index});
  }
  if (states.size() == pts.size()) {
    for (std::size_t i = first; i < last; ++i) {
      if (states[i] != kStateRestStart) continue;
      std::size_t e = i + 1;
      while (e < last && states[e] != kStateRestEnd) ++e;
      if (e >= last) e = last - 1;
      const auto& a = pts[i].time;
      const auto& b = pts[e].time;
      const bool long_rest = a && b && std::chrono::duration_cast<std::chrono::seconds>(*b - *a).count() > 599;
      m.rests.push_back({static_cast<int32_t>(i - first), long_rest ? 16 : 12});
    }
  }
  return m;
}

void applyGraphSwitches(GraphModel& m, const Config& config)
{
  m.show_graph_wp = config.isOn(key::show_graph_wp);
  m.graph_wp_type = config.intValue(key::graph_wp_type);
  m.show_rest = config.isOn(key::show_rest);
}

GraphModel graphModelFor(const DocumentState& doc, const Config& config, bool cycling)
{
  GraphModel m;
  if (const TrackInfo* active = doc.activeTrack()) {
    TrackInfo copy = *active;
    const TrackAnalysis a = analyzeTrack(copy, cycling);
    m = buildGraphModel(copy.points, {0, static_cast<int>(copy.points.size())}, a.stats, a.states, doc.waypoints);
    m.stable = copy.stable;
  }
  m.outside = doc.outside;
  m.invalid_track = doc.invalid_track;
  m.cycling = cycling;
  applyGraphSwitches(m, config);
  return m;
}

namespace graphpaint {

QFont graphFont(const char* name, double size) { return mapFont(QString::fromLatin1(name), size); }

void drawWayPoints(QPainter& p, const Flip& f, const GraphModel& m, const GRect& plot, const WayPointStyle& st,
                   const std::function<QPointF(std::size_t)>& posOf)
{
  const bool marks = (m.graph_wp_type & 1) != 0, names = (m.graph_wp_type & 2) != 0;
  const QFontMetricsF fm(st.font);
  const auto nwp = static_cast<int>(m.wpNames.size());
  struct Mark {
    QPointF at;
    GRect label;
    double below = 0;
    int wp = 0;
    float elev = 0;
  };
  std::vector<Mark> list;
  WayPointMarker marker;
  for (std::size_t i = 0; i < m.points.size(); ++i) {
    const int wp = m.points[i].wp;
    if (wp < 0 || wp >= nwp) continue;
    const QPointF at = posOf(i);
    if (!marker.mark(m.points[i].dist, at.x(), wp)) continue;
    Mark mk{at, {}, 0, wp, m.points[i].elev};
    if (names) {
      const QString text = QString::fromStdString(m.wpNames[static_cast<std::size_t>(wp)]);
      const double w = std::ceil(fm.horizontalAdvance(text)), h = std::ceil(fm.height());
      const double base = at.y() + (marks ? st.markBase : st.noMarkBase);
      mk.below = base - (marks ? st.markBelow : st.noMarkBelow);
      mk.label = placeWayPointLabel({at.x() - w / 2, base, w, h}, mk.below, plot);
    }
    list.push_back(mk);
  }
  // The label standing highest keeps its place; the others give way to it.
  std::size_t top = list.size();
  for (std::size_t k = 0; k < list.size(); ++k)
    if (names && (top == list.size() || list[k].label.top() > list[top].label.top())) top = k;
  GRect last1, last2;
  for (std::size_t k = 0; k < list.size(); ++k) {
    Mark& mk = list[k];
    if (marks) {
      if (st.screen) {
        if (st.ring && !st.ring->isNull())
          p.drawImage(f.rect(std::trunc(mk.at.x() - 8), std::trunc(mk.at.y() - 8), 16, 16), *st.ring);
      } else {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor::fromRgbF(1, 1, 1, 0.3f));
        p.drawEllipse(f.rect(mk.at.x() - 3, mk.at.y() - 3, 6, 6));
      }
    }
    if (!names) continue;
    GRect r = mk.label;
    if (k != top) r = avoidWayPointLabels(r, mk.below, plot, {&list[top].label, &last1, &last2});
    const int band = elevationBand(std::trunc(mk.elev));
    p.setFont(st.font);
    p.setPen(st.screen ? bandLabelColor(band, band == 0 ? 0.8 : 0.9) : QColor(Qt::black));
    p.drawText(f.rect(r), Qt::AlignHCenter | Qt::AlignBottom | Qt::TextDontClip,
               QString::fromStdString(m.wpNames[static_cast<std::size_t>(mk.wp)]));
    last2 = last1;
    last1 = r;
  }
}

}  // namespace graphpaint

using namespace graphpaint;

std::vector<QString> printInfoVariants(const GraphModel& m)
{
  const double km = m.total_dist / 1000.0;
  const QString updown = m.invalid_track ? QStringLiteral("?m/?m")
                                         : fmt("%dm/%dm", int(std::trunc(m.total_up)), int(std::trunc(m.total_down)));
  const QString q = m.stable != 0 ? QStringLiteral("?") : QString();
  const QString head = fmt("距離: %4.3fkm 累積標高(登り/下り): ", km) + updown;
  const QString peaks = head + fmt(" ピーク数: %d個", m.peak_count) + q;
  std::vector<QString> v;
  if (m.max_elev != 0 && m.min_elev != 3800)
    v.push_back(peaks + fmt(" 標高差: %dm", int(std::trunc(m.max_elev - m.min_elev))));
  v.push_back(peaks);
  v.push_back(head);
  v.push_back(fmt("距離: %4.3fkm 累積標高: ", km) + updown);
  v.push_back(fmt("%4.3fkm ", km) + updown);
  v.push_back(fmt("%4.3fkm", km));
  return v;
}

void drawGraphPDF(QPainter& p, const QRectF& R, bool pdf, const GraphModel& m)
{
  p.save();
  const double h = pdf ? 16 : 18;
  const Flip f{R.x(), R.y() + R.height()};
  p.fillRect(R, Qt::white);
  const double lw = pdf ? 0.8 : 1.0;
  p.setRenderHint(QPainter::Antialiasing, pdf);
  p.setPen(QPen(Qt::black, lw));
  p.setBrush(Qt::NoBrush);
  if (pdf)
    p.drawRect(QRectF(R.x() + 0.4, R.y() + 0.4, R.width() - 0.8, R.height() - 0.8));
  else
    p.drawRect(QRectF(R.x() + 0.5, R.y() + 0.5, R.width() - 1, R.height() - 1));

  const double left = pdf ? 48 : 50, right = pdf ? 8 : 15;
  const double a = m.graphTrackInfo ? h + 3 : 3;
  const bool wpOn = m.graphWayPoint != 0;
  const double topM = wpOn ? a + h : a, bottomM = wpOn ? 2 * h + 3 : h + 3;
  // Plot rectangle in the y-up space of R, corners truncated.
  const double x0 = std::trunc(left), y0 = std::trunc(bottomM);
  const double x1 = std::trunc(R.width() - right), y1 = std::trunc(R.height() - topM);
  const int pw = int(x1 - x0), ph = int(y1 - y0);
  const GRect plot{x0, y0, x1 - x0, y1 - y0};

  if (m.graphTrackInfo) {
    const QFont font = graphFont("HiraKakuProN-W3", pdf ? 11 : 14);
    const QFontMetricsF fm(font);
    p.setFont(font);
    p.setPen(Qt::black);
    for (const QString& t : printInfoVariants(m)) {
      if (left + fm.horizontalAdvance(t) > R.width()) continue;
      const double bottom = R.height() - (h + 3) - (pdf ? 0 : 2);
      p.drawText(f.rect(left, bottom, R.width() - left, h), Qt::AlignLeft | Qt::AlignBottom, t);
      break;
    }
  }

  const bool wpDraw = wpOn && m.drawsWayPoints();
  int headroom = 0;
  if (wpDraw) headroom = ((m.graph_wp_type & 1) ? (pdf ? 5 : 6) : 0) + ((m.graph_wp_type & 2) ? (pdf ? 13 : 18) : 0);
  const ElevAxis ea = elevationAxis(m.min_elev, m.max_elev, ph, headroom);
  const DistAxis da = distanceAxis(m.total_dist, pw, 15);

  // Grid, then the plot's frame over it.
  p.setRenderHint(QPainter::Antialiasing, pdf);
  const QColor grey = QColor::fromRgbF(0.5f, 0.5f, 0.5f, 0.8f);
  p.setPen(QPen(grey, pdf ? 0.2 : 1.0));
  for (const AxisLabel& g : elevationGrid(ea, ea.s <= 15))
    p.drawLine(f.pt(x0, y0 + g.offset), f.pt(x1, y0 + g.offset));
  QPen solid(grey, pdf ? 0.2 : 1.0), dashed(solid);
  dashed.setDashPattern({2 / dashed.widthF(), 2 / dashed.widthF()});
  for (const DistGridLine& g : distanceGrid(da)) {
    p.setPen(g.major ? solid : dashed);
    p.drawLine(f.pt(x0 + g.offset, y0), f.pt(x0 + g.offset, y1));
  }

  p.setPen(QPen(Qt::black, lw));
  p.drawRect(f.rect(plot));

  // Labels.
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  const QFont lf = graphFont("Helvetica", pdf ? 11 : 12);
  const double lh = pdf ? 13 : 14;
  p.setFont(lf);
  p.setPen(Qt::black);
  for (const AxisLabel& l : elevationLabels(ea))
    p.drawText(f.rect(0, y0 + l.offset - 5, x0 - 5, lh), Qt::AlignRight | Qt::AlignVCenter,
               fmt("%dm", int(l.value)));
  for (const AxisLabel& l : distanceLabels(da)) {
    double x = x0 + l.offset - 22;
    if (x + 45 > R.width()) x = R.width() - 45;
    const double y = wpOn ? y1 + 3 : y0 - 1 - lh;
    p.drawText(f.rect(x, y, 45, lh), Qt::AlignHCenter | Qt::AlignVCenter,
               QString::fromStdString(distanceLabelText(l.value, da.L)));
  }

  // Profile.
  if (m.total_dist > 0 && !m.points.empty()) {
    const double span = ea.end_elev - ea.start_elev;
    auto xOf = [&](const GraphPoint& g) { return x0 + g.dist * pw / m.total_dist; };
    auto yOf = [&](const GraphPoint& g) {
      const double e = g.elev == kUnknownElevation ? ea.start_elev : g.elev;
      return y0 + (e - ea.start_elev) * ph / span;
    };
    const QPolygonF line = profilePolyline(m.points, f, pdf ? 0.25 : 0.5, xOf, yOf);
    QPolygonF outline;
    outline << f.pt(x1, y0) << f.pt(x0, y0);
    outline += line;
    QPainterPath fill;
    fill.addPolygon(outline);
    fill.closeSubpath();
    QLinearGradient grad(f.pt(x0, y0), f.pt(x0, y1));
    grad.setColorAt(0, QColor::fromRgbF(1, 1, 1, 1));
    grad.setColorAt(1, QColor::fromRgbF(0.8f, 0.8f, 0.8f, 0.5f));
    p.save();
    p.setClipRect(f.rect(plot), Qt::IntersectClip);
    p.fillPath(fill, grad);
    p.setPen(QPen(Qt::black, lw, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(line);
    p.restore();
    if (wpDraw) {
      WayPointStyle st;
      st.markBase = 3;
      st.noMarkBase = 1;
      st.markBelow = 11;
      st.noMarkBelow = 5;
      st.font = graphFont("HiraMaruPro-W4", pdf ? 10 : 13);
      st.screen = false;
      drawWayPoints(p, f, m, plot, st, [&](std::size_t i) { return QPointF(xOf(m.points[i]), yOf(m.points[i])); });
    }
  }
  p.restore();
}

}  // namespace tw
