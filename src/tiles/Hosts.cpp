#include "tiles/Hosts.h"

#include <cstdlib>

namespace tw {
namespace {

std::string fromEnv(const char* name, const char* fallback)
{
  const char* v = std::getenv(name);
  std::string s = (v && *v) ? v : fallback;
  while (!s.empty() && s.back() == '/') s.pop_back();
  return s;
}

}  // namespace

std::string gsiBase() { return fromEnv("TARNWICK_GSI_BASE", "https://cyberjapandata.gsi.go.jp"); }
std::string osmBase() { return fromEnv("TARNWICK_OSM_BASE", "https://tile.openstreetmap.org"); }
std::string gsiMapsBase() { return fromEnv("TARNWICK_GSI_MAPS_BASE", "https://maps.gsi.go.jp"); }

}  // namespace tw
