#pragma once
// The 13-position zoom slider: tile zooms 6..18 normally, a continuous print scale in print mode.

#include <cstdint>

namespace tw {

struct SliderColor {
  double r = 0, g = 0, b = 0, a = 1;
};

class ZoomSlider {
 public:
  static constexpr int kPositions = 13;

  double min_zoom = 6, max_zoom = 18, mid_zoom = 12, zoom = 6, step = 1;
  int32_t pos = 0;

  void setMinValue(double v);
  void setMaxValue(double v);
  void setMidValue(double v) { mid_zoom = v; }
  // Ignored in print mode and outside the range.
  void updateZoom(int z, bool printMode);
  // Print mode only; clamps to 0..12.
  void updatePosition(int i, bool printMode);

  // Row under a click: y is the pointer's window y, frameY the slider's frame y (both y upward).
  static int rowAt(double y, double frameY, double boundsHeight);
  // Fill colour of row `rowFromTop` (0 = top).
  static SliderColor rowColor(int rowFromTop, bool printMode);
};

}  // namespace tw
