#include "view/LayerViews.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "app/AppDelegate.h"
#include "view/MapFonts.h"
#include "view/RouteRenderer.h"
#include "view/ViewCoords.h"

namespace {

QColor toQColor(const tw::RGBA& c) { return QColor::fromRgbF(c.r, c.g, c.b, c.a); }

}  // namespace

ZoomableLayer::ZoomableLayer(AppDelegate* d, QWidget* parent) : QWidget(parent), d_(d)
{
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ZoomableLayer::beginZoom(QPointF anchor)
{
  if (!frozen()) frozen_ = grab();
  anchor_ = anchor;
  scale_ = 1.0;
}

void ZoomableLayer::setZoomScale(double s)
{
  scale_ = s;
  update();
}

void ZoomableLayer::endZoom()
{
  frozen_ = QPixmap();
  scale_ = 1.0;
}

void ZoomableLayer::requestRedraw()
{
  ++redrawRequests;
  update();
}

void ZoomableLayer::paintEvent(QPaintEvent*)
{
  QPainter p(this);
  if (frozen()) {
    // The old picture, scaled about the anchor, until the animation ends.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.translate(anchor_);
    p.scale(scale_, scale_);
    p.translate(-anchor_);
    p.drawPixmap(0, 0, frozen_);
    return;
  }
  paintLayer(p);
}

MapView::MapView(AppDelegate* d, QWidget* parent) : ZoomableLayer(d, parent) {}

MapView::~MapView()
{
  if (d_->mapView == this) d_->mapView = nullptr;
  if (d_->baseView == parentWidget()) d_->baseView = nullptr;
}

void MapView::paintLayer(QPainter& p)
{
  d_->resetMapPosition(0);
  if (d_->mode == tw::Mode::Print) return d_->drawPrintMap(p, size());
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  p.setRenderHint(QPainter::Antialiasing, false);
  const tw::DRect& fore = d_->view.foreRect;
  const int ox = static_cast<int>(fore.x), oy = static_cast<int>(fore.y);
  for (const MapImagePtr& img : d_->tileStore.images()) {
    const tw::DRect r{img->tile.x * 256.0, img->tile.y * 256.0, 256, 256};
    if (!r.intersects(fore) || img->image.isNull()) continue;
    p.drawImage(QRect(img->tile.x * 256 - ox, img->tile.y * 256 - oy, 256, 256), img->image);
  }
}

void MapView::resizeEvent(QResizeEvent*) { d_->frameDidChange(); }

RouteView::RouteView(AppDelegate* d, QWidget* parent) : ZoomableLayer(d, parent) {}

RouteView::~RouteView()
{
  if (d_->routeView == this) d_->routeView = nullptr;
}

void RouteView::paintLayer(QPainter& p)
{
  if (d_->mode == tw::Mode::Print) return d_->drawPrintLayers(p, size());
  std::vector<int> rows;
  const tw::RouteInput in = d_->routeInput(rows, d_->doc.states);
  tw::drawRoute(p, in, {toQColor(d_->derived.routeColor), toQColor(d_->derived.downColor)}, d_->markers,
                d_->view.foreRect);

  tw::WayPointStyle ws;
  ws.show_wp = d_->config.intValue(tw::key::show_waypoint);
  ws.wp_type = d_->config.intValue(tw::key::waypoint_type);
  ws.mode = d_->mode;
  ws.wayPointMode = d_->isWayPointMode();
  ws.trackEditMode = d_->isTrackMode();
  ws.show_list = d_->derived.show_list;
  ws.mouse_on_map = d_->isMouseOnMap();
  std::vector<int> wpRows;
  if (ws.show_list == 2 && d_->selectedListRows) wpRows = d_->selectedListRows();
  ws.selected_rows = &wpRows;
  const std::string font = d_->config.stringValue(tw::key::wp_font_name);
  if (!font.empty()) ws.font_name = QString::fromStdString(font);
  ws.color = toQColor(d_->derived.wpColor);
  tw::drawWayPoint(p, d_->doc.waypoints, d_->view.zoom, d_->view.foreRect, ws, d_->markers);
  d_->drawPrintArea(p, size());
}

ScaleView::ScaleView(AppDelegate* d, QWidget* parent) : QWidget(parent), d_(d)
{
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

ScaleView::~ScaleView()
{
  if (d_->scaleView == this) d_->scaleView = nullptr;
}

void ScaleView::paintEvent(QPaintEvent*)
{
  const auto bar = tw::scaleBar(d_->view.zoom, d_->view.x_rate);
  if (!bar || d_->mode == tw::Mode::Print) return;
  const int b = bar->length;
  const double H = height();
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(tw::toQt(0, 0, b + 30, 40, H), QColor::fromRgbF(1, 1, 1, 0.3));
  p.setPen(QPen(Qt::black, 1));
  auto line = [&](double x1, double y1, double x2, double y2) { p.drawLine(tw::toQt(x1, y1, H), tw::toQt(x2, y2, H)); };
  line(10, 30, 10, 22);
  line(10, 22, b + 10, 22);
  line(b + 10, 22, b + 10, 30);
  line(b / 2 + 10, 22, b / 2 + 10, 29);
  line(10, 26, b + 10, 26);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setFont(tw::mapFont(QStringLiteral("Helvetica"), 12));
  p.drawText(tw::toQt(-10, 0, 40, 18, H), Qt::AlignCenter, QStringLiteral("0"));
  p.drawText(tw::toQt(b - 40, 0, 100, 18, H), Qt::AlignCenter, QString::fromStdString(bar->label));
}

LogoView::LogoView(AppDelegate* d, QWidget* parent) : QWidget(parent), d_(d)
{
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

LogoView::~LogoView()
{
  if (d_->logoView == this) d_->logoView = nullptr;
}

QString LogoView::text() const
{
  return QString::fromStdString(tw::attributionText(d_->mode, d_->derived.map_type, d_->view.zoom));
}

void LogoView::paintEvent(QPaintEvent*)
{
  const QString t = text();
  if (t.isEmpty()) return;
  QPainter p(this);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.setFont(tw::mapFont(QStringLiteral("HiraMaruPro-W4"), 16));
  const QRect r = tw::toQt(width() - 160, 0, 160, 18, height()).toAlignedRect();
  p.setPen(Qt::white);
  p.drawText(r, Qt::AlignCenter, t);
  p.setPen(Qt::black);
  p.drawText(r.translated(-1, -1), Qt::AlignCenter, t);
}

ZoomView::ZoomView(AppDelegate* d, QWidget* parent) : QWidget(parent), d_(d) {}

ZoomView::~ZoomView()
{
  if (d_->zoomView == this) d_->zoomView = nullptr;
}

void ZoomView::paintEvent(QPaintEvent*)
{
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, false);
  const bool print = d_->mode == tw::Mode::Print;
  const QRectF inner(1, 1, width() - 2, height() - 2);
  const double h = inner.height() / tw::ZoomSlider::kPositions;
  if (print) p.fillRect(inner, QColor::fromRgbF(1, 1, 1, 0.8));
  for (int row = 0; row < tw::ZoomSlider::kPositions; ++row) {
    const tw::SliderColor c = tw::ZoomSlider::rowColor(row, print);
    p.fillRect(QRectF(inner.x(), inner.y() + row * h, inner.width(), h), QColor::fromRgbF(c.r, c.g, c.b, c.a));
  }
  // The marker at `pos`, counted from the bottom.
  const QRectF marker = tw::toQt(inner.x() + 2, d_->slider.pos * h + 3, 16, 16, height());
  static const QImage pointer = namedImage(QStringLiteral("pointer"));
  p.drawImage(marker, pointer);
  p.setPen(QPen(Qt::black, 1));
  for (int i = 1; i < tw::ZoomSlider::kPositions; ++i) {
    const double y = std::trunc(h * i + 1);
    p.drawLine(QPointF(1, height() - y), QPointF(inner.width() + 1, height() - y));
  }
  p.setBrush(Qt::NoBrush);
  p.drawRect(inner);
}

void ZoomView::mouseReleaseEvent(QMouseEvent* e)
{
  const int row = tw::ZoomSlider::rowAt(height() - e->position().y(), 0, height());
  if (d_->mode == tw::Mode::Print) {
    d_->slider.updatePosition(row, true);
    d_->updateZoom(d_->slider.pos);
  } else {
    d_->slider.updateZoom(row + 6, false);
    d_->updateZoom(static_cast<int>(d_->slider.zoom));
  }
  update();
}
