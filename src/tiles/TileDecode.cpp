#include "tiles/TileDecode.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include "tiles/enhance/TileEnhanceQt.h"

namespace tw {

QImage decodeTile(const QByteArray& body)
{
  QBuffer buffer;
  buffer.setData(body);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  // Tiles are 256 × 256; refuse decompression bombs.
  reader.setAllocationLimit(64);
  QImage image = reader.read();
  if (image.isNull()) return {};
  if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB)
    image = image.convertToFormat(QImage::Format_Indexed8);
  return image;
}

QImage noDataImage()
{
  static const QImage placeholder = [] {
    QImage img(256, 256, QImage::Format_ARGB32_Premultiplied);
    img.fill(QColor(236, 236, 236));
    QPainter p(&img);
    p.setPen(QPen(QColor(214, 214, 214), 1));
    for (int i = -256; i < 256; i += 16) p.drawLine(i, 256, i + 256, 0);
    p.setPen(QColor(150, 150, 150));
    p.drawRect(0, 0, 255, 255);
    p.drawText(QRect(0, 0, 256, 256), Qt::AlignCenter, QStringLiteral("No Data"));
    return img;
  }();
  return placeholder;
}

MapImagePtr makeMapImage(const QByteArray& body, const Tile& k, bool printMode)
{
  QImage image = decodeTile(body);
  if (image.isNull()) return nullptr;
  auto m = std::make_shared<MapImage>();
  m->tile = k;
  if (printMode) {
    if (!checkGrayScale(image)) {
      m->data = std::make_shared<const ClassMap>(parseImage8(image));
    } else {
      image = normalize(image);
      m->data = std::make_shared<const ClassMap>(parseImage32(image));
    }
  }
  m->image = std::move(image);
  return m;
}

MapImagePtr makePlaceholder(const Tile& k)
{
  auto m = std::make_shared<MapImage>();
  m->image = noDataImage();
  m->tile = k;
  return m;
}

}  // namespace tw
