#include "analysis/TrackStats.h"

namespace tw {

void TrackStats::resetMeasured()
{
  total_dist = 0.0f;
  total_up = 0.0f;
  total_down = 0.0f;
  max_elev = 0.0f;
  min_elev = 3800.0f;
  peak_count = 0;
  route_time = false;
}

void TrackStats::resetInfo()
{
  const TrackStats fresh;
  const float td = total_dist, up = total_up, down = total_down, mx = max_elev, mn = min_elev;
  const double sp = span;
  const int32_t pc = peak_count;
  const bool rt = route_time;
  *this = fresh;
  total_dist = td;
  span = sp;
  total_up = up;
  total_down = down;
  max_elev = mx;
  min_elev = mn;
  peak_count = pc;
  route_time = rt;
}

}  // namespace tw
