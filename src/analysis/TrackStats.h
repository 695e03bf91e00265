#pragma once
// The statistics of the measured section of the active track, under their usual field names.

#include <cstdint>

namespace tw {

struct TrackStats {
  // Set by the measuring pass (calcTrackProfile).
  float total_dist = 0.0f;  // m, horizontal
  double span = 1.0;        // m between profile samples; kept while nothing is measured
  float total_up = 0.0f;
  float total_down = 0.0f;
  float max_elev = 0.0f;
  float min_elev = 3800.0f;
  int32_t peak_count = 0;
  bool route_time = false;  // some point of the track has a time

  // Set by calcTrackInfo.
  float total_distance = 0.0f;  // m along the slope
  int32_t up_rate = 0;
  int32_t down_rate = 0;
  int32_t ave_up_gradient = 0;
  int32_t ave_down_gradient = 0;
  int32_t max_gradient = 0;
  int32_t min_gradient = 0;
  int32_t easy_up_rate = 0;
  int32_t hard_up_rate = 0;
  int32_t easy_down_rate = 0;
  int32_t hard_down_rate = 0;
  float ave_elev = 0.0f;
  int32_t total_time = 0;  // s
  int32_t rest_time = 0;
  int32_t walk_time = 0;
  float avg_speed = 0.0f;  // km/h
  float up_avg_speed = 0.0f;
  float down_avg_speed = 0.0f;

  void resetMeasured();  // the fields of the measuring pass
  void resetInfo();      // the fields of calcTrackInfo
};

}  // namespace tw
