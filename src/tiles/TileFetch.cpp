#include "tiles/TileFetch.h"

#include "tiles/TileUrl.h"

namespace tw {
namespace {

HttpStamp stampOf(const HttpResult& r)
{
  auto text = [&](const char* name) { return r.header(name).toStdString(); };
  return {text("Cache-Control"), text("Expires"), text("Date"), text("Last-Modified"), text("ETag")};
}

}  // namespace

HttpResult fetchAndKeep(HttpClient& http, DiskCache* cache, const Tile& k, int timeoutMs, const CacheEntry* known)
{
  HttpHeaders validators;
  if (known && known->status == 200) {
    if (!known->etag.empty()) validators.append({"If-None-Match", QByteArray::fromStdString(known->etag)});
    if (!known->lastModified.empty())
      validators.append({"If-Modified-Since", QByteArray::fromStdString(known->lastModified)});
  }
  const HttpResult r = http.get(QString::fromStdString(tileUrl(k)), timeoutMs, validators);
  if (!cache || r.transportError) return r;

  const CacheKey key = cacheKey(k);
  const HttpStamp stamp = stampOf(r);
  const int64_t now = cache->now();
  if (r.status == 304 && !validators.isEmpty()) {
    CacheEntry e = *known;
    e.stored = now;
    e.freshUntil = freshUntil(key, 200, stamp, now);
    if (!stamp.etag.empty()) e.etag = stamp.etag;
    if (!stamp.lastModified.empty()) e.lastModified = stamp.lastModified;
    cache->put(key, e);
  } else if (r.status == 200 && !r.body.isEmpty()) {
    cache->put(key, {200, now, freshUntil(key, 200, stamp, now), stamp.lastModified, stamp.etag, r.body.toStdString()});
  } else if (r.status == 404) {
    keepMissing(cache, k);
  }
  return r;
}

void keepMissing(DiskCache* cache, const Tile& k)
{
  if (!cache) return;
  const int64_t now = cache->now();
  const CacheKey key = cacheKey(k);
  cache->put(key, {404, now, freshUntil(key, 404, {}, now), {}, {}, {}});
}

}  // namespace tw
