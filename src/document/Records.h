#pragma once
// The records every subsystem shares: track points, tracks, waypoints, profile samples.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tw {

// Instants are UTC; display is in UTC+9.
using TimePoint = std::chrono::sys_time<std::chrono::milliseconds>;

inline constexpr float kUnknownElevation = -100.0f;
inline constexpr float kUnknownGradient = -10000.0f;
inline constexpr int kUnknownSpeed = -1;
inline constexpr int kNoIndex = -1;

// One track point, stored by value.
struct Track {
  double lon = 0.0;
  double lat = 0.0;
  float elev = kUnknownElevation;
  float seg_dist = 0.0f;
  float dist = 0.0f;
  int32_t x = 0;  // zoom-18 global pixel, truncated toward zero
  int32_t y = 0;
  int32_t peak_type = 0;  // 0 ordinary, 1 peak, 2 col
  std::optional<TimePoint> time;
  int32_t wp_index = kNoIndex;
  int32_t speed = kUnknownSpeed;  // metres per hour

  bool hasElevation() const { return elev != kUnknownElevation; }
};

// Sets lon/lat and the zoom-18 pixels derived from them.
void setPosition(Track& t, double lat, double lon);

class TrackInfo {
 public:
  std::vector<Track> points;
  std::string name;
  bool valid_time = false;
  int32_t stable = -1;  // 1 measured elevations, 0 filled/recalculated/hand-drawn

  std::vector<Track>& getPoints() { return points; }
  const std::vector<Track>& getPoints() const { return points; }
};

class WayPoint {
 public:
  double lon = 0.0;
  double lat = 0.0;
  int32_t x = 0;
  int32_t y = 0;
  std::string name;
  float elev = kUnknownElevation;
  int32_t pos = 0;  // label placement around the marker

  // Sets lon/lat and the zoom-18 pixels derived from them.
  void setPosition(double lat, double lon);

  const std::string& getListName() const { return name; }
  std::string getMapName() const;
  std::string getGraphName() const;
};

// One sample of the active track's elevation profile.
struct PosInfo {
  float dist = 0.0f;
  float elev = kUnknownElevation;
  float env_elev = kUnknownElevation;
  double lat = 0.0;
  double lon = 0.0;
  float gradient = kUnknownGradient;
  float up = 0.0f;
  float down = 0.0f;
  int32_t point_index = kNoIndex;
};

struct LatLon {
  double lat = 0.0;
  double lon = 0.0;
};

}  // namespace tw
