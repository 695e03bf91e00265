#pragma once
// Headless elevation fill of a whole document: plan the DEM tiles its points need, fetch them
// at most 5 at a time in planning order, fill, and with DEM5A fill its gaps from DEM10B (the
// batch answer to the fallback question).

#include <functional>
#include <string>

#include "document/DocumentState.h"
#include "tiles/Tile.h"

namespace tw {

// One DEM answer: status and body, or a transport failure.
struct DemAnswer {
  bool transportError = false;
  int status = 0;
  std::string body;
};
using DemFetch = std::function<DemAnswer(const Tile& k)>;  // called from worker threads
// Tiles done and needed in the current round; called from worker threads, one at a time.
using DemProgress = std::function<void(std::size_t done, std::size_t needed)>;

struct BatchResult {
  bool transportError = false;  // the server could not be reached; the document is partly filled
  Tile failedTile;              // the key whose fetch failed
  std::size_t tilesFetched = 0;
  std::size_t malformedTiles = 0;  // answers that were not 256 lines of 256 cells
  int dem5aGaps = 0;               // points DEM5A had no data for, filled from DEM10B
  int stillUnknown = 0;            // track points and waypoints left at −100.0
};

inline constexpr int kMaxConcurrentDownloads = 5;

// `recalc` throws every track elevation away first (waypoints keep known elevations).
BatchResult fillDocumentElevations(DocumentState& doc, bool dem5a, bool recalc, const DemFetch& fetch,
                                   const DemProgress& progress);

}  // namespace tw
