#include "editing/UndoHistory.h"

namespace tw {

std::string actionName(int action)
{
  static const char* const kNames[] = {
      "ポイント削除",       "ポイント追加",     "ポイント移動",     "ウェイポイント追加", "ウェイポイント削除",
      "ウェイポイント移動", "ウェイポイント編集", "間引き",           "折り返し",           "反転",
      "トラック情報編集",   "トラック分割",     "トラック結合",     "トラック削除",       "トラック追加",
      "新規作成",           "追加で開く",       "標高再取得",
  };
  if (action < 1 || action > 18) return "その他";
  return kNames[action - 1];
}

bool actionRenumbersPoints(int action)
{
  switch (action) {
    case 1: case 2: case 8: case 9: case 10: case 12: case 13: case 14: case 15: case 16: case 17:
      return true;
    default:
      return false;
  }
}

BackupData makeBackup(const DocumentState& doc, MapCentre centre, int action)
{
  BackupData b;
  b.tracks.reserve(doc.tracks.size());
  for (const auto& t : doc.tracks) {
    TrackInfo copy;
    copy.points = t.points;
    copy.name = t.name;
    copy.stable = t.stable;
    copy.valid_time = false;
    b.tracks.push_back(std::move(copy));
  }
  b.waypoints = doc.waypoints;
  b.filename = doc.filename;
  b.modify = doc.modify;
  b.invalid_track = doc.invalid_track;
  b.invalid_wp = doc.invalid_wp;
  b.active_track = doc.active_track;
  b.lat = centre.lat;
  b.lon = centre.lon;
  b.zoom = centre.zoom;
  b.action = action;
  return b;
}

void restoreBackup(DocumentState& doc, const BackupData& s)
{
  doc.deleteAllTracks();
  doc.deleteAllWayPoints();
  doc.tracks = s.tracks;
  for (auto& t : doc.tracks) t.valid_time = false;
  const bool valid = s.active_track >= 0 && s.active_track < static_cast<int>(doc.tracks.size());
  doc.active_track = valid ? s.active_track : kNoIndex;
  doc.waypoints = s.waypoints;
  doc.filename = s.filename;
  doc.modify = s.modify;
  doc.invalid_track = s.invalid_track;
  doc.invalid_wp = s.invalid_wp;
}

bool UndoHistory::backupData(const DocumentState& doc, MapCentre centre, int action)
{
  if (backup_pos_ < 0) backup_pos_ = 0;
  while (count() > backup_pos_) backups_.pop_back();
  if (!backups_.empty()) {
    if (backups_.back().action == action) return false;
    if (action == kActionCurrentState) action = backups_.back().action;
  }
  backups_.push_back(makeBackup(doc, centre, action));
  if (count() > kLimit) backups_.erase(backups_.begin());
  backup_pos_ = count();
  return true;
}

std::optional<MapCentre> UndoHistory::undo(DocumentState& doc, MapCentre current)
{
  if (!canUndo()) return std::nullopt;
  int index = backup_pos_ - 1;
  if (backup_pos_ == count()) {
    const int before = count();
    backupData(doc, current, kActionCurrentState);
    // The limit may have pushed out the oldest snapshot, moving S one place down.
    if (count() == before) --index;
  }
  const BackupData& s = backups_[index];
  restoreBackup(doc, s);
  backup_pos_ = index;
  return MapCentre{s.lat, s.lon, s.zoom};
}

std::optional<MapCentre> UndoHistory::redo(DocumentState& doc)
{
  if (!canRedo()) return std::nullopt;
  const BackupData& s = backups_[backup_pos_ + 1];
  restoreBackup(doc, s);
  const MapCentre centre{s.lat, s.lon, s.zoom};
  ++backup_pos_;
  // The newest snapshot was the state undo started from; the document is that state again.
  if (backup_pos_ == count() - 1) backups_.pop_back();
  return centre;
}

std::string UndoHistory::undoTitle() const
{
  if (backup_pos_ < 1 || backup_pos_ > count()) return "取り消し";
  return "取り消し - " + actionName(backups_[backup_pos_ - 1].action);
}

std::string UndoHistory::redoTitle() const
{
  if (backup_pos_ >= count() - 1 || backup_pos_ < 0) return "やり直し";
  return "やり直し - " + actionName(backups_[backup_pos_].action);
}

void UndoHistory::deleteAllBackups()
{
  backups_.clear();
  backup_pos_ = 0;
}

size_t UndoHistory::approximateBytes() const
{
  size_t bytes = backups_.capacity() * sizeof(BackupData);
  for (const auto& b : backups_) {
    bytes += b.tracks.capacity() * sizeof(TrackInfo) + b.waypoints.capacity() * sizeof(WayPoint);
    for (const auto& t : b.tracks) bytes += t.points.capacity() * sizeof(Track) + t.name.capacity();
    for (const auto& w : b.waypoints) bytes += w.name.capacity();
  }
  return bytes;
}

}  // namespace tw
