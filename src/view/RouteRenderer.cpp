#include "view/RouteRenderer.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

#include "view/MapFonts.h"
#include "view/WayPointLabels.h"

namespace tw {

namespace {

const QImage& markerImage(const MarkerImages& img, const Marker& m)
{
  switch (m.kind) {
    case MarkerKind::Track: return m.small ? img.track15_img : img.track_img;
    case MarkerKind::Peak: return m.small ? img.peak15_img : img.peak_img;
    case MarkerKind::Col: return m.small ? img.col15_img : img.col_img;
    case MarkerKind::Active: return m.small ? img.active15_img : img.active_img;
    case MarkerKind::Start: return img.start_img;
    case MarkerKind::End: return img.end_img;
    case MarkerKind::Rest: return img.rest_img;
  }
  return img.track_img;
}

}  // namespace

void strokeStretch(CoverageCanvas& canvas, const std::vector<Track>& pts, const Stretch& s, int shift,
                   const DRect& fore, float lineWidth, float scale)
{
  thread_local std::vector<FPoint> poly;
  poly.clear();
  int32_t lx = 0, ly = 0;
  for (size_t k = s.first; k <= s.last; ++k) {
    const int32_t x = pts[k].x >> shift, y = pts[k].y >> shift;
    if (!poly.empty() && x == lx && y == ly) continue;  // adds nothing to a round-joined line
    poly.push_back({static_cast<float>(x - fore.x) * scale, static_cast<float>(y - fore.y) * scale});
    lx = x;
    ly = y;
  }
  canvas.strokePolyline(poly.data(), poly.size(), lineWidth * scale);
}

void drawRoute(QPainter& p, const RouteInput& in, const RouteStyle& style, const MarkerImages& img, const DRect& fore)
{
  const RoutePlan plan = planRoute(in);
  if (in.track_mode == TrackMode::Hidden || !in.tracks) return;
  const int shift = 18 - in.zoom;
  const int lw = static_cast<int>(fore.width), lh = static_cast<int>(fore.height);
  if (lw <= 0 || lh <= 0) return;
  // One layer pixel per device pixel: at a ratio of 2 a logical-size layer would be doubled.
  const double dpr = p.device() ? std::max(1.0, p.device()->devicePixelRatioF()) : 1.0;
  const int w = static_cast<int>(std::ceil(lw * dpr)), h = static_cast<int>(std::ceil(lh * dpr));

  // Each stretch is one stroke at alpha 0.9 (the configured alpha is for print): its own
  // overlaps are covered once, and later stretches blend over earlier ones.
  thread_local QImage layer;
  thread_local std::unique_ptr<CoverageCanvas> canvas;
  if (layer.size() != QSize(w, h)) {
    layer = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
    canvas = std::make_unique<CoverageCanvas>(w, h);
  }
  layer.setDevicePixelRatio(dpr);
  if (!plan.stretches.empty()) {
    layer.fill(Qt::transparent);
    auto* bits = reinterpret_cast<uint32_t*>(layer.bits());
    const int stride = static_cast<int>(layer.bytesPerLine() / 4);
    for (const Stretch& s : plan.stretches) {
      const QColor c = s.down ? style.down : style.route;
      strokeStretch(*canvas, (*in.tracks)[static_cast<size_t>(s.track)].points, s, shift, fore,
                    static_cast<float>(plan.lineWidth), static_cast<float>(dpr));
      canvas->compositeOver(bits, stride, static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
                            static_cast<uint8_t>(c.blue()), 0.9f);
    }
    p.drawImage(QPointF(0, 0), layer);
  }

  // Markers are scaled into their squares (in device pixels) once, then copied at whole pixels.
  thread_local std::map<std::pair<qint64, int>, QImage> scaled;
  if (scaled.size() > 64) scaled.clear();
  const QRectF visible(0, 0, fore.width, fore.height);
  for (const Marker& m : plan.markers) {
    const QRectF r(m.x - fore.x, m.y - fore.y, m.size, m.size);
    if (!r.intersects(visible)) continue;
    const QImage& im = markerImage(img, m);
    if (im.isNull()) continue;
    const int side = static_cast<int>(std::lround(m.size * dpr));
    QImage& sized = scaled[{im.cacheKey(), side}];
    if (sized.isNull()) {
      sized = im.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                  .convertToFormat(QImage::Format_ARGB32_Premultiplied);
      sized.setDevicePixelRatio(static_cast<double>(side) / m.size);
    }
    p.drawImage(r.topLeft(), sized);
  }
}

void drawWayPoint(QPainter& p, const std::vector<WayPoint>& wps, int zoom, const DRect& fore, const WayPointStyle& st,
                  const MarkerImages& img)
{
  if (st.show_wp == 0 || st.mode == Mode::Print || st.trackEditMode) return;
  const QFont font = mapFont(st.font_name, 4 * zoom - 38);
  const QFontMetricsF fm(font);
  const int shift = 18 - zoom;
  p.save();
  p.setFont(font);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.setRenderHint(QPainter::SmoothPixmapTransform, true);
  for (const WayPoint& w : wps) {
    const double px = w.x >> shift, py = w.y >> shift;
    const QString name = QString::fromStdString(w.getMapName());
    if ((st.wp_type & 2) && zoom >= 12 && !name.isEmpty() && DRect{px - 32, py - 32, 512, 64}.intersects(fore)) {
      const QSizeF size = fm.size(Qt::TextSingleLine, name);
      const DPoint o = labelOrigin(w.pos, px, py, size.width(), size.height());
      // Layer y-up (X, Y) of a box h high is Qt (X − fore.x, −Y − fore.y − h).
      const QRect r = QRectF(o.x - fore.x, -o.y - fore.y - size.height(), size.width(), size.height()).toAlignedRect();
      p.setPen(Qt::white);
      p.drawText(r.translated(-1, 1), Qt::AlignLeft | Qt::AlignVCenter, name);
      p.drawText(r.translated(1, -1), Qt::AlignLeft | Qt::AlignVCenter, name);
      p.setPen(st.color);
      p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, name);
    }
    if ((st.wp_type & 1) && DRect{px - 16, py - 16, 32, 32}.intersects(fore) && !img.wp_img.isNull())
      p.drawImage(QRectF(px - 8 - fore.x, py - 8 - fore.y, 16, 16), img.wp_img);
  }
  if (st.wayPointMode && st.show_list == 2 && (st.wp_type & 1) && !st.mouse_on_map && st.selected_rows &&
      !img.active_wp_img.isNull()) {
    for (int row : *st.selected_rows) {
      if (row < 0 || row >= static_cast<int>(wps.size())) continue;
      const WayPoint& w = wps[static_cast<size_t>(row)];
      p.drawImage(QRectF((w.x >> shift) - 8 - fore.x, (w.y >> shift) - 8 - fore.y, 16, 16), img.active_wp_img);
    }
  }
  p.restore();
}

}  // namespace tw
