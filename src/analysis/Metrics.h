#pragma once
// Per-point distances and speeds of a track, the measured section and the print section.

#include <cstddef>
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

// The two halves of calcSpeed. The forward windows do not depend on `states`: rest detection
// computes them once and, after marking the rests, applies only the correction.
void calcForwardSpeeds(std::vector<Track>& points, bool valid_time);
// Over speeds that hold the forward windows; nothing without valid times or with stale states.
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
