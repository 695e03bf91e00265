// tarnwick-cli prefetch IN.gpx [--zoom 12-16] [--map std|pale|photo]: keeps the GSI map tiles
// and the DEM tiles around the first track in the disk cache, for use without a network.
#include <QCoreApplication>
#include <cstdio>
#include <mutex>

#include "cli/CliCommands.h"
#include "cli/CliDocument.h"
#include "cli/CliQt.h"
#include "net/QtHttpClient.h"
#include "tiles/OfflinePlan.h"
#include "tiles/Prefetch.h"

namespace twcli {

namespace {

int usageError()
{
  std::fprintf(stderr, "tarnwick-cli: usage: prefetch IN.gpx [--zoom 12-16] [--map std|pale|photo]\n");
  return 2;
}

bool parseZooms(const std::string& s, int& lo, int& hi)
{
  char tail = 0;
  const int n = std::sscanf(s.c_str(), "%d-%d%c", &lo, &hi, &tail);
  if (n == 1) hi = lo;
  return (n == 1 || n == 2) && lo >= 2 && hi <= 18 && lo <= hi;
}

}  // namespace

int cmdPrefetch(const Args& args)
{
  std::string in;
  int lo = tw::kOfflineMinZoom, hi = tw::kOfflineMaxZoom;
  tw::MapType map = tw::MapType::Standard;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--zoom" && i + 1 < args.size()) {
      if (!parseZooms(args[++i], lo, hi)) return usageError();
    } else if (a == "--map" && i + 1 < args.size()) {
      const std::string& m = args[++i];
      if (m == "osm") {
        std::fprintf(stderr, "tarnwick-cli: OpenStreetMap tiles are not downloaded in bulk (its tile usage policy forbids it)\n");
        return 1;
      }
      if (m != "std" && m != "pale" && m != "photo") return usageError();
      map = m == "pale" ? tw::MapType::Pale : m == "photo" ? tw::MapType::Photo : tw::MapType::Standard;
    } else if (!a.empty() && a[0] != '-' && in.empty()) {
      in = a;
    } else {
      return usageError();
    }
  }
  if (in.empty()) return usageError();

  auto read = readDocument(in, ParseFailure::Plain);
  if (!read) return 1;
  if (read->outside) {
    std::fprintf(stderr, "tarnwick-cli: %s has points outside Japan; GSI tiles cover Japan only\n", in.c_str());
    return 1;
  }
  const auto area = read->tracks.empty() ? std::nullopt : tw::trackArea(read->tracks[0].points, tw::kOfflineMarginMetres);
  if (!area) {
    std::fprintf(stderr, "tarnwick-cli: %s has no track\n", in.c_str());
    return 1;
  }
  const std::vector<tw::Tile> tiles = tw::planOfflineTiles(*area, lo, hi, map, false);
  if (tiles.size() > tw::kOfflineTileLimit) {
    std::fprintf(stderr, "tarnwick-cli: %zu tiles are more than %zu; choose fewer zoom levels or a shorter track\n",
                 tiles.size(), tw::kOfflineTileLimit);
    return 1;
  }

  const QtApp<QCoreApplication> qt;
  QtHttpClient http;
  tw::DiskCache cache(tw::DiskCache::defaultRoot(), tw::kCacheCapBytes);
  std::atomic<bool> cancel{false};
  std::mutex printing;
  const tw::PrefetchResult r = tw::prefetchTiles(http, cache, tiles, cancel, [&](std::size_t done, std::size_t total) {
    std::lock_guard guard(printing);
    std::fprintf(stderr, "tiles %zu/%zu\n", done, total);
  });
  if (r.unwritable || !cache.writable()) {
    std::fprintf(stderr, "tarnwick-cli: cannot write the tile cache in %s\n", cache.folder().c_str());
    return 1;
  }
  if (r.transportError) {
    std::fprintf(stderr, "tarnwick-cli: cannot reach the tile server; %zu of %zu tiles kept\n", r.fetched + r.kept,
                 tiles.size());
    return 1;
  }
  std::fprintf(stderr, "%zu tiles downloaded, %zu already kept, %zu not available\n", r.fetched, r.kept, r.failed);
  return 0;
}

}  // namespace twcli
