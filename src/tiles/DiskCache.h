#pragma once
// Map and DEM tiles kept on disk between runs, one file per tile, with the stamp and validators
// of the answer they came in. Thread-safe: the download workers read and write it concurrently,
// and two processes may share the folder (every write is a temporary file renamed into place).
// No Qt, so the command-line tool uses it too.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>

#include "tiles/Tile.h"

namespace tw {

// Which tile a file holds: source ("gsi", "osm"), kind ("std", "pale", "photo", "osm", "dem",
// "dem5a"), zoom, x and y.
struct CacheKey {
  std::string source;
  std::string kind;
  int32_t zoom = 0;
  int32_t x = 0;
  int32_t y = 0;
};
CacheKey cacheKey(const Tile& k);

// The caching headers of one answer, as sent (empty when absent).
struct HttpStamp {
  std::string cacheControl;
  std::string expires;
  std::string date;
  std::string lastModified;
  std::string etag;
};

// The default cap (the app's is a setting).
inline constexpr uint64_t kCacheCapBytes = uint64_t{1024} << 20;
inline constexpr int64_t kKeptForever = std::numeric_limits<int64_t>::max();

struct CacheEntry {
  int status = 200;        // 200: `body` is the tile; 404: the server had none (a placeholder)
  int64_t stored = 0;      // Unix seconds of the fetch or of the last revalidation
  int64_t freshUntil = 0;  // Unix seconds; kKeptForever for DEM tiles
  std::string lastModified;
  std::string etag;
  std::string body;

  bool fresh(int64_t now) const { return now < freshUntil; }
};

// Seconds since 1970 of an HTTP date ("Sun, 06 Nov 1994 08:49:37 GMT"); nullopt otherwise.
std::optional<int64_t> parseHttpDate(std::string_view s);
// When an answer of `status` for `key` received at `now` stops being fresh. Headers first
// (max-age, then Expires against Date; no-cache and no-store mean at once); OpenStreetMap
// tiles stay at least 7 days, GSI map tiles without headers 30 days, DEM tiles for good and
// answers without a tile (404) one day.
int64_t freshUntil(const CacheKey& key, int status, const HttpStamp& stamp, int64_t now);

class DiskCache {
 public:
  // `root` is the application's cache folder; the files go into a layout folder below it.
  // `capBytes` bounds the total size of the tile files (0: nothing is written).
  DiskCache(std::filesystem::path root, uint64_t capBytes);

  // TARNWICK_CACHE_DIR, else $XDG_CACHE_HOME/Tarnwick, else ~/.cache/Tarnwick.
  static std::filesystem::path defaultRoot();

  // The stored entry, fresh or not. A truncated, empty or unreadable file is deleted.
  std::optional<CacheEntry> get(const CacheKey& key);
  // Writes atomically; false when writing is off or fails (which turns it off for good).
  bool put(const CacheKey& key, const CacheEntry& entry);
  void remove(const CacheKey& key);

  bool writable() const;
  // Total bytes of the tile files known to this process (the folder is scanned on first use).
  uint64_t size();
  const std::filesystem::path& folder() const { return folder_; }

  // Called once, from the writing thread, when writing is turned off (unwritable folder, full disk).
  std::function<void()> onWriteFailure;
  // The clock of the stamps and of the access order (tests replace it).
  std::function<int64_t()> now;

 private:
  std::filesystem::path pathOf(const CacheKey& key) const;
  void disableWriting();
  void scanLocked();
  void touchLocked(const std::string& path, uint64_t bytes);
  void forgetLocked(const std::string& path);
  void evictLocked(const std::string& keep);

  std::filesystem::path folder_;
  uint64_t cap_;
  mutable std::mutex mutex_;
  bool writable_ = true;  // guarded by mutex_
  bool scanned_ = false;
  uint64_t total_ = 0;
  uint64_t tick_ = 0;  // access order: larger is more recent
  struct Use {
    uint64_t bytes;
    uint64_t tick;
  };
  std::unordered_map<std::string, Use> uses_;
  std::set<std::pair<uint64_t, std::string>> order_;  // (tick, path), least recently used first
};

}  // namespace tw
