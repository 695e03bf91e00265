#pragma once
// Composition of the printed sheet on any QPainter: the PDF file, the print system and the
// on-screen preview draw the same layers. Qt Gui only (no widgets, no controller), so the
// command-line tool shares it.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <functional>
#include <vector>

#include "app/ConfigSchema.h"
#include "document/DocumentState.h"
#include "document/Modes.h"
#include "print/PrintGeometry.h"
#include "tiles/MapImage.h"
#include "tiles/enhance/TileEnhance.h"

class QPainter;
class QRectF;

namespace tw {

// Everything the layers read, copied from the controller or built from the configuration.
struct PrintSheet {
  PrintSettings settings;
  PaperGeometry geo;
  DRect printPixelRect;  // global pixels at `zoom`
  int zoom = kPrintZoom;
  DRect graphRect;       // points, inside the printable area
  LatLon printPos;
  bool gray = false, normal = false, print_graph = false;

  int north = 0, latlon = 0, latlon_size = 2;
  RGBA northColor, latlonColor, routeColor, downColor, wpColor;
  int route_width = 4, down_width = 4;
  TrackMode track_mode = TrackMode::All;
  bool show_peak = false, show_wp = true;
  int wp_type = 3;
  QString wp_font_name;
  double wp_font_size = 12;
  EnhanceSettings enhance;
};

// The sheet for `settings` centred on `centre`, layer switches and colours from `config`;
// nothing when the paper index has no entry.
std::optional<PrintSheet> makePrintSheet(const Config& config, LatLon centre);

// Tile cache keys covering the print area at the sheet's zoom, row by row.
std::vector<Tile> printTiles(const PrintSheet& sheet);

// "Helvetica" → Liberation Sans, the Hiragino names → IPAPGothic, others as given.
QFont printFont(const QString& name, double pointSize);
// A colour with the grey rule applied when `gray`.
QColor printColor(const RGBA& c, bool gray);

// The off-screen image of the print area: tiles whose `draw` flag is clear are converted and
// drawn into `surface` (truncated print-area size) and marked drawn.
void drawOffscreen(QImage& surface, const PrintSheet& sheet, const std::vector<MapImagePtr>& tiles);
QImage makeOffscreen(const PrintSheet& sheet);

// Paper points, y up, on a painter whose unit is one point with y down from the sheet's top.
void drawNorthPDF(QPainter& p, const PrintSheet& s);
void drawLatLonPDF(QPainter& p, const PrintSheet& s);
void drawRoutePDF(QPainter& p, const PrintSheet& s, const DocumentState& doc);
void drawScalePDF(QPainter& p, const PrintSheet& s);
void drawLogoPDF(QPainter& p, const PrintSheet& s);
void drawWayPointPDF(QPainter& p, const PrintSheet& s, const DocumentState& doc);
// Where the scale box and the attribution land (y up), after avoiding the graph.
DRect scaleBoxRect(const PrintSheet& s);
DRect logoBoxRect(const PrintSheet& s, double textWidth, double textHeight);

// The graph inside `rect` (Qt coordinates of the painter); unset draws none.
using GraphDrawer = std::function<void(QPainter&, const QRectF&)>;

// The layers above the map, clipped to the printable area, then the graph.
void drawSheetLayers(QPainter& p, const PrintSheet& s, const DocumentState& doc, const GraphDrawer& graph);
// The whole sheet: map (tile by tile, or `offscreen` when grey without graph), then the layers.
void composeSheet(QPainter& p, const PrintSheet& s, const std::vector<MapImagePtr>& tiles, const QImage* offscreen,
                  const DocumentState& doc, const GraphDrawer& graph);
// A one-page PDF of the sheet: media box = the paper in points, title, creator "Tarnwick".
QByteArray createPDFData(const PrintSheet& s, const std::vector<MapImagePtr>& tiles, const QImage* offscreen,
                         const DocumentState& doc, const QString& title, const GraphDrawer& graph);

// The print area of the last PDF in zoom-17 pixels, and its graph (for the next area mode).
void previousPrintRects(const PrintSheet& s, DRect& prevPrintRect, DRect& prevGraphRect);

}  // namespace tw
