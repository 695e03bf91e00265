#pragma once
// The peak/col marking pass: peak_type 1 at peaks and 2 at cols, alternating, a candidate being
// replaced by any more extreme point until the track has moved about 101 zoom-18 pixels away
// and then turned by more than the threshold (30 m for measured elevations, 10 m otherwise).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/Records.h"

namespace tw {

// The marking run point by point, so that an elevation fill can run on each point just before
// it is marked:
//
//   PeakMarker marker(points.front(), track.stable);   // point 0 as stored, before any fill
//   for (i ...) { Track w = points[i]; w.peak_type = 0; /* fill w.elev */ marker.mark(points, i, w); }
class PeakMarker {
 public:
  PeakMarker(const Track& first, int32_t stable);

  // Marks `working` (point i with its elevation filled) and writes it back at i; may clear the
  // mark of an earlier candidate. A point whose elevation is still unknown takes no part; only
  // its old mark is cleared, so no stale peak sits at an unknown elevation.
  void mark(std::vector<Track>& points, std::size_t i, Track working);

  // The same for a point whose elevation needs no fill: only its mark is rewritten.
  void markInPlace(std::vector<Track>& points, std::size_t i);

 private:
  // The new mark of a point at (x, y, elev) with index i; clears a replaced candidate's mark.
  int32_t decide(std::vector<Track>& points, std::size_t i, int32_t x, int32_t y, float elev);

  struct Candidate {
    std::size_t index = 0;
    int32_t x = 0;
    int32_t y = 0;
  };
  float threshold_;
  float upper_;
  float lower_;
  Candidate peak_;
  Candidate col_;
};

// The whole pass over `points` without a fill.
void markPeaks(std::vector<Track>& points, int32_t stable);

}  // namespace tw
