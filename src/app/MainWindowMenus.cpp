// The menu bar. Every command of the product has its item; an item whose command is not
// built yet stays disabled. Menu-holder items (submenus) carry their holder command name too.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenuBar>
#include <QSet>

#include "app/AppDelegate.h"
#include "app/MainWindow.h"

namespace {
QString S(const char* utf8) { return QString::fromUtf8(utf8); }
}  // namespace

QMenu* MainWindow::addMenu(QMenu* parent, const QString& title, const QString& holder)
{
  QMenu* m = parent ? parent->addMenu(title) : menuBar()->addMenu(title);
  if (!holder.isEmpty()) {
    m->menuAction()->setObjectName(holder);
    actions_.insert(holder, m->menuAction());
  }
  return m;
}

QAction* MainWindow::addItem(QMenu* menu, const QString& title, const QString& command)
{
  QAction* a = menu->addAction(title);
  a->setObjectName(command);
  a->setEnabled(false);
  actions_.insert(command, a);
  return a;
}

void MainWindow::buildMenus()
{
  QMenu* file = addMenu(nullptr, S("ファイル"));
  addItem(file, S("新規作成"), S("createNew"))->setShortcut(QKeySequence::New);
  addItem(file, S("開く…"), S("loadGPX"))->setShortcut(QKeySequence::Open);
  addItem(file, S("追加読み込み…"), S("loadAppend"));
  file->addSeparator();
  addItem(file, S("保存…"), S("saveGPX"))->setShortcut(QKeySequence::Save);
  addItem(file, S("選択トラックを保存…"), S("saveSelectTrack"));
  file->addSeparator();
  addItem(file, S("PDF出力…"), S("outputPDF"));
  addItem(file, S("グラフ画像出力…"), S("outputGraph"));
  file->addSeparator();
  addItem(file, S("ページ設定…"), S("pageSetup"));
  addItem(file, S("印刷プレビュー"), S("previewMap"));
  addItem(file, S("印刷…"), S("printMap"))->setShortcut(QKeySequence::Print);
  file->addSeparator();
  QAction* quit = file->addAction(S("終了"));
  quit->setObjectName(S("terminate"));
  quit->setShortcut(QKeySequence::Quit);
  quit->setMenuRole(QAction::QuitRole);
  connect(quit, &QAction::triggered, this, [this] {
    if (requestQuit()) qApp->quit();
  });
  actions_.insert(S("terminate"), quit);

  QMenu* edit = addMenu(nullptr, S("編集"));
  addItem(edit, S("取り消し"), S("undo"))->setShortcut(QKeySequence::Undo);
  addItem(edit, S("やり直し"), S("redo"))->setShortcut(QKeySequence::Redo);
  edit->addSeparator();
  addItem(edit, S("コピー"), S("copy"))->setShortcut(QKeySequence::Copy);
  addItem(edit, S("ペースト"), S("paste"))->setShortcut(QKeySequence::Paste);
  edit->addSeparator();
  addItem(edit, S("ポイント入力"), S("setInputMode"));
  addItem(edit, S("トラック編集"), S("setTrackMode"));
  addItem(edit, S("ウェイポイント編集"), S("setWayPointMode"));
  edit->addSeparator();
  addItem(edit, S("1つ戻る"), S("stepBack"));
  addItem(edit, S("トラック削除"), S("deleteTrack"));
  addItem(edit, S("折り返し"), S("turnBack"));
  addItem(edit, S("逆順"), S("reverseRoute"));
  edit->addSeparator();
  addItem(edit, S("トラック追加"), S("addTrack"));
  addItem(edit, S("トラック分割"), S("divideTrack"));
  connectMenu_ = addMenu(edit, S("トラック連結"), S("connectTrackMenu"));
  edit->addSeparator();
  addItem(edit, S("間引き…"), S("thinout"));
  addItem(edit, S("標高再取得…"), S("recalcElevation"));

  QMenu* mode = addMenu(nullptr, S("モード"));
  addItem(mode, S("閲覧"), S("baseMode"));
  addItem(mode, S("印刷範囲"), S("areaMode"));
  addItem(mode, S("印刷"), S("printMode"));
  addItem(mode, S("編集"), S("editMode"));

  QMenu* view = addMenu(nullptr, S("表示"));
  QMenu* info = addMenu(view, S("位置情報"), S("showInfoMenu"));
  addItem(info, S("表示する"), S("showInfo"));
  addItem(info, S("表示しない"), S("hideInfo"));
  QMenu* coord = addMenu(info, S("座標"), S("showCoord"));
  addItem(coord, S("表示しない"), S("hideCoord"));
  addItem(coord, S("10進数"), S("showCoordDecimal"));
  addItem(coord, S("度分秒"), S("showCoordDegree"));
  addItem(info, S("標高"), S("showElevation"));
  addItem(info, S("時刻"), S("showTime"));
  QMenu* wp = addMenu(view, S("ウェイポイント"), S("showWayPointMenu"));
  addItem(wp, S("表示する"), S("showWayPoint"));
  addItem(wp, S("マーク"), S("showWayPointWithMark"));
  addItem(wp, S("名前"), S("showWayPointWithName"));
  addItem(wp, S("表示しない"), S("hideWayPoint"));
  QMenu* graph = addMenu(view, S("グラフ"), S("showGraphMenu"));
  addItem(graph, S("表示する"), S("showGraph"));
  QMenu* graphWp = addMenu(graph, S("ウェイポイント"), S("showGraphWayPointMenu"));
  addItem(graphWp, S("表示する"), S("showGraphWayPoint"));
  addItem(graphWp, S("マーク"), S("showGraphWithMark"));
  addItem(graphWp, S("名前"), S("showGraphWithName"));
  addItem(graphWp, S("全て"), S("showGraphWithAll"));
  addItem(view, S("ピーク"), S("showPeak"));
  addItem(view, S("休憩"), S("showRest"));
  view->addSeparator();
  QMenu* table = addMenu(view, S("一覧"), S("showTableMenu"));
  addItem(table, S("トラックポイント"), S("showTrackList"));
  addItem(table, S("ウェイポイント"), S("showWayPointList"));
  addItem(table, S("表示しない"), S("hideTrackView"));
  QMenu* tracks = addMenu(view, S("トラック"), S("showTrackMenu"));
  addItem(tracks, S("アクティブトラックのみ"), S("showActiveTrack"));
  addItem(tracks, S("全てのトラック"), S("showAllTrack"));
  addItem(tracks, S("表示しない"), S("hideAllTrack"));
  selectMenu_ = addMenu(view, S("トラック選択"), S("selectTrackMenu"));
  addItem(view, S("トラック情報…"), S("showTrackInfo"));
  view->addSeparator();
  addItem(view, S("標準地図"), S("mapStandard"));
  addItem(view, S("淡色地図"), S("mapPale"));
  addItem(view, S("写真"), S("mapPhoto"));
  addItem(view, S("OpenStreetMap"), S("mapOSM"));
  addItem(view, S("地図切り替え"), S("changeMap"));
  view->addSeparator();
  addItem(view, S("拡大"), S("zoomIn"))->setShortcut(QKeySequence::ZoomIn);
  addItem(view, S("縮小"), S("zoomOut"))->setShortcut(QKeySequence::ZoomOut);
  addItem(view, S("フルスクリーン"), S("toggleFullScreen"))->setShortcut(QKeySequence::FullScreen);

  QMenu* help = addMenu(nullptr, S("ヘルプ"));
  addItem(help, S("使い方"), S("showHelp"));
  addItem(help, S("Pemblo地図"), S("showPemblo"));
  addItem(help, S("Quorra地図"), S("showQuorra"));
  addItem(help, S("Sallow地図"), S("showSallow"));
  help->addSeparator();
  addItem(help, S("Tarnwickについて"), S("showAbout"));

  for (const QString& c : {S("showPeak"), S("showRest"), S("hideCoord"), S("showCoordDecimal"), S("showCoordDegree"),
                           S("showElevation"), S("showTime"), S("showWayPointWithMark"), S("showWayPointWithName"),
                           S("hideWayPoint")})
    actions_.value(c)->setCheckable(true);
  for (const QString& c : {S("setInputMode"), S("setTrackMode"), S("setWayPointMode"), S("baseMode"), S("areaMode"),
                           S("printMode"), S("editMode"), S("showActiveTrack"), S("showAllTrack"), S("hideAllTrack"),
                           S("mapStandard"), S("mapPale"), S("mapPhoto"), S("mapOSM")})
    actions_.value(c)->setCheckable(true);

  AppDelegate* d = &d_;
  wire(S("baseMode"), [d] { d->baseMode(); });
  wire(S("editMode"), [d] { d->editMode(); });
  wire(S("createNew"), [d] { d->createNew(); });
  wire(S("loadGPX"), [d] { d->loadGPX(); });
  wire(S("loadAppend"), [d] { d->loadAppend(); });
  wire(S("saveGPX"), [d] { d->saveGPX(); });
  wire(S("saveSelectTrack"), [d] { d->saveSelectTrack(); });
  wire(S("undo"), [d] { d->undo(); });
  wire(S("redo"), [d] { d->redo(); });
  wire(S("setInputMode"), [d] { d->inputMode(); });
  wire(S("setTrackMode"), [d] { d->trackMode(); });
  wire(S("setWayPointMode"), [d] { d->wayPointMode(); });
  wire(S("stepBack"), [d] { d->stepBack(); });
  wire(S("deleteTrack"), [d] { d->deleteTrack(); });
  wire(S("turnBack"), [d] { d->turnBack(); });
  wire(S("reverseRoute"), [d] { d->reverseRoute(); });
  wire(S("addTrack"), [d] { d->addTrack(); });
  wire(S("divideTrack"), [d] { d->divideTrack(); });
  wire(S("thinout"), [d] { d->thinout(); });
  wire(S("recalcElevation"), [d] { d->recalcElevation(); });
  wire(S("showRest"), [d] { d->showRest(); });
  wire(S("showPeak"), [d] { d->showPeak(); });
  wire(S("showInfo"), [d] { d->showInfo(); });
  wire(S("hideInfo"), [d] { d->hideInfo(); });
  wire(S("hideCoord"), [d] { d->hideCoord(); });
  wire(S("showCoordDecimal"), [d] { d->showCoordDecimal(); });
  wire(S("showCoordDegree"), [d] { d->showCoordDegree(); });
  wire(S("showElevation"), [d] { d->showElevation(); });
  wire(S("showTime"), [d] { d->showTime(); });
  wire(S("showWayPoint"), [d] { d->showWayPoint(); });
  wire(S("hideWayPoint"), [d] { d->hideWayPoint(); });
  wire(S("showWayPointWithMark"), [d] { d->showWayPointWithMark(); });
  wire(S("showWayPointWithName"), [d] { d->showWayPointWithName(); });
  wire(S("showActiveTrack"), [d] { d->showActiveTrack(); });
  wire(S("showAllTrack"), [d] { d->showAllTrack(); });
  wire(S("hideAllTrack"), [d] { d->hideAllTrack(); });
  wire(S("mapStandard"), [d] { d->mapStandard(); });
  wire(S("mapPale"), [d] { d->mapPale(); });
  wire(S("mapPhoto"), [d] { d->mapPhoto(); });
  wire(S("mapOSM"), [d] { d->mapOSM(); });
  wire(S("changeMap"), [d] { d->changeMap(); });
  wire(S("zoomIn"), [d] { d->zoomIn(); });
  wire(S("zoomOut"), [d] { d->zoomOut(); });
  // Text fields paste for themselves; anywhere else a pasted route link is imported.
  wire(S("paste"), [d] {
    QWidget* f = QApplication::focusWidget();
    if (f && f->metaObject()->indexOfSlot("paste()") >= 0)
      QMetaObject::invokeMethod(f, "paste");
    else
      d->doString(QGuiApplication::clipboard()->text());
  });
  wire(S("toggleFullScreen"), [this] { isFullScreen() ? showNormal() : showFullScreen(); });
  // The holders only group their items.
  for (const QString& c : {S("connectTrackMenu"), S("selectTrackMenu"), S("showTrackMenu"), S("showInfoMenu"),
                           S("showCoord"), S("showWayPointMenu")})
    wire(c, [] {});

  // Validation before any menu opens, as the platform menus do it.
  const auto menus = menuBar()->findChildren<QMenu*>();
  for (QMenu* m : menus) connect(m, &QMenu::aboutToShow, this, &MainWindow::validateMenus);
  // Shortcuts and tests reach items without opening a menu: keep the state current.
  connect(&d_, &AppDelegate::editMenusChanged, this, [this] {
    rebuildTrackMenus();
    validateMenus();
  });
  connect(&d_, &AppDelegate::titleChanged, this, &MainWindow::validateMenus);
  connect(&d_, &AppDelegate::buttonsChanged, this, &MainWindow::validateMenus);
  rebuildTrackMenus();
  validateMenus();
}

template <typename F>
void MainWindow::wire(const QString& command, F&& slot)
{
  QAction* a = actions_.value(command);
  if (!a) return;
  a->setProperty("wired", true);
  connect(a, &QAction::triggered, this, std::forward<F>(slot));
  // Commands that change no document or mode signal still change what the items show.
  connect(a, &QAction::triggered, this, &MainWindow::validateMenus);
}

void MainWindow::rebuildTrackMenus()
{
  selectMenu_->clear();
  for (const auto& item : d_.editing.trackMenu) {
    QAction* a = selectMenu_->addAction(QString::fromStdString(item.title));
    a->setObjectName(S("selectTrack"));
    a->setCheckable(true);
    a->setChecked(item.checked);
    const int index = item.index;
    connect(a, &QAction::triggered, this, [this, index] { d_.selectTrack(index); });
  }
  connectMenu_->clear();
  for (const auto& item : d_.editing.connectTrackMenu) {
    QAction* a = connectMenu_->addAction(QString::fromStdString(item.title));
    a->setObjectName(S("connectTrack"));
    const int index = item.index;
    connect(a, &QAction::triggered, this, [this, index] { d_.connectTrack(index); });
  }
}

void MainWindow::validateMenus()
{
  using tw::EditMode, tw::MapType, tw::Mode, tw::TrackMode;
  const Mode m = d_.mode;
  const EditMode e = d_.edit_mode;
  const TrackMode t = d_.track_mode;
  const bool docCommands = tw::baseOrEdit(m);  // open, save, undo and the track-wide edits
  const auto* r = d_.routes();
  const bool active = r != nullptr;
  const int points = r ? static_cast<int>(r->size()) : 0;
  const bool hasWayPoints = !d_.doc.waypoints.empty();
  const int tracks = static_cast<int>(d_.doc.tracks.size());
  const auto& h = d_.editing.history;
  const tw::Config& c = d_.config;
  namespace key = tw::key;
  const bool info = c.intValue(key::information) == 1;
  const int32_t coord = c.intValue(key::show_coord), wp_type = c.intValue(key::waypoint_type);
  const int32_t show_wp = c.intValue(key::show_waypoint);

  // Enabled rules of the built commands; every other item stays as built (disabled).
  const QHash<QString, bool> enabled = {
      {S("baseMode"), true},
      {S("editMode"), true},
      {S("createNew"), docCommands},
      {S("loadGPX"), docCommands},
      {S("loadAppend"), docCommands && (active || hasWayPoints)},
      {S("saveGPX"), docCommands && (tracks > 0 || hasWayPoints)},
      {S("saveSelectTrack"), docCommands && (tracks > 0 || hasWayPoints)},
      {S("undo"), h.backup_pos() > 0 && docCommands},
      {S("redo"), h.backup_pos() < h.count() - 1 && docCommands},
      {S("setInputMode"), m == Mode::Edit},
      {S("setTrackMode"), m == Mode::Edit},
      {S("setWayPointMode"), m == Mode::Edit},
      {S("stepBack"), m == Mode::Edit && e != EditMode::WayPoint && points > 0},
      {S("deleteTrack"), m == Mode::Edit && e != EditMode::WayPoint && points > 0},
      {S("turnBack"), m == Mode::Edit && e != EditMode::WayPoint && points > 0},
      {S("reverseRoute"), m == Mode::Edit && e != EditMode::WayPoint && points > 0},
      {S("addTrack"), docCommands && points > 0},
      {S("divideTrack"), m == Mode::Edit && points >= 2},
      {S("connectTrackMenu"), m == Mode::Edit && tracks >= 2},
      {S("selectTrackMenu"), tracks >= 2},
      {S("showTrackMenu"), active},
      {S("thinout"), docCommands && points >= 101},
      {S("recalcElevation"), docCommands && !d_.doc.outside && points > 0},
      {S("showRest"), true},
      {S("showPeak"), true},
      {S("showInfoMenu"), m != Mode::Print},
      {S("showInfo"), m != Mode::Print},
      {S("hideInfo"), true},
      {S("showCoord"), m != Mode::Print && info},
      {S("hideCoord"), m != Mode::Print && info},
      {S("showCoordDecimal"), m != Mode::Print},
      {S("showCoordDegree"), m != Mode::Print},
      {S("showElevation"), m != Mode::Print && info},
      {S("showTime"), m != Mode::Print && info},
      {S("showWayPointMenu"), true},
      {S("showWayPoint"), true},
      {S("hideWayPoint"), true},
      {S("showWayPointWithMark"), show_wp != 0},
      {S("showWayPointWithName"), show_wp != 0},
      {S("showActiveTrack"), active},
      {S("showAllTrack"), active},
      {S("hideAllTrack"), active},
      {S("mapStandard"), m != Mode::Print},
      {S("mapPale"), m != Mode::Print},
      {S("mapPhoto"), m != Mode::Print},
      {S("mapOSM"), m != Mode::Print},
      {S("changeMap"), m != Mode::Print},
      {S("zoomIn"), true},
      {S("zoomOut"), true},
      {S("toggleFullScreen"), true},
      {S("paste"), true},
  };
  for (auto it = enabled.begin(); it != enabled.end(); ++it)
    if (QAction* a = actions_.value(it.key()); a && a->property("wired").toBool()) a->setEnabled(it.value());

  const QHash<QString, bool> ticked = {
      {S("baseMode"), m == Mode::Base},
      {S("areaMode"), m == Mode::Area},
      {S("printMode"), m == Mode::Print},
      {S("editMode"), m == Mode::Edit},
      {S("setInputMode"), m == Mode::Edit && e == EditMode::Input},
      {S("setTrackMode"), m == Mode::Edit && e == EditMode::Track},
      {S("setWayPointMode"), m == Mode::Edit && e == EditMode::WayPoint},
      {S("showActiveTrack"), t == TrackMode::Active},
      {S("showAllTrack"), t == TrackMode::All},
      {S("hideAllTrack"), t == TrackMode::Hidden},
      {S("mapStandard"), d_.derived.map_type == MapType::Standard},
      {S("mapPale"), d_.derived.map_type == MapType::Pale},
      {S("mapPhoto"), d_.derived.map_type == MapType::Photo},
      {S("mapOSM"), d_.derived.map_type == MapType::OSM},
      {S("showPeak"), c.isOn(key::show_peak)},
      {S("showRest"), c.isOn(key::show_rest)},
      {S("hideCoord"), coord == 0},
      {S("showCoordDecimal"), coord == 1},
      {S("showCoordDegree"), coord == 2},
      {S("showElevation"), c.intValue(key::show_elev) == 1},
      {S("showTime"), c.intValue(key::show_time) == 1},
      {S("showWayPointWithMark"), (wp_type & 1) != 0},
      {S("showWayPointWithName"), (wp_type & 2) != 0},
      {S("hideWayPoint"), show_wp == 0},
  };
  for (auto it = ticked.begin(); it != ticked.end(); ++it)
    if (QAction* a = actions_.value(it.key())) a->setChecked(it.value());

  actions_.value(S("undo"))->setText(QString::fromStdString(d_.editing.undoTitle));
  actions_.value(S("redo"))->setText(QString::fromStdString(d_.editing.redoTitle));
  actions_.value(S("showInfo"))->setText(info ? S("表示しない") : S("表示する"));
  actions_.value(S("showWayPoint"))->setText(show_wp == 1 ? S("表示しない") : S("表示する"));
}
