#pragma once
// Builds tracks for the analysis tests: moves given in metres east/north on a local plane
// near 35°N, elevations and times chosen by the test.

#include <chrono>
#include <optional>
#include <vector>

#include "analysis/Metrics.h"
#include "document/Geodesy.h"
#include "document/Records.h"

namespace twtest {

class TrackBuilder {
 public:
  explicit TrackBuilder(double lat = 35.36, double lon = 138.73) : lat_(lat), lon_(lon)
  {
    const double d = 0.001;
    mPerLat_ = tw::calcDistHubeny(lat, lon, lat + d, lon) / d;
    mPerLon_ = tw::calcDistHubeny(lat, lon, lat, lon + d) / d;
  }

  // Moves by (east, north) metres and appends a point; `seconds` after the start, if given.
  TrackBuilder& add(double east, double north, float elev, std::optional<double> seconds)
  {
    lat_ += north / mPerLat_;
    lon_ += east / mPerLon_;
    tw::Track t;
    tw::setPosition(t, lat_, lon_);
    t.elev = elev;
    if (seconds) t.time = start() + std::chrono::milliseconds(static_cast<long long>(*seconds * 1000.0));
    points.push_back(t);
    return *this;
  }

  std::vector<tw::Track> build()
  {
    tw::recalcDistance(points);
    return points;
  }

  static tw::TimePoint start()
  {
    using namespace std::chrono;
    return sys_days{year{2024} / 5 / 1} + hours{0};
  }

  std::vector<tw::Track> points;

 private:
  double lat_;
  double lon_;
  double mPerLat_;
  double mPerLon_;
};

// Points `step` seconds apart, each `metres` east of the previous one, at a constant elevation.
inline std::vector<tw::Track> uniformTrack(int n, double metres, double step, float elev = 500.0f)
{
  TrackBuilder b;
  for (int i = 0; i < n; ++i) b.add(i == 0 ? 0.0 : metres, 0.0, elev, i * step);
  return b.build();
}

}  // namespace twtest
