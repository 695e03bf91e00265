// Controller glue of the edit tools and the point edits.
#include <QMutexLocker>
#include <algorithm>
#include <utility>

#include "analysis/Metrics.h"
#include "app/AppDelegate.h"
#include "editing/PointEdits.h"

namespace {

// The DEM10B elevation, −100 while its tile is not cached.
float demElevation(AppDelegate& app, double lat, double lon)
{
  return app.elevationAt ? app.elevationAt(lat, lon) : app.getElevation(lat, lon);
}

}  // namespace

// ---- tools ----

namespace {

void enterTool(AppDelegate& app, tw::EditMode tool)
{
  app.mode = tw::Mode::Edit;
  app.edit_mode = tool;
  app.doc.select = tw::kNoIndex;
  app.doc.select_wp = tw::kNoIndex;
  app.editing.graphPointerShown = false;
  app.hidePopupButton();  // it spoke of the selection just cleared
  app.updateGraph();
}

}  // namespace

void AppDelegate::inputMode()
{
  enterTool(*this, tw::EditMode::Input);
  if (!routes()) {
    tw::addEmptyTrack(doc);
    updateTrackMenu();
    updateTitle();
  }
  double lat = view.lat, lon = view.lon;
  if (const auto* r = routes(); r && !r->empty()) {
    lat = r->back().lat;
    lon = r->back().lon;
  }
  updatePosition(std::max(view.zoom, tw::kEditZoom), lat, lon);
  updateButton();
  redrawAllLayers();
  if (derived.show_list != 0) showTrackList();
}

namespace {

void enterSelectTool(AppDelegate& app, tw::EditMode tool)
{
  enterTool(app, tool);
  if (app.view.zoom >= tw::kEditZoom)
    app.redrawAllLayers();
  else
    app.updatePosition(tw::kEditZoom, app.view.lat, app.view.lon);
  app.updateButton();
  if (app.derived.show_list != 0) {  // the tool's own list
    if (tool == tw::EditMode::Track)
      app.showTrackList();
    else
      app.showWayPointList();
  }
}

}  // namespace

void AppDelegate::trackMode() { enterSelectTool(*this, tw::EditMode::Track); }
void AppDelegate::wayPointMode() { enterSelectTool(*this, tw::EditMode::WayPoint); }

// ---- hit tests ----

void AppDelegate::displayNearPoint(int32_t x, int32_t y, bool hoverValid)
{
  const auto* r = routes();
  if (!r || track_mode == tw::TrackMode::Hidden) return;
  const int found = tw::nearestPoint(*r, x, y, view.zoom);
  if (found >= 0) {
    if (!hoverValid) return;
    doc.select = found;
    if (derived.show_list == 1) selectTableRow(found);
    redrawAllLayers();
    editing.graphPointerShown = true;
    return;
  }
  if (doc.select >= 0) redrawAllLayers();
  doc.select = tw::kNoIndex;
  editing.graphPointerShown = false;
  if (std::exchange(editing.pointPopupShown, false)) emit popupsHidden();
}

void AppDelegate::displayNearWayPoint(int32_t x, int32_t y, bool hoverValid)
{
  if (!config.isOn(tw::key::show_waypoint)) return;
  const int found = tw::nearestWayPoint(doc.waypoints, x, y, view.zoom);
  if (found >= 0) {
    if (!hoverValid) return;
    doc.select_wp = found;
    if (derived.show_list == 2) selectTableRow(found);
    redrawAllLayers();
    return;
  }
  if (derived.show_list == 2) selectTableRow(-1);
  if (doc.select_wp >= 0) redrawAllLayers();
  doc.select_wp = tw::kNoIndex;
  if (std::exchange(editing.wayPointPopupShown, false)) emit popupsHidden();
}

// ---- point edits ----

void AppDelegate::addTrackPoint(float lat, float lon)
{
  auto* r = routes();
  if (!r) return;
  const float elev = view.zoom >= tw::kEditZoom ? demElevation(*this, lat, lon) : tw::kUnknownElevation;
  if (auto t = tw::newTrackPoint(*r, lat, lon, elev)) {
    backupData(tw::kActionAddPoint);
    routes()->push_back(*t);
    doc.modify = true;
  }
  doc.select = tw::kNoIndex;
  redrawAllLayers();
  updateGraph();
  updateButton();
  if (derived.show_list == 1 && routes() && !routes()->empty()) selectTableRow(static_cast<int>(routes()->size()) - 1);
}

void AppDelegate::insertTrackPoint()
{
  auto* r = routes();
  if (!r || doc.select < 0) return;
  if (view.zoom < tw::kEditZoom) {
    showMessage(QString::fromUtf8(tw::kEditZoomMessage), 5000);
    return;
  }
  if (doc.select >= static_cast<int>(r->size()) - 1) return;
  backupData(tw::kActionAddPoint);
  r = routes();
  tw::insertMidPoint(*r, doc.select, tw::kUnknownElevation);
  auto& t = (*r)[doc.select + 1];
  t.elev = demElevation(*this, t.lat, t.lon);
  doc.modify = true;
  tw::recalcDistance(*r);
  updateGraph();
}

bool AppDelegate::deleteTrackPointAtIndex(int index)
{
  auto* r = routes();
  if (!r || index < 0 || index >= static_cast<int>(r->size())) return false;
  backupData(tw::kActionDeletePoint);
  r = routes();
  r->erase(r->begin() + index);
  doc.select = tw::kNoIndex;
  editing.graphPointerShown = false;
  if (derived.show_list == 1) {
    selectTableRow(-1);
    updateTable();
  }
  updateGraph();
  updateButton();
  return true;
}

void AppDelegate::showPopupButton()
{
  const auto* r = routes();
  if (!r || doc.select < 0 || doc.select >= static_cast<int>(r->size())) return;
  editing.pointPopupShown = true;
  emit popupRequested(1);
}

void AppDelegate::hidePopupButton()
{
  const bool shown = editing.pointPopupShown || editing.wayPointPopupShown;
  editing.pointPopupShown = false;
  editing.wayPointPopupShown = false;
  if (shown) emit popupsHidden();
}

void AppDelegate::selectPopup(int item)
{
  auto* r = routes();
  if (!r || doc.select < 0 || doc.select >= static_cast<int>(r->size())) return;
  const int sel = doc.select;
  const QString title = QStringLiteral("確認");
  const QString ask = QStringLiteral("%1個の点を削除します。よろしいですか？");
  switch (item) {
    case tw::kPopupDeletePoint:
      backupData(tw::kActionDeletePoint);
      deleteTrackPointAtIndex(sel);
      doc.modify = true;
      break;
    case tw::kPopupDeleteBefore:
      backupData(tw::kActionDeletePoint);
      if (boxes().confirmMessage(title, ask.arg(sel))) {
        tw::removeFirstPoints(*routes(), sel);
        doc.modify = true;
      }
      break;
    case tw::kPopupDeleteAfter: {
      const int count = static_cast<int>(r->size()) - sel - 1;
      backupData(tw::kActionDeletePoint);
      if (boxes().confirmMessage(title, ask.arg(count))) {
        tw::removeLastPoints(*routes(), count);
        doc.modify = true;
      }
      break;
    }
    case tw::kPopupInsertPoint:
      insertTrackPoint();
      break;
    case tw::kPopupAddOne:
    case tw::kPopupAddTen:
      backupData(tw::kActionAddPoint);
      tw::addOffsetPoints(*routes(), sel, item == tw::kPopupAddOne ? 1 : 10, view.zoom);
      doc.modify = true;
      break;
    default:
      break;
  }
  if (auto* now = routes()) tw::recalcDistance(*now);
  doc.select = tw::kNoIndex;
  updateGraph();
  hidePopupButton();
}

void AppDelegate::dragTrackPoint(double lat, double lon, bool firstEvent)
{
  if (!isTrackMode() || view.zoom < tw::kEditZoom) return;
  QMutexLocker locker(&lock);
  auto* r = routes();
  if (!r || doc.select < 0 || doc.select >= static_cast<int>(r->size())) return;
  if (firstEvent) backupData(tw::kActionMovePoint);
  r = routes();
  lat = tw::roundToFloat(lat);
  lon = tw::roundToFloat(lon);
  const float elev = demElevation(*this, lat, lon);
  tw::movePoint(*r, doc.select, lat, lon, elev);
  displayLocation(lat, lon, elev);
  doc.modify = true;
  updateGraph();
  editing.graphPointerShown = true;
}

// ---- centring ----

void AppDelegate::moveTrack(int index)
{
  const auto* r = routes();
  if (!r || index < 0 || index >= static_cast<int>(r->size())) return;
  updatePosition(view.zoom, (*r)[index].lat, (*r)[index].lon);
  redrawAllLayers();
}

void AppDelegate::moveWayPoint(int index)
{
  if (index < 0 || index >= static_cast<int>(doc.waypoints.size())) return;
  updatePosition(view.zoom, doc.waypoints[index].lat, doc.waypoints[index].lon);
}

void AppDelegate::movePosition(double x, double width)
{
  tw::PosInfo sample;
  {
    QMutexLocker locker(&lock);
    sample = tw::posInfoAt(doc.positions, x, width, stats.total_dist, stats.span);
  }
  if (sample.point_index < 0) return;
  updatePosition(view.zoom, sample.lat, sample.lon);
  if (derived.show_list == 1) {
    updateTable();
    selectTableRow(sample.point_index);
  }
  redrawAllLayers();
}
