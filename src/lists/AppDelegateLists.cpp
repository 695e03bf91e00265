// The controller's list commands: which list shows, the pane beside the map, the rows' keys,
// copying rows and editing waypoint names in place.
#include <QSplitter>
#include <algorithm>

#include "app/AppDelegate.h"
#include "editing/PointEdits.h"
#include "editing/UndoHistory.h"
#include "lists/ListFormat.h"
#include "lists/TrackView.h"

namespace {

namespace key = tw::key;

const QString kMessageTitle = QStringLiteral("メッセージ");
const QString kNotInThisMode = QStringLiteral("このモードでは操作できません");
const QString kNoWayPointsInTrackTool = QStringLiteral("トラックポイントモードでは、ウェイポイントが表示されません。");

constexpr int kMinPaneWidth = 100;
constexpr int kMaxPaneWidth = 1000;  // exclusive

int rowCountOf(const AppDelegate& d)
{
  if (d.derived.show_list == tw::kTrackList) return d.doc.routes() ? static_cast<int>(d.doc.routes()->size()) : 0;
  if (d.derived.show_list == tw::kWayPointList) return static_cast<int>(d.doc.waypoints.size());
  return 0;
}

void showList(AppDelegate& d, int which)
{
  if (d.derived.show_list == which && d.launched) return;
  if (d.derived.show_list != tw::kNoList && d.derived.show_list != which) d.saveTableStatus();
  d.derived.show_list = which;
  if (d.trackView) d.trackView->resetRows();  // every row is new, none selected
  if (d.isCollapsedTrackView()) d.showTrackView();
  d.updateTableColumn();
  d.config.setInt(key::show_list, which);
  d.updateButton();
}

// The one selected row of the list shown, or −1.
int singleSelectedRow(const AppDelegate& d)
{
  const std::vector<int> rows = d.selectedListRows ? d.selectedListRows() : std::vector<int>{};
  return rows.size() == 1 && rows.front() < rowCountOf(d) ? rows.front() : -1;
}

}  // namespace

void AppDelegate::showTrackList() { showList(*this, tw::kTrackList); }
void AppDelegate::showWayPointList() { showList(*this, tw::kWayPointList); }

void AppDelegate::toggleTable()
{
  checkCollapsedTrackView();
  switch (tw::nextList(derived.show_list, !doc.waypoints.empty())) {
    case tw::kTrackList: showTrackList(); break;
    case tw::kWayPointList: showWayPointList(); break;
    default: hideTrackView(); break;
  }
  updateButton();
}

void AppDelegate::hideTrackView()
{
  if (derived.show_list == tw::kNoList && launched) return;
  saveTableStatus();
  derived.show_list = tw::kNoList;
  if (trackView) {
    trackView->hide();  // the map side takes the whole width
    trackView->resetRows();
  }
  config.setInt(key::show_list, tw::kNoList);
  updateButton();
  redrawAllLayers();
}

void AppDelegate::showTrackView()
{
  if (!trackView || !splitView) return;
  trackView->show();
  splitView->refresh();  // the divider shows with the pane: sizes below count it
  // A width that was never stored (first run) takes the setting's default.
  int pane = derived.right_width;
  if (pane < kMinPaneWidth || pane >= kMaxPaneWidth) pane = config.intValue(key::right_width);
  const int total = splitView->width(), divider = splitView->handleWidth();
  int map = total - pane - divider;
  if (map < TrackView::kMinMapWidth) {
    map = TrackView::kMinMapWidth;
    pane = std::max(total - map - divider, 0);
    if (graphView && graphView->width() > TrackView::kMinMapWidth)
      graphView->resize(TrackView::kMinMapWidth, graphView->height());
  }
  splitView->setSizes({map, pane});
}

bool AppDelegate::isCollapsedTrackView() const
{
  if (!trackView || !splitView || trackView->isHidden()) return true;
  const QList<int> sizes = splitView->sizes();
  if (sizes.size() < 2 || sizes[1] <= 0) return true;
  return splitView->width() <= sizes[0] + splitView->handleWidth();
}

void AppDelegate::checkCollapsedTrackView()
{
  if (!launched || derived.show_list == tw::kNoList || !isCollapsedTrackView()) return;
  saveTableStatus();
  derived.show_list = tw::kNoList;
  if (trackView) trackView->resetRows();
}

void AppDelegate::respondToSubviewChange()
{
  if (!trackView || !splitView) return;
  if (derived.show_list != tw::kNoList && splitView->sizes().value(0) < TrackView::kMinMapWidth) showTrackView();
  const int pane = trackView->isHidden() ? 0 : splitView->sizes().value(1);
  if (pane >= kMinPaneWidth && pane < kMaxPaneWidth) {
    derived.right_width = pane;
    config.setInt(key::right_width, pane);
  }
}

void AppDelegate::updateTableColumn()
{
  const int list = derived.show_list;
  if (list == tw::kNoList) return;
  const auto& stored = list == tw::kWayPointList ? derived.wp_table : derived.track_table;
  // Nothing stored yet (first run): the columns as the application lays them out.
  const auto layout = tw::parseLayout(list, !stored.empty() ? stored
                                            : list == tw::kWayPointList ? tw::defaultWpTable()
                                                                        : tw::defaultTrackTable());
  if (list == tw::kTrackList)
    for (const auto& l : layout)
      if (l.column == tw::ListColumn::Time) derived.time_width = l.width;
  if (trackView) trackView->applyLayout(list, layout);
}

void AppDelegate::updateTable()
{
  if (trackView) trackView->reload();
}

void AppDelegate::selectTableRow(int row)
{
  if (trackView) trackView->selectOnly(row);
}

// ---- rows ----

std::string AppDelegate::copyLines(std::vector<int> rows)
{
  saveTableStatus();
  const int list = derived.show_list, count = rowCountOf(*this);
  const auto columns = tw::layoutColumns(list, list == tw::kWayPointList ? derived.wp_table : derived.track_table);
  std::sort(rows.begin(), rows.end());
  std::string out;
  out.reserve(rows.size() * 96);
  for (int row : rows) {
    if (row < 0 || row >= count) continue;
    const auto r = static_cast<size_t>(row);
    if (list == tw::kTrackList)
      tw::appendTrackLine(out, *routes(), r, columns);
    else
      tw::appendWayPointLine(out, doc.waypoints[r], r, columns);
  }
  return out;
}

void AppDelegate::copy()
{
  if (trackView && derived.show_list != tw::kNoList) trackView->copy();
}

void AppDelegate::moveWayPointKey(bool up)
{
  if (!tw::baseOrEdit(mode)) {
    boxes().alertMessage(kMessageTitle, kNotInThisMode);
    return;
  }
  moveWayPointUp(up);
}

void AppDelegate::moveWayPointUp(bool up)
{
  if (derived.show_list != tw::kWayPointList) return;
  const int row = singleSelectedRow(*this);
  const int to = up ? row - 1 : row + 1;
  if (row < 0 || to < 0 || to >= static_cast<int>(doc.waypoints.size())) return;
  // The order is written to the file: an undo step, and the document is changed.
  backupData(tw::kActionEditWayPoint);
  tw::moveWayPointRow(doc.waypoints, row, up);
  if (doc.select_wp == row)
    doc.select_wp = to;
  else if (doc.select_wp == to)
    doc.select_wp = row;
  doc.modify = true;
  updateGraph();
  selectTableRow(to);
}

void AppDelegate::listPartStart()
{
  const int row = derived.show_list == tw::kTrackList ? singleSelectedRow(*this) : -1;
  if (row < 0) return;
  const auto p = tw::partFromStartKey(row, part_end, static_cast<int>(routes()->size()));
  if (!p) return;
  part_start = p->part_start;
  part_end = p->part_end;
  graph_type = 1;
  updateGraph();
}

void AppDelegate::listPartEnd()
{
  const int row = derived.show_list == tw::kTrackList ? singleSelectedRow(*this) : -1;
  if (row < 0) return;
  const auto p = tw::partFromEndKey(row, part_start, static_cast<int>(routes()->size()));
  if (!p) return;
  part_start = p->part_start;
  part_end = p->part_end;
  graph_type = 1;
  updateGraph();
}

// ---- what the user does in the list ----

void AppDelegate::tableViewSelectionDidChange(int row)
{
  if (mode == tw::Mode::Print || row < 0 || row >= rowCountOf(*this)) return;
  if (derived.show_list == tw::kWayPointList) {
    moveWayPoint(row);
    doc.select_wp = row;
    const tw::WayPoint& w = doc.waypoints[static_cast<size_t>(row)];
    displayLocation(w.lat, w.lon, w.elev);
    redrawGraphLayers();
    if (isTrackMode()) showMessage(kNoWayPointsInTrackTool, 5000);
  } else {
    moveTrack(row);
    doc.select = row;
    redrawInfoLayer();
    displayGraphPointer(row);
  }
}

void AppDelegate::tableViewColumnDidResize(int timeWidth)
{
  if (timeWidth <= 0 || timeWidth == derived.time_width) return;
  derived.time_width = timeWidth;
  updateTable();
}

bool AppDelegate::shouldEditWayPointName(int row)
{
  if (derived.show_list != tw::kWayPointList || row < 0 || row >= rowCountOf(*this)) return false;
  edit_row = row;
  updateTable();
  return true;
}

bool AppDelegate::setWayPointName(int row, const QString& name)
{
  if (derived.show_list != tw::kWayPointList || row < 0 || row >= rowCountOf(*this)) return false;
  const std::string text = name.toStdString();
  if (!tw::isAcceptableName(text)) {
    // After the editor has closed: the box must not open inside the editor's commit.
    QMetaObject::invokeMethod(
        this, [this] { boxes().alertMessage(QStringLiteral("エラー"), QString::fromUtf8(tw::kBadNameMessage)); },
        Qt::QueuedConnection);
    return false;
  }
  if (text == doc.waypoints[static_cast<size_t>(row)].name) return false;
  backupData(tw::kActionEditWayPoint);
  tw::WayPoint w = doc.waypoints[static_cast<size_t>(row)];
  w.name = text;
  doc.waypoints[static_cast<size_t>(row)] = std::move(w);
  doc.modify = true;
  calcWayPointPosition();
  edit_row = -1;
  redrawAllLayers();
  redrawGraphLayers();
  updateTable();
  return true;
}

void AppDelegate::endNameEditing()
{
  if (edit_row == -1) return;
  edit_row = -1;
  updateTable();
}

void AppDelegate::tableDoubleClick(int row)
{
  if (derived.show_list == tw::kWayPointList && row >= 0 && row < rowCountOf(*this)) editWayPointAtIndex(row);
}
