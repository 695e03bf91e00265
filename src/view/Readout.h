#pragma once
// The overlay's read-out texts and the direction of the track pointer arrow.

#include <optional>
#include <string>
#include <vector>

#include "document/Geodesy.h"
#include "document/Records.h"

namespace tw {

struct ReadoutOptions {
  bool show_info = true;
  int show_coord = 1;  // 0 off, 1 decimal, 2 degrees-minutes-seconds
  bool show_elev = true;
};

struct Dms {
  int d = 0, m = 0;
  float s = 0;
};
Dms splitDms(double v);

// Coordinates in the read-out format ("" when switched off).
std::string coordinateText(int show_coord, double lat, double lon);
// The first read-out line; empty outside Japan or with the read-out off.
std::string readoutLine(const ReadoutOptions& o, double lat, double lon, double elev);

// "yyyy-MM-dd HH:mm:ss" in UTC+9.
std::string jpTimeText(TimePoint t);

// Zoom-18 pixel step from the point at `index` to the next point at a different pixel;
// (0, 0) when there is none. The last point looks back from the one before it.
IPoint nextPointer(const std::vector<Track>& points, int index);

// Elevation for the mouse read-out: none below zoom 15, the selected point's own elevation when
// `select` > 0, otherwise the DEM value from `dem`.
double readoutElevation(int zoom, int select, const std::vector<Track>* routes, double demElevation);

}  // namespace tw
