#pragma once
// Print preparation of GSI standard-map tiles: a per-pixel class map computed at download,
// then optional road thickening and recolouring at composition, optionally to grey.
//
// Every operation returns a new buffer; the cached tile is never changed. Tiles are 256 × 256;
// pixels beyond that (never produced by the tile servers) count as class 0.

#include "tiles/enhance/PixelBuffer.h"

namespace tw {

enum PixelClass : uint8_t {
  kClassOther = 0,
  kClassRoad = 1,   // dark grey, and light grey joined to it
  kClassLight = 2,  // light grey not joined to dark grey
};

inline constexpr int kRoadJoinPasses = 5;
inline constexpr Rgb kContourColor{200, 160, 60};

// The print switches and the two colours derived from the configuration.
struct EnhanceSettings {
  Rgb contour_color = kContourColor;
  Rgb road_color{0, 0, 0};
  int road_depth = 100;  // 0..100
  bool strong_road = false;
  bool road = false;
  bool river = false;
  bool building = false;
  bool gray = false;
};

// `contour_color`: the configured colour (components 0..1, truncated to bytes) when `contour`
// is on, else the map's own contour colour, which leaves contour pixels unchanged.
Rgb contourColor(bool contour, double r, double g, double b);
// `road_color`: 100 − road_depth in every component.
Rgb roadColor(int road_depth);

int pixelClass(Rgb c);

// Class maps (kClassMapSize bytes), road joining included.
ClassMap parseImage32(const PixelView& image);
ClassMap parseImage8(const Image8& image);
// Light grey within kRoadJoinPasses 8-connected steps of dark grey becomes class 1.
void parseRoad(ClassMap& classes);

// Grows class-2 areas by one pixel: grey (100, 100, 100) in the 32-bit variant, the road
// index of the colour table in the palette variant (the table is kept).
Image32 thickRoad32(const PixelView& image, const ClassMap& classes);
Image8 thickRoad8(const Image8& image, const ClassMap& classes);
// The palette entry thickened pixels are given: exact grey 100, else the darkest grey from
// 101 to 239 (first on ties), else 255.
int roadIndex(const std::vector<Rgb>& table);

// The twelve recolouring rules, first match decides. `cls` is the pixel's class (32-bit
// path); the palette path darkens every light grey entry whatever the classes.
Rgb recolor(Rgb c, int cls, const EnhanceSettings& s, bool palette);

Image32 convertColor32(const PixelView& image, const ClassMap& classes, const EnhanceSettings& s);
// Rewrites only the colour table; the indices are copied unchanged.
Image8 convertImage8(const Image8& image, const EnhanceSettings& s);

// Grey of a colour: (77 R + 150 G + 29 B) / 256, truncated.
uint8_t grayValue(Rgb c);
Gray8 grayImage32(const Image32& image);
// Through the colour table; an index beyond the table reads as black.
Gray8 grayImage8(const Image8& image);

// One tile through the whole composition pipeline. `classes` is null for a tile without a
// class map (the no-data placeholder): it is never thickened, and a 32-bit one comes back
// unchanged.
struct EnhancedTile {
  enum Kind { kRgba, kPalette, kGray } kind = kRgba;
  Image32 rgba;
  Image8 palette;
  Gray8 gray;
};
EnhancedTile enhanceTile32(const PixelView& image, const ClassMap* classes, const EnhanceSettings& s);
EnhancedTile enhanceTile8(const Image8& image, const ClassMap* classes, const EnhanceSettings& s);

}  // namespace tw
