// tarnwick-cli pdf IN.gpx -o OUT.pdf [...]: the printed sheet without a window. Tiles of the
// print area come from the same hosts as the app's (TARNWICK_GSI_BASE), five at a time.
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>

#include "analysis/Metrics.h"
#include "analysis/TrackAnalysis.h"
#include "app/ConfigStore.h"
#include "cli/CliCommands.h"
#include "cli/CliDocument.h"
#include "cli/CliQt.h"
#include "gpx/GpxWriter.h"
#include "graph/GraphDraw.h"
#include "net/QtHttpClient.h"
#include "tiles/DiskCache.h"
#include "tiles/TileFetch.h"
#include "print/PrintDraw.h"
#include "tiles/TileDecode.h"
#include "tiles/Hosts.h"
#include "tiles/TileUrl.h"
#include "view/WayPointLabels.h"

namespace twcli {

namespace {

constexpr int kTileTimeoutMs = 30000;
constexpr int kWorkers = 5;

const char* kUsage =
    "pdf IN.gpx -o OUT.pdf [--paper B5|A4|B4|A3] [--landscape] [--scale 10000|12500|15000|25000] "
    "[--center LAT,LON] [--graph] [--gray] [--quality 0|1] [--conveni] [--allow-missing]";

int usageError()
{
  std::fprintf(stderr, "tarnwick-cli: usage: %s\n", kUsage);
  return 2;
}

int indexOf(const std::string& v, std::initializer_list<const char*> names)
{
  int i = 0;
  for (const char* n : names) {
    if (v == n) return i;
    ++i;
  }
  return -1;
}

std::optional<tw::LatLon> parseCentre(const std::string& s)
{
  const auto comma = s.find(',');
  if (comma == std::string::npos) return std::nullopt;
  try {
    std::size_t used = 0;
    const double lat = std::stod(s.substr(0, comma), &used);
    if (used != comma) return std::nullopt;
    const std::string rest = s.substr(comma + 1);
    const double lon = std::stod(rest, &used);
    if (used != rest.size()) return std::nullopt;
    return tw::LatLon{lat, lon};
  } catch (...) {
    return std::nullopt;
  }
}

// Middle of the active track's extent, else of the waypoints'.
std::optional<tw::LatLon> documentCentre(const tw::DocumentState& doc)
{
  double s = 90, n = -90, w = 180, e = -180;
  auto take = [&](double lat, double lon) {
    s = std::min(s, lat), n = std::max(n, lat), w = std::min(w, lon), e = std::max(e, lon);
  };
  if (doc.active_track >= 0)
    for (const tw::Track& t : doc.tracks[doc.active_track].points) take(t.lat, t.lon);
  if (s > n)
    for (const tw::WayPoint& p : doc.waypoints) take(p.lat, p.lon);
  if (s > n) return std::nullopt;
  return tw::LatLon{(s + n) / 2, (w + e) / 2};
}

std::string tileName(const tw::Tile& k)
{
  return std::to_string(k.zoom) + "/" + std::to_string(k.x) + "/" + std::to_string(k.y);
}

// Every tile fetched (a placeholder where it failed); `missing` names the failures.
// A map tile's bytes: a fresh cached copy, else the server's answer (kept in the cache), else a
// stale copy when the server has nothing newer or cannot be reached; empty when none is usable.
QByteArray tileBytes(HttpClient& http, tw::DiskCache& cache, const tw::Tile& k)
{
  const tw::CacheKey key = tw::cacheKey(k);
  std::optional<tw::CacheEntry> kept = cache.get(key);
  if (kept && kept->status != 200) kept.reset();  // a remembered 404 is asked again: the sheet needs the tile
  if (kept && kept->fresh(cache.now())) return QByteArray::fromStdString(kept->body);
  const HttpResult r = tw::fetchAndKeep(http, &cache, k, kTileTimeoutMs, kept ? &*kept : nullptr);
  if (!r.transportError && r.status == 200) return r.body;
  return kept ? QByteArray::fromStdString(kept->body) : QByteArray();
}

std::vector<MapImagePtr> fetchTiles(const std::vector<tw::Tile>& keys, std::vector<tw::Tile>& missing)
{
  QtHttpClient http;
  tw::DiskCache cache(tw::DiskCache::defaultRoot(), tw::kCacheCapBytes);
  sayWhenUnwritable(cache);
  std::vector<MapImagePtr> tiles(keys.size());
  std::vector<char> failed(keys.size(), 0);
  std::atomic<std::size_t> next{0}, done{0};
  std::mutex printing;
  auto work = [&] {
    for (std::size_t i = next++; i < keys.size(); i = next++) {
      const QByteArray body = tileBytes(http, cache, keys[i]);
      MapImagePtr t;
      if (!body.isEmpty()) t = tw::makeMapImage(body, keys[i], true);
      if (!t) {
        t = tw::makePlaceholder(keys[i]);
        failed[i] = 1;
      }
      tiles[i] = std::move(t);
      const std::size_t n = ++done;
      if (n % 20 == 0 || n == keys.size()) {
        std::lock_guard<std::mutex> guard(printing);
        std::fprintf(stderr, "map tiles %zu/%zu\n", n, keys.size());
      }
    }
  };
  std::vector<std::thread> workers;
  for (int i = 0; i < kWorkers; ++i) workers.emplace_back(work);
  for (auto& t : workers) t.join();
  for (std::size_t i = 0; i < keys.size(); ++i)
    if (failed[i]) missing.push_back(keys[i]);
  return tiles;
}

}  // namespace

int cmdPdf(const Args& args)
{
  std::string in, out;
  std::optional<tw::LatLon> centre;
  int paper = -1, scale = -1, quality = -1;
  bool landscape = false, graph = false, gray = false, conveni = false, allowMissing = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool more = i + 1 < args.size();
    if (a == "-o" && more) {
      out = args[++i];
    } else if (a == "--paper" && more) {
      if ((paper = indexOf(args[++i], {"B5", "A4", "B4", "A3"})) < 0) return usageError();
    } else if (a == "--scale" && more) {
      if ((scale = indexOf(args[++i], {"10000", "12500", "15000", "25000"})) < 0) return usageError();
    } else if (a == "--quality" && more) {
      if ((quality = indexOf(args[++i], {"0", "1"})) < 0) return usageError();
    } else if (a == "--center" && more) {
      if (!(centre = parseCentre(args[++i]))) return usageError();
    } else if (a == "--landscape") {
      landscape = true;
    } else if (a == "--graph") {
      graph = true;
    } else if (a == "--gray") {
      gray = true;
    } else if (a == "--conveni") {
      conveni = true;
    } else if (a == "--allow-missing") {
      allowMissing = true;
    } else if (!a.empty() && a[0] != '-' && in.empty()) {
      in = a;
    } else {
      return usageError();
    }
  }
  if (in.empty() || out.empty()) return usageError();

  auto read = readDocument(in);
  if (!read) return 1;
  tw::DocumentState doc;
  doc.tracks = std::move(read->tracks);
  doc.waypoints = std::move(read->waypoints);
  doc.active_track = doc.tracks.empty() ? tw::kNoIndex : 0;
  doc.outside = read->outside;
  if (doc.outside) {
    std::fprintf(stderr, "tarnwick-cli: %s has points outside Japan; the print covers Japan only\n", in.c_str());
    return 1;
  }
  if (!centre) centre = documentCentre(doc);
  if (!centre) {
    std::fprintf(stderr, "tarnwick-cli: %s has no track or waypoint to centre the sheet on\n", in.c_str());
    return 1;
  }
  if (!tw::checkLat(centre->lat, centre->lon)) {
    std::fprintf(stderr, "tarnwick-cli: the centre %.6f,%.6f lies outside Japan\n", centre->lat, centre->lon);
    return 1;
  }

  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const QtApp<QGuiApplication> qt;

  // Settings not given on the command line come from the stored configuration.
  tw::Config config;
  tw::DerivedConfig derived;
  tw::ViewportState view;
  tw::loadConfig(ConfigStore().read(), {0, 0, 1280, 800}, config, derived, view);
  if (paper >= 0) config.setInt(tw::key::paper, paper);
  if (scale >= 0) config.setInt(tw::key::scale, scale);
  if (quality >= 0) config.setInt(tw::key::quality, quality);
  if (landscape) config.setInt(tw::key::direction, 1);
  if (gray) config.setInt(tw::key::color, 1);
  if (conveni) config.setInt(tw::key::conveni, 1);

  for (tw::TrackInfo& t : doc.tracks) {
    tw::recalcDistance(t.points);
    tw::analyzeTrack(t, false);
  }
  const QFontMetricsF fm(tw::printFont(QString::fromStdString(config.stringValue(tw::key::wp_font_name)),
                                       config.doubleValue(tw::key::wp_font_size)));
  tw::calcWayPointPosition(doc.waypoints, doc.tracks, doc.routes(), config.intValue(tw::key::scale),
                           [&fm](const std::string& text) {
                             const QSizeF s = fm.size(Qt::TextSingleLine, QString::fromStdString(text));
                             return std::make_pair(s.width(), s.height());
                           });

  auto sheet = tw::makePrintSheet(config, *centre);
  if (!sheet) {
    std::fprintf(stderr, "tarnwick-cli: the stored paper size has no sheet\n");
    return 1;
  }
  sheet->print_graph = graph;
  sheet->track_mode = tw::TrackMode::Active;

  std::vector<tw::Tile> missing;
  const std::vector<MapImagePtr> tiles = fetchTiles(tw::printTiles(*sheet), missing);
  if (!missing.empty()) {
    std::string names;
    for (std::size_t i = 0; i < missing.size() && i < 10; ++i) names += (i ? ", " : "") + tileName(missing[i]);
    if (missing.size() > 10) names += ", ...";
    std::fprintf(stderr, "tarnwick-cli: %zu map tiles could not be fetched from %s: %s\n", missing.size(),
                 tw::gsiBase().c_str(), names.c_str());
    if (!allowMissing) {
      std::fprintf(stderr, "tarnwick-cli: nothing written (--allow-missing prints placeholders)\n");
      return 1;
    }
  }

  QImage offscreen;
  if (sheet->gray && !sheet->print_graph) {
    offscreen = tw::makeOffscreen(*sheet);
    tw::drawOffscreen(offscreen, *sheet, tiles);
  }
  const tw::GraphModel model = tw::graphModelFor(doc, config, false);
  const QByteArray pdf = tw::createPDFData(
      *sheet, tiles, offscreen.isNull() ? nullptr : &offscreen, doc, QFileInfo(QString::fromStdString(in)).completeBaseName(),
      [&model](QPainter& p, const QRectF& r) { tw::drawGraphPDF(p, r, true, model); });
  if (!tw::writeFileAtomically(out, std::string_view(pdf.constData(), pdf.size()))) {
    std::fprintf(stderr, "tarnwick-cli: cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}

}  // namespace twcli
