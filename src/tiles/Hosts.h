#pragma once
// Where tiles come from. Each host is a constant that an environment variable overrides,
// so tests and offline tile mirrors can point elsewhere.

#include <string>

namespace tw {

// GSI tile server root (map and DEM tiles); TARNWICK_GSI_BASE overrides it.
std::string gsiBase();
// OpenStreetMap tile server root (one host; its sub-domain letters are no longer wanted);
// TARNWICK_OSM_BASE overrides it, and an override containing "{s}" gets the a/b/c letter.
std::string osmBase();
// GSI web map site (help pages); TARNWICK_GSI_MAPS_BASE overrides it.
std::string gsiMapsBase();

}  // namespace tw
