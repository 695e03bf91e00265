#pragma once
// The elevation graph's drawings: the print rendering (PNG export, the printed map,
// `tarnwick-cli graph`) and the screen panel's profile layer, on any QPainter. Qt Gui only: no
// widgets, no controller.

#include <QImage>
#include <QRectF>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/Metrics.h"
#include "analysis/TrackStats.h"
#include "document/Records.h"
#include "graph/GraphScale.h"

class QPainter;

namespace tw {

struct DocumentState;
class Config;

// One graphed point: distance from the range's first point, elevation, waypoint index.
struct GraphPoint {
  float dist = 0;
  float elev = kUnknownElevation;
  int32_t wp = kNoIndex;
};

struct GraphRest {
  int32_t index = 0;  // into GraphModel::points
  int side = 12;      // 16 for a timed rest longer than 599 s
};

// Everything the drawings read, copied out of the controller or computed from a document
// alone (the command line's way in). Built by graphModelFor or by the controller's graphModel().
struct GraphModel {
  bool valid = false;  // false: the empty graph (no active track)
  std::vector<GraphPoint> points;   // the graphed range
  std::vector<std::string> wpNames; // graph names by waypoint index
  std::vector<GraphRest> rests;
  float total_dist = 0, total_up = 0, total_down = 0, max_elev = 0, min_elev = 3800;
  int32_t peak_count = 0;
  int stable = 0;  // isStableElevation of the active track
  bool outside = false;
  bool invalid_track = false;
  int graph_type = 0;
  bool show_graph_wp = true;
  int graph_wp_type = 3;  // bit 0 marks, bit 1 names
  bool show_rest = false;
  int graphTrackInfo = 1;  // print: the information line
  int graphWayPoint = 0;   // print: the waypoints
  bool cycling = false;

  bool drawsWayPoints() const { return show_graph_wp && graph_wp_type != 0 && !wpNames.empty(); }
};

// The model of `section` of `points` with the statistics already measured over it.
GraphModel buildGraphModel(const std::vector<Track>& points, Section section, const TrackStats& stats,
                           const std::vector<int>& states, const std::vector<WayPoint>& waypoints);
// Copies the switches of `config` (waypoints on the graph, rests) into the model.
void applyGraphSwitches(GraphModel& m, const Config& config);

// The model for the active track of `doc` with the switches of `config`.
GraphModel graphModelFor(const DocumentState& doc, const Config& config, bool cycling);

// Draws the graph into `rect` of `painter`; pdf selects the print sizes and margins.
void drawGraphPDF(QPainter& painter, const QRectF& rect, bool pdf, const GraphModel& model);

// The panel's images (null images are skipped).
struct GraphChrome {
  QImage close, minimize, maximize, warn, waypoint, reset, rest;
  bool minimized = false;
};

// What the screen drawing worked out, for the pointer layer and the panel's hit tests.
struct GraphScreenInfo {
  ElevAxis elev;
  QRectF plot;  // Qt coordinates
  int titleWidth = 0;
};

// The panel's whole layer below the pointer, in a widget of `w` × `h`.
GraphScreenInfo drawGraphScreen(QPainter& painter, int w, int h, const GraphModel& model, const GraphChrome& chrome);

// The information line texts on screen, full first, then each fall-back; the one drawn is the
// first whose width (measured in the info font) fits between `leftLimit` and 10 from the right.
std::vector<QString> graphInfoVariants(const GraphModel& model);
QString graphInfoLine(const GraphModel& model, int w, int leftLimit);
// The print information line and its fall-backs.
std::vector<QString> printInfoVariants(const GraphModel& model);

// Heads of the band colours of labels, waypoint names and elevation grid lines (RGB 0–1).
QColor bandLabelColor(int band, double alpha);
QColor bandGridColor(int band, double alpha);

}  // namespace tw
