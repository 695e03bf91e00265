// The menu bar. Every command of the product has its item; an item whose command is not
// built yet stays disabled. Menu-holder items (submenus) carry their holder command name too.
#include <QAction>
#include <QApplication>
#include <QMenuBar>

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
  addItem(edit, S("ポイント削除"), S("deleteTrack"));
  addItem(edit, S("折り返し"), S("turnBack"));
  addItem(edit, S("逆順"), S("reverseRoute"));
  edit->addSeparator();
  addItem(edit, S("トラック追加"), S("addTrack"));
  addItem(edit, S("トラック分割"), S("divideTrack"));
  QMenu* connectMenu = addMenu(edit, S("トラック連結"), S("connectTrackMenu"));
  addItem(connectMenu, S("連結…"), S("connectTrack"));
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
  QMenu* select = addMenu(view, S("トラック選択"), S("selectTrackMenu"));
  addItem(select, S("選択…"), S("selectTrack"));
  addItem(view, S("トラック情報…"), S("showTrackInfo"));
  view->addSeparator();
  addItem(view, S("標準地図"), S("mapStandard"));
  addItem(view, S("淡色地図"), S("mapPale"));
  addItem(view, S("写真"), S("mapPhoto"));
  addItem(view, S("OpenStreetMap"), S("mapOSM"));
  addItem(view, S("地図切り替え"), S("changeMap"));
  view->addSeparator();
  addItem(view, S("フルスクリーン"), S("toggleFullScreen"))->setShortcut(QKeySequence::FullScreen);

  QMenu* help = addMenu(nullptr, S("ヘルプ"));
  addItem(help, S("使い方"), S("showHelp"));
  addItem(help, S("Pemblo地図"), S("showPemblo"));
  addItem(help, S("Quorra地図"), S("showQuorra"));
  addItem(help, S("Sallow地図"), S("showSallow"));
  help->addSeparator();
  addItem(help, S("Tarnwickについて"), S("showAbout"));

  // Built in this shell already.
  actions_.value(S("baseMode"))->setEnabled(true);
  connect(actions_.value(S("baseMode")), &QAction::triggered, &d_, &AppDelegate::baseMode);
}
