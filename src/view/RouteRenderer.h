#pragma once
// Drawing of the route layer on screen: tracks, point markers, start/end/rest markers and the
// waypoint marks and names. Works on any QPainter, so tests and benchmarks draw into images.

#include <QColor>
#include <QPainter>
#include <QString>
#include <vector>

#include "app/AppShell.h"
#include "view/RoutePlan.h"
#include "view/StrokeRaster.h"
#include "view/ViewportState.h"

namespace tw {

struct RouteStyle {
  QColor route{255, 0, 0};
  QColor down{0, 0, 255};
};

// Draws the planned tracks and markers; `fore` is the visible rectangle in global pixels. Lines
// and markers are rasterised at the painter's device pixel ratio.
void drawRoute(QPainter& p, const RouteInput& in, const RouteStyle& style, const MarkerImages& img, const DRect& fore);

// Adds one stretch to the coverage canvas, `scale` device pixels per map pixel; consecutive
// points on the same map pixel are dropped.
void strokeStretch(CoverageCanvas& canvas, const std::vector<Track>& pts, const Stretch& s, int shift,
                   const DRect& fore, float lineWidth, float scale = 1.0f);

struct WayPointStyle {
  int show_wp = 1;
  int wp_type = 3;  // bit 0 marks, bit 1 names
  Mode mode = Mode::Base;
  bool wayPointMode = false;
  bool trackEditMode = false;
  int show_list = 0;
  bool mouse_on_map = true;
  const std::vector<int>* selected_rows = nullptr;  // waypoint-list selection
  QString font_name = QStringLiteral("HiraMaruPro-W4");
  QColor color{0, 77, 0};
};

void drawWayPoint(QPainter& p, const std::vector<WayPoint>& wps, int zoom, const DRect& fore, const WayPointStyle& st,
                  const MarkerImages& img);

}  // namespace tw
