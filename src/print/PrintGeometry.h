#pragma once
// Paper geometry of the printed sheet: paper table, orientation, scale, margins and the
// convenience-store variant, from millimetres of paper to metres of ground, global pixels at
// the print zoom and PDF points. Pure arithmetic over explicit inputs.

#include <optional>
#include <string>

#include "document/Geodesy.h"
#include "document/Records.h"
#include "view/WayPointLabels.h"

namespace tw {

class Config;

// kPointsPerMm (72 / 25.4) comes with the label placement's paper model.
inline constexpr int kPrintZoom = 17;                      // 16 at quality 0
inline constexpr double kMinGraphWidth = 150, kMinGraphHeight = 50;

struct PaperEntry {
  int width = 0, height = 0;  // millimetres, portrait
  const char* name = "";
};
// paper 0..3 → B5, A4, B4, A3; nothing for any other index.
std::optional<PaperEntry> paperEntry(int paper);

struct SizeD {
  double width = 0, height = 0;
  bool operator==(const SizeD&) const = default;
};

// The print keys of the configuration.
struct PrintSettings {
  int paper = 1, direction = 0, scale = 3, quality = 1, color = 0;
  bool conveni = false;
  float top = 5, bottom = 5, left = 5, right = 5;
};
PrintSettings printSettingsFrom(const Config& config);

// Ground size (metres) of the printable area; (0, 0) for paper > 3.
SizeD calcPrintSize(int paper, int direction, int scale, bool conveni, float top, float bottom, float left,
                    float right);

struct PaperGeometry {
  SizeD paperSize;      // mm after orientation and the convenience-store reduction
  SizeD paperDistance;  // ground metres of the sheet
  SizeD printDistance;  // ground metres inside the margins
  DRect paperPointRect, printPointRect;  // points, y up, origin at the sheet's lower left
  float left = 0, right = 0, top = 0, bottom = 0;  // margins in effect (0 under conveni)
};
// Nothing when the paper index has no entry (the geometry is then left as it was).
std::optional<PaperGeometry> paperGeometry(const PrintSettings& s);

// The printed graph's frame: kept while it lies inside the printable area, else the default
// (80 % of the width, centred, at the bottom, 200 points high).
DRect defaultGraphRect(const DRect& graphRect, const DRect& printPointRect);

struct PrintPixelRects {
  DRect paperPixelRect, printPixelRect;  // global pixels at the print zoom
  double x_rate = 0, y_rate = 0;         // pixels per 100 m
};
// Around `centre` at zoom 17; `normal` halves everything to zoom-16 pixels.
PrintPixelRects calcPrintRect(LatLon centre, const PaperGeometry& g, bool normal);

// The sheet and printable area on screen (y up), from the visible area at the print zoom.
struct PrintDispRects {
  DRect paperDispRect, printDispRect;
};
PrintDispRects calcPrintDispRect(const DRect& paperPixelRect, const DRect& foreRect, double print_x_zoom,
                                 double print_y_zoom, const PaperGeometry& g);

// Global pixel at the print zoom → paper points (y up).
DPoint pixelToPoint(double gx, double gy, const DRect& printPixelRect, const DRect& printPointRect);

// The printed graph under the mouse: handle 1 left, 2 right, 3 top, 4 bottom; d in points.
DRect resizeGraph(const DRect& graph, int handle, double dx, double dy, const DRect& printPointRect);
DRect moveGraph(const DRect& graph, double dx, double dy, const DRect& printPointRect);
// The handle whose square (side clamp(16 × print_x_zoom, 6, 16)) holds p, tested bottom, top,
// left, right; 0 for none. `screen` is the graph on screen, y up.
int graphHandleAt(const DRect& screen, DPoint p, double print_x_zoom);

// The scale bar's ground length: 200, 250, 300 m for scale 0..2, else 500 m.
int scaleBarMetres(int scale);
// Magnetic-north line spacing: 250, 500, 1000 m for north 1..3, else 0 (none).
int northSpacingMetres(int north);
// Grid step in seconds of arc: 15, 30, 60 for latlon 1..3, else 0 (none).
int latlonStepSeconds(int latlon);
// "%d°%02d'%02d\"" of whole seconds of arc.
std::string dmsLabel(int seconds);

// A centre outside Japan's box returns to the default centre.
LatLon checkAreaCentre(LatLon centre);
inline constexpr double kAreaQuestionMetres = 20000;

}  // namespace tw
