// The new-document command.
#include "app/AppDelegate.h"
#include "editing/UndoHistory.h"

void AppDelegate::createNew()
{
  if (doc.modify && !doc.isEmpty() &&
      !boxes().confirmMessage(QStringLiteral("新規作成の確認"),
                              QStringLiteral("現在のデータ（トラック＆ウェイポイント）が削除されますが、よろしいですか？")))
    return;
  if (track_mode == tw::TrackMode::Hidden) track_mode = tw::TrackMode::All;
  backupData(tw::kActionNewDocument);
  deleteAllTracks();
  deleteAllWayPoints();
  calcTrackData();
  inputMode();
  showGraphIfNeeded();
  redrawAllLayers();
}
