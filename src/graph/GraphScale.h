#pragma once
// The elevation graph's geometry without Qt: scales, labels, waypoint marking and label
// placement, the pointer's sample and wedge, the panel's frames. Coordinates are y-up, in
// points, as the drawing code uses them before turning them into Qt's y-down.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tw {

struct GRect {
  double x = 0, y = 0, w = 0, h = 0;
  double right() const { return x + w; }
  double top() const { return y + h; }
  bool intersects(const GRect& o) const
  {
    return w > 0 && h > 0 && o.w > 0 && o.h > 0 && x < o.right() && o.x < right() && y < o.top() && o.y < top();
  }
  bool contains(const GRect& o) const { return o.x >= x && o.y >= y && o.right() <= right() && o.top() <= top(); }
  bool operator==(const GRect&) const = default;
};

// The elevation axis of a plot `ph` points high.
struct ElevAxis {
  int start_elev = 0;
  int end_elev = 1100;
  double s = 0;         // points per 100 m
  int label_step = 100; // metres between labels
  int ph = 0;
  // Height above the plot's bottom of elevation e (float arithmetic).
  double offset(double e) const;
};

// `headroom`: points kept free above the highest elevation for waypoint marks and names
// (0 for none). Without any elevation (max_elev 0) the axis runs 0–1100 m and keeps no headroom.
ElevAxis elevationAxis(float min_elev, float max_elev, int ph, int headroom);

struct AxisLabel {
  int64_t value = 0;  // metres
  int offset = 0;     // points above (elevation) or right of (distance) the plot's origin
};

// Elevation labels, bottom up; the first always stands at the plot's bottom.
std::vector<AxisLabel> elevationLabels(const ElevAxis& a);
// Elevation grid lines every 100 m below end_elev; `everyLabel` keeps only label steps.
std::vector<AxisLabel> elevationGrid(const ElevAxis& a, bool onlyLabelSteps);

// The distance axis of a plot `pw` points wide; `minSpacing` is 10 on screen, 15 in print.
struct DistAxis {
  double D = 1000;   // metres plotted
  double p = 0;      // points per unit
  int64_t u = 100;   // grid unit, metres
  int64_t L = 100;   // label step, metres
  bool sparse = false;
  // Points right of the plot's left edge of distance v (v / u in integers).
  int offset(int64_t v) const;
};
DistAxis distanceAxis(double total_dist, int pw, double minSpacing);

struct DistGridLine {
  int offset = 0;
  bool major = false;  // at a label position
};
std::vector<DistGridLine> distanceGrid(const DistAxis& a);
// Labels at L, 2L, … ≤ D (offsets are the line positions; centring is the caller's).
std::vector<AxisLabel> distanceLabels(const DistAxis& a);
// "%3.1fkm" while the step is under a kilometre, else "%dkm".
std::string distanceLabelText(int64_t v, int64_t L);

// Colour band 0–6: below 500 m, 500–999, …, 3000 and above.
int elevationBand(double e);
// The same bands by distance: up to 5 km, above 5 km, …, above 30 km.
int distanceBand(double metres);

// Waypoint marks along the profile: a point is marked when its waypoint differs from the last
// marked one, or when it lies at least 100 m and 32 points further than that mark.
class WayPointMarker {
 public:
  bool mark(double dist, double x, int wp);

 private:
  double dist_ = -100;
  double x_ = 0;
  int wp_ = -1;
  bool any_ = false;
};

// A waypoint label's rectangle: `r` is centred on the mark with its bottom at the base; `below`
// is the bottom used when it goes under the mark. Clamped into the plot and moved below when
// its top leaves the plot; then, unless it is the top label, moved below (never under the
// plot's bottom) when it meets the top label or one of the last two.
GRect placeWayPointLabel(GRect r, double below, const GRect& plot);
GRect avoidWayPointLabels(GRect r, double below, const GRect& plot, const std::vector<const GRect*>& others);

// Which information line fits in `available` points: the first of `widths` (full line first,
// each fall-back after it) that fits; widths.size() when none does.
std::size_t fittingVariant(const std::vector<double>& widths, double available);

// The pointer's sample for x in a view `width` wide; −1 when none. Up to two samples beyond
// the last one snap to it.
int64_t pointerSampleIndex(double x, double width, double total_dist, double span, std::size_t samples);

// Gradient wedge colour class 0–4 (cyan, green, yellow, orange, red) by whole degrees.
int wedgeClass(double gradient, bool cycling);
// Wedge heights on the box's left and right sides for a box `bw` wide.
struct WedgeHeights {
  int left = 0, right = 0;
};
WedgeHeights wedgeHeights(double gradient, double bw);

// Panel frames inside a base view: the graph's (y-up) and the pointer view's within it.
struct PanelFrames {
  GRect graph;
  GRect pointer;
};
PanelFrames placeGraphView(GRect r, double baseWidth, double baseHeight, bool minimize);
PanelFrames minimizedFrames(const GRect& current);
PanelFrames maximizedFrames(double baseWidth, double baseHeight);

}  // namespace tw
