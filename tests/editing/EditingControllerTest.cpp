// The editing commands on the controller, with scripted answers to every question.
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "EditingFixtures.h"
#include "editing/PointEdits.h"
#include "editing/ThinoutPanel.h"
#include "editing/WayPointPanel.h"
#include "support/ControllerFixture.h"

using edittest::line;
using edittest::track;

namespace {

class EditingController : public twtest::ControllerFixture<> {
 protected:
  void SetUp() override
  {
    ControllerFixture::SetUp();
    addActiveTrack(track(line(5, 0.001)));
    d.view.zoom = 16;
    d.mode = tw::Mode::Edit;
    d.edit_mode = tw::EditMode::Track;
  }
  size_t points() { return d.routes() ? d.routes()->size() : 0; }
  int snapshots() { return d.editing.history.count(); }
  QString lastMessage() { return boxes.last() ? boxes.last()->mess : QString(); }
};

TEST_F(EditingController, TwoDeletionsAreOneUndoStep)
{
  ASSERT_TRUE(d.deleteTrackPointAtIndex(1));
  ASSERT_TRUE(d.deleteTrackPointAtIndex(1));
  EXPECT_FALSE(d.deleteTrackPointAtIndex(7));
  EXPECT_EQ(points(), 3u);
  EXPECT_EQ(snapshots(), 1);
  EXPECT_EQ(d.editing.undoTitle, "取り消し - ポイント削除");
  d.undo();
  EXPECT_EQ(points(), 5u);
  EXPECT_EQ(d.editing.undoTitle, "取り消し");
  EXPECT_EQ(d.editing.redoTitle, "やり直し - ポイント削除");
  d.redo();
  EXPECT_EQ(points(), 3u);
  EXPECT_EQ(snapshots(), 1);
  // Distances are recomputed on restore.
  EXPECT_FLOAT_EQ(d.routes()->back().dist, d.routes()->at(1).dist + d.routes()->back().seg_dist);
}

TEST_F(EditingController, DragTakesOneSnapshotAndMovesPointZero)
{
  d.doc.select = 0;
  const float before = d.routes()->back().dist;
  d.dragTrackPoint(35.0, 138.9995, true);
  for (int i = 1; i <= 5; ++i) d.dragTrackPoint(35.0, 138.9995 - i * 0.0001, false);
  EXPECT_EQ(snapshots(), 1);
  EXPECT_EQ(d.editing.undoTitle, "取り消し - ポイント移動");
  const auto& p = *d.routes();
  EXPECT_EQ(p[0].seg_dist, 0.0f);
  EXPECT_EQ(p[0].dist, 0.0f);
  EXPECT_EQ(p[0].lon, double(float(138.999)));
  EXPECT_GT(p.back().dist, before + 80.0f);
  EXPECT_TRUE(d.doc.modify);
  d.undo();
  EXPECT_DOUBLE_EQ(d.routes()->at(0).lon, 139.0);
}

TEST_F(EditingController, InputToolAddsOnePointForADoubleClick)
{
  d.doc.tracks.clear();
  d.doc.active_track = -1;
  d.inputMode();
  ASSERT_NE(d.routes(), nullptr);
  EXPECT_GE(d.view.zoom, 15);
  d.addTrackPoint(35.5f, 139.5f);
  d.addTrackPoint(35.5f, 139.5f);
  EXPECT_EQ(points(), 1u);
  d.elevationAt = [](double, double) { return 612.5f; };
  d.addTrackPoint(35.501f, 139.5f);
  EXPECT_EQ(points(), 2u);
  EXPECT_EQ(d.routes()->front().elev, tw::kUnknownElevation);  // no DEM tile cached
  EXPECT_EQ(d.routes()->back().elev, 612.5f);
  EXPECT_EQ(snapshots(), 1);
  EXPECT_EQ(d.doc.select, -1);
  // The delete keys of the input tool remove the last point.
  d.stepBack();
  EXPECT_EQ(points(), 1u);
  d.stepBack();
  EXPECT_EQ(points(), 0u);
  EXPECT_EQ(d.doc.activeTrack()->stable, 0);
}

TEST_F(EditingController, DeleteBeforePointZeroAsksAboutZeroAndCancelKeepsAStep)
{
  d.doc.select = 0;
  boxes.confirmAnswers = {false};
  d.selectPopup(tw::kPopupDeleteBefore);
  EXPECT_EQ(lastMessage(), QStringLiteral("0個の点を削除します。よろしいですか？"));
  EXPECT_EQ(points(), 5u);
  EXPECT_EQ(snapshots(), 1);
  EXPECT_EQ(d.doc.select, -1);

  d.doc.select = 1;
  boxes.confirmAnswers = {true};
  d.selectPopup(tw::kPopupDeleteAfter);
  EXPECT_EQ(lastMessage(), QStringLiteral("3個の点を削除します。よろしいですか？"));
  EXPECT_EQ(points(), 2u);

  d.doc.select = 0;
  d.selectPopup(tw::kPopupAddTen);
  EXPECT_EQ(points(), 12u);
  EXPECT_EQ(d.editing.undoTitle, "取り消し - ポイント追加");
  d.undo();
  EXPECT_EQ(points(), 2u);
}

TEST_F(EditingController, InsertNeedsTheEditZoom)
{
  d.doc.select = 1;
  d.view.zoom = 14;
  d.insertTrackPoint();
  EXPECT_EQ(points(), 5u);
  EXPECT_EQ(d.message, QString::fromUtf8(tw::kEditZoomMessage));
  d.view.zoom = 16;
  d.insertTrackPoint();
  EXPECT_EQ(points(), 6u);
  EXPECT_EQ(d.doc.select, 1);
  EXPECT_NEAR(d.routes()->at(2).lon, 139.0015, 1e-5);
}

TEST_F(EditingController, TableRowDeletion)
{
  d.derived.show_list = 1;
  d.deleteSelectedItems({2});
  EXPECT_EQ(boxes.count("confirm"), 0);
  EXPECT_EQ(points(), 4u);
  boxes.confirmAnswers = {false, true};
  d.deleteSelectedItems({0, 3});
  EXPECT_EQ(lastMessage(), QStringLiteral("選択されている2個の点を削除します。よろしいですか？"));
  EXPECT_EQ(points(), 4u);
  d.deleteSelectedItems({0, 3});
  EXPECT_EQ(points(), 2u);
  EXPECT_EQ(d.routes()->at(0).seg_dist, 0.0f);

  d.mode = tw::Mode::Base;
  d.deleteSelectedItems({0});
  EXPECT_EQ(lastMessage(),
            QStringLiteral("このモードでは削除できません。\n削除する場合は、編集画面のトラックポイント編集モードにしてください。"));
  EXPECT_EQ(points(), 2u);
}

TEST_F(EditingController, WayPointDialogAndAttachment)
{
  d.edit_mode = tw::EditMode::WayPoint;
  std::vector<std::string> names{"a]]>b", "北岳"};
  size_t asked = 0;
  d.runWayPointPanel = [&](tw::WayPointValues& v) {
    v.name = names[asked++];
    v.elev = 3193.0f;
    return true;
  };
  d.addWayPoint(35.0, 139.002);
  EXPECT_EQ(lastMessage(), QStringLiteral("名前に]]>は使えません"));
  EXPECT_TRUE(d.doc.waypoints.empty());
  d.addWayPoint(35.0, 139.002);
  ASSERT_EQ(d.doc.waypoints.size(), 1u);
  EXPECT_EQ(d.doc.waypoints[0].name, "北岳");
  EXPECT_EQ(d.editing.undoTitle, "取り消し - ウェイポイント追加");
  d.checkConnectWayPoint();
  EXPECT_EQ(d.routes()->at(2).wp_index, 0);

  d.doc.select_wp = 0;
  d.showWayPointButton(139.0, 35.0);
  EXPECT_FALSE(d.editing.createWayPointItem);
  EXPECT_TRUE(d.editing.editWayPointItem);
  d.dragWayPoint(35.001, 139.002, true);
  d.dragWayPoint(35.002, 139.002, false);
  EXPECT_EQ(d.editing.undoTitle, "取り消し - ウェイポイント移動");
  EXPECT_EQ(d.doc.waypoints[0].name, "北岳");
  EXPECT_DOUBLE_EQ(d.doc.waypoints[0].lat, double(35.002f));
  boxes.confirmAnswers = {true};
  d.deleteWayPoint();
  EXPECT_TRUE(d.doc.waypoints.empty());
  EXPECT_EQ(d.doc.select_wp, -1);
  d.showWayPointButton(139.1, 35.1);
  EXPECT_TRUE(d.editing.createWayPointItem);
  EXPECT_FALSE(d.editing.deleteWayPointItem);
  EXPECT_EQ(d.editing.select_lat, double(35.1f));
}

TEST_F(EditingController, TrackCommands)
{
  d.doc.tracks[0].name = "往路";
  d.turnBack();
  EXPECT_EQ(points(), 9u);
  EXPECT_EQ(d.editing.undoTitle, "取り消し - 折り返し");
  d.reverseRoute();
  EXPECT_EQ(d.editing.undoTitle, "取り消し - 反転");
  EXPECT_EQ(d.routes()->at(0).seg_dist, 0.0f);

  d.derived.show_list = 1;
  d.divideTrack(false, {});
  EXPECT_EQ(boxes.last()->title, QStringLiteral("トラックの分割"));
  d.divideTrack(true, {});
  d.divideTrack(true, {1, 2});
  EXPECT_EQ(lastMessage(), QStringLiteral("複数行が選ばれています。トラックを分割する位置を1行だけ選択してから行なってください"));
  EXPECT_EQ(d.doc.tracks.size(), 1u);
  d.selectedListRows = [] { return std::vector<int>{4}; };
  d.divideTrack();
  ASSERT_EQ(d.doc.tracks.size(), 2u);
  ASSERT_EQ(d.editing.trackMenu.size(), 2u);
  EXPECT_EQ(d.editing.trackMenu[0].title, "トラック1(往路)");
  EXPECT_EQ(d.editing.trackMenu[1].title, "トラック2");
  ASSERT_EQ(d.editing.connectTrackMenu.size(), 1u);

  d.connectTrack(1);
  EXPECT_EQ(lastMessage(), QStringLiteral("現在のトラックの後ろにトラック2(点数:5個)を結合します。よろしいですか。"));
  EXPECT_EQ(d.doc.tracks.size(), 1u);
  EXPECT_EQ(points(), 10u);

  boxes.confirmAnswers = {true};
  d.deleteTrack();
  EXPECT_EQ(lastMessage(), QStringLiteral("選択されているトラックのすべての点(10点)を削除します。よろしいですか？"));
  // The only track is gone: the input tool starts a new empty one.
  ASSERT_EQ(d.doc.tracks.size(), 1u);
  EXPECT_TRUE(d.routes()->empty());
  EXPECT_TRUE(d.isInputMode());
  d.undo();
  EXPECT_EQ(points(), 10u);
  EXPECT_TRUE(d.isTrackMode());  // undo leaves the input tool
}

TEST_F(EditingController, ThinoutCommand)
{
  d.thinout();
  EXPECT_EQ(lastMessage(), QStringLiteral("間引きを行うためには、100点以上のトラックデータが必要です。"));
  d.doc.tracks[0] = track(line(1000, 0.0001));
  d.doc.tracks[0].valid_time = true;
  d.config.setInt(tw::key::show_rest, 0);  // rests hidden: nothing recomputes the states
  int offered = 0;
  d.runThinoutPanel = [&](int n, double) -> std::optional<int> {
    offered = n;
    return 100;
  };
  d.thinout();
  EXPECT_EQ(offered, 1000);
  EXPECT_EQ(points(), 100u);
  EXPECT_TRUE(d.doc.modify);
  EXPECT_TRUE(d.doc.states.empty());
  EXPECT_EQ(d.editing.undoTitle, "取り消し - 間引き");
  // Asking for more points than there are does nothing and takes no snapshot.
  const int count = snapshots();
  d.douglasPeucker(500);
  EXPECT_EQ(snapshots(), count);
}

}  // namespace

namespace {

TEST(EditingPanels, ThinoutPanelDefaultsAndCorrections)
{
  ScriptedMessageBoxes boxes;
  ThinoutPanel p(1000, 10000.0, boxes);
  EXPECT_EQ(p.trackField->text(), QStringLiteral("トラックポイント(1000点)を間引きます。"));
  EXPECT_EQ(p.pointField->text(), QStringLiteral("334"));
  EXPECT_EQ(p.rateField->text(), QStringLiteral("66.67"));
  EXPECT_EQ(p.intervalField->text(), QStringLiteral(" 30.00m"));
  EXPECT_NEAR(p.sliderValue(), 66.67, 0.01);

  ThinoutPanel shortTrack(1000, 2000.0, boxes);
  EXPECT_EQ(shortTrack.pointField->text(), QStringLiteral("900"));
  EXPECT_EQ(shortTrack.rateField->text(), QStringLiteral("10.00"));

  p.pointField->setText(QStringLiteral("5"));
  p.pointChanged();
  EXPECT_EQ(p.pointField->text(), QStringLiteral("10"));
  EXPECT_EQ(p.rateField->text(), QStringLiteral("99"));
  EXPECT_EQ(p.intervalField->text(), QStringLiteral("1000m"));
  p.pointField->setText(QStringLiteral("995"));
  p.pointChanged();
  EXPECT_EQ(p.pointField->text(), QStringLiteral("990"));

  p.setSliderValue(50.0);
  p.sliderChanged();
  EXPECT_EQ(p.pointField->text(), QStringLiteral("500"));
  EXPECT_EQ(p.intervalField->text(), QStringLiteral(" 20.00m"));

  p.pointField->setText(QStringLiteral("99"));
  p.dialogOK();
  EXPECT_EQ(boxes.last()->mess, QStringLiteral("間引き後のポイント数は100ポイント以上にしてください"));
  EXPECT_EQ(p.result(), 0);
  boxes.confirmAnswers = {true};
  p.pointField->setText(QStringLiteral("250"));
  p.dialogOK();
  EXPECT_EQ(boxes.last()->mess, QStringLiteral("ポイント数を1000→250ポイントに間引きます"));
  EXPECT_EQ(p.result(), 1);
  EXPECT_EQ(p.points(), 250);
}

TEST(EditingPanels, WayPointPanelRefusesCdataEnd)
{
  ScriptedMessageBoxes boxes;
  tw::WayPointValues v{35.123456789, 139.5, "峠", tw::kUnknownElevation};
  WayPointPanel p(v, boxes);
  EXPECT_EQ(p.latField->text(), QStringLiteral("35.123457"));
  EXPECT_EQ(p.elevField->text(), QString());
  p.nameField->setText(QStringLiteral("a]]>b"));
  p.dialogOK();
  EXPECT_EQ(boxes.last()->title, QStringLiteral("エラー"));
  EXPECT_EQ(boxes.last()->mess, QStringLiteral("名前に]]>は使えません"));
  EXPECT_EQ(p.result(), 0);
  p.nameField->setText(QStringLiteral("大菩薩峠"));
  p.elevField->setText(QStringLiteral("1897.5"));
  p.dialogOK();
  EXPECT_EQ(p.result(), 1);
  EXPECT_EQ(p.values().name, "大菩薩峠");
  EXPECT_FLOAT_EQ(p.values().elev, 1897.5f);

  tw::WayPointValues known{35.0, 139.0, "x", 812.0f};
  WayPointPanel q(known, boxes);
  EXPECT_EQ(q.elevField->text(), QStringLiteral("812.00"));
  q.elevField->setText(QString());
  q.dialogOK();
  EXPECT_EQ(q.values().elev, tw::kUnknownElevation);
}

}  // namespace

namespace {

TEST_F(EditingController, DeleteKeyByTool)
{
  d.doc.select = 2;
  d.deleteKey();
  EXPECT_EQ(points(), 4u);
  EXPECT_TRUE(d.doc.modify);
  EXPECT_NEAR(d.routes()->at(2).seg_dist, 2 * d.routes()->at(1).seg_dist, 0.01);  // distances recomputed
  EXPECT_FLOAT_EQ(d.routes()->at(2).dist, d.routes()->at(1).dist + d.routes()->at(2).seg_dist);
  d.edit_mode = tw::EditMode::Input;
  d.deleteKey();
  EXPECT_EQ(points(), 3u);
  d.edit_mode = tw::EditMode::WayPoint;
  d.doc.waypoints.resize(2);
  d.doc.select_wp = 0;
  d.deleteKey();
  EXPECT_EQ(d.doc.waypoints.size(), 1u);
  d.derived.show_list = 2;
  d.selectedListRows = [] { return std::vector<int>{0}; };
  d.deleteKey();
  EXPECT_TRUE(d.doc.waypoints.empty());
}

}  // namespace

namespace {

TEST_F(EditingController, CentringOnPointsWaypointsAndSamples)
{
  d.moveTrack(4);
  EXPECT_DOUBLE_EQ(d.view.lon, d.routes()->at(4).lon);
  EXPECT_EQ(d.view.zoom, 16);
  d.doc.waypoints.resize(1);
  d.doc.waypoints[0].setPosition(35.2, 139.3);
  d.moveWayPoint(0);
  EXPECT_DOUBLE_EQ(d.view.lat, 35.2);
  tw::PosInfo s;
  s.lat = 35.4;
  s.lon = 139.4;
  s.point_index = 2;
  d.doc.positions = {s, s};
  d.stats.total_dist = 20.0f;
  d.stats.span = 10.0;
  d.movePosition(75.0, 100.0);
  EXPECT_DOUBLE_EQ(d.view.lat, 35.4);
  d.doc.positions[1].point_index = -1;
  d.doc.positions[1].lat = 1.0;
  d.movePosition(75.0, 100.0);  // a sample without a point: nothing
  EXPECT_DOUBLE_EQ(d.view.lat, 35.4);
}

}  // namespace

namespace {

QByteArray gpxText(double lon0)
{
  QByteArray t = "<?xml version=\"1.0\"?><gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><trkseg>";
  for (int i = 0; i < 3; ++i)
    t += QStringLiteral("<trkpt lat=\"35.0\" lon=\"%1\"><ele>500</ele></trkpt>").arg(lon0 + i * 0.001, 0, 'f', 6).toUtf8();
  return t + "</trkseg></trk></gpx>";
}

TEST_F(EditingController, UndoAroundOpeningFiles)
{
  ASSERT_TRUE(d.deleteTrackPointAtIndex(0));
  // Opening a file clears the history.
  ASSERT_TRUE(d.loadGPXData(gpxText(139.1), false));
  EXPECT_FALSE(d.editing.history.canUndo());
  EXPECT_EQ(d.editing.undoTitle, "取り消し");
  // Appending to a non-empty document can be undone.
  ASSERT_TRUE(d.loadGPXData(gpxText(139.2), true));
  EXPECT_EQ(d.doc.tracks.size(), 2u);
  EXPECT_EQ(d.editing.undoTitle, "取り消し - トラック追加");
  d.undo();
  EXPECT_EQ(d.doc.tracks.size(), 1u);
  EXPECT_DOUBLE_EQ(d.doc.tracks[0].points[0].lon, 139.1);
}

}  // namespace
