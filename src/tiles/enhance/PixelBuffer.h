#pragma once
// Plain pixel buffers for print preparation of map tiles, so the pixel rules need no image
// library. QImage (or anything else) is only an adapter that copies in and out.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tw {

inline constexpr int kTileSize = 256;
// One class byte per pixel of a 256 × 256 tile plus one spare byte.
inline constexpr std::size_t kClassMapSize = kTileSize * kTileSize + 1;

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Read-only view of interleaved pixels whose first three bytes are R, G, B.
struct PixelView {
  const uint8_t* data = nullptr;
  int width = 0;
  int height = 0;
  std::ptrdiff_t bytesPerRow = 0;
  int bytesPerPixel = 4;
};

// 32-bit R, G, B, A (alpha premultiplied, last), rows 4 × width bytes apart.
struct Image32 {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;

  Image32() = default;
  Image32(int w, int h) : width(w), height(h), pixels(std::size_t(w) * h * 4, 0) {}
  std::ptrdiff_t bytesPerRow() const { return std::ptrdiff_t(width) * 4; }
  uint8_t* at(int x, int y) { return pixels.data() + (std::size_t(y) * width + x) * 4; }
  const uint8_t* at(int x, int y) const { return pixels.data() + (std::size_t(y) * width + x) * 4; }
  PixelView view() const { return {pixels.data(), width, height, bytesPerRow(), 4}; }
};

// 8-bit indices into a colour table of up to 256 entries, rows `width` bytes apart.
struct Image8 {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> indices;
  std::vector<Rgb> table;

  Image8() = default;
  Image8(int w, int h) : width(w), height(h), indices(std::size_t(w) * h, 0) {}
  uint8_t& at(int x, int y) { return indices[std::size_t(y) * width + x]; }
  uint8_t at(int x, int y) const { return indices[std::size_t(y) * width + x]; }
};

// 8-bit grey, one byte per pixel.
struct Gray8 {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;

  Gray8() = default;
  Gray8(int w, int h) : width(w), height(h), pixels(std::size_t(w) * h, 0) {}
  uint8_t at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

// Per-pixel classes of a 256 × 256 tile (see TileEnhance.h).
using ClassMap = std::vector<uint8_t>;

}  // namespace tw
