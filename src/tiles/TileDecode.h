#pragma once
// Turning a downloaded tile body into a cached MapImage.

#include <QByteArray>
#include <QImage>

#include "tiles/MapImage.h"

namespace tw {

// First image of a PNG or JPEG body; null when it is not an image. Palette PNGs stay 8-bit
// indexed with their colour table (1-, 2- and 4-bit palettes are widened to 8 bits).
QImage decodeTile(const QByteArray& body);

// The 256 × 256 "no_data" placeholder cached for tiles that could not be fetched.
QImage noDataImage();

// A tile for the cache: decoded image, and in print mode the side data of the print
// preparation (a palette image keeps its pixels; others are normalised to 32-bit first).
// Null when the body does not decode.
MapImagePtr makeMapImage(const QByteArray& body, const Tile& k, bool printMode);
MapImagePtr makePlaceholder(const Tile& k);

}  // namespace tw
