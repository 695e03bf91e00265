#include "tiles/enhance/TileEnhance.h"

#include <algorithm>
#include <cstdlib>

namespace tw {

namespace {

constexpr int N = kTileSize;

uint8_t toByte(double v)
{
  // Out-of-range configuration values are replaced before they get here; clamp anyway so a
  // bad value cannot wrap around.
  const double t = v * 255.0;
  if (!(t > 0.0)) return 0;
  if (t >= 255.0) return 255;
  return static_cast<uint8_t>(t);
}

uint8_t clampByte(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

// out[i] = 1 where the clipped 3 × 3 window around pixel i holds a pixel of class `cls`, as a
// separable dilation (a row pass, then a column pass) instead of nine reads per pixel.
void neighbourhoodOf(const uint8_t* classes, uint8_t cls, std::vector<uint8_t>& out)
{
  // Plain loops over whole rows so the compiler can vectorise them.
  std::vector<uint8_t> eq(std::size_t(N) * N), rows(std::size_t(N) * N);
  for (std::size_t i = 0; i < eq.size(); ++i) eq[i] = classes[i] == cls;
  for (int y = 0; y < N; ++y) {
    const uint8_t* e = eq.data() + y * N;
    uint8_t* r = rows.data() + y * N;
    r[0] = e[0] | e[1];
    for (int x = 1; x < N - 1; ++x) r[x] = e[x - 1] | e[x] | e[x + 1];
    r[N - 1] = e[N - 2] | e[N - 1];
  }
  out.resize(std::size_t(N) * N);
  for (int y = 0; y < N; ++y) {
    const uint8_t* up = rows.data() + std::max(y - 1, 0) * N;
    const uint8_t* mid = rows.data() + y * N;
    const uint8_t* down = rows.data() + std::min(y + 1, N - 1) * N;
    uint8_t* o = out.data() + y * N;
    for (int x = 0; x < N; ++x) o[x] = up[x] | mid[x] | down[x];
  }
}

// Pixels to thicken: a class-2 pixel in the window and not class 1 itself.
template <typename Fn>
void forEachThickened(const ClassMap& classes, int width, int height, Fn&& fn)
{
  if (classes.size() < std::size_t(N) * N) return;
  std::vector<uint8_t> near;
  neighbourhoodOf(classes.data(), kClassLight, near);
  const int w = std::min(width, N), h = std::min(height, N);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (near[y * N + x] && classes[y * N + x] != kClassRoad) fn(x, y);
}

uint8_t classAt(const ClassMap& classes, int x, int y)
{
  if (x >= N || y >= N || classes.size() < std::size_t(N) * N) return kClassOther;
  return classes[y * N + x];
}

}  // namespace

Rgb contourColor(bool contour, double r, double g, double b)
{
  if (!contour) return kContourColor;
  return {toByte(r), toByte(g), toByte(b)};
}

Rgb roadColor(int road_depth)
{
  const uint8_t v = clampByte(100 - road_depth);
  return {v, v, v};
}

int pixelClass(Rgb c)
{
  if (c.r != c.g || c.g != c.b) return kClassOther;
  if (c.r < 100) return kClassRoad;
  if (c.r <= 239) return kClassLight;
  return kClassOther;
}

void parseRoad(ClassMap& classes)
{
  if (classes.size() < std::size_t(N) * N) return;
  std::vector<uint8_t> near;
  for (int pass = 0; pass < kRoadJoinPasses; ++pass) {
    // Every pass reads the classes as they were before it: the dilation is computed first.
    neighbourhoodOf(classes.data(), kClassRoad, near);
    uint8_t changed = 0;
    for (std::size_t i = 0; i < std::size_t(N) * N; ++i) {
      const uint8_t join = classes[i] == kClassLight && near[i];
      classes[i] = join ? uint8_t(kClassRoad) : classes[i];
      changed |= join;
    }
    if (!changed) break;  // later passes would find nothing either
  }
}

ClassMap parseImage32(const PixelView& image)
{
  ClassMap classes(kClassMapSize, kClassOther);
  if (image.data && image.bytesPerPixel >= 3) {
    const int w = std::min(image.width, N), h = std::min(image.height, N);
    for (int y = 0; y < h; ++y) {
      const uint8_t* p = image.data + y * image.bytesPerRow;
      for (int x = 0; x < w; ++x, p += image.bytesPerPixel)
        classes[y * N + x] = static_cast<uint8_t>(pixelClass({p[0], p[1], p[2]}));
    }
  }
  parseRoad(classes);
  return classes;
}

ClassMap parseImage8(const Image8& image)
{
  ClassMap classes(kClassMapSize, kClassOther);
  if (!image.table.empty()) {
    uint8_t entryClass[256] = {};  // indices beyond the table stay class 0
    for (std::size_t i = 0; i < image.table.size() && i < 256; ++i)
      entryClass[i] = static_cast<uint8_t>(pixelClass(image.table[i]));
    const int w = std::min(image.width, N), h = std::min(image.height, N);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) classes[y * N + x] = entryClass[image.at(x, y)];
  }
  parseRoad(classes);
  return classes;
}

Image32 thickRoad32(const PixelView& image, const ClassMap& classes)
{
  Image32 out(image.width, image.height);
  if (!image.data || image.bytesPerPixel < 3) return out;
  for (int y = 0; y < image.height; ++y) {
    const uint8_t* p = image.data + y * image.bytesPerRow;
    uint8_t* q = out.at(0, y);
    for (int x = 0; x < image.width; ++x, p += image.bytesPerPixel, q += 4) {
      q[0] = p[0];
      q[1] = p[1];
      q[2] = p[2];
      q[3] = image.bytesPerPixel >= 4 ? p[3] : 255;
    }
  }
  forEachThickened(classes, image.width, image.height, [&](int x, int y) {
    uint8_t* q = out.at(x, y);
    q[0] = q[1] = q[2] = 100;
  });
  return out;
}

int roadIndex(const std::vector<Rgb>& table)
{
  const std::size_t n = std::min<std::size_t>(table.size(), 256);
  for (std::size_t i = 0; i < n; ++i)
    if (table[i] == Rgb{100, 100, 100}) return int(i);
  int best = -1;
  for (std::size_t i = 0; i < n; ++i) {
    const Rgb c = table[i];
    if (c.r == c.g && c.g == c.b && c.r >= 101 && c.r <= 239 && (best < 0 || c.r < table[best].r)) best = int(i);
  }
  return best >= 0 ? best : 255;
}

Image8 thickRoad8(const Image8& image, const ClassMap& classes)
{
  Image8 out = image;
  const uint8_t road = static_cast<uint8_t>(roadIndex(image.table));
  forEachThickened(classes, image.width, image.height, [&](int x, int y) { out.at(x, y) = road; });
  return out;
}

Rgb recolor(Rgb c, int cls, const EnhanceSettings& s, bool palette)
{
  const int r = c.r, g = c.g, b = c.b;
  const bool grey = r == g && g == b;
  if (r >= 240 && g >= 240 && b >= 240) return c;                               // 1
  if (grey && r < 100) return c;                                                // 2
  if (grey && r == 100) return s.road_color;                                    // 3
  if (grey) {                                                                   // 4
    if (!palette && cls != kClassLight) return c;
    const uint8_t v = clampByte(r - s.road_depth);
    return {v, v, v};
  }
  if (c == Rgb{100, 195, 115} || c == Rgb{255, 122, 122} || c == Rgb{255, 255, 0})  // 5
    return s.road ? Rgb{255, 255, 255} : c;
  if (r == 255 && g != 255 && b != 255) return s.building ? Rgb{50, 50, 50} : c;  // 6
  if (b >= 240 && b > r && b > g) return s.river ? Rgb{16, 72, 204} : c;          // 7
  if (r == g && r > b) return s.road ? Rgb{c.b, c.b, c.b} : c;                    // 8
  if (g > r && g > b) return s.road && std::abs(r - b) <= 15 ? Rgb{c.b, c.b, c.b} : c;  // 9
  if (c == kContourColor) return s.contour_color;                               // 10
  if (r >= 201 && g >= 161 && b >= 61 && r > g && g > b && g * 1.3 > r)         // 11
    return {clampByte(r + s.contour_color.r - kContourColor.r), clampByte(g + s.contour_color.g - kContourColor.g),
            clampByte(b + s.contour_color.b - kContourColor.b)};
  return s.building || s.road ? Rgb{0, 0, 0} : c;                               // 12
}

Image32 convertColor32(const PixelView& image, const ClassMap& classes, const EnhanceSettings& s)
{
  Image32 out(image.width, image.height);
  if (!image.data || image.bytesPerPixel < 3) return out;
  // Map tiles are mostly runs of one colour: remember the last answer.
  Rgb lastIn{0, 0, 0}, lastOut = recolor(lastIn, kClassOther, s, false);
  uint8_t lastClass = kClassOther;
  for (int y = 0; y < image.height; ++y) {
    const uint8_t* p = image.data + y * image.bytesPerRow;
    uint8_t* q = out.at(0, y);
    for (int x = 0; x < image.width; ++x, p += image.bytesPerPixel, q += 4) {
      const Rgb in{p[0], p[1], p[2]};
      const uint8_t cls = classAt(classes, x, y);
      if (!(in == lastIn) || cls != lastClass) {
        lastIn = in;
        lastClass = cls;
        lastOut = recolor(in, cls, s, false);
      }
      const Rgb c = lastOut;
      q[0] = c.r;
      q[1] = c.g;
      q[2] = c.b;
      q[3] = image.bytesPerPixel >= 4 ? p[3] : 255;
    }
  }
  return out;
}

Image8 convertImage8(const Image8& image, const EnhanceSettings& s)
{
  Image8 out = image;
  for (Rgb& c : out.table) c = recolor(c, kClassOther, s, true);
  return out;
}

uint8_t grayValue(Rgb c) { return static_cast<uint8_t>((77 * c.r + 150 * c.g + 29 * c.b) / 256); }

Gray8 grayImage32(const Image32& image)
{
  Gray8 out(image.width, image.height);
  const uint8_t* p = image.pixels.data();
  for (uint8_t& v : out.pixels) {
    v = grayValue({p[0], p[1], p[2]});
    p += 4;
  }
  return out;
}

Gray8 grayImage8(const Image8& image)
{
  uint8_t lut[256] = {};
  for (std::size_t i = 0; i < image.table.size() && i < 256; ++i) lut[i] = grayValue(image.table[i]);
  Gray8 out(image.width, image.height);
  for (std::size_t i = 0; i < out.pixels.size(); ++i) out.pixels[i] = lut[image.indices[i]];
  return out;
}

EnhancedTile enhanceTile32(const PixelView& image, const ClassMap* classes, const EnhanceSettings& s)
{
  EnhancedTile t;
  if (!classes) {
    // Placeholder: drawn as it is.
    t.rgba = Image32(image.width, image.height);
    for (int y = 0; y < image.height && image.data; ++y) {
      const uint8_t* p = image.data + y * image.bytesPerRow;
      uint8_t* q = t.rgba.at(0, y);
      for (int x = 0; x < image.width; ++x, p += image.bytesPerPixel, q += 4) {
        q[0] = p[0];
        q[1] = p[1];
        q[2] = p[2];
        q[3] = image.bytesPerPixel >= 4 ? p[3] : 255;
      }
    }
  } else if (s.strong_road) {
    const Image32 thick = thickRoad32(image, *classes);
    t.rgba = convertColor32(thick.view(), *classes, s);
  } else {
    t.rgba = convertColor32(image, *classes, s);
  }
  if (s.gray) {
    t.kind = EnhancedTile::kGray;
    t.gray = grayImage32(t.rgba);
    t.rgba = {};
  }
  return t;
}

EnhancedTile enhanceTile8(const Image8& image, const ClassMap* classes, const EnhanceSettings& s)
{
  EnhancedTile t;
  t.kind = EnhancedTile::kPalette;
  t.palette = convertImage8(classes && s.strong_road ? thickRoad8(image, *classes) : image, s);
  if (s.gray) {
    t.kind = EnhancedTile::kGray;
    t.gray = grayImage8(t.palette);
    t.palette = {};
  }
  return t;
}

}  // namespace tw
