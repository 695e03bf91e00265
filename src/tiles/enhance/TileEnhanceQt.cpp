#include "tiles/enhance/TileEnhanceQt.h"

#include <QImageWriter>
#include <cstring>

namespace tw {

namespace {

PixelView viewOf(const QImage& rgba)
{
  return {rgba.constBits(), rgba.width(), rgba.height(), rgba.bytesPerLine(), 4};
}

}  // namespace

bool checkGrayScale(const QImage& image) { return image.colorTable().isEmpty(); }

QImage normalize(const QImage& image) { return image.convertToFormat(QImage::Format_RGBA8888_Premultiplied); }

ClassMap parseImage32(const QImage& normalized)
{
  if (normalized.format() != QImage::Format_RGBA8888_Premultiplied) return parseImage32(viewOf(normalize(normalized)));
  return parseImage32(viewOf(normalized));
}

ClassMap parseImage8(const QImage& palette) { return parseImage8(toImage8(palette)); }

Image8 toImage8(const QImage& palette)
{
  // Lower palette depths (OpenStreetMap sends 4-bit tiles) widen to one index per byte.
  const QImage img = palette.format() == QImage::Format_Indexed8 ? palette : palette.convertToFormat(QImage::Format_Indexed8);
  Image8 out(img.width(), img.height());
  for (int y = 0; y < img.height(); ++y) std::memcpy(&out.at(0, y), img.constScanLine(y), std::size_t(img.width()));
  const QList<QRgb> table = img.colorTable();
  for (QRgb c : table) out.table.push_back({uint8_t(qRed(c)), uint8_t(qGreen(c)), uint8_t(qBlue(c))});
  return out;
}

QImage fromImage8(const Image8& image)
{
  QImage out(image.width, image.height, QImage::Format_Indexed8);
  QList<QRgb> table;
  for (const Rgb& c : image.table) table.push_back(qRgb(c.r, c.g, c.b));
  // An index beyond the table (the fallback road index 255) must still name a colour.
  int roadIdx = -1;
  for (uint8_t v : image.indices) roadIdx = std::max<int>(roadIdx, v);
  while (table.size() <= roadIdx) table.push_back(qRgb(0, 0, 0));
  out.setColorTable(table);
  for (int y = 0; y < image.height; ++y) std::memcpy(out.scanLine(y), &image.indices[std::size_t(y) * image.width], std::size_t(image.width));
  return out;
}

QImage fromImage32(const Image32& image)
{
  QImage out(image.width, image.height, QImage::Format_RGBA8888_Premultiplied);
  for (int y = 0; y < image.height; ++y) std::memcpy(out.scanLine(y), image.at(0, y), std::size_t(image.width) * 4);
  return out;
}

QImage fromGray8(const Gray8& image)
{
  QImage out(image.width, image.height, QImage::Format_Grayscale8);
  for (int y = 0; y < image.height; ++y) std::memcpy(out.scanLine(y), &image.pixels[std::size_t(y) * image.width], std::size_t(image.width));
  return out;
}

QImage fromEnhanced(const EnhancedTile& tile)
{
  switch (tile.kind) {
    case EnhancedTile::kPalette: return fromImage8(tile.palette);
    case EnhancedTile::kGray: return fromGray8(tile.gray);
    case EnhancedTile::kRgba: break;
  }
  return fromImage32(tile.rgba);
}

QImage enhanceTile(const QImage& image, const ClassMap* classes, const EnhanceSettings& s)
{
  if (!checkGrayScale(image)) return fromEnhanced(enhanceTile8(toImage8(image), classes, s));
  const QImage rgba = image.format() == QImage::Format_RGBA8888_Premultiplied ? image : normalize(image);
  return fromEnhanced(enhanceTile32(viewOf(rgba), classes, s));
}

bool CGImageWriteToFile(const QImage& image, const QString& path)
{
  QImageWriter writer(path, "png");
  return writer.write(image);
}

}  // namespace tw
