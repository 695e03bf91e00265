#pragma once
// The elevation graph's print rendering: one drawing for the PNG export, the printed map and
// `tarnwick-cli graph`, on any QPainter (image or PDF). Qt Gui only: no widgets, no controller.

#include <QRectF>

class QPainter;

namespace tw {

struct DocumentState;
class Config;

// Everything the rendering reads, copied out of the controller or computed from a document
// alone (the command line's way in). Built by graphModelFor or by the controller's graphModel().
struct GraphModel {
  bool valid = false;  // false: the empty graph (no active track)
};

// The model for the active track of `doc` with the switches of `config`.
GraphModel graphModelFor(const DocumentState& doc, const Config& config, bool cycling);

// Draws the graph into `rect` of `painter`; pdf selects the print sizes and margins.
void drawGraphPDF(QPainter& painter, const QRectF& rect, bool pdf, const GraphModel& model);

}  // namespace tw
