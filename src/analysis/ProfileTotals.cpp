#include "analysis/ProfileTotals.h"

#include <cmath>

#include "analysis/TimeMath.h"

namespace tw {

using detail::truncToInt;

void ProfileTotals::resetSamples()
{
  samples = 0;
  elevSum = 0.0;
  known = 0;
  walking = cycling = GradientTally{};
  max_gradient = min_gradient = 0;
}

void applyProfileTotals(const ProfileTotals& totals, bool cycling, TrackStats& st)
{
  st.total_distance = totals.slope;
  st.max_gradient = totals.max_gradient;
  st.min_gradient = totals.min_gradient;
  if (totals.known > 0) st.ave_elev = static_cast<float>(totals.elevSum / static_cast<double>(totals.known));
  const GradientTally& t = cycling ? totals.cycling : totals.walking;
  if (t.classified > 0) {
    st.up_rate = static_cast<int32_t>(t.climbing * 100 / t.classified);
    st.down_rate = static_cast<int32_t>(t.descending * 100 / t.classified);
  }
  if (t.climbing >= 2) {
    st.ave_up_gradient = truncToInt(t.upSum / static_cast<double>(t.climbing));
    st.easy_up_rate = static_cast<int32_t>(t.gentleUp * 100 / t.climbing);
    st.hard_up_rate = static_cast<int32_t>(t.steepUp * 100 / t.climbing);
  }
  if (t.descending >= 2) {
    st.ave_down_gradient = truncToInt(t.downSum / static_cast<double>(t.descending));
    st.easy_down_rate = static_cast<int32_t>(t.gentleDown * 100 / t.descending);
    st.hard_down_rate = static_cast<int32_t>(t.steepDown * 100 / t.descending);
  }
}

}  // namespace tw
