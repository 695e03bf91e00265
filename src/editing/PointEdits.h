#pragma once
// Point and waypoint edits of the map tools: hit tests, appending, inserting, dragging,
// range deletion and the attachment of waypoints to track points.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/Geodesy.h"
#include "document/Records.h"

namespace tw {

inline constexpr int kEditZoom = 15;
inline constexpr const char* kEditZoomMessage =
    "入力・編集作業は、1/25000図の表示時のみ可能です。\n操作を続ける場合は、スケールを戻してください。";
inline constexpr const char* kBadNameTitle = "エラー";
inline constexpr const char* kBadNameMessage = "名前に]]>は使えません";

// Names go into GPX CDATA sections, which "]]>" would end.
bool isAcceptableName(const std::string& name);

// Hit radius in zoom-18 pixels for 8 screen pixels at `zoom`.
int64_t hitRadius(int zoom);
// Approximate pixel distance D (S shifted right by 8 bits).
int64_t hitDistance(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

// The first point with the smallest D below the hit radius, or −1.
int nearestPoint(const std::vector<Track>& points, int32_t x, int32_t y, int zoom);
int nearestWayPoint(const std::vector<WayPoint>& waypoints, int32_t x, int32_t y, int zoom);

// A hover changes the selection only for a slow, real mouse move.
bool isHoverValid(DPoint mp, DPoint prev_mp);

// Mouse positions are stored at single precision.
double roundToFloat(double v);

// The point a click at (lat, lon) would append: distances from the last point; nothing when
// it lies on the last point.
std::optional<Track> newTrackPoint(const std::vector<Track>& points, float lat, float lon, float elev);
// Appends newTrackPoint; false when nothing was added.
bool appendTrackPoint(std::vector<Track>& points, float lat, float lon, float elev);

// The midpoint (in zoom-18 pixels) of points i and i + 1, inserted at i + 1. False when i has
// no successor.
bool insertMidPoint(std::vector<Track>& points, int i, float elev);

// `count` points after point i, each 10 screen pixels right and down of the one before it.
bool addOffsetPoints(std::vector<Track>& points, int i, int count, int zoom);

// Point i moved to (lat, lon); distances of it and every later point follow.
bool movePoint(std::vector<Track>& points, int i, double lat, double lon, float elev);

// Removes the first `count` points / the last `count` points.
void removeFirstPoints(std::vector<Track>& points, int count);
void removeLastPoints(std::vector<Track>& points, int count);

// Removes the given rows (any order, duplicates and out-of-range rows ignored).
template <class T>
void removeRows(std::vector<T>& items, std::vector<int> rows);

// Bottom-left origin (y up) of a pop-up button anchored by its top-left corner at the zoom-18
// pixel (x, y): moved left by its width when it would pass the map view's right edge, kept
// above the bottom edge, on whole pixels. `foreX`, `foreY`: the visible area's origin in
// global pixels at `zoom`.
DPoint popupOrigin(int32_t x, int32_t y, int zoom, double foreX, double foreY, double viewWidth, double viewHeight,
                   double buttonWidth, double buttonHeight);

// Attaches each waypoint to the nearest track points (wp_index), once per pass unless the
// track moves on more than 500 m.
void checkConnectWayPoint(std::vector<Track>& points, const std::vector<WayPoint>& waypoints);

}  // namespace tw

#include <algorithm>

template <class T>
void tw::removeRows(std::vector<T>& items, std::vector<int> rows)
{
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
    if (*it >= 0 && *it < static_cast<int>(items.size())) items.erase(items.begin() + *it);
  }
}
