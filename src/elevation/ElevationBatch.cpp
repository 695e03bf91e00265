#include "elevation/ElevationBatch.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "elevation/DemLookup.h"
#include "elevation/DemParse.h"
#include "elevation/ElevationFill.h"
#include "elevation/ElevationPlan.h"

namespace tw {

namespace {

struct Caches {
  ElevationList dem10b;
  ElevationList dem5a;
  std::vector<Tile> failed;  // malformed answers: not asked for again in this run

  bool known(const Tile& k) const
  {
    const ElevationList& c = k.type == kTileDem5A ? dem5a : dem10b;
    if (findElevation(c, k.x, k.y)) return true;
    return std::any_of(failed.begin(), failed.end(),
                       [&](const Tile& f) { return f.x == k.x && f.y == k.y && f.type == k.type; });
  }
};

// Fetches `keys` with up to five workers taking keys in order. False on a transport error.
bool fetchAll(const std::vector<Tile>& keys, Caches& caches, const DemFetch& fetch, const DemProgress& progress,
              BatchResult& result)
{
  std::mutex m;
  std::atomic<std::size_t> next{0};
  std::atomic<bool> broken{false};
  std::size_t done = 0;
  auto worker = [&] {
    for (;;) {
      if (broken) return;
      const std::size_t i = next++;
      if (i >= keys.size()) return;
      const Tile& k = keys[i];
      const DemAnswer a = fetch(k);
      std::lock_guard<std::mutex> guard(m);
      if (a.transportError) {
        if (!broken.exchange(true)) result.failedTile = k;
        return;
      }
      const DemModel model = k.type == kTileDem5A ? DemModel::DEM5A : DemModel::DEM10B;
      if (auto e = demTileFromAnswer(k.x, k.y, model, a.status, a.body)) {
        (k.type == kTileDem5A ? caches.dem5a : caches.dem10b).push_back(std::move(e));
        ++result.tilesFetched;
      } else {
        caches.failed.push_back(k);
        ++result.malformedTiles;
      }
      ++done;
      if (progress) progress(done, keys.size());
    }
  };
  const int n = int(std::min<std::size_t>(keys.size(), kMaxConcurrentDownloads));
  std::vector<std::thread> threads;
  for (int i = 0; i < n; ++i) threads.emplace_back(worker);
  for (auto& t : threads) t.join();
  return !broken;
}

int countUnknown(const DocumentState& doc)
{
  int n = 0;
  for (const TrackInfo& t : doc.tracks)
    for (const Track& p : t.points) n += p.elev == kUnknownElevation || p.elev == kDem5ANoData;
  for (const WayPoint& w : doc.waypoints) n += w.elev == kUnknownElevation;
  return n;
}

}  // namespace

BatchResult fillDocumentElevations(DocumentState& doc, bool dem5a, bool recalc, const DemFetch& fetch,
                                   const DemProgress& progress)
{
  BatchResult result;
  if (recalc) {
    clearElevationsForRecalc(doc);
    for (TrackInfo& t : doc.tracks) t.stable = 0;
  }
  Caches caches;
  int dem_mode = dem5a ? 1 : 0;
  // The chosen DEM first; with DEM5A a second round fetches DEM10B for its gaps.
  for (int round = 0; round < 2; ++round) {
    const auto keys = planElevationRequests(doc, dem_mode, [&](const Tile& k) { return caches.known(k); });
    if (!fetchAll(keys, caches, fetch, progress, result)) {
      result.transportError = true;
      break;
    }
    fillAllTracks(doc.tracks, doc.active_track, dem_mode, caches.dem10b, caches.dem5a);
    fillWayPoints(doc.waypoints, caches.dem10b);
    if (dem_mode != 1) break;
    result.dem5aGaps = resetDem5AGaps(doc.tracks);
    dem_mode = 0;
    if (result.dem5aGaps == 0 && countUnknown(doc) == 0) break;
  }
  // Peak marks follow the new elevations.
  for (std::size_t t = 0; t < doc.tracks.size(); ++t)
    calcTrackElevation(doc.tracks[t], int(t) == doc.active_track, caches.dem10b);
  result.stillUnknown = countUnknown(doc);
  return result;
}

}  // namespace tw
