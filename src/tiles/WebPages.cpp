#include "tiles/WebPages.h"

#include <cstdio>

#include "tiles/Hosts.h"

namespace tw {

namespace {

// "%.6f" without the locale's decimal comma.
std::string coords(const char* format, int zoom, double lat, double lon)
{
  char buf[96];
  std::snprintf(buf, sizeof buf, format, zoom, lat, lon);
  for (char* p = buf; *p; ++p)
    if (*p == ',') *p = '.';
  return buf;
}

}  // namespace

std::string homePage() { return kProjectPage; }
std::string helpPage() { return std::string(kProjectPage) + "help/"; }
std::string setupHelpPage() { return std::string(kProjectPage) + "help/settings/"; }
std::string infoHelpPage() { return std::string(kProjectPage) + "usage/info/"; }
std::string gsiTermsPage() { return "https://www.gsi.go.jp/kikakuchousei/kikakuchousei40182.html"; }
std::string demHelpPage() { return gsiMapsBase() + "/development/hyokochi.html"; }

std::string gsiMapPage(double lat, double lon, int zoom)
{
  return gsiMapsBase() + coords("/#%d/%.6f/%.6f/", zoom, lat, lon);
}

std::string openTopoMapPage(double lat, double lon, int zoom)
{
  return "https://opentopomap.org/" + coords("#map=%d/%.6f/%.6f", zoom, lat, lon);
}

std::string openStreetMapPage(double lat, double lon, int zoom)
{
  return "https://www.openstreetmap.org/" + coords("#map=%d/%.6f/%.6f", zoom, lat, lon);
}

}  // namespace tw
