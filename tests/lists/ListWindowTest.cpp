// The lists on the main window, through what the user does: the table button, clicks, keys
// and header drags on the list, the menus, the clipboard.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>

#include "app/AboutPanel.h"
#include "lists/ListModel.h"
#include "lists/TrackView.h"
#include "support/TestPaths.h"
#include "view/MapWindowFixture.h"
#include "view/Viewport.h"

namespace {

namespace key = tw::key;

class ListWindow : public twtest::MapWindowFixture {
 protected:
  void SetUp() override
  {
    MapWindowFixture::SetUp();
    ASSERT_TRUE(d.loadGPXData(QByteArray::fromStdString(twtest::readFile(twtest::fixture("view/walk.gpx"))), false));
  }
  TrackView* list() const { return d.trackView; }
  QString cell(int row, tw::ListColumn c) const
  {
    return list()->model()->index(row, static_cast<int>(c)).data().toString();
  }
  QPoint cellAt(int row, tw::ListColumn c) const
  {
    return list()->visualRect(list()->model()->index(row, static_cast<int>(c))).center();
  }
  void click(int row, Qt::KeyboardModifiers mods = Qt::NoModifier, tw::ListColumn c = tw::ListColumn::No)
  {
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, mods, cellAt(row, c));
  }
  void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(list(), Qt::Key(k), mods); }
  void type(char c) { QTest::keyClick(list(), c); }
  QAction* item(const char* command) const { return window.action(QString::fromLatin1(command)); }
  QString image(const QToolButton* b) const { return b->property("imageName").toString(); }
  int paneWidth() const { return d.splitView->sizes().value(1); }
};

}  // namespace

TEST_F(ListWindow, TableButtonCyclesTheListsBesideTheMap)
{
  EXPECT_TRUE(list()->isHidden());
  window.resize(1000, 600);
  window.tableButton->click();
  ASSERT_FALSE(list()->isHidden());
  EXPECT_EQ(list()->model()->rowCount(), 5);
  EXPECT_EQ(image(window.tableButton), QStringLiteral("table_on"));
  EXPECT_TRUE(item("showTrackList")->isChecked());
  EXPECT_EQ(paneWidth(), 460);  // the stored width's default on a first run
  EXPECT_EQ(d.config.intValue(key::show_list), 1);
  // A header drag reaches the cells: the time column too narrow for the date, then wide enough.
  EXPECT_EQ(cell(1, tw::ListColumn::Time), QStringLiteral("09:20:00"));
  QHeaderView* h = list()->horizontalHeader();
  h->resizeSection(static_cast<int>(tw::ListColumn::Time), 120);
  EXPECT_EQ(cell(1, tw::ListColumn::Time), QStringLiteral("2024/05/04 09:20:00"));
  h->resizeSection(static_cast<int>(tw::ListColumn::Time), 119);

  window.tableButton->click();
  EXPECT_EQ(d.derived.show_list, 2);
  EXPECT_EQ(list()->model()->rowCount(), 2);
  EXPECT_TRUE(h->isSectionHidden(static_cast<int>(tw::ListColumn::Time)) && !h->isSectionHidden(static_cast<int>(tw::ListColumn::Name)));
  EXPECT_EQ(d.derived.track_table[2], "time:119");  // the layout left behind was kept

  window.tableButton->click();
  EXPECT_TRUE(list()->isHidden() && item("hideTrackView")->isChecked());
  EXPECT_EQ(d.config.intValue(key::show_list), 0);
}

TEST_F(ListWindow, PaneKeepsTheMapWideAndRemembersItsWidth)
{
  window.tableButton->click();
  d.splitView->setSizes({100, 700});  // as a drag of the divider would
  EXPECT_GE(d.splitView->sizes().value(0), TrackView::kMinMapWidth);
  d.splitView->setSizes({420, 380});
  EXPECT_TRUE(QTest::qWaitFor([&] { return d.config.intValue(key::right_width) == paneWidth(); }));
  EXPECT_EQ(d.derived.right_width, paneWidth());

  // Dragged shut, the pane shows no list any more: the menu says so.
  d.splitView->setSizes({800, 0});
  item("showTableMenu")->menu()->aboutToShow();
  EXPECT_EQ(d.derived.show_list, 0);
  EXPECT_TRUE(item("hideTrackView")->isChecked() && !item("showTrackList")->isChecked());
  item("showWayPointList")->trigger();
  EXPECT_GT(paneWidth(), 0);
  EXPECT_EQ(d.derived.show_list, 2);
  item("createNew")->trigger();  // an empty document: an empty list
  EXPECT_EQ(list()->model()->rowCount(), 0);
}

TEST_F(ListWindow, RowsMoveTheMapAndMapHitsSelectRows)
{
  window.tableButton->click();
  click(2);
  EXPECT_EQ(d.doc.select, 2);
  EXPECT_NEAR(d.view.lat, d.doc.routes()->at(2).lat, 1e-9);
  // A hover on the map selects the point's row; the map stays where it is.
  d.updatePosition(16, d.doc.routes()->at(4).lat, d.doc.routes()->at(4).lon);
  const double lat = d.view.lat;
  hover(onMap(d.doc.routes()->at(4).x, d.doc.routes()->at(4).y));
  EXPECT_EQ(list()->selectedRowList(), std::vector<int>{4});
  EXPECT_EQ(d.view.lat, lat);
}

TEST_F(ListWindow, ListKeys)
{
  window.tableButton->click();
  click(2);
  type('s');
  EXPECT_EQ(d.graph_type, 1);
  EXPECT_EQ(list()->model()->index(2, 0).data(Qt::BackgroundRole).value<QBrush>().color(), QColor::fromRgbF(0.6f, 1, 0.6f));
  click(3);
  type('e');
  EXPECT_EQ(std::make_pair(d.part_start, d.part_end), std::make_pair(2, 4));
  const int zoom = d.view.zoom;
  type('+');
  EXPECT_EQ(d.view.zoom, zoom + 1);
  type('t');
  EXPECT_EQ(d.derived.map_type, tw::MapType::Pale);

  type('d');  // viewing: nothing is deleted
  EXPECT_EQ(boxes.last()->mess, QStringLiteral("このモードでは削除できません。\n削除する場合は、編集画面のトラックポイント編集モードにしてください。"));
  d.mode = tw::Mode::Print;
  key(Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(boxes.last()->title + boxes.last()->mess, QStringLiteral("メッセージこのモードでは操作できません"));
  d.mode = tw::Mode::Edit, d.edit_mode = tw::EditMode::Track;
  click(1, Qt::ShiftModifier);  // rows 1 to 3
  boxes.confirmAnswers.push_back(true);
  key(Qt::Key_Backspace);
  EXPECT_EQ(boxes.last()->mess, QStringLiteral("選択されている3個の点を削除します。よろしいですか？"));
  EXPECT_EQ(list()->model()->rowCount(), 2);
  EXPECT_TRUE(list()->selectedRowList().empty());
}

TEST_F(ListWindow, CopyPutsTheSelectedRowsOnTheClipboard)
{
  d.doc.routes()->at(1).time.reset();
  window.tableButton->click();
  click(0);
  click(1, Qt::ShiftModifier);
  key(Qt::Key_C, Qt::ControlModifier);
  const auto& p = *d.doc.routes();
  const QString second = QStringLiteral("2\t300.00\t\t\t%1\t\t35.631000\t139.265000\n").arg(int(p[1].dist));
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("1\t190.00\t2024/05/04\t09:00:00\t0\t\t35.632000\t139.270000\n") + second);

  // A column dragged to the front is copied first; the Edit menu copies the same rows.
  QHeaderView* h = list()->horizontalHeader();
  h->moveSection(h->visualIndex(static_cast<int>(tw::ListColumn::Lon)), 0);
  QApplication::clipboard()->clear();
  item("copy")->trigger();
  EXPECT_TRUE(QApplication::clipboard()->text().endsWith(QStringLiteral("\n139.265000\t2\t300.00\t\t\t%1\t\t35.631000\n").arg(int(p[1].dist))));
  EXPECT_EQ(d.derived.track_table.front(), "lon:80");
}

TEST_F(ListWindow, WayPointRowsMoveAndAreRenamedInPlace)
{
  window.tableButton->click();
  window.tableButton->click();
  ASSERT_EQ(d.derived.show_list, 2);
  click(1);
  key(Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(d.doc.waypoints[0].name, "高尾山");
  EXPECT_EQ(list()->selectedRowList(), std::vector<int>{0});
  EXPECT_TRUE(d.doc.modify);
  item("undo")->trigger();
  EXPECT_EQ(d.doc.waypoints[0].name, "登山口");

  const auto rename = [&](const QString& text) {
    click(0, Qt::NoModifier, tw::ListColumn::Name);  // the press and release before the second click
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, cellAt(0, tw::ListColumn::Name));
    QLineEdit* editor = nullptr;  // a closed editor may wait for deletion beside the open one
    for (QLineEdit* e : list()->viewport()->findChildren<QLineEdit*>())
      if (e->isVisible()) editor = e;
    ASSERT_TRUE(editor);
    EXPECT_EQ(d.edit_row, 0);
    editor->selectAll();
    QInputMethodEvent typed;  // Japanese arrives from the input method as committed text
    typed.setCommitString(text);
    QApplication::sendEvent(editor, &typed);
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return d.edit_row == -1; }));  // the editor commits and closes
  };
  rename(QStringLiteral("峠]]>"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return boxes.count(QStringLiteral("alert")) == 1; }));  // once closed
  EXPECT_EQ(boxes.last()->mess, QStringLiteral("名前に]]>は使えません"));
  EXPECT_EQ(d.doc.waypoints[0].name, "登山口");
  rename(QStringLiteral("峠"));
  EXPECT_EQ(d.doc.waypoints[0].name, "峠");
  item("undo")->trigger();
  EXPECT_EQ(d.doc.waypoints[0].name, "登山口");

  // Elsewhere on the row a double click opens the waypoint's dialog.
  std::string asked;
  d.runWayPointPanel = [&](tw::WayPointValues& v) {
    asked = v.name;
    return false;
  };
  QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, cellAt(1, tw::ListColumn::Lat));
  EXPECT_EQ(asked, "高尾山");
}

TEST_F(ListWindow, WebMapsAboutWholeTrackAndRecentFiles)
{
  QStringList opened;
  d.openURL = [&](const QUrl& url) { opened << url.toString(); };
  d.updatePosition(15, 35.625, 139.25);
  for (const char* c : {"showPemblo", "showQuorra", "showSallow", "showHelp"}) item(c)->trigger();
  EXPECT_EQ(opened[0], QStringLiteral("https://maps.gsi.go.jp/#15/35.625000/139.250000/"));  // the others: ShellRulesTest
  QTimer::singleShot(0, [] {
    auto* about = qobject_cast<AboutPanel*>(QApplication::activeModalWidget());
    ASSERT_TRUE(about);
    about->linkButton->click();
    about->kokudoButton->click();
    about->accept();
  });
  item("showAbout")->trigger();
  ASSERT_EQ(opened.size(), 6);
  EXPECT_EQ(opened[5], QStringLiteral("https://www.gsi.go.jp/kikakuchousei/kikakuchousei40182.html"));

  item("fitTrack")->trigger();
  const tw::DRect& f = d.view.foreRect;
  for (const tw::Track& t : *d.doc.routes())
    EXPECT_TRUE(QRectF(f.x, f.y, f.width, f.height).contains(t.x >> (18 - d.view.zoom), t.y >> (18 - d.view.zoom)));
  EXPECT_GT(d.view.zoom, 14);

  const QString copy = dir.path() + QStringLiteral("/walk.gpx");
  ASSERT_TRUE(QFile::copy(QString::fromStdString(twtest::fixture("view/walk.gpx")), copy));
  boxes.fileAnswers.push_back(copy);
  item("loadGPX")->trigger();
  const QList<QAction*> recent = item("openRecentMenu")->menu()->actions();
  ASSERT_EQ(recent.size(), 1);
  EXPECT_TRUE(recent[0]->isEnabled());
  QFile::remove(copy);
  item("openRecentMenu")->menu()->aboutToShow();
  EXPECT_FALSE(recent[0]->isEnabled());
  d.saveConfig();
  EXPECT_EQ(d.configStore.read().recent_files, std::vector<std::string>{copy.toStdString()});
}
