// The DEM downloads and lookups and the elevation fill of the controller: glue over the
// DemStore (elevation/DemStore.h), elevation/DemParse.h, ElevationPlan.h and ElevationFill.h.
#include <QMetaObject>

#include "app/AppDelegate.h"
#include "elevation/DemPanel.h"
#include "elevation/DemParse.h"
#include "elevation/ElevationFill.h"
#include "elevation/ElevationPlan.h"
#include "tiles/TileFetch.h"

namespace {

constexpr int kDemTimeoutMs = 60000;
constexpr int kActionRefetchElevation = 18;

const QString kFallbackTitle = QStringLiteral("エラー");
const QString kFallbackQuestion =
    QStringLiteral("標高が取得できない点が存在します。\n取得できない点の標高をDEM10Bのデータで補完しますか?");
const QString kRestoredTitle = QStringLiteral("メッセージ");
const QString kRestoredMessage = QStringLiteral("標高を元に戻しました");

int showDemPanel(AppDelegate& app)
{
  DemPanel panel(app.config.intValue(tw::key::dem_mode));
  const int code = panel.exec();
  if (code == 1) app.config.setInt(tw::key::dem_mode, panel.selectedMode());
  return code == 1 ? 1 : 0;
}

}  // namespace

// ---- DEM tiles ----

bool AppDelegate::downloadElevation(const tw::Tile& k)
{
  const bool dem5a = k.type == tw::kTileDem5A;
  const tw::DemModel model = dem5a ? tw::DemModel::DEM5A : tw::DemModel::DEM10B;
  tw::DiskCache* cache = tileCache.get();
  // DEM tiles on disk never go stale; a remembered missing tile counts for its day only.
  if (auto known = cache ? cache->get(tw::cacheKey(k)) : std::nullopt;
      known && (known->status == 200 || known->fresh(cache->now()))) {
    if (auto e = tw::demTileFromAnswer(k.x, k.y, model, known->status, known->body)) {
      if (!checkNeeds(k)) return true;
      demStore.add(std::move(e), dem5a);
      graph_needs_draw = true;
      return true;
    }
    cache->remove(tw::cacheKey(k));
  }
  const HttpResult result =
      http() ? tw::fetchAndKeep(*http(), cache, k, kDemTimeoutMs) : HttpResult{0, {}, true, false, {}};
  if (result.cancelled) return false;  // shutting down: the recalculation and network flag stay as they are
  if (result.transportError) {
    // A running recalculation is abandoned; its points stay unknown until asked for again.
    tileStore.net_ok = false;
    dem_mode = 0;
    elev_recalc = false;
    return false;
  }
  tileStore.net_ok = true;
  if (!checkNeeds(k)) return true;

  auto e = tw::demTileFromAnswer(k.x, k.y, model, result.status,
                                 std::string_view(result.body.constData(), std::size_t(result.body.size())));
  if (!e) {
    if (cache) cache->remove(tw::cacheKey(k));
    return false;  // malformed: asked for again at the next requestElevation
  }

  demStore.add(std::move(e), dem5a);
  graph_needs_draw = true;
  return true;
}

float AppDelegate::getElevation(double lat, double lon) { return demStore.elevation(lat, lon); }
float AppDelegate::getElevation5A(double lat, double lon) { return demStore.elevation5A(lat, lon); }

void AppDelegate::requestElevation()
{
  if (!routes() || doc.outside) return;
  const auto keys = tw::planElevationRequests(doc, dem_mode, [this](const tw::Tile& k) {
    return findTile(k) || findRequests(k);
  });
  for (const tw::Tile& k : keys) addRequest(k);
}

// ---- elevation fill ----

void AppDelegate::calcTrackElevation(int track)
{
  if (track < 0 || track >= int(doc.tracks.size())) return;
  const tw::TrackFillResult r = demStore.fillTrack(doc.tracks[track], track == doc.active_track);
  if (r.invalid_track) doc.invalid_track = true;
  if (r.modify) doc.modify = true;
  if (r.route_time) stats.route_time = true;
}

void AppDelegate::checkTrackElevation()
{
  // The fallback question decides what the DEM5A gaps become; nothing is filled until then.
  if (dem_question) return;
  const tw::CheckTrackResult r = demStore.fillTracks(doc.tracks, doc.active_track, dem_mode);
  doc.invalid_track = r.invalid_track;
  if (r.modify) doc.modify = true;
  for (int t : r.changed_tracks) {
    if (t == doc.active_track)
      calcTrackData();
    else
      calcTrackElevation(t);
  }
  if (!r.changed_tracks.empty()) {
    if (derived.show_list == 1) updateTable();
    updateGraph();
  }

  switch (tw::recalcStep(elev_recalc, r.missing_tile, doc.invalid_track, dem_mode)) {
    case tw::RecalcStep::Running:
      break;
    case tw::RecalcStep::Finished:
      dem_mode = 0;
      elev_recalc = false;
      calcTrackData();
      redrawAllLayers();
      break;
    case tw::RecalcStep::AskFallback:
      dem_mode = 0;
      // Asked after the draw tick, not inside it: the tick holds the document lock, and the draw
      // timer would re-enter the fill while the box is open.
      dem_question = true;
      QMetaObject::invokeMethod(this, [this] { askDemFallback(); }, Qt::QueuedConnection);
      break;
  }
}

void AppDelegate::askDemFallback()
{
  if (!dem_question) return;
  if (boxes().confirmMessage(kFallbackTitle, kFallbackQuestion)) {
    dem_question = false;
    tw::resetDem5AGaps(doc.tracks);
    checkTrackElevation();
    requestElevation();
  } else {
    dem_question = false;
    // With no edit since the command this puts back the snapshot it took.
    undo();
    boxes().alertMessage(kRestoredTitle, kRestoredMessage);
  }
  calcTrackData();
  redrawAllLayers();
}

void AppDelegate::checkWayPointElevation()
{
  const tw::WayPointFillResult r = demStore.fillWayPoints(doc.waypoints);
  doc.invalid_wp = r.invalid_wp;
  if (r.changed) {
    doc.modify = true;
    if (derived.show_list == 2) updateTable();
  }
}

void AppDelegate::recalcElevation()
{
  if (!routes() || doc.outside) return;
  if ((runDemPanel ? runDemPanel() : showDemPanel(*this)) != 1) return;
  backupData(kActionRefetchElevation);
  tw::clearElevationsForRecalc(doc);
  doc.invalid_wp = true;
  dem_mode = config.intValue(tw::key::dem_mode) == 1 ? 1 : 0;
  doc.invalid_track = true;
  elev_recalc = true;
  checkTrackElevation();
  checkWayPointElevation();
  requestElevation();
  for (tw::TrackInfo& t : doc.tracks) t.stable = 0;
  redrawAllLayers();
}
