#pragma once
// Whole-document undo: snapshots taken before every edit, restored by undo and redo.
// Consecutive edits of one kind share a step; at most 20 snapshots are kept.

#include <optional>
#include <string>
#include <vector>

#include "document/DocumentState.h"

namespace tw {

// Action codes of the snapshots; their menu names come from actionName().
enum UndoAction : int {
  kActionDeletePoint = 1,
  kActionAddPoint = 2,
  kActionMovePoint = 3,
  kActionAddWayPoint = 4,
  kActionDeleteWayPoint = 5,
  kActionMoveWayPoint = 6,
  kActionEditWayPoint = 7,
  kActionThinout = 8,
  kActionTurnBack = 9,
  kActionReverse = 10,
  kActionEditTrackInfo = 11,
  kActionDivideTrack = 12,
  kActionConnectTrack = 13,
  kActionDeleteTrack = 14,
  kActionAddTrack = 15,
  kActionNewDocument = 16,
  kActionOpenAppend = 17,
  kActionRefetchElevation = 18,
  kActionCurrentState = 20,  // taken by undo itself; stored under the previous snapshot's code
};

// "ポイント削除" … "標高再取得"; "その他" outside 1–18.
std::string actionName(int action);
// Actions that renumber points and therefore invalidate a selected graph section.
bool actionRenumbersPoints(int action);

// The map position a snapshot remembers.
struct MapCentre {
  double lat = 0.0;
  double lon = 0.0;
  int zoom = 0;
};

struct BackupData {
  std::vector<TrackInfo> tracks;  // points copied by value; valid_time always false
  std::vector<WayPoint> waypoints;
  std::string filename;
  bool modify = true;
  bool invalid_track = false;
  bool invalid_wp = false;
  int active_track = 0;
  double lat = 0.0;
  double lon = 0.0;
  int zoom = 0;
  int action = 0;
};

BackupData makeBackup(const DocumentState& doc, MapCentre centre, int action);

// Replaces the document by the snapshot (selection, samples and rest states cleared).
void restoreBackup(DocumentState& doc, const BackupData& s);

class UndoHistory {
 public:
  static constexpr int kLimit = 20;

  const std::vector<BackupData>& backups() const { return backups_; }
  int backup_pos() const { return backup_pos_; }
  int count() const { return static_cast<int>(backups_.size()); }

  // Snapshot before an edit. False when the edit joined the newest step (nothing stored).
  bool backupData(const DocumentState& doc, MapCentre centre, int action);

  bool canUndo() const { return backup_pos_ > 0 && backup_pos_ <= count(); }
  bool canRedo() const { return backup_pos_ >= 0 && backup_pos_ + 1 < count(); }

  // Restore into `doc`; the map position to return to, or nothing when unavailable.
  std::optional<MapCentre> undo(DocumentState& doc, MapCentre current);
  std::optional<MapCentre> redo(DocumentState& doc);

  std::string undoTitle() const;
  std::string redoTitle() const;

  void deleteAllBackups();

  // Bytes held by the point and waypoint arrays of all snapshots.
  size_t approximateBytes() const;

 private:
  std::vector<BackupData> backups_;  // oldest first
  int backup_pos_ = 0;
};

}  // namespace tw
