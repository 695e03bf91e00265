#include "document/Geodesy.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace tw {

namespace {

constexpr double kLatLimitSine = 0.99627207622075;
constexpr double kDegPerRad = 57.29577951308232;

double worldHalf(int zoom) { return std::ldexp(1.0, zoom + 7); }
// atanh of the sine of the projection's latitude limit, computed once.
double latLimitK()
{
  static const double k = std::atanh(kLatLimitSine);
  return k;
}

}  // namespace

double pixelFromLon(int zoom, double lon) { return worldHalf(zoom) * (lon + 180.0) / 180.0; }

double lonFromPixel(int zoom, double x) { return x * 180.0 / worldHalf(zoom) + (-180.0); }

double pixelFromLat(int zoom, double lat)
{
  return (std::atanh(std::sin(lat * kPi / 180)) - latLimitK()) * (worldHalf(zoom) / -kPi);
}

double latFromPixel(int zoom, double y)
{
  return std::asin(std::tanh(y * (-kPi) / worldHalf(zoom) + latLimitK())) * kDegPerRad;
}

int32_t toPixelInt(double v)
{
  if (std::isnan(v)) return 0;
  constexpr double lo = std::numeric_limits<int32_t>::min();
  constexpr double hi = std::numeric_limits<int32_t>::max();
  if (v <= lo) return std::numeric_limits<int32_t>::min();
  if (v >= hi) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(v);
}

int32_t pixel18FromLon(double lon) { return toPixelInt(pixelFromLon(18, lon)); }
int32_t pixel18FromLat(double lat) { return toPixelInt(pixelFromLat(18, lat)); }

double calcDistHubeny(double lat1, double lon1, double lat2, double lon2, double a, double e2, double mnum)
{
  const double mu = (lat1 + lat2) * 0.5 * kPi / 180;
  const double dy = (lat1 - lat2) * kPi / 180;
  const double dx = (lon1 - lon2) * kPi / 180;
  const double s = std::sin(mu);
  const double w = std::sqrt(1 - e2 * s * s);
  const double m = mnum / (w * w * w);
  const double n = a / w;
  const double ym = dy * m;
  const double xn = dx * n * std::cos(mu);
  return std::sqrt(ym * ym + xn * xn);
}

double calcDistHubeny(double lat1, double lon1, double lat2, double lon2)
{
  return calcDistHubeny(lat1, lon1, lat2, lon2, kWGS84.a, kWGS84.e2, kWGS84.mnum);
}

double calcDistHubeny(double lat1, double lon1, double lat2, double lon2, int type)
{
  const Ellipsoid* e = nullptr;
  switch (type) {
    case 0: e = &kBessel; break;
    case 1: e = &kGRS80; break;
    case 2: e = &kWGS84; break;
    default: return 0.0;
  }
  return calcDistHubeny(lat1, lon1, lat2, lon2, e->a, e->e2, e->mnum);
}

double calcMagneticNorth(double lat, double lon)
{
  const double p = lat - 37;
  const double q = lon - 138;
  return 8.2637 + 0.3077 * p - 0.12876666666666667 * q + 0.00011666666666666667 * p * p -
         0.00011666666666666667 * p * q - 0.010916666666666667 * q * q;
}

bool checkLat(double lat, double lon)
{
  return lat >= 20.42527777 && lat <= 45.55777777 && lon >= 122.93361111 && lon <= 153.98638888;
}

double calcPoint(double metres, int scale)
{
  double t = 125.0;
  switch (scale) {
    case 0: t = 100.0; break;
    case 1: t = 125.0; break;
    case 2: t = 150.0; break;
    case 3: t = 250.0; break;
    default: break;
  }
  return metres / t * 2.834645669291339 * 10.0;
}

// The 32-bit products are intentional: they match the integer widths the label and
// thin-out rules were tuned with. Wrapping arithmetic is done in unsigned to stay defined.
namespace {
int32_t mul32(int32_t a, int32_t b)
{
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}
int32_t add32(int32_t a, int32_t b)
{
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
int32_t sub32(int32_t a, int32_t b)
{
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
}  // namespace

bool online(IPoint p1, IPoint p2, IPoint p3)
{
  const int32_t ax = sub32(p2.x, p1.x), ay = sub32(p2.y, p1.y);
  const int32_t bx = sub32(p3.x, p1.x), by = sub32(p3.y, p1.y);
  const int32_t dot = add32(mul32(ax, bx), mul32(ay, by));
  if (dot < 0) return false;
  const uint32_t la = static_cast<uint32_t>(add32(mul32(ax, ax), mul32(ay, ay)));
  const uint32_t lb = static_cast<uint32_t>(add32(mul32(bx, bx), mul32(by, by)));
  const uint64_t d = static_cast<uint32_t>(dot);
  if (d * d != static_cast<uint64_t>(la) * static_cast<uint64_t>(lb)) return false;
  return la >= lb;
}

bool online(IPoint p1, IPoint p2, IPoint p3, IPoint p4)
{
  return online(p1, p2, p3) || online(p1, p2, p4) || online(p3, p4, p1) || online(p3, p4, p2);
}

bool intersection(IPoint p1, IPoint p2, IPoint p3, IPoint p4)
{
  auto term = [](IPoint a, IPoint b, IPoint c, IPoint d) {
    // (a.x − b.x)(c.y − d.y) + (b.y − a.y)(c.x − d.x)
    return add32(mul32(sub32(a.x, b.x), sub32(c.y, d.y)), mul32(sub32(b.y, a.y), sub32(c.x, d.x)));
  };
  const int64_t t1 = term(p1, p3, p1, p2);
  const int64_t t2 = term(p1, p4, p1, p2);
  const int64_t t3 = term(p3, p1, p3, p4);
  const int64_t t4 = term(p3, p2, p3, p4);
  return t1 * t2 < 0 && t3 * t4 < 0;
}

namespace {
float norm(double vx, double vy) { return std::sqrt(static_cast<float>(vx * vx + vy * vy)); }
}  // namespace

float distanceLine(DPoint p, DPoint a, DPoint b)
{
  const float dx = static_cast<float>(b.x - a.x);
  const float dy = static_cast<float>(b.y - a.y);
  if (dx == 0.0f && dy == 0.0f) return norm(p.x - a.x, p.y - a.y);
  const double num = static_cast<double>(dx) * (p.x - a.x) + static_cast<double>(dy) * (p.y - a.y);
  const float den = dx * dx + dy * dy;
  const float t = static_cast<float>(num / den);
  if (t < 0) return norm(p.x - a.x, p.y - a.y);
  if (t > 1.0f) return norm(p.x - b.x, p.y - b.y);
  // The foot is formed in doubles from the float t; a float (1 − t) moves it by pixels.
  const double u = 1.0 - static_cast<double>(t);
  const float qx = static_cast<float>(u * a.x + static_cast<double>(t) * b.x);
  const float qy = static_cast<float>(u * a.y + static_cast<double>(t) * b.y);
  return norm(p.x - qx, p.y - qy);
}

int64_t approxPixelDistance(int64_t dx, int64_t dy)
{
  const int64_t ax = std::llabs(dx), ay = std::llabs(dy);
  return ax > ay ? 246 * ax + 102 * ay : 246 * ay + 102 * ax;
}

}  // namespace tw
