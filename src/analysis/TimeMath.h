#pragma once
// Small numeric helpers shared by the analysis passes.

#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>

#include "document/Records.h"

namespace tw::detail {

inline double secondsBetween(const TimePoint& later, const TimePoint& earlier)
{
  return std::chrono::duration<double>(later - earlier).count();
}

// Truncation toward zero that saturates instead of overflowing; NaN gives `nanValue`.
template <typename F>
int32_t truncToInt(F v, int32_t nanValue = 0)
{
  if (std::isnan(v)) return nanValue;
  if (v >= static_cast<F>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  if (v <= static_cast<F>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

// A segment length usable in sums: non-finite or negative lengths count as 0.
inline float saneLength(float d) { return (std::isfinite(d) && d > 0.0f) ? d : 0.0f; }

}  // namespace tw::detail
