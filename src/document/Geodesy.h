#pragma once
// Web Mercator pixels of the 256-pixel tile pyramid, Hubeny distances, the inside-Japan box,
// magnetic declination and the integer segment tests. Pure arithmetic, no allocation.

#include <cstdint>

namespace tw {

inline constexpr double kPi = 3.141592653589793;

double pixelFromLon(int zoom, double lon);
double pixelFromLat(int zoom, double lat);
double lonFromPixel(int zoom, double x);
double latFromPixel(int zoom, double y);

// Stored zoom-18 pixels: truncated toward zero; non-finite or out-of-range values saturate
// instead of overflowing the 32-bit field.
int32_t pixel18FromLon(double lon);
int32_t pixel18FromLat(double lat);
int32_t toPixelInt(double v);

struct Ellipsoid {
  double a;
  double e2;
  double mnum;
};
inline constexpr Ellipsoid kWGS84{6378137.0, 0.00669437999019758, 6335439.32729246};
inline constexpr Ellipsoid kGRS80{6378137.0, 0.00669438002301188, 6335439.32708317};
inline constexpr Ellipsoid kBessel{6377397.155, 0.00667436061028297, 6334832.10663254};

// Note the argument order: latitude before longitude for each end.
double calcDistHubeny(double lat1, double lon1, double lat2, double lon2, double a, double e2, double mnum);
double calcDistHubeny(double lat1, double lon1, double lat2, double lon2);
// type 0 Bessel, 1 GRS80, 2 WGS84; anything else gives 0.0.
double calcDistHubeny(double lat1, double lon1, double lat2, double lon2, int type);

// Degrees; positive means magnetic north lies west of true north.
double calcMagneticNorth(double lat, double lon);

// Inside the bounding box of Japan (bounds inclusive).
bool checkLat(double lat, double lon);

// Ground metres to PDF points at print scale index `scale` (0..3 → 1:10000..1:25000).
double calcPoint(double metres, int scale);

struct IPoint {
  int32_t x = 0;
  int32_t y = 0;
};
struct DPoint {
  double x = 0.0;
  double y = 0.0;
};
// A rectangle in global pixels or tile units of one zoom (the viewport's and the tile grids').
struct DRect {
  double x = 0, y = 0, width = 0, height = 0;

  bool intersects(const DRect& o) const
  {
    return x < o.x + o.width && o.x < x + width && y < o.y + o.height && o.y < y + height;
  }
};

bool online(IPoint p1, IPoint p2, IPoint p3);
bool online(IPoint p1, IPoint p2, IPoint p3, IPoint p4);
bool intersection(IPoint p1, IPoint p2, IPoint p3, IPoint p4);
float distanceLine(DPoint p, DPoint a, DPoint b);

// S = 246·max(|dx|,|dy|) + 102·min(|dx|,|dy|): about 256 times the Euclidean distance.
int64_t approxPixelDistance(int64_t dx, int64_t dy);

}  // namespace tw
