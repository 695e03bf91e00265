#pragma once
// Builds tracks for the analysis tests: moves in metres east/north near 35.36°N, elevations and
// times (seconds after the start) chosen by the test.

#include <chrono>
#include <optional>
#include <vector>

#include "analysis/Metrics.h"
#include "document/Records.h"

namespace twtest {

struct TrackBuilder {
  TrackBuilder& add(double east, double north, float elev, std::optional<double> seconds = {})
  {
    lat += north / 110947.191;  // metres per degree there
    lon += east / 90886.549;
    tw::Track& t = points.emplace_back();
    tw::setPosition(t, lat, lon);
    t.elev = elev;
    if (seconds) t.time = start() + std::chrono::milliseconds(static_cast<long long>(*seconds * 1000.0));
    return *this;
  }

  std::vector<tw::Track> build()
  {
    tw::recalcDistance(points);
    return points;
  }

  static tw::TimePoint start() { return std::chrono::sys_days{std::chrono::year{2024} / 5 / 1}; }

  std::vector<tw::Track> points;
  double lat = 35.36, lon = 138.73;
};

}  // namespace twtest
