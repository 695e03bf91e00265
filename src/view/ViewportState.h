#pragma once
// The map viewport: centre, zoom and the rectangles and rates derived from them.

#include <cstdint>

#include "document/Geodesy.h"

namespace tw {

struct ViewportState {
  double lat = 35.855499;
  double lon = 138.943905;
  int32_t zoom = 8;
  int32_t org_zoom = 8;
  double center_x = 0, center_y = 0;  // global pixels at `zoom`
  DRect foreRect;                     // visible area, global pixels at `zoom`
  DRect backRect;                     // kept tile grid, tile units
  double x_rate = 0, y_rate = 0;      // pixels per 100 m at the centre
  double print_x_zoom = 1, print_y_zoom = 1;
  bool animating = false;
  int32_t back_cols = 5, back_rows = 3;
};

}  // namespace tw
