// tarnwick-cli elevation IN.gpx -o OUT.gpx [--dem 10b|5a] [--recalc]: fills missing elevations
// (or recalculates all track elevations) from the GSI DEM tiles.
#include <QCoreApplication>
#include <cstdio>
#include <mutex>

#include "cli/CliCommands.h"
#include "cli/CliDocument.h"
#include "cli/CliQt.h"
#include "elevation/DemParse.h"
#include "elevation/ElevationBatch.h"
#include "net/QtHttpClient.h"
#include "tiles/DiskCache.h"
#include "tiles/Hosts.h"
#include "tiles/TileFetch.h"
#include "tiles/TileUrl.h"

namespace twcli {

namespace {

constexpr int kDemTimeoutMs = 60000;

// A DEM tile from the cache (kept for good, a missing one for its day), else from the server.
tw::DemAnswer fetchDem(HttpClient& http, tw::DiskCache& cache, const tw::Tile& k)
{
  const tw::CacheKey key = tw::cacheKey(k);
  if (auto e = cache.get(key); e && (e->status == 200 || e->fresh(cache.now()))) {
    const auto model = k.type == tw::kTileDem5A ? tw::DemModel::DEM5A : tw::DemModel::DEM10B;
    if (tw::demTileFromAnswer(k.x, k.y, model, e->status, e->body)) return {false, e->status, std::move(e->body)};
    cache.remove(key);
  }
  const HttpResult h = tw::fetchAndKeep(http, &cache, k, kDemTimeoutMs);
  return {h.transportError, h.status, h.body.toStdString()};
}

int usageError()
{
  std::fprintf(stderr, "tarnwick-cli: usage: elevation IN.gpx -o OUT.gpx [--dem 10b|5a] [--recalc]\n");
  return 2;
}

}  // namespace

int cmdElevation(const Args& args)
{
  std::string in, out;
  bool dem5a = false, recalc = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-o" && i + 1 < args.size()) {
      out = args[++i];
    } else if (a == "--dem" && i + 1 < args.size()) {
      const std::string& d = args[++i];
      if (d != "10b" && d != "5a") return usageError();
      dem5a = d == "5a";
    } else if (a == "--recalc") {
      recalc = true;
    } else if (!a.empty() && a[0] != '-' && in.empty()) {
      in = a;
    } else {
      return usageError();
    }
  }
  if (in.empty() || out.empty()) return usageError();

  auto read = readDocument(in, ParseFailure::Plain);
  if (!read) return 1;
  tw::DocumentState doc;
  doc.tracks = std::move(read->tracks);
  doc.waypoints = std::move(read->waypoints);
  doc.active_track = doc.tracks.empty() ? tw::kNoIndex : 0;
  doc.outside = read->outside;
  if (doc.outside) {
    std::fprintf(stderr, "tarnwick-cli: %s has points outside Japan; DEM tiles cover Japan only\n", in.c_str());
    return 1;
  }
  if (doc.tracks.empty()) {
    std::fprintf(stderr, "tarnwick-cli: %s has no track to fill\n", in.c_str());
    return 1;
  }

  const QtApp<QCoreApplication> qt;
  QtHttpClient http;
  tw::DiskCache cache(tw::DiskCache::defaultRoot(), tw::kCacheCapBytes);
  sayWhenUnwritable(cache);
  std::mutex printing;
  const tw::BatchResult r = tw::fillDocumentElevations(
      doc, dem5a, recalc,
      [&](const tw::Tile& k) { return fetchDem(http, cache, k); },
      [&](std::size_t done, std::size_t needed) {
        std::lock_guard<std::mutex> guard(printing);
        std::fprintf(stderr, "DEM tiles %zu/%zu\n", done, needed);
      });
  if (r.transportError) {
    std::fprintf(stderr, "tarnwick-cli: cannot reach the DEM server %s (tile %s); nothing written\n",
                 tw::gsiBase().c_str(), tw::tileUrl(r.failedTile).c_str());
    return 1;
  }
  if (r.dem5aGaps) std::fprintf(stderr, "DEM5A has no data at %d points; filled from DEM10B\n", r.dem5aGaps);
  if (r.malformedTiles) std::fprintf(stderr, "%zu DEM tiles were malformed and not used\n", r.malformedTiles);
  if (r.stillUnknown) std::fprintf(stderr, "%d points are still without elevation\n", r.stillUnknown);

  return writeDocument(out, doc.tracks, doc.waypoints, doc.active_track) ? 0 : 1;
}

}  // namespace twcli
