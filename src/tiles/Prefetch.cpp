#include "tiles/Prefetch.h"

#include <mutex>
#include <thread>

#include "tiles/TileFetch.h"

namespace tw {
namespace {
constexpr int kPrefetchTimeoutMs = 60000;
}

PrefetchResult prefetchTiles(HttpClient& http, DiskCache& cache, const std::vector<Tile>& tiles,
                             const std::atomic<bool>& cancel, const std::function<void(std::size_t, std::size_t)>& progress)
{
  PrefetchResult result;
  std::mutex m;
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stop{false};
  std::size_t done = 0;
  auto worker = [&] {
    while (!stop && !cancel) {
      const std::size_t i = next++;
      if (i >= tiles.size()) return;
      const Tile& k = tiles[i];
      const std::optional<CacheEntry> known = cache.get(cacheKey(k));
      const bool kept = known && known->fresh(cache.now());
      HttpResult r;
      if (!kept) r = fetchAndKeep(http, &cache, k, kPrefetchTimeoutMs, known ? &*known : nullptr);
      std::lock_guard guard(m);
      if (r.cancelled) {
        result.cancelled = true;
        stop = true;
      } else if (r.transportError) {
        result.transportError = true;
        stop = true;
      } else {
        ++(kept ? result.kept : (r.status == 200 || r.status == 304 || r.status == 404) ? result.fetched : result.failed);
        if (!cache.writable()) {
          result.unwritable = true;
          stop = true;
        }
        if (progress) progress(++done, tiles.size());
      }
    }
  };
  std::vector<std::thread> threads;
  for (int i = 0; i < kPrefetchConcurrency; ++i) threads.emplace_back(worker);
  for (auto& t : threads) t.join();
  if (cancel) result.cancelled = true;
  return result;
}

}  // namespace tw
