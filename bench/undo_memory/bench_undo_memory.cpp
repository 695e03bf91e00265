// Fills the undo history with 20 snapshots of a 100,000-point document (alternating edit kinds
// so that nothing merges) and reports the bytes the snapshots hold, by their own count and by
// the heap in use before and after.
#include <malloc.h>

#include <cstdio>
#include <cstdlib>

#include "editing/UndoHistory.h"

int main(int argc, char** argv)
{
  const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
  tw::DocumentState doc;
  tw::TrackInfo t;
  for (int i = 0; i < n; ++i) {
    tw::Track p;
    tw::setPosition(p, 35.6 + i * 1e-6, 139.2 + i * 1e-6);
    p.time = tw::TimePoint{std::chrono::milliseconds{1'700'000'000'000LL + i * 5000LL}};
    t.points.push_back(p);
  }
  t.points.shrink_to_fit();
  doc.tracks.push_back(std::move(t));
  doc.active_track = 0;

  const size_t before = mallinfo2().uordblks;
  tw::UndoHistory history;
  for (int k = 0; k < 40; ++k) {
    history.backupData(doc, tw::MapCentre{35.6, 139.2, 16}, k % 2 ? tw::kActionAddPoint : tw::kActionMovePoint);
    doc.routes()->at(0).elev = static_cast<float>(k);
  }
  // Undo from the newest state stores the current document too, still within the limit.
  history.undo(doc, tw::MapCentre{35.6, 139.2, 16});
  const size_t after = mallinfo2().uordblks;
  const double mb = 1024.0 * 1024.0;
  std::printf("points per snapshot: %d, sizeof(Track): %zu bytes\n", n, sizeof(tw::Track));
  std::printf("snapshots: %d (after one undo)\n", history.count());
  std::printf("snapshot arrays: %.1f MiB (%.2f MiB per snapshot)\n", history.approximateBytes() / mb,
              history.approximateBytes() / mb / history.count());
  std::printf("heap growth: %.1f MiB\n", (after - before) / mb);
  return 0;
}
