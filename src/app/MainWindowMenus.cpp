// The menu bar. Every command has its item; an item whose command is not
// built yet stays disabled. Menu-holder items (submenus) carry their holder command name too.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QMenuBar>
#include <QSet>

#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "app/MenuRules.h"

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
  recentMenu_ = addMenu(file, S("最近使ったファイル"), S("openRecentMenu"));
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
  addItem(graph, S("印刷に情報を入れる"), S("toggleGraphTrackInfo"));
  addItem(graph, S("印刷にウェイポイントを入れる"), S("toggleGraphWayPoint"));
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
  addItem(view, S("オフライン用に地図を保存…"), S("prepareOffline"));
  view->addSeparator();
  addItem(view, S("拡大"), S("zoomIn"))->setShortcut(QKeySequence::ZoomIn);
  addItem(view, S("縮小"), S("zoomOut"))->setShortcut(QKeySequence::ZoomOut);
  addItem(view, S("トラック全体を表示"), S("fitTrack"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  addItem(view, S("フルスクリーン"), S("toggleFullScreen"))->setShortcut(QKeySequence::FullScreen);

  QMenu* help = addMenu(nullptr, S("ヘルプ"));
  addItem(help, S("使い方"), S("showHelp"));
  help->addSeparator();
  addItem(help, S("地理院地図で見る"), S("showPemblo"));
  addItem(help, S("OpenTopoMapで見る"), S("showQuorra"));
  addItem(help, S("OpenStreetMapで見る"), S("showSallow"));
  help->addSeparator();
  addItem(help, S("Tarnwickについて"), S("showAbout"));

  AppDelegate* d = &d_;
  wire(S("baseMode"), [d] { d->baseMode(); });
  wire(S("areaMode"), [d] { d->areaMode(); });
  wire(S("printMode"), [d] { d->printMode(); });
  wire(S("pageSetup"), [d] { d->pageSetup(); });
  wire(S("outputPDF"), [d] { d->outputPDF(); });
  wire(S("previewMap"), [d] { d->previewMap(); });
  wire(S("printMap"), [d] { d->printMap(); });
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
  wire(S("prepareOffline"), [d] { d->prepareOffline(); });
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
  wire(S("fitTrack"), [d] { d->fitTrack(); });
  wire(S("showTrackList"), [d] { d->showTrackList(); });
  wire(S("showWayPointList"), [d] { d->showWayPointList(); });
  wire(S("hideTrackView"), [d] { d->hideTrackView(); });
  // Text fields copy for themselves; anywhere else the rows selected in the list are copied.
  wire(S("copy"), [d] {
    QWidget* f = QApplication::focusWidget();
    if (f && f->metaObject()->indexOfSlot("copy()") >= 0)
      QMetaObject::invokeMethod(f, "copy");
    else
      d->copy();
  });
  wire(S("showGraph"), [d] { d->showGraph(); });
  wire(S("outputGraph"), [d] { d->outputGraph(); });
  wire(S("showGraphWayPoint"), [d] { d->showGraphWayPoint(); });
  wire(S("showGraphWithMark"), [d] { d->showGraphWithMark(); });
  wire(S("showGraphWithName"), [d] { d->showGraphWithName(); });
  wire(S("showGraphWithAll"), [d] { d->showGraphWithAll(); });
  wire(S("toggleGraphTrackInfo"), [d] { d->toggleGraphTrackInfo(); });
  wire(S("toggleGraphWayPoint"), [d] { d->toggleGraphWayPoint(); });
  wire(S("showTrackInfo"), [d] { d->showTrackInfo(); });
  wire(S("showHelp"), [d] { d->showHelp(); });
  wire(S("showPemblo"), [d] { d->showPemblo(); });
  wire(S("showQuorra"), [d] { d->showQuorra(); });
  wire(S("showSallow"), [d] { d->showSallow(); });
  wire(S("showAbout"), [d] { d->showAbout(); });
  // The holders only group their items.
  for (const QString& c : {S("connectTrackMenu"), S("selectTrackMenu"), S("showTrackMenu"), S("showInfoMenu"),
                           S("showCoord"), S("showWayPointMenu"), S("showTableMenu"), S("showGraphMenu"),
                           S("showGraphWayPointMenu"), S("openRecentMenu")})
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
  connect(&d_, &AppDelegate::recentFilesChanged, this, &MainWindow::rebuildRecentMenu);
  rebuildTrackMenus();
  rebuildRecentMenu();
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

void MainWindow::rebuildRecentMenu()
{
  recentMenu_->clear();
  for (const std::string& path : d_.derived.recent_files) {
    const QString file = QString::fromStdString(path);
    QAction* a = recentMenu_->addAction(QFileInfo(file).fileName());
    a->setObjectName(S("openRecentFile"));
    a->setToolTip(file);
    a->setData(file);
    connect(a, &QAction::triggered, this, [this, file] { d_.openRecentFile(file); });
  }
  validateMenus();
}

void MainWindow::setItemImage(QAction* item, const QString& image)
{
  if (item->property("imageName").toString() == image) return;
  auto it = itemImages_.find(image);
  if (it == itemImages_.end()) it = itemImages_.insert(image, QIcon(QPixmap::fromImage(namedImage(image))));
  item->setIcon(*it);
  item->setProperty("imageName", image);
}

void MainWindow::validateMenus()
{
  d_.checkCollapsedTrackView();  // a pane dragged shut ends the list shown
  const auto* r = d_.routes();
  const tw::Config& c = d_.config;
  namespace key = tw::key;
  tw::MenuInputs in;
  in.mode = d_.mode;
  in.edit_mode = d_.edit_mode;
  in.track_mode = d_.track_mode;
  in.activeTrack = r != nullptr;
  in.points = r ? static_cast<int>(r->size()) : 0;
  in.tracks = static_cast<int>(d_.doc.tracks.size());
  in.waypoints = static_cast<int>(d_.doc.waypoints.size());
  in.backup_pos = d_.editing.history.backup_pos();
  in.backups = d_.editing.history.count();
  in.outside = d_.doc.outside;
  in.show_info = c.intValue(key::information);
  in.show_coord = c.intValue(key::show_coord);
  in.show_elev = c.intValue(key::show_elev);
  in.show_time = c.intValue(key::show_time);
  in.show_wp = c.intValue(key::show_waypoint);
  in.wp_type = c.intValue(key::waypoint_type);
  in.show_graph_wp = c.intValue(key::show_graph_wp);
  in.graph_wp_type = c.intValue(key::graph_wp_type);
  in.show_peak = c.intValue(key::show_peak);
  in.show_rest = c.intValue(key::show_rest);
  in.show_graph = d_.derived.show_graph;
  in.print_graph = d_.print_graph;
  in.graphTrackInfo = d_.graphTrackInfo;
  in.graphWayPoint = d_.graphWayPoint;
  in.graphViewVisible = !baseView_->layer(MapLayer::Graph)->isHidden();
  in.map_type = d_.derived.map_type;
  in.show_list = d_.derived.show_list;
  in.listCollapsed = d_.isCollapsedTrackView();
  in.fullScreen = isFullScreen();

  for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) {
    QAction* a = it.value();
    const tw::MenuItemState st = tw::validateMenuItem(it.key().toStdString(), in);
    // Items whose command is not built yet stay disabled.
    if (a->property("wired").toBool()) a->setEnabled(st.enabled);
    if (st.ticked) {
      a->setCheckable(true);
      a->setChecked(*st.ticked);
    }
    if (!st.image.empty()) setItemImage(a, QString::fromUtf8(st.image.data(), static_cast<qsizetype>(st.image.size())));
    if (!st.title.empty()) a->setText(QString::fromUtf8(st.title.data(), static_cast<qsizetype>(st.title.size())));
  }
  actions_.value(S("undo"))->setText(QString::fromStdString(d_.editing.undoTitle));
  actions_.value(S("redo"))->setText(QString::fromStdString(d_.editing.redoTitle));
  // Recent files are opened like any file; one that has gone is greyed out.
  actions_.value(S("openRecentMenu"))->setEnabled(tw::baseOrEdit(d_.mode) && !d_.derived.recent_files.empty());
  for (QAction* a : recentMenu_->actions()) a->setEnabled(QFileInfo::exists(a->data().toString()));
}
