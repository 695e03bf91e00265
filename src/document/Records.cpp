#include "document/Records.h"

#include "document/Geodesy.h"

namespace tw {

void setPosition(Track& t, double lat, double lon)
{
  t.lat = lat;
  t.lon = lon;
  t.x = pixel18FromLon(lon);
  t.y = pixel18FromLat(lat);
}

void WayPoint::setPosition(double lat_, double lon_)
{
  lat = lat_;
  lon = lon_;
  x = pixel18FromLon(lon_);
  y = pixel18FromLat(lat_);
}

namespace {
constexpr std::string_view kNameSeparator = "::";
}

std::string WayPoint::getMapName() const
{
  auto p = name.find(kNameSeparator);
  return p == std::string::npos ? name : name.substr(0, p);
}

std::string WayPoint::getGraphName() const
{
  auto p = name.find(kNameSeparator);
  return p == std::string::npos ? name : name.substr(p + kNameSeparator.size());
}

}  // namespace tw
