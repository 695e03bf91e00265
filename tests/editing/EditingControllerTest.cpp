// The editing commands' wiring on the controller: one named undo step each, the questions and
// messages they show, the dialogs behind their seams. The rules themselves belong to the core
// tests (PointEdits, TrackOperations, UndoHistory, Thinout).
#include <QLabel>
#include <QLineEdit>
#include <functional>
#include <tuple>
#include <gtest/gtest.h>

#include "EditingFixtures.h"
#include "analysis/Metrics.h"
#include "editing/PointEdits.h"
#include "editing/ThinoutPanel.h"
#include "editing/WayPointPanel.h"
#include "support/ControllerFixture.h"
#include "support/TestPaths.h"

using edittest::line;
using edittest::track;

namespace {

class EditingController : public twtest::ControllerFixture<> {
 protected:
  void SetUp() override
  {
    ControllerFixture::SetUp();
    reset();
  }
  void reset(int n = 5)
  {
    d.deleteAllBackups();
    d.doc.tracks.clear();
    addActiveTrack(track(line(n, 0.001), "往路"));
    d.view.zoom = 16, d.mode = tw::Mode::Edit, d.edit_mode = tw::EditMode::Track, d.doc.select = 0;
  }
  size_t points() { return d.routes() ? d.routes()->size() : 0; }
  QString lastMessage() { return boxes.last() ? boxes.last()->mess : QString(); }
  // Distances as a fresh pass computes them.
  void expectFreshDistances()
  {
    std::vector<tw::Track> fresh = *d.routes();
    tw::recalcDistance(fresh);
    for (size_t i = 0; i < fresh.size(); ++i) EXPECT_NEAR(d.routes()->at(i).dist, fresh[i].dist, 0.01) << i;
  }
};

TEST_F(EditingController, EachCommandIsOneNamedUndoStep)
{
  const struct {
    const char* name;
    std::function<void(AppDelegate&)> run;
    size_t points;
  } rows[] = {
      {"ポイント削除", [](AppDelegate& a) { a.deleteTrackPointAtIndex(1) && a.deleteTrackPointAtIndex(1); }, 3},
      {"ポイント移動", [](AppDelegate& a) { a.dragTrackPoint(35.0, 138.9995, true), a.dragTrackPoint(35.0, 138.999, false); }, 5},
      {"ポイント追加", [](AppDelegate& a) { a.selectPopup(tw::kPopupAddTen); }, 15},
      {"折り返し", [](AppDelegate& a) { a.turnBack(); }, 9},
      {"反転", [](AppDelegate& a) { a.reverseRoute(); }, 5},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    reset();
    const auto before = *d.routes();
    r.run(d);
    EXPECT_EQ(points(), r.points);
    EXPECT_EQ(d.editing.history.count(), 1);
    EXPECT_EQ(d.editing.undoTitle, std::string("取り消し - ") + r.name);
    expectFreshDistances();
    d.undo();
    ASSERT_EQ(points(), before.size());
    EXPECT_EQ(d.routes()->front().lon, before.front().lon);
    EXPECT_EQ(d.editing.redoTitle, std::string("やり直し - ") + r.name);
    d.redo();
    EXPECT_EQ(points(), r.points);
    expectFreshDistances();
  }
}

TEST_F(EditingController, OpeningClearsTheHistoryAndAppendingIsUndone)
{
  const QByteArray walk = QByteArray::fromStdString(twtest::readFile(twtest::fixture("view/walk.gpx")));
  ASSERT_TRUE(d.deleteTrackPointAtIndex(0));
  ASSERT_TRUE(d.loadGPXData(walk, false));
  EXPECT_TRUE(!d.editing.history.canUndo() && d.editing.undoTitle == "取り消し");
  ASSERT_TRUE(d.loadGPXData(walk, true));
  EXPECT_EQ(d.editing.undoTitle, "取り消し - トラック追加");
  d.undo();
  EXPECT_EQ(d.doc.tracks.size(), 1u);
}

TEST_F(EditingController, QuestionsAndRefusals)
{
  // Deleting before point 0 still asks (about 0 points); a cancelled question keeps its step.
  boxes.confirmAnswers = {false};
  d.selectPopup(tw::kPopupDeleteBefore);
  EXPECT_EQ(lastMessage(), QStringLiteral("0個の点を削除します。よろしいですか？"));
  EXPECT_EQ(std::tuple(points(), d.editing.history.count()), std::tuple(5u, 1));
  d.doc.select = 1;
  d.selectPopup(tw::kPopupDeleteAfter);
  EXPECT_EQ(lastMessage(), QStringLiteral("3個の点を削除します。よろしいですか？"));
  EXPECT_EQ(points(), 2u);

  // Inserting needs the editing zoom.
  d.doc.select = 0, d.view.zoom = 14;
  d.insertTrackPoint();
  EXPECT_TRUE(points() == 2u && d.message == QString::fromUtf8(tw::kEditZoomMessage));

  // List rows: one goes without a question (two or more ask: ListWindowTest).
  reset();
  d.derived.show_list = 1;
  d.deleteSelectedItems({2});
  EXPECT_EQ(points(), 4u);
}

TEST_F(EditingController, TrackCommandsAskAndMoveBetweenTools)
{
  d.derived.show_list = 1;
  d.divideTrack(true, {1, 2});
  EXPECT_EQ(lastMessage(), QStringLiteral("複数行が選ばれています。トラックを分割する位置を1行だけ選択してから行なってください"));
  d.selectedListRows = [] { return std::vector<int>{4}; };
  d.divideTrack();
  ASSERT_EQ(d.doc.tracks.size(), 2u);
  EXPECT_EQ(d.editing.trackMenu.size(), 2u);
  d.connectTrack(1);
  EXPECT_EQ(lastMessage(), QStringLiteral("現在のトラックの後ろにトラック2(点数:1個)を結合します。よろしいですか。"));
  EXPECT_EQ(points(), 6u);

  d.deleteTrack();
  EXPECT_EQ(lastMessage(), QStringLiteral("選択されているトラックのすべての点(6点)を削除します。よろしいですか？"));
  // The only track is gone: the input tool starts a new empty one; undo returns to the track tool.
  ASSERT_EQ(d.doc.tracks.size(), 1u);
  EXPECT_TRUE(d.routes()->empty() && d.isInputMode());
  d.undo();
  EXPECT_TRUE(points() == 6u && d.isTrackMode());
}

TEST_F(EditingController, EnteringAToolShowsItsList)
{
  d.derived.show_list = 2;
  d.trackMode();
  EXPECT_EQ(d.derived.show_list, 1);
  d.wayPointMode();
  EXPECT_EQ(d.derived.show_list, 2);
  d.derived.show_list = 0;  // a hidden list stays hidden
  d.trackMode();
  EXPECT_EQ(d.derived.show_list, 0);
}

TEST_F(EditingController, DeleteKeyPicksByTool)
{
  d.doc.select = 2;
  d.deleteKey();  // track tool: the selected point (its keys on the map: MapEditTest)
  EXPECT_EQ(points(), 4u);
  d.edit_mode = tw::EditMode::Input;
  d.deleteKey();  // input tool: the last point
  EXPECT_EQ(std::tuple(points(), d.routes()->back().lon), std::tuple(3u, line(5, 0.001)[3].lon));
  std::tie(d.edit_mode, d.doc.select_wp) = std::tuple(tw::EditMode::WayPoint, 0);
  d.doc.waypoints.resize(2);
  d.deleteKey();  // waypoint tool: the selected waypoint
  EXPECT_EQ(d.doc.waypoints.size(), 1u);
  d.derived.show_list = 2;
  d.selectedListRows = [] { return std::vector<int>{0}; };
  d.deleteKey();  // with the waypoint list: its selected rows
  EXPECT_TRUE(d.doc.waypoints.empty());
}

TEST_F(EditingController, NewPointsAndWayPointsTakeTheDemElevation)
{
  d.elevationAt = [](double, double) { return 612.5f; };
  d.edit_mode = tw::EditMode::Input;
  d.addTrackPoint(35.5f, 139.5f);
  EXPECT_EQ(d.routes()->back().elev, 612.5f);
  d.runWayPointPanel = [](tw::WayPointValues& v) { return v.name = "北岳", true; };
  d.addWayPoint(35.0, 139.002);
  ASSERT_EQ(d.doc.waypoints.size(), 1u);
  EXPECT_EQ(std::tuple(d.doc.waypoints[0].elev, d.editing.undoTitle), std::tuple(612.5f, std::string("取り消し - ウェイポイント追加")));
}

TEST_F(EditingController, ThinoutCommand)
{
  d.thinout();
  EXPECT_EQ(lastMessage(), QStringLiteral("間引きを行うためには、100点以上のトラックデータが必要です。"));
  reset(1000);
  int offered = 0;
  d.runThinoutPanel = [&](int n, double) -> std::optional<int> { return offered = n, 100; };
  d.thinout();
  EXPECT_EQ(std::tuple(offered, points(), d.editing.undoTitle), std::tuple(1000, 100u, std::string("取り消し - 間引き")));
  // Asking for more points than there are takes no snapshot.
  d.douglasPeucker(500);
  EXPECT_EQ(d.editing.history.count(), 1);
}

TEST(EditingPanels, ThinoutPanelShowsTheRulesAndRefuses)
{
  ScriptedMessageBoxes boxes;
  ThinoutPanel p(1000, 10000.0, boxes);
  EXPECT_EQ(p.trackField->text() + p.pointField->text() + p.rateField->text() + p.intervalField->text(),
            QStringLiteral("トラックポイント(1000点)を間引きます。33466.67 30.00m"));
  p.setSliderValue(50.0);
  p.sliderChanged();
  EXPECT_EQ(p.pointField->text() + p.intervalField->text(), QStringLiteral("500 20.00m"));

  p.pointField->setText(QStringLiteral("99"));
  p.dialogOK();
  EXPECT_EQ(boxes.last()->mess, QStringLiteral("間引き後のポイント数は100ポイント以上にしてください"));
  EXPECT_EQ(p.result(), 0);
  p.pointField->setText(QStringLiteral("250"));
  p.dialogOK();
  EXPECT_EQ(boxes.last()->mess, QStringLiteral("ポイント数を1000→250ポイントに間引きます"));
  EXPECT_EQ(std::tuple(p.result(), p.points()), std::tuple(1, 250));
}

TEST(EditingPanels, WayPointPanelRefusesCdataEndAndReadsAnEmptyElevation)
{
  ScriptedMessageBoxes boxes;
  tw::WayPointValues v{35.123456789, 139.5, "峠", 812.0f};
  WayPointPanel p(v, boxes);
  EXPECT_EQ(p.latField->text() + p.elevField->text(), QStringLiteral("35.123457812.00"));
  p.nameField->setText(QStringLiteral("a]]>b"));
  p.dialogOK();
  EXPECT_EQ(boxes.last()->mess, QStringLiteral("名前に]]>は使えません"));
  EXPECT_EQ(p.result(), 0);
  p.nameField->setText(QStringLiteral("大菩薩峠"));
  p.elevField->setText(QString());
  p.dialogOK();
  EXPECT_EQ(p.result(), 1);
  EXPECT_EQ(std::tuple(p.values().name, p.values().elev), std::tuple(std::string("大菩薩峠"), tw::kUnknownElevation));
}

}  // namespace
