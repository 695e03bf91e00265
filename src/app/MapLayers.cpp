#include "app/MapLayers.h"

#include <QPainter>
#include <QPainterPath>

#include "app/AppDelegate.h"
#include "graph/GraphView.h"
#include "view/InfoView.h"
#include "view/LayerViews.h"

QWidget* createMapLayer(MapLayer kind, AppDelegate& d, QWidget* parent)
{
  QWidget* w = nullptr;
  d.baseView = parent;
  switch (kind) {
    case MapLayer::Map: w = d.mapView = new MapView(&d, parent); break;
    case MapLayer::Route: w = d.routeView = new RouteView(&d, parent); break;
    case MapLayer::Overlay: w = d.infoView = new InfoView(&d, parent); break;
    case MapLayer::Scale: w = d.scaleView = new ScaleView(&d, parent); break;
    case MapLayer::Logo: w = d.logoView = new LogoView(&d, parent); break;
    case MapLayer::Zoom: w = d.zoomView = new ZoomView(&d, parent); break;
    case MapLayer::Graph: w = new GraphView(d, parent); break;
  }
  if (kind == MapLayer::Graph) w->hide();  // shown by the graph toggle
  return w;
}

PlaceholderLayer::PlaceholderLayer(MapLayer kind, QWidget* parent) : QWidget(parent), kind_(kind)
{
  setAttribute(Qt::WA_TransparentForMouseEvents, kind != MapLayer::Map);
  setObjectName(QStringLiteral("placeholderLayer"));
}

void PlaceholderLayer::paintEvent(QPaintEvent*)
{
  if (kind_ != MapLayer::Map) return;
  // A pale ground with a faint 256-pixel grid where the tiles will be.
  QPainter p(this);
  p.fillRect(rect(), QColor(238, 236, 228));
  p.setPen(QColor(222, 220, 210));
  for (int x = 0; x < width(); x += 256) p.drawLine(x, 0, x, height());
  for (int y = 0; y < height(); y += 256) p.drawLine(0, y, width(), y);
}

OverlayPlaceholder::OverlayPlaceholder(AppDelegate& d, QWidget* parent) : QWidget(parent), d_(d)
{
  setObjectName(QStringLiteral("overlayLayer"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  connect(&d, &AppDelegate::messageChanged, this, qOverload<>(&QWidget::update));
}

void OverlayPlaceholder::paintEvent(QPaintEvent*)
{
  if (d_.message.isEmpty()) return;
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  QFont f = font();
  f.setPixelSize(16);
  p.setFont(f);
  const QRect text = p.fontMetrics().boundingRect(QRect(0, 0, width() - 40, height()), Qt::AlignCenter | Qt::TextWordWrap,
                                                   d_.message);
  QRectF box(0, 0, text.width() + 24, text.height() + 14);
  box.moveCenter(QPointF(width() / 2.0, 40 + box.height() / 2));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 220));
  p.drawRoundedRect(box, 6, 6);
  p.setPen(Qt::black);
  p.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, d_.message);
}
