// Controller glue of the waypoint edits, table-row deletion and waypoint attachment.
#include <QMutexLocker>
#include <utility>

#include "analysis/Metrics.h"
#include "app/AppDelegate.h"
#include "editing/PointEdits.h"
#include "editing/WayPointPanel.h"

namespace {

// The DEM10B elevation, −100 while its tile is not cached.
float demElevation(AppDelegate& app, double lat, double lon)
{
  return app.elevationAt ? app.elevationAt(lat, lon) : app.getElevation(lat, lon);
}

// Runs the waypoint dialog; a name that would break the file is refused here too.
bool runPanel(AppDelegate& app, tw::WayPointValues& v)
{
  if (app.runWayPointPanel) {
    if (!app.runWayPointPanel(v)) return false;
  } else {
    WayPointPanel panel(v, app.boxes());
    if (panel.exec() != 1) return false;
    v = panel.values();
  }
  if (!tw::isAcceptableName(v.name)) {
    app.boxes().alertMessage(QString::fromUtf8(tw::kBadNameTitle), QString::fromUtf8(tw::kBadNameMessage));
    return false;
  }
  return true;
}

}  // namespace

void AppDelegate::showWayPointButton(double lon, double lat)
{
  const bool selected = doc.select_wp >= 0 && doc.select_wp < static_cast<int>(doc.waypoints.size());
  if (!selected) {
    // Stored as the "w" key stores it, so both ways of creating give the same waypoint.
    editing.select_lon = tw::roundToFloat(lon);
    editing.select_lat = tw::roundToFloat(lat);
  }
  editing.createWayPointItem = !selected;
  editing.editWayPointItem = selected;
  editing.deleteWayPointItem = selected;
  editing.wayPointPopupShown = true;
  emit popupRequested(2);
}

void AppDelegate::addWayPoint(double lat, double lon)
{
  if (view.zoom < tw::kEditZoom) {
    showMessage(QString::fromUtf8(tw::kEditZoomMessage), 5000);
    return;
  }
  editing.select_lat = tw::roundToFloat(lat);
  editing.select_lon = tw::roundToFloat(lon);
  createWayPoint();
}

void AppDelegate::createWayPoint()
{
  if (std::exchange(editing.wayPointPopupShown, false)) emit popupsHidden();
  tw::WayPointValues v;
  v.lat = editing.select_lat;
  v.lon = editing.select_lon;
  v.elev = demElevation(*this, v.lat, v.lon);
  if (!runPanel(*this, v)) return;
  backupData(tw::kActionAddWayPoint);
  tw::WayPoint w;
  w.setPosition(editing.select_lat, editing.select_lon);
  w.name = v.name;
  w.elev = v.elev;
  if (w.elev == tw::kUnknownElevation) doc.invalid_wp = true;
  doc.waypoints.push_back(w);
  doc.modify = true;
  calcWayPointPosition();
  if (derived.show_list == 2) updateTable();
  updateGraph();
}

void AppDelegate::editWayPointAtIndex(int index)
{
  if (index < 0 || index >= static_cast<int>(doc.waypoints.size())) return;
  if (std::exchange(editing.wayPointPopupShown, false)) emit popupsHidden();
  const tw::WayPoint& old = doc.waypoints[index];
  tw::WayPointValues v{old.lat, old.lon, old.name, old.elev};
  if (!runPanel(*this, v)) return;
  backupData(tw::kActionEditWayPoint);
  tw::WayPoint w = doc.waypoints[index];
  w.name = v.name;
  w.elev = v.elev;
  doc.waypoints[index] = w;
  doc.modify = true;
  calcWayPointPosition();
  updateGraph();
}

void AppDelegate::editWayPoint() { editWayPointAtIndex(doc.select_wp); }

void AppDelegate::deleteWayPoint()
{
  const int i = doc.select_wp;
  if (i < 0 || i >= static_cast<int>(doc.waypoints.size())) return;
  if (std::exchange(editing.wayPointPopupShown, false)) emit popupsHidden();
  if (!boxes().confirmMessage(QStringLiteral("確認"), QStringLiteral("ウェイポイントを削除します。よろしいですか？"))) return;
  backupData(tw::kActionDeleteWayPoint);
  doc.waypoints.erase(doc.waypoints.begin() + i);
  doc.select_wp = tw::kNoIndex;  // the index would now name the next waypoint
  doc.modify = true;
  updateGraph();
}

bool AppDelegate::deleteWayPointAtIndex(int index)
{
  if (index < 0 || index >= static_cast<int>(doc.waypoints.size())) return false;
  backupData(tw::kActionDeleteWayPoint);
  doc.waypoints.erase(doc.waypoints.begin() + index);
  doc.modify = true;
  doc.select_wp = tw::kNoIndex;
  if (derived.show_list == 2) {
    selectTableRow(-1);
    updateTable();
  }
  updateGraph();
  return true;
}

void AppDelegate::dragWayPoint(double lat, double lon, bool firstEvent)
{
  if (!isWayPointMode() || view.zoom < tw::kEditZoom) return;
  QMutexLocker locker(&lock);
  const int i = doc.select_wp;
  if (i < 0 || i >= static_cast<int>(doc.waypoints.size())) return;
  if (firstEvent) backupData(tw::kActionMoveWayPoint);
  lat = tw::roundToFloat(lat);
  lon = tw::roundToFloat(lon);
  tw::WayPoint w;
  w.setPosition(lat, lon);
  w.name = doc.waypoints[i].name;
  w.pos = doc.waypoints[i].pos;
  w.elev = demElevation(*this, lat, lon);
  doc.waypoints[i] = w;
  displayLocation(lat, lon, w.elev);
  doc.modify = true;
  updateGraph();
}

void AppDelegate::deleteSelectedItems(const std::vector<int>& rows)
{
  if (rows.empty()) return;
  const int table = derived.show_list;
  if (mode != tw::Mode::Edit) {
    const QString where = table == 1 ? QStringLiteral("トラックポイント編集") : QStringLiteral("ウェイポイント");
    boxes().alertMessage(QStringLiteral("メッセージ"),
                         QStringLiteral("このモードでは削除できません。\n削除する場合は、編集画面の%1モードにしてください。").arg(where));
    return;
  }
  const QString title = QStringLiteral("削除確認");
  if (table == 2) {
    if (rows.size() >= 2 &&
        !boxes().confirmMessage(title, QStringLiteral("選択されている%1個のウェイポイントを削除します。よろしいですか？").arg(rows.size())))
      return;
    backupData(tw::kActionDeleteWayPoint);
    tw::removeRows(doc.waypoints, rows);
    doc.select_wp = tw::kNoIndex;
  } else if (table == 1) {
    if (!routes()) return;
    if (rows.size() >= 2 &&
        !boxes().confirmMessage(title, QStringLiteral("選択されている%1個の点を削除します。よろしいですか？").arg(rows.size())))
      return;
    backupData(tw::kActionDeletePoint);
    tw::removeRows(*routes(), rows);
    tw::recalcDistance(*routes());
    doc.select = tw::kNoIndex;
  } else {
    return;
  }
  doc.modify = true;
  selectTableRow(-1);
  updateTable();
  updateGraph();
}

void AppDelegate::checkConnectWayPoint()
{
  if (auto* r = routes()) tw::checkConnectWayPoint(*r, doc.waypoints);
}

void AppDelegate::deleteKey()
{
  if (isTrackMode() && doc.select >= 0) {
    if (deleteTrackPointAtIndex(doc.select)) {
      doc.modify = true;
      if (auto* r = routes()) tw::recalcDistance(*r);
      updateGraph();
      redrawAllLayers();
    }
  } else if (isInputMode()) {
    stepBack();
  } else if (isWayPointMode() && doc.select_wp >= 0) {
    deleteWayPointAtIndex(doc.select_wp);  // ends with updateGraph itself
  } else {
    deleteSelectedItems();
  }
}

void AppDelegate::deleteSelectedItems()
{
  deleteSelectedItems(selectedListRows ? selectedListRows() : std::vector<int>{});
}
