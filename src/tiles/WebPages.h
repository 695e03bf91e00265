#pragma once
// Every web page the application opens in the browser, in one place: its own pages, the
// tile terms of use and three web maps that open at the place shown on our map.

#include <string>

namespace tw {

// The project has no site of its own yet: the home and usage pages share this root.
inline constexpr const char* kProjectPage = "https://tarnwick.example.org/";

std::string homePage();      // the About box's link
std::string helpPage();      // how to use the application
std::string setupHelpPage(); // the settings dialog's help
std::string infoHelpPage();  // the track information dialog's help
// GSI's terms of use of its tiles (the About box's second link).
std::string gsiTermsPage();
// GSI's page on its elevation data (the DEM dialog's help).
std::string demHelpPage();

// The web maps that open at (lat, lon, zoom), each in its own address form:
// the GSI web map, OpenTopoMap (contours and hiking paths) and OpenStreetMap.
std::string gsiMapPage(double lat, double lon, int zoom);
std::string openTopoMapPage(double lat, double lon, int zoom);
std::string openStreetMapPage(double lat, double lon, int zoom);

}  // namespace tw
