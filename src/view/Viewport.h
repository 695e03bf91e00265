#pragma once
// Viewport arithmetic: centring, derived rectangles and rates, zoom about a point, the tile
// grid size, the scale bar, the attribution text and the mode-button slots.

#include <cstdint>
#include <optional>
#include <string>

#include "document/Geodesy.h"
#include "document/Modes.h"
#include "view/ViewportState.h"

namespace tw {

inline constexpr int kMinZoom = 6;
inline constexpr int kMaxZoom = 18;
inline constexpr int kMinEditZoom = 15;  // editing works only on the 1:25,000 map and closer
inline constexpr int kArrowStep = 128;

// Scale-bar length in metres, indexed by 18 − zoom.
inline constexpr int32_t scale_list[13] = {50,   100,   200,   500,   1000,   2000,  4000,
                                           8000, 16000, 25000, 50000, 100000, 250000};

inline bool isValidZoom(int zoom) { return zoom >= kMinZoom && zoom <= kMaxZoom; }

struct ViewSize {
  double width = 0, height = 0;
};

struct WindowPoint {  // window coordinates, y upward
  double x = 0, y = 0;
};

// Stores zoom, lat, lon and the truncated centre pixel; false (nothing changed) for a zoom
// outside 6..18.
bool centreOnLatLon(ViewportState& v, int zoom, double lat, double lon);
// Stores zoom and the centre pixel and derives lat, lon from it; false for a bad zoom.
bool centreOnPixel(ViewportState& v, int zoom, int32_t x, int32_t y);

// Pixels per 100 m east–west and north–south at (lat, lon).
struct Rates {
  double x_rate = 0, y_rate = 0;
};
Rates calcRates(int zoom, double lat, double lon);

// x_rate, y_rate, foreRect and backRect outside print mode.
void updateScreenRects(ViewportState& v, ViewSize size);

// `back_cols` and `back_rows` for a base view of this size.
void gridSize(ViewportState& v, ViewSize size);

// Window point over the map → global pixel at the current zoom.
DPoint windowToGlobal(const ViewportState& v, ViewSize size, WindowPoint p);

// Zoom by `delta` levels keeping the map point under `p` fixed (outside print mode).
struct ZoomTarget {
  int zoom = 0;
  double lat = 0, lon = 0;
  float scale = 1.0f;  // of the old picture during the animation
};
std::optional<ZoomTarget> zoomAboutPoint(const ViewportState& v, ViewSize size, WindowPoint p, int delta);

// True when going from `from` to `to` leaves the editing zoom while editing.
bool leavesEditingZoom(int from, int to, Mode mode);

// Scale bar: length in points and its label.
struct ScaleBar {
  int32_t length = 0;  // b
  int32_t metres = 0;  // L
  std::string label;   // "%dkm" or "%dm"
};
std::optional<ScaleBar> scaleBar(int zoom, double x_rate);

// Attribution text by mode, map kind and zoom (UTF-8).
std::string attributionText(Mode mode, MapType map_type, int zoom);

// Frame origin (window coordinates, y upward) of a mode button at slot `i` on the right edge.
WindowPoint buttonOrigin(ViewSize base, double w, double h, int i);

// The largest zoom at which the box of zoom-18 pixels from `lo` to `hi` fits a view of `size`;
// the smallest zoom when none does.
int zoomToFit(IPoint lo, IPoint hi, ViewSize size);

// Keeps a panel frame inside the base view; false when nothing had to change.
bool keepInside(DRect& frame, ViewSize base);

}  // namespace tw
