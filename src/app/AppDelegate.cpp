#include "app/AppDelegate.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMutexLocker>
#include <QScreen>

namespace {

// Larger files are refused rather than read into memory whole.
constexpr qint64 kMaxOpenFileSize = qint64(512) << 20;

tw::FrameRect mainScreenFrame()
{
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return {};
  const QScreen* s = QGuiApplication::primaryScreen();
  if (!s) return {};
  const QRect g = s->availableGeometry();
  return {double(g.x()), double(g.y()), double(g.width()), double(g.height())};
}

}  // namespace

AppDelegate::AppDelegate(Seams seams, QObject* parent) : QObject(parent), seams_(seams)
{
  // The close question's "保存する"; tests replace it.
  saveCommand = [this] { saveGPX(); };
  queue.setMaxThreadCount(5);
  screen = mainScreenFrame();
  loadConfig();
  tw::copyColors(config, derived);
  openTileCache();
  markers = loadMarkerImages();

  connect(&timer, &QTimer::timeout, this, &AppDelegate::timerProc);
  connect(&drawTimer, &QTimer::timeout, this, &AppDelegate::drawProc);
  messTimer.setSingleShot(true);
  messTimer.setTimerType(Qt::PreciseTimer);  // a coarse timer may end a message early
  connect(&messTimer, &QTimer::timeout, this, &AppDelegate::hideMessage);
  timer.start(1000);
  drawTimer.start(100);
}

AppDelegate::~AppDelegate()
{
  timer.stop();
  drawTimer.stop();
  messTimer.stop();
  stopDownloads();
  waitForOffline();
  queue.waitForDone();
}

void AppDelegate::setFileName(const QString& name)
{
  doc.filename = name.toStdString();
  updateTitle();
}

QString AppDelegate::getFileBaseName() const { return QString::fromStdString(doc.getFileBaseName()); }

void AppDelegate::updateTitle() { emit titleChanged(QString::fromStdString(doc.windowTitle())); }

// ---- configuration ----

void AppDelegate::loadConfig() { tw::loadConfig(configStore.read(), screen, config, derived, view); }

void AppDelegate::saveConfig()
{
  tw::storeCentre(config, view.lat, view.lon, view.zoom);
  saveTableStatus();
  configStore.write(config, derived.track_table, derived.wp_table, derived.recent_files);
}

void AppDelegate::saveTableStatus()
{
  // Without a list view there are no columns to read; the layouts stay as loaded.
  if (visibleTableColumns) tw::saveTableStatus(derived.show_list, visibleTableColumns(), derived);
}

// ---- lifecycle ----

void AppDelegate::applicationDidFinishLaunching()
{
  updateLayer();  // the layers take the base view's frame
  updateButton();
  emit frameRequested(tw::frameForScreen(config, screen));
  if (derived.show_list == 0) {
    hideTrackView();
  } else {
    showTrackView();
    if (derived.show_list == 1)
      showTrackList();
    else
      showWayPointList();
  }
  if (doc.tracks.empty()) {
    updatePosition(view.zoom, view.lat, view.lon);
  } else {
    // A file opened before launch finished.
    updateTrackMenu();
    showGraphIfNeeded();
    showRoute();
    baseMode();
    requestElevation();
    updateTable();
  }
  redrawAllLayers();
  launched = true;
  downloadVersion();  // only when an update root is set
}

bool AppDelegate::openFile(const QString& path)
{
  QFile file(path);
  if (QFileInfo(path).size() > kMaxOpenFileSize || !file.open(QIODevice::ReadOnly)) {
    // A file that cannot be read must not empty the document the way a broken one does.
    boxes().alertMessage(QStringLiteral("エラー"),
                         QStringLiteral("GPXデータの読み込みに失敗しました。\nファイルが壊れている可能性があります。"));
    return true;
  }
  // The reader reports broken text itself.
  if (loadGPXData(file.readAll(), false)) {
    setFileName(QFileInfo(path).fileName());
    if (launched) requestElevation();  // before launch, launching asks for them
    noteRecentFile(path);
  }
  return true;
}

namespace {
const QString kSaveTitle = QStringLiteral("保存確認");
const QString kSaveQuestion = QStringLiteral("データが保存されていません。保存しますか？");
}  // namespace

// Unsaved waypoints are asked about too: a document of waypoints alone is work to lose.
bool AppDelegate::hasUnsavedData() const { return doc.modify && (!doc.tracks.empty() || !doc.waypoints.empty()); }

bool AppDelegate::windowShouldClose()
{
  if (!hasUnsavedData()) return true;
  switch (boxes().exitMessage(kSaveTitle, kSaveQuestion)) {
    case MessageBoxes::kExitDiscard:
      doc.modify = false;
      return true;
    case MessageBoxes::kExitSave:
      if (saveCommand) saveCommand();
      return !doc.modify;  // still set: the save was cancelled or failed
    default:
      return false;
  }
}

bool AppDelegate::applicationShouldTerminate()
{
  if (!hasUnsavedData()) return true;
  switch (boxes().exitMessage(kSaveTitle, kSaveQuestion)) {
    case MessageBoxes::kExitDiscard:
      return true;
    case MessageBoxes::kExitSave:
      if (saveCommand) saveCommand();
      return !doc.modify;
    default:
      return false;
  }
}

void AppDelegate::windowWillClose()
{
  if (currentFrame) config.setString(tw::key::frame, tw::frameString(currentFrame()));
  applicationWillTerminate();
}

void AppDelegate::applicationWillTerminate()
{
  // Nothing downloaded now would be seen; in-flight requests must not hold up the exit.
  stopDownloads();
  if (terminated_) return;
  terminated_ = true;
  if (currentFrame) config.setString(tw::key::frame, tw::frameString(currentFrame()));
  saveConfig();
}

void AppDelegate::baseMode()
{
  if (mode == tw::Mode::Print) releasePrint();
  if (mode == tw::Mode::Base) {
    updateButton();
    return;
  }
  mode = tw::Mode::Base;
  updateButton();
  updatePosition(view.zoom, view.lat, view.lon);
  redrawAllLayers();
}

void AppDelegate::editMode()
{
  if (mode == tw::Mode::Print) releasePrint();
  if (mode == tw::Mode::Edit) {
    updateButton();
    return;
  }
  if (track_mode == tw::TrackMode::Hidden) {
    boxes().alertMessage(QStringLiteral("警告"), QStringLiteral("トラック表示がオフの状態では編集できません。"));
    updateButton();
    return;
  }
  mode = tw::Mode::Edit;
  if (edit_mode == tw::EditMode::Input || !routes())
    inputMode();
  else if (edit_mode == tw::EditMode::Track)
    trackMode();
  else
    wayPointMode();
  showGraphIfNeeded();
  updatePosition(view.zoom, view.lat, view.lon);
  redrawAllLayers();
}

// The buttons belong to the window; it lays them out for `mode` when told.
void AppDelegate::updateButton() { emit buttonsChanged(); }

// ---- periodic loop ----

void AppDelegate::timerProc()
{
  if (downloads_stopped) return;  // closing: no alert may hold up the exit
  const bool net_ok = tileStore.net_ok;
  if (!net_ok && net_status) {
    // Cleared before the modal box: its event loop keeps this timer running.
    net_status = false;
    boxes().alertMessage(QStringLiteral("エラー"),
                         QStringLiteral("ネットワークの異常が発生しました。\n接続を確認してください。"));
  }
  if (net_ok) net_status = true;
}

void AppDelegate::drawProc()
{
  // Flags are cleared before the work so that a tile arriving meanwhile is drawn next tick.
  if (needsRedraw) {
    needsRedraw = false;
    map_needs_draw = false;
    redrawBasicLayers();
  } else if (map_needs_draw.exchange(false)) {
    redrawMapLayer();
  }
  if (!graph_needs_draw.exchange(false)) return;
  {
    QMutexLocker locker(&lock);  // the fill rewrites points and the profile
    // Tiles stored before the fill starts are read by it; those arriving meanwhile stay
    // unread, so the eviction below spares them until the next tick's fill.
    const std::uint64_t mark = demStore.readMark();
    if (doc.invalid_track) checkTrackElevation();
    if (doc.invalid_wp) checkWayPointElevation();
    demStore.markRead(mark);
    removeTiles();
  }
  if (!isDragged()) {
    displayLocation();
    redrawGraphLayers();
  }
}

// ---- transient message ----

void AppDelegate::showMessage(const QString& text, int intervalMs)
{
  message = text;
  emit messageChanged(message);
  messTimer.start(intervalMs);  // restarts a running period
}

void AppDelegate::hideMessage()
{
  messTimer.stop();
  message.clear();
  emit messageChanged(message);
}
