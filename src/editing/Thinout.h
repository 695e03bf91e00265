#pragma once
// Thinning a track to a chosen number of points: spike removal, then a Douglas-Peucker
// selection in zoom-18 pixels that favours peaks, cols and rest ends and drops rest interiors.

#include <functional>
#include <optional>
#include <vector>

#include "document/Records.h"

namespace tw {

inline constexpr int kThinoutMinimumPoints = 100;

// Rest states (analysis/Rests): 3 first point of a rest, 0 inside, 4 last point.
inline constexpr int kRestStart = 3;
inline constexpr int kRestInside = 0;
inline constexpr int kRestEnd = 4;

struct FarPoint {
  float dist = -1.0f;  // weighted distance of the candidate
  int pos = -1;        // index of the candidate point
  int start = 0;       // kept indices bounding the segment
  int end = 0;
};

// Removes isolated GPS spikes (far out and straight back, by the time stamps), stopping once
// `target` points remain. Returns the number removed; seg_dist of the point after each spike
// becomes the distance that bridges it.
int checkDistantPoint(std::vector<Track>& points, int target);

// Marks the point before every rest start as a rest start too.
void markPointsBeforeRests(std::vector<int>& states);

// The interior point of (s, e) farthest from the chord, weighted; none without interior points.
// `states` is used only with one entry per point.
std::optional<FarPoint> findFarthest(const std::vector<Track>& points, const std::vector<int>& states, int s, int e);

// Keep flags of the `target` points chosen by the weighted Douglas-Peucker selection
// (both ends always kept; every point when the track has no more than `target`).
std::vector<char> selectPoints(const std::vector<Track>& points, const std::vector<int>& states, int target);

// Removes the points whose keep flag is 0.
void removeUnselected(std::vector<Track>& points, const std::vector<char>& keep);

// Rest detection for the track as it is after spike removal (one state per point, or empty).
using RestDetector = std::function<std::vector<int>(std::vector<Track>&)>;

struct ThinoutResult {
  bool changed = false;  // points were removed
  int spikes = 0;
};

// The whole thinning after the undo snapshot: spikes, rest weighting, selection, removal.
// Distances of the remaining points are left to the caller to recompute.
ThinoutResult thinoutPoints(std::vector<Track>& points, int target, const RestDetector& detectRests);

// Dialog rules, n points, total distance T metres.
struct ThinoutSetting {
  double rate = 0.0;      // percent of points removed
  int points = 0;         // points left
  double interval = 0.0;  // metres between points left
};
ThinoutSetting thinoutDefault(int n, double totalDist);
double thinoutSliderMaximum(int n);
// The slider at `rate`: the point count shown (at least 100) and the interval.
ThinoutSetting thinoutFromRate(int n, double totalDist, double rate);
// A typed point count corrected to 1 %–99 % of n.
int thinoutCorrectPoints(int n, int typed);

}  // namespace tw
