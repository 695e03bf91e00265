// Controller glue of the track operations.
#include "analysis/Metrics.h"
#include "app/AppDelegate.h"

void AppDelegate::updateTrackMenu()
{
  editing.trackMenu = tw::trackMenuItems(doc);
  editing.connectTrackMenu = tw::connectMenuItems(doc);
  emit editMenusChanged();
}

void AppDelegate::selectTrack(int index)
{
  if (index < 0 || index >= static_cast<int>(doc.tracks.size())) return;
  doc.active_track = index;
  if (tw::baseOrEdit(mode)) {
    moveTrack(0);
    if (mode == tw::Mode::Edit) {
      updatePosition(15, view.lat, view.lon);
      if (isInputMode()) trackMode();
    } else {
      redrawAllLayers();
    }
  }
  updateTrackMenu();
  updateGraph();
  updateTitle();
}

void AppDelegate::showActiveTrack()
{
  track_mode = tw::TrackMode::Active;
  redrawAllLayers();
}

void AppDelegate::showAllTrack()
{
  track_mode = tw::TrackMode::All;
  redrawAllLayers();
}

void AppDelegate::hideAllTrack()
{
  track_mode = tw::TrackMode::Hidden;
  redrawAllLayers();
  if (mode == tw::Mode::Edit) baseMode();
}

void AppDelegate::addTrack()
{
  const auto* r = routes();
  if (!r || r->empty()) return;
  backupData(tw::kActionAddTrack);
  tw::addEmptyTrack(doc);
  calcTrackData();
  inputMode();
  redrawAllLayers();
  updateTrackMenu();
  updateTitle();
}

void AppDelegate::deleteTrack()
{
  const auto* r = routes();
  if (!r || r->empty()) return;
  const QString mess = QStringLiteral("選択されているトラックのすべての点(%1点)を削除します。よろしいですか？").arg(r->size());
  if (!boxes().confirmMessage(QStringLiteral("確認"), mess)) return;
  backupData(tw::kActionDeleteTrack);
  deleteTrackAtIndex(doc.active_track);
  if (routes()) {
    moveTrack(0);
    if (isInputMode()) trackMode();
  } else {
    inputMode();
  }
  doc.modify = true;
}

void AppDelegate::deleteTrackAtIndex(int index)
{
  const auto what = tw::deleteTrackAtIndex(doc, index);
  if (what == tw::DeletedTrack::None) return;
  if (what == tw::DeletedTrack::Active) {
    updateTitle();
    updateGraph();
  }
  redrawAllLayers();
  updateTrackMenu();
}

void AppDelegate::connectTrack(int index)
{
  if (!routes() || index < 0 || index >= static_cast<int>(doc.tracks.size()) || index == doc.active_track) return;
  const QString mess = QStringLiteral("現在のトラックの後ろにトラック%1(点数:%2個)を結合します。よろしいですか。")
                           .arg(index + 1)
                           .arg(doc.tracks[index].points.size());
  if (!boxes().confirmMessage(QStringLiteral("トラックの結合"), mess)) return;
  backupData(tw::kActionConnectTrack);
  const auto& src = doc.tracks[index].points;
  routes()->insert(routes()->end(), src.begin(), src.end());
  tw::recalcDistance(*routes());
  deleteTrackAtIndex(index);
  doc.modify = true;
  updateGraph();
}

void AppDelegate::divideTrack(bool pointTableShowing, const std::vector<int>& selectedRows)
{
  if (!routes()) return;
  const QString title = QStringLiteral("トラックの分割");
  if (!pointTableShowing) {
    boxes().alertMessage(title, QStringLiteral("トラックの分割は、トラックポイントリストを表示して、分割する位置を選択してから行なってください"));
    return;
  }
  if (selectedRows.empty()) {
    boxes().alertMessage(title, QStringLiteral("トラックの分割は、トラックポイントリストで分割するポイントを選択してから行なってください"));
    return;
  }
  if (selectedRows.size() >= 2) {
    boxes().alertMessage(title, QStringLiteral("複数行が選ばれています。トラックを分割する位置を1行だけ選択してから行なってください"));
    return;
  }
  const int r = selectedRows.front();
  if (r < 0 || r >= static_cast<int>(routes()->size())) return;
  if (!boxes().confirmMessage(title, QStringLiteral("現在選ばれているトラックポイント以降を新しいトラックに分離します。よろしいですか？")))
    return;
  backupData(tw::kActionDivideTrack);
  tw::divideTrack(doc, r);
  doc.modify = true;
  updateTrackMenu();
  updateGraph();
  updateTable();
}

void AppDelegate::reverseRoute()
{
  if (!routes()) {
    boxes().alertMessage(QStringLiteral("確認"), QStringLiteral("ルートが登録されていません。"));
    return;
  }
  if (!boxes().confirmMessage(QStringLiteral("確認"), QStringLiteral("ルートを反転(終了点→開始点)します。よろしいですか？")))
    return;
  backupData(tw::kActionReverse);
  tw::reverseRoute(*routes());
  doc.modify = true;
  tw::recalcDistance(*routes());
  updateGraph();
}

void AppDelegate::turnBack()
{
  if (!routes()) return;
  if (routes()->size() < 2) {
    boxes().alertMessage(QStringLiteral("メッセージ"), QStringLiteral("折り返すには、登録点数が少なすぎます。"));
    return;
  }
  if (!boxes().confirmMessage(QStringLiteral("確認"), QStringLiteral("終了点から開始点まで折り返します。よろしいですか？")))
    return;
  backupData(tw::kActionTurnBack);
  tw::turnBack(*routes());
  doc.modify = true;
  doc.select = tw::kNoIndex;
  updateGraph();
}

void AppDelegate::stepBack()
{
  if (!routes() || routes()->empty()) return;
  backupData(tw::kActionDeletePoint);
  deleteTrackPointAtIndex(static_cast<int>(routes()->size()) - 1);
  if (routes()->empty()) doc.activeTrack()->stable = 0;
  doc.modify = true;
  doc.select = tw::kNoIndex;
  updateGraph();
  updateButton();
}

void AppDelegate::divideTrack()
{
  divideTrack(derived.show_list == 1, selectedListRows ? selectedListRows() : std::vector<int>{});
}
