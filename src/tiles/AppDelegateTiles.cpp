// The download queue and the map kind commands of the controller: glue over the TileStore
// (tiles/TileStore.h) and tiles/TilePlan.h.
#include <QMetaObject>
#include <QThread>

#include "app/AppDelegate.h"
#include "tiles/TileDecode.h"
#include "tiles/TileFetch.h"
#include "tiles/TileUrl.h"

namespace {
constexpr int kTileTimeoutMs = 60000;
constexpr unsigned long kPrintPauseMs = 30;
// A postponed DEM operation waits this long before queueing itself again, so a worker does
// not spin while the map tiles ahead of it download.
constexpr unsigned long kPostponePauseMs = 20;

// GSI maps cover Japan only; a document reaching abroad keeps OpenStreetMap.
bool refuseOutside(AppDelegate& app)
{
  if (!app.doc.outside) return false;
  app.boxes().alertMessage(QStringLiteral("エラー"),
                           QStringLiteral("海外のデータが含まれるため、地図はOpenStreetMapしか選べません"));
  return true;
}
}  // namespace

void AppDelegate::openTileCache()
{
  const auto cap = uint64_t(std::max<int64_t>(config.intValue(tw::key::tile_cache_mb), 0)) << 20;
  tileCache = std::make_unique<tw::DiskCache>(tw::DiskCache::defaultRoot(), cap);
  // Said once, from a worker: the map keeps coming from the network.
  tileCache->onWriteFailure = [this] {
    QMetaObject::invokeMethod(
        this,
        [this] {
          boxes().alertMessage(QStringLiteral("エラー"),
                               QStringLiteral("タイルのキャッシュフォルダに書き込めません。\n"
                                              "地図はネットワークから読み込みます。"));
        },
        Qt::QueuedConnection);
  };
}

void AppDelegate::planTiles()
{
  tw::PlanInput in;
  in.backRect = view.backRect;
  in.center_x = view.center_x;
  in.center_y = view.center_y;
  in.zoom = view.zoom;
  in.mode = mode;
  in.map_type = derived.map_type;

  for (const tw::Tile& k : tileStore.plan(in, elevRect)) addRequest(k);
  needsRedraw = true;
}

void AppDelegate::addRequest(const tw::Tile& k)
{
  tileStore.addRequest(k);
  queue.start([this, k] { getTile(k); });
}

void AppDelegate::stopDownloads()
{
  downloads_stopped = true;
  queue.clear();
  if (http()) http()->cancel();
}

void AppDelegate::getTile(const tw::Tile& k)
{
  if (downloads_stopped) {
    removeRequests(k);
    return;
  }
  const bool busy = checkImageRequest();
  const tw::Mode currentMode = tileStore.needs().mode;
  const tw::TileAction action = tw::chooseTileAction(k, checkNeeds(k), busy);
  if (action == tw::TileAction::Drop) {
    removeRequests(k);
    return;
  }
  if (action == tw::TileAction::DownloadImage) downloadImage(k);
  if (action == tw::TileAction::DownloadElevation) downloadElevation(k);
  if (currentMode == tw::Mode::Print) QThread::msleep(kPrintPauseMs);
  if (action == tw::TileAction::Postpone && !downloads_stopped) {
    QThread::msleep(kPostponePauseMs);
    queue.start([this, k] { getTile(k); });
  } else {
    removeRequests(k);
  }
}

bool AppDelegate::downloadImage(const tw::Tile& k)
{
  const bool print = tileStore.needs().mode == tw::Mode::Print;
  tw::DiskCache* cache = tileCache.get();
  std::optional<tw::CacheEntry> known = cache ? cache->get(tw::cacheKey(k)) : std::nullopt;
  if (known) {
    const bool fresh = known->fresh(cache->now());
    MapImagePtr tile = known->status == 200 ? tw::makeMapImage(QByteArray::fromStdString(known->body), k, print)
                                            : tw::makePlaceholder(k);
    if (!tile) {
      cache->remove(tw::cacheKey(k));  // a body that no longer decodes is a miss
      known.reset();
    } else if (known->status != 200 && !fresh) {
      known.reset();  // the server had no tile a day ago: ask again
    } else {
      if (tileStore.addImage(std::move(tile))) map_needs_draw = true;
      // A stale tile stays shown while it is asked for again, unless the network is down.
      if (fresh || !tileStore.net_ok || known->status != 200) return true;
    }
  }

  const HttpResult result = http() ? tw::fetchAndKeep(*http(), cache, k, kTileTimeoutMs, known ? &*known : nullptr)
                                   : HttpResult{0, {}, true, false, {}};
  if (result.cancelled) return true;  // shutting down: no verdict on the network, nothing cached
  if (result.transportError)
    tileStore.net_ok = false;
  else if (result.status == 200 || result.status == 304)
    tileStore.net_ok = true;

  if (known) {
    // Shown already: only a new body replaces it (a 304 refreshed the stamp, errors keep it).
    if (result.status != 200) return true;
    if (MapImagePtr tile = tw::makeMapImage(result.body, k, print)) {
      if (tileStore.replaceImage(std::move(tile))) map_needs_draw = true;
    } else {
      cache->remove(tw::cacheKey(k));
    }
    return true;
  }

  MapImagePtr tile;
  if (result.status == 200) {
    if (!checkNeeds(k)) return true;
    tile = tw::makeMapImage(result.body, k, print);
    if (!tile) tw::keepMissing(cache, k);
  }
  // Transport errors, other statuses and bodies that are not images all cache the placeholder,
  // so the tile is not fetched again while it stays in view.
  if (!tile) tile = tw::makePlaceholder(k);
  // Needed again when it is stored: the view may have moved during decoding.
  if (tileStore.addImage(std::move(tile))) map_needs_draw = true;
  return true;
}

bool AppDelegate::checkNeeds(const tw::Tile& k) { return tileStore.checkNeeds(k); }
bool AppDelegate::findTile(const tw::Tile& k) { return tileStore.findTile(k); }
bool AppDelegate::findRequests(const tw::Tile& k) { return tileStore.findRequests(k); }
bool AppDelegate::checkImageRequest() { return tileStore.checkImageRequest(); }
void AppDelegate::removeRequests(const tw::Tile& k) { tileStore.removeRequests(k); }
void AppDelegate::removeTiles() { tileStore.removeTiles(view.backRect, view.zoom, mode, elevRect); }
void AppDelegate::clearImages() { tileStore.clearImages(); }

void AppDelegate::mapStandard()
{
  if (refuseOutside(*this)) return;
  derived.map_type = tw::MapType::Standard;
  updateMap();
}

void AppDelegate::mapPale()
{
  if (refuseOutside(*this)) return;
  derived.map_type = tw::MapType::Pale;
  updateMap();
}

void AppDelegate::mapPhoto()
{
  if (refuseOutside(*this)) return;
  derived.map_type = tw::MapType::Photo;
  updateMap();
}

void AppDelegate::mapOSM()
{
  derived.map_type = tw::MapType::OSM;
  updateMap();
}

void AppDelegate::changeMap()
{
  const auto next = static_cast<int32_t>(derived.map_type) + 1;
  derived.map_type = derived.map_type < tw::MapType::OSM ? static_cast<tw::MapType>(next) : tw::MapType::Standard;
  updateMap();
}

void AppDelegate::updateMap()
{
  config.setInt(tw::key::map_type, static_cast<int32_t>(derived.map_type));
  if (mode == tw::Mode::Print) return;
  tileStore.changeMapType(derived.map_type);
  updatePosition(view.zoom, view.lat, view.lon);
  redrawAllLayers();
}
