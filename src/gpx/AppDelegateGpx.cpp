// The controller's GPX commands: the reader's replace/append flow, open, append and save.
#include <QFile>
#include <QFileInfo>

#include "app/AppDelegate.h"
#include "editing/UndoHistory.h"
#include "gpx/GpxReader.h"
#include "gpx/GpxWriter.h"
#include "gpx/LinkPatterns.h"

namespace {

const QString kLoadConfirmTitle = QStringLiteral("GPX読み込み確認");
const QString kLoadConfirmMess = QStringLiteral(
    "現在の全てのデータ（トラック＆ウェイポイント）が削除されますが、よろしいですか？\nこの操作は、取り消しできません。");
const QString kErrorTitle = QStringLiteral("エラー");
const QString kLoadErrorMess = QStringLiteral("GPXデータの読み込みに失敗しました。\nファイルが壊れている可能性があります。");
const QString kWarningTitle = QStringLiteral("警告");
const QString kOutsideMess = QStringLiteral(
    "海外のデータが含まれます。\n海外データは、OpenStreetMapのみの表示で、印刷や標高取得機能が使えません。");
const QString kOpenTitle = QStringLiteral("GPXファイル読み込み");
const QString kSaveTitle = QStringLiteral("GPXファイル保存");
const QString kSaveSelectTitle = QStringLiteral("確認");
const QString kSaveSelectMess = QStringLiteral("選択されているルートのみ保存します。よろしいですか。");
const QString kGpxFilter = QStringLiteral("GPX (*.gpx)");
const QString kDefaultSaveName = QStringLiteral("tracks.gpx");
const QString kSaveErrorMess = QStringLiteral("ファイルを保存できませんでした。");

constexpr qint64 kMaxGpxFileSize = qint64(1) << 30;

// The file's bytes; empty when it cannot be read (the reader then reports a broken file).
QByteArray readGpxFile(const QString& path)
{
  QFile file(path);
  if (QFileInfo(path).size() > kMaxGpxFileSize || !file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

QString withGpxSuffix(const QString& path)
{
  return path.endsWith(QStringLiteral(".gpx")) ? path : path + QStringLiteral(".gpx");
}

}  // namespace

bool AppDelegate::loadGPXData(const QByteArray& text, bool append, bool keepOnFailure)
{
  auto parse = [&text] {
    return tw::parseGPX(std::string_view(text.constData(), static_cast<size_t>(text.size())));
  };
  // Downloaded text is checked before the question is asked and anything is emptied. Files
  // are parsed only after the old document is gone, so the two are never held at once.
  std::optional<tw::GpxReadResult> checked;
  if (keepOnFailure) {
    checked = parse();
    if (!checked->ok() || (checked->data.tracks.empty() && checked->data.waypoints.empty())) {
      boxes().alertMessage(kErrorTitle, kLoadErrorMess);
      return false;
    }
  }
  const int earlier = static_cast<int>(doc.tracks.size());
  if (!append && routes() && (doc.modify || doc.tracks.size() >= 2) &&
      !boxes().confirmMessage(kLoadConfirmTitle, kLoadConfirmMess))
    return false;
  doc.outside = false;
  const bool appending = append && !doc.isEmpty();
  if (appending) {
    backupData(tw::kActionAddTrack);
  } else {
    deleteAllTracks();
    deleteAllWayPoints();
    deleteAllBackups();
    setFileName(QString());
    doc.modify = false;
  }

  tw::GpxReadResult r = checked ? std::move(*checked) : parse();
  if (!r.ok()) {
    boxes().alertMessage(kErrorTitle, kLoadErrorMess);
    redrawAllLayers();
    updateTable();
    if (derived.show_graph != 0) updateGraph();
    return false;
  }
  if (resetGraphSelection) resetGraphSelection();

  tw::GpxData& data = r.data;
  for (auto& w : data.waypoints) doc.waypoints.push_back(std::move(w));
  if (data.invalid_wp) doc.invalid_wp = true;
  for (auto& t : data.tracks) doc.tracks.push_back(std::move(t));
  if (data.outside) {
    doc.outside = true;
    boxes().alertMessage(kWarningTitle, kOutsideMess);
    derived.map_type = tw::MapType::OSM;
    updateMap();
    redrawAllLayers();
  }

  const int count = static_cast<int>(doc.tracks.size());
  if (!append) {
    if (count > 0) doc.active_track = 0;
  } else if (count > earlier) {
    doc.active_track = earlier;
    moveTrack(0);
  }

  for (int i = 0; i < count; ++i) {
    if (i == doc.active_track) {
      calcTrackData();
      checkConnectWayPoint();
    } else {
      calcTrackElevation(i);
    }
  }
  calcWayPointPosition();

  if (!launched) return true;
  updateTrackMenu();
  if (routes()) edit_mode = tw::EditMode::Track;
  else if (!doc.waypoints.empty()) edit_mode = tw::EditMode::WayPoint;
  showRoute();
  baseMode();
  const bool activeHasPoints = routes() && !routes()->empty();
  if (doc.waypoints.empty() && derived.show_list == 2 && activeHasPoints) showTrackList();
  if (!activeHasPoints && derived.show_list == 1 && !doc.waypoints.empty()) showWayPointList();
  calcTrackInfo();
  updateTable();
  return true;
}

void AppDelegate::loadGPX()
{
  const QString path = boxes().openFileName(kOpenTitle, QString(), kGpxFilter);
  if (path.isEmpty()) return;
  if (resetGraphSelection) resetGraphSelection();
  if (loadGPXData(readGpxFile(path), false)) {
    setFileName(QFileInfo(path).fileName());
    requestElevation();
    noteRecentFile(path);
  }
}

void AppDelegate::loadAppend()
{
  const QString path = boxes().openFileName(kOpenTitle, QString(), kGpxFilter);
  if (path.isEmpty()) return;
  if (loadGPXData(readGpxFile(path), true)) requestElevation();
}

bool AppDelegate::saveGPXData(const QString& path, bool all)
{
  const std::string text = tw::buildGPXText(doc.tracks, doc.waypoints, doc.active_track, all);
  if (!tw::writeFileAtomically(QFile::encodeName(path).toStdString(), text)) return false;
  if (all) doc.modify = false;
  return true;
}

void AppDelegate::saveGPX()
{
  const QString proposed = doc.filename.empty() ? kDefaultSaveName : QString::fromStdString(doc.filename);
  QString path = boxes().saveFileName(kSaveTitle, QString(), proposed, kGpxFilter);
  if (path.isEmpty()) return;
  path = withGpxSuffix(path);
  // A failed write is said at once, and the title keeps the name the data really has.
  if (!saveGPXData(path, true)) {
    boxes().alertMessage(kErrorTitle, kSaveErrorMess);
    return;
  }
  doc.filename = QFileInfo(path).fileName().toStdString();
  noteRecentFile(path);
  updateTitle();
}

void AppDelegate::saveSelectTrack()
{
  if (!boxes().confirmMessage(kSaveSelectTitle, kSaveSelectMess)) return;
  const tw::TrackInfo* t = doc.activeTrack();
  const QString proposed =
      t && !t->name.empty() ? QString::fromStdString(t->name) + QStringLiteral(".gpx") : kDefaultSaveName;
  const QString path = boxes().saveFileName(kSaveTitle, QString(), proposed, kGpxFilter);
  if (path.isEmpty()) return;
  if (!saveGPXData(withGpxSuffix(path), false)) boxes().alertMessage(kErrorTitle, kSaveErrorMess);
}

bool AppDelegate::checkValidTime(const std::vector<tw::Track>& points) const { return tw::checkValidTime(points); }

bool AppDelegate::acceptableObject(const QString& candidate) const
{
  return tw::acceptableObject(candidate.toStdString());
}
