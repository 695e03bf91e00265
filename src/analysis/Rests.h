#pragma once
// Rest detection: one state per point.

#include <vector>

#include "document/Records.h"

namespace tw {

// Values of `states`.
inline constexpr int kStateRest = 0;       // inside a rest
inline constexpr int kStateAscending = 1;  // moving, ascending phase
inline constexpr int kStateDescending = 2;
inline constexpr int kStateRestStart = 3;
inline constexpr int kStateRestEnd = 4;

// Rebuilds `states` for `points` (left alone when there are none): phases from the peak
// marks, then, when the first and last points have times, rests found from the speeds and
// merged. Recomputes the speeds (calcSpeed) before and after the detection.
void checkRest(std::vector<Track>& points, bool valid_time, std::vector<int>& states);

// The merging pass of checkRest over finished detection states: rests close in time and in
// place, or touching, become one.
void mergeRests(const std::vector<Track>& points, std::vector<int>& states);

// The rest speed V (m/h): a fifth of the mean speed of points moving at 500 m/h or more,
// at most 1000; 1000 when none moves.
int restSpeed(const std::vector<Track>& points);

}  // namespace tw
