#pragma once
// Small synthetic tracks for the editing tests.

#include <chrono>
#include <vector>

#include "document/DocumentState.h"
#include "document/Geodesy.h"

namespace edittest {

inline tw::TimePoint at(int seconds)
{
  return tw::TimePoint{std::chrono::milliseconds{1'700'000'000'000LL + seconds * 1000LL}};
}

inline void recalc(std::vector<tw::Track>& pts)
{
  for (size_t i = 0; i < pts.size(); ++i) {
    if (i == 0) {
      pts[i].seg_dist = 0.0f;
      pts[i].dist = 0.0f;
    } else {
      pts[i].seg_dist = static_cast<float>(tw::calcDistHubeny(pts[i - 1].lat, pts[i - 1].lon, pts[i].lat, pts[i].lon));
      pts[i].dist = pts[i - 1].dist + pts[i].seg_dist;
    }
  }
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
  recalc(pts);
  return pts;
}

inline tw::TrackInfo track(std::vector<tw::Track> pts, const std::string& name = "")
{
  tw::TrackInfo t;
  t.points = std::move(pts);
  t.name = name;
  t.stable = 1;
  return t;
}

}  // namespace edittest
