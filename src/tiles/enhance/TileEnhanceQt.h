#pragma once
// QImage adapters for the print preparation of map tiles (see TileEnhance.h).

#include <QImage>
#include <QString>

#include "tiles/enhance/TileEnhance.h"

namespace tw {

// True when the image has no colour table (treated as 32-bit).
bool checkGrayScale(const QImage& image);
// A 32-bit R, G, B, A copy, alpha premultiplied and last, same size, no interpolation.
QImage normalize(const QImage& image);
// Class maps of a tile as it was decoded (palette) or as `normalize` made it (32-bit).
ClassMap parseImage32(const QImage& normalized);
ClassMap parseImage8(const QImage& palette);

Image8 toImage8(const QImage& palette);
QImage fromImage8(const Image8& image);
QImage fromImage32(const Image32& image);
QImage fromGray8(const Gray8& image);
QImage fromEnhanced(const EnhancedTile& tile);

// The composition pipeline for one cached tile; `classes` null for the placeholder.
QImage enhanceTile(const QImage& image, const ClassMap* classes, const EnhanceSettings& s);

// Writes the image as PNG; false when the file cannot be written.
bool CGImageWriteToFile(const QImage& image, const QString& path);

}  // namespace tw
