#pragma once
// Small synthetic tracks for the editing tests.

#include <chrono>
#include <optional>
#include <vector>

#include "analysis/Metrics.h"
#include "document/DocumentState.h"

namespace edittest {

inline tw::TimePoint at(int seconds)
{
  return tw::TimePoint{std::chrono::milliseconds{1'700'000'000'000LL + seconds * 1000LL}};
}

// A point known only by its zoom-18 pixel (hit tests, thinning geometry).
inline tw::Track pix(int x, int y, int peak = 0)
{
  tw::Track t;
  t.x = x, t.y = y, t.peak_type = peak;
  return t;
}

inline tw::Track point(double lat, double lon, std::optional<int> sec = std::nullopt)
{
  tw::Track t;
  tw::setPosition(t, lat, lon);
  if (sec) t.time = at(*sec);
  return t;
}

// `n` points heading east from (35.0, 139.0), `stepDeg` apart, 10 s apart.
inline std::vector<tw::Track> line(int n, double stepDeg = 0.0001, bool times = true)
{
  std::vector<tw::Track> pts;
  for (int i = 0; i < n; ++i)
    pts.push_back(point(35.0, 139.0 + i * stepDeg, times ? std::optional<int>(i * 10) : std::nullopt));
  tw::recalcDistance(pts);
  return pts;
}

inline tw::TrackInfo track(std::vector<tw::Track> pts, const std::string& name = "")
{
  return tw::TrackInfo{.points = std::move(pts), .name = name, .stable = 1};
}

}  // namespace edittest
