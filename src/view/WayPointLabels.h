#pragma once
// Where each waypoint's name goes around its mark: chosen once, at zoom 14, for a label as it
// would be printed on an A3 sheet at the configured print scale, avoiding track lines.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "document/Geodesy.h"
#include "document/Records.h"
#include "view/ViewportState.h"

namespace tw {

// Preference bonus per position, clockwise from north (0 above … 7 above left).
inline constexpr int kLabelBonus[8] = {2, 0, 3, 0, 4, 0, 1, 0};
inline constexpr double kPointsPerMm = 2.83464566929132;

// Text size in points of a name in the label font.
using MeasureText = std::function<std::pair<double, double>(const std::string&)>;

// The print fields that label placement overwrites (its A3 paper model).
struct LabelPrintModel {
  double paperSize_w = 297, paperSize_h = 420;
  DRect paperPointRect, printPointRect;
  double paperDistance_w = 0, paperDistance_h = 0;  // metres on the ground
  DRect paperPixelRect, printPixelRect;             // zoom-14 pixels
  double compress_x = 0, compress_y = 0;            // points per zoom-14 pixel
};

// Ground size in metres of the A3 sheet at print scale index `scale`.
std::pair<double, double> a3GroundSize(int scale);

// One candidate box: origin and size in zoom-14 pixels relative to the bounding-box minimum.
struct LabelBox {
  double x = 0, y = 0;
  int w = 0, h = 0;
};
LabelBox labelCandidate(int pos, double px, double py, int w, int h);

// A track segment at zoom 14 relative to the bounding-box minimum.
struct Segment {
  IPoint a, b;
};

// A candidate box with its edges as integer segments: top, right, bottom, left.
struct LabelCandidate {
  LabelBox box;
  IPoint edges[4][2];
};
LabelCandidate labelEdges(const LabelBox& box);

// What one segment takes from a candidate's score: 1 when its end point lies inside the box,
// and per edge 10 for a crossing or else 1 for touching.
int segmentPenalty(const LabelCandidate& c, const Segment& s);

// Score of a candidate box over the given segments: its bonus less every segment's penalty.
int scoreCandidate(int pos, const LabelBox& box, const std::vector<Segment>& segments);

// Recomputes `pos` of every waypoint. Returns the print model when placement got that far.
std::optional<LabelPrintModel> calcWayPointPosition(std::vector<WayPoint>& waypoints,
                                                    const std::vector<TrackInfo>& tracks,
                                                    const std::vector<Track>* routes, int scale,
                                                    const MeasureText& measure);

// On-screen name rectangle origin for label position `pos`, in the route layer's y-up frame
// where the waypoint's pixel p is drawn at (p.x, −p.y).
DPoint labelOrigin(int pos, double px, double py, double w, double h);

}  // namespace tw
