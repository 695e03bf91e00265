#pragma once
// Downloading a planned set of tiles into the disk cache for use without a network: two
// requests at a time, tiles already fresh on disk skipped, stale ones revalidated.

#include <atomic>
#include <functional>
#include <vector>

#include "net/HttpClient.h"
#include "tiles/DiskCache.h"
#include "tiles/Tile.h"

namespace tw {

inline constexpr int kPrefetchConcurrency = 2;

struct PrefetchResult {
  std::size_t fetched = 0;  // asked for (200, 304 or 404)
  std::size_t kept = 0;     // fresh on disk already
  std::size_t failed = 0;   // other statuses
  bool transportError = false;  // the server could not be reached: stopped there
  bool cancelled = false;
  bool unwritable = false;  // the cache folder took nothing
};

// Blocks until done, cancelled (`cancel` set, or the client cancelled) or the network fails.
// `progress(done, total)` is called from the worker threads, one call at a time.
PrefetchResult prefetchTiles(HttpClient& http, DiskCache& cache, const std::vector<Tile>& tiles,
                             const std::atomic<bool>& cancel, const std::function<void(std::size_t, std::size_t)>& progress);

}  // namespace tw
