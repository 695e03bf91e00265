#include "view/Readout.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace tw {

Dms splitDms(double v)
{
  Dms r;
  const double d = std::floor(v);
  const double mf = (v - d) * 60;
  const double m = std::floor(mf);
  r.d = static_cast<int>(d);
  r.m = static_cast<int>(m);
  r.s = static_cast<float>((mf - m) * 60);
  return r;
}

std::string coordinateText(int show_coord, double lat, double lon)
{
  char buf[128];
  if (show_coord == 1) {
    std::snprintf(buf, sizeof buf, "%9.6f, %9.6f", lat, lon);
    return buf;
  }
  if (show_coord == 2) {
    const Dms a = splitDms(lat), o = splitDms(lon);
    std::snprintf(buf, sizeof buf, "%d度%d分%4.2f秒 %d度%d分%4.2f秒", a.d, a.m, static_cast<double>(a.s), o.d, o.m,
                  static_cast<double>(o.s));
    return buf;
  }
  return {};
}

std::string readoutLine(const ReadoutOptions& o, double lat, double lon, double elev)
{
  if (!o.show_info || !checkLat(lat, lon)) return {};
  std::string line = coordinateText(o.show_coord, lat, lon);
  if (o.show_elev && elev != kUnknownElevation) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%7.2fm", elev);
    line += (line.empty() ? "" : ", ") + std::string(buf);
  }
  return line;
}

std::string jpTimeText(TimePoint t)
{
  using namespace std::chrono;
  const auto local = floor<seconds>(t) + hours(9);
  const auto day = floor<days>(local);
  const year_month_day ymd{day};
  const hh_mm_ss hms{local - day};
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d-%02u-%02u %02d:%02d:%02d", static_cast<int>(ymd.year()),
                static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()), static_cast<int>(hms.hours().count()),
                static_cast<int>(hms.minutes().count()), static_cast<int>(hms.seconds().count()));
  return buf;
}

IPoint nextPointer(const std::vector<Track>& pts, int index)
{
  const int n = static_cast<int>(pts.size());
  if (index < 0 || index >= n) return {};
  int i = index;
  if (i == n - 1 && n > 1) i = n - 2;
  for (; i + 1 < n; ++i) {
    const Track& a = pts[static_cast<size_t>(i)];
    const Track& b = pts[static_cast<size_t>(i) + 1];
    if (a.x != b.x || a.y != b.y) return {b.x - a.x, b.y - a.y};
  }
  return {};
}

double readoutElevation(int zoom, int select, const std::vector<Track>* routes, double demElevation)
{
  if (zoom < 15) return kUnknownElevation;
  if (routes && select > 0 && select < static_cast<int>(routes->size())) return (*routes)[static_cast<size_t>(select)].elev;
  return demElevation;
}

}  // namespace tw
