#pragma once
// The one place where the map's y-up window frame meets Qt's y-down widgets: event points enter
// the controller y-up, and views map y-up points and rectangles back before drawing.

#include <QPointF>
#include <QRectF>

#include "view/Viewport.h"

namespace tw {

// A y-up rectangle (x, y, w, h) in a view of height `h` as a Qt rectangle.
inline QRectF toQt(double x, double y, double w, double hgt, double h) { return {x, h - y - hgt, w, hgt}; }
inline QPointF toQt(double x, double y, double h) { return {x, h - y}; }

// A Qt widget position as a y-up window point.
inline WindowPoint fromQt(QPointF p, double h) { return {p.x(), h - p.y()}; }

}  // namespace tw
