#include "app/MapLayers.h"

#include <QPainter>
#include <QPainterPath>

#include "app/AppDelegate.h"

QWidget* createMapLayer(MapLayer kind, AppDelegate& d, QWidget* parent)
{
  QWidget* w = nullptr;
  if (kind == MapLayer::Overlay)
    w = new OverlayPlaceholder(d, parent);
  else
    w = new PlaceholderLayer(kind, parent);
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
