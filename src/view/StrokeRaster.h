#pragma once
// Antialiased stroking of wide polylines with round joins and flat end caps into an 8-bit
// coverage mask, then one source-over composite per stroke. Dense tracks have tens of
// thousands of segments; general-purpose path stroking rasterises the whole self-overlapping
// outline, this walks a small box per segment and keeps the highest coverage per pixel, so a
// stroke still covers each pixel once (as a single path fill does) at a cost linear in points.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tw {

struct FPoint {
  float x = 0, y = 0;
};

class CoverageCanvas {
 public:
  CoverageCanvas(int width, int height);
  int width() const { return w_; }
  int height() const { return h_; }
  uint8_t at(int x, int y) const { return mask_[static_cast<size_t>(y) * w_ + x]; }

  // Adds the stroke of `pts` (y down, pixel centres at +0.5), `lineWidth` wide: the union of
  // one capsule per segment, flat at the polyline's first and last point.
  void strokePolyline(const FPoint* pts, size_t count, float lineWidth);

  // Blends the covered pixels over an ARGB32 premultiplied buffer of the same size in one
  // colour (r, g, b 0–255, alpha 0–1 scaled by coverage), then clears the mask.
  void compositeOver(uint32_t* pixels, int stridePixels, uint8_t r, uint8_t g, uint8_t b, float alpha);

 private:
  void segment(FPoint a, FPoint b, float hw, bool flatA, bool flatB);
  int w_, h_;
  std::vector<uint8_t> mask_;
  std::vector<uint32_t> touched_;  // the pixels first touched since the last composite: [0, nTouched_)
  size_t nTouched_ = 0;
};

}  // namespace tw
