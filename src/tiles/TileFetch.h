#pragma once
// Fetching a tile through the disk cache: the network half shared by the app's download queue,
// the offline preparation and tarnwick-cli (which decide themselves what a cached entry is worth).

#include "net/HttpClient.h"
#include "tiles/DiskCache.h"
#include "tiles/Tile.h"

namespace tw {

// GETs tile `k` and keeps the answer in `cache` (may be null): a 200 with its stamp and
// validators, a 404 as a tile without data for a day. With `known` (a stale entry) the request
// is conditional, and a 304 refreshes that entry's stamp; the result then keeps status 304.
HttpResult fetchAndKeep(HttpClient& http, DiskCache* cache, const Tile& k, int timeoutMs,
                        const CacheEntry* known = nullptr);

// Remembers for a day that the server has no usable tile `k` (a body that is not a tile).
void keepMissing(DiskCache* cache, const Tile& k);

}  // namespace tw
