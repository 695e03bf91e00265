#include "view/ZoomSlider.h"

#include <algorithm>
#include <cmath>

namespace tw {

void ZoomSlider::setMinValue(double v)
{
  min_zoom = v;
  step = (max_zoom - min_zoom) / 12;
}

void ZoomSlider::setMaxValue(double v)
{
  max_zoom = v;
  step = (max_zoom - min_zoom) / 12;
}

void ZoomSlider::updateZoom(int z, bool printMode)
{
  if (printMode || z < min_zoom || z > max_zoom) return;
  zoom = z;
  pos = static_cast<int32_t>(z - min_zoom);
}

void ZoomSlider::updatePosition(int i, bool printMode)
{
  if (!printMode) return;
  pos = std::clamp(i, 0, kPositions - 1);
  if (pos == 6)
    zoom = mid_zoom;
  else if (pos < 6)
    zoom = mid_zoom - (6 - pos) * (mid_zoom - min_zoom) / 6;
  else
    zoom = mid_zoom + (pos - 6) * (max_zoom - mid_zoom) / 6;
}

int ZoomSlider::rowAt(double y, double frameY, double boundsHeight)
{
  if (boundsHeight <= 0) return 0;
  return static_cast<int>(std::trunc((y - frameY) / (boundsHeight / kPositions)));
}

SliderColor ZoomSlider::rowColor(int row, bool printMode)
{
  if (printMode) {
    if (row < 6) return {0, 1 - 0.15 * row, 0, 0.3};
    if (row == 6) return {0, 0.8, 0.8, 0.3};
    const int k = kPositions - row;  // 6 just below the middle, 1 at the bottom
    return {0, 0, 1 - 0.15 * k, 0.3};
  }
  if (row == 0) return {0, 0, 0.8, 0.3};
  if (row <= 3) return {0, 0.8, 0, 0.4};
  if (row <= 6) return {0, 0.8, 0.8, 0.3};
  if (row <= 9) return {0.8, 0.8, 0, 0.3};
  return {0.8, 0, 0.8, 0.3};
}

}  // namespace tw
