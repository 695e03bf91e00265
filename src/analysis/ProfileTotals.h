#pragma once
// The sums over a section and its profile samples that the track information is made of: the
// slope distance, the mean elevation and the gradient classes. The measuring pass gathers them
// on its own walk, so that a million-point track is not walked twice more for them.

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "analysis/Metrics.h"
#include "analysis/TimeMath.h"
#include "analysis/TrackStats.h"
#include "document/Records.h"

namespace tw {

// Gradient class thresholds in percent, walking or cycling.
struct GradientClasses {
  float climb;       // climbing sample: gradient >= climb
  float gentle_up;   // gentle climb: gradient < gentle_up
  float steep_up;    // steep climb: gradient >= steep_up
  float descent;     // descending sample: gradient <= descent
  float gentle_down; // gentle descent: gradient > gentle_down
  float steep_down;  // steep descent: gradient <= steep_down
};
inline GradientClasses gradientClasses(bool cycling)
{
  if (cycling) return {2.0f, 4.0f, 8.0f, -2.0f, -4.0f, -8.0f};
  return {5.0f, 15.0f, 30.0f, -5.0f, -15.0f, -30.0f};
}

struct GradientTally {
  long long classified = 0, climbing = 0, descending = 0;
  long long gentleUp = 0, steepUp = 0, gentleDown = 0, steepDown = 0;
  double upSum = 0.0, downSum = 0.0;
  void add(float g, const GradientClasses& cls);
};

struct ProfileTotals {
  bool valid = false;   // gathered by a measuring pass over `section` of `points` points
  Section section;
  std::size_t points = 0;
  long long samples = 0;
  float slope = 0.0f;   // m along the slope
  double elevSum = 0.0;
  long long known = 0;  // samples with an elevation
  GradientTally walking, cycling;
  int32_t max_gradient = 0, min_gradient = 0;

  // Forgets the samples (the slope stays: a finer resampling walks the same points).
  void resetSamples();
  // Samples in order: the extremes depend on it.
  void addSample(const PosInfo& s);
};

inline void GradientTally::add(float g, const GradientClasses& cls)
{
  ++classified;
  if (g >= cls.climb) {
    ++climbing;
    upSum += g;
    if (g < cls.gentle_up) ++gentleUp;
    else if (g >= cls.steep_up) ++steepUp;
  } else if (g <= cls.descent) {
    ++descending;
    downSum += g;
    if (g > cls.gentle_down) ++gentleDown;
    else if (g <= cls.steep_down) ++steepDown;
  }
}

inline void ProfileTotals::addSample(const PosInfo& s)
{
  ++samples;
  if (s.elev != kUnknownElevation) {
    elevSum += s.elev;
    ++known;
  }
  const float g = s.gradient;
  if (g == kUnknownGradient || !std::isfinite(g)) return;
  walking.add(g, gradientClasses(false));
  cycling.add(g, gradientClasses(true));
  if (g > static_cast<float>(max_gradient)) max_gradient = detail::truncToInt(g);
  else if (g < static_cast<float>(min_gradient)) min_gradient = detail::truncToInt(g);
}

// Adds the step into point p to a running slope distance; `ref` is the last known elevation.
inline void addSlopeStep(const Track& p, float& ref, float& slope)
{
  const float seg = detail::saneLength(p.seg_dist);
  if (ref == kUnknownElevation || !p.hasElevation()) {
    slope += seg;
  } else {
    const float dz = p.elev - ref;
    slope += std::sqrt(dz * dz + seg * seg);
    ref = p.elev;
  }
}

// Sets the slope, elevation and gradient fields of calcTrackInfo from the totals.
void applyProfileTotals(const ProfileTotals& totals, bool cycling, TrackStats& st);

}  // namespace tw
