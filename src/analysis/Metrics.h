#pragma once
// Per-point distances and speeds of a track, the measured section and the print section.

#include <cstddef>
#include <optional>
#include <vector>

#include "document/Records.h"

namespace tw {

// Rewrites seg_dist (Hubeny metres from the previous point, 0 for the first) and the running
// dist of every point.
void recalcDistance(std::vector<Track>& points);

// Rewrites speed (m/h, −1 unknown) of every point: a forward window of at least 60 s, then,
// when `states` has one entry per point, the rest correction (approach repaired so that its
// windows end before the rest, and drift from the rest's first point inside it).
void calcSpeed(std::vector<Track>& points, bool valid_time, const std::vector<int>& states);

// The forward windows of calcSpeed alone; returns the sum and count of the speeds of at least
// `moving` m/h.
struct SpeedSum {
  long long sum = 0;
  long long count = 0;
};
SpeedSum calcForwardSpeeds(std::vector<Track>& points, bool valid_time, int moving);

// The forward window of one point after another, for a pass that does other work on the way:
// next(i) sets points[i].speed and must be called for i = 0, 1, 2, … (points with valid times).
class ForwardSpeeds {
 public:
  ForwardSpeeds(std::vector<Track>& points, int moving) : points_(points), moving_(moving) {}
  void next(std::size_t i);
  SpeedSum total() const { return total_; }

 private:
  std::vector<Track>& points_;
  int moving_;
  SpeedSum total_;
  std::size_t carried_ = 0;  // where the previous timed point's window ended
  std::optional<TimePoint> lastTime_;
};

// The rest correction alone, over speeds that already hold the forward windows (calcSpeed is
// this after the forward pass); nothing without valid times or with stale states.
void applyRestCorrection(std::vector<Track>& points, bool valid_time, const std::vector<int>& states);

// A half-open range [start, end) of point indices.
struct Section {
  int start = 0;
  int end = 0;
};

// graph_type 1 → [part_start, part_end), 2 → [range_start, range_end), else the whole track.
Section chooseSection(int graph_type, int part_start, int part_end, int range_start, int range_end,
                      std::size_t count);

// The section may be processed: start inside the points and its last index not past them.
bool sectionInside(Section section, std::size_t count);

struct RectF {
  double x = 0.0;
  double y = 0.0;
  double width = 0.0;
  double height = 0.0;
  // Half-open on the far edges; an empty rectangle contains nothing.
  bool contains(double px, double py) const;
};

// The part of the track on the printed map and outside the printed graph box, widened by one
// point each way; [0, 0) when no point is there. f = 4 for `normal` print, else 2.
Section calcTrackRange(const std::vector<Track>& points, const RectF& printPixelRect,
                       const RectF& printPointRect, const RectF& graphRect, bool normal);

}  // namespace tw
