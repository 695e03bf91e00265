#include <gtest/gtest.h>

#include "EditingFixtures.h"
#include "editing/UndoHistory.h"

using namespace tw;
using edittest::line;
using edittest::track;

namespace {

struct UndoFixture : ::testing::Test {
  DocumentState doc;
  UndoHistory history;
  MapCentre centre{35.5, 139.5, 16};

  void SetUp() override
  {
    doc.tracks.push_back(track(line(5)));
    doc.tracks.push_back(track(line(3), "帰り"));
    doc.active_track = 0;
    doc.filename = "walk.gpx";
    WayPoint w;
    w.setPosition(35.0, 139.0002);
    w.name = "峠";
    doc.waypoints.push_back(w);
  }

  // One edit the way the controller does it: snapshot, then change.
  void deleteLast()
  {
    history.backupData(doc, centre, kActionDeletePoint);
    doc.routes()->pop_back();
  }
  void addPoint()
  {
    history.backupData(doc, centre, kActionAddPoint);
    doc.routes()->push_back(doc.routes()->back());
  }
  size_t points() const { return doc.routes() ? doc.routes()->size() : 0; }
};

TEST(UndoNames, ActionNamesAndRenumbering)
{
  for (auto [action, name] : {std::pair{1, "ポイント削除"}, {8, "間引き"}, {18, "標高再取得"}, {0, "その他"}, {19, "その他"}})
    EXPECT_EQ(actionName(action), name) << action;
  EXPECT_TRUE(actionRenumbersPoints(1));
  EXPECT_TRUE(actionRenumbersPoints(17));
  EXPECT_FALSE(actionRenumbersPoints(3));
}

TEST_F(UndoFixture, SameKindMergesAndTheCursorWalksBothWays)
{
  EXPECT_FALSE(history.undo(doc, centre));  // nothing to undo or redo yet
  EXPECT_FALSE(history.redo(doc));
  deleteLast();  // 5 → 4
  deleteLast();  // merged: 4 → 3
  addPoint();    // 3 → 4
  addPoint();    // merged: 4 → 5
  EXPECT_EQ(history.count(), 2);
  EXPECT_EQ(history.undoTitle(), "取り消し - ポイント追加");
  doc.routes()->at(0).elev = 123.0f;

  auto back = history.undo(doc, MapCentre{36.0, 140.0, 17});
  ASSERT_TRUE(back);
  EXPECT_EQ(points(), 3u);
  EXPECT_EQ(history.count(), 3);  // the first undo stores the current state
  ASSERT_TRUE(history.undo(doc, centre));
  EXPECT_EQ(points(), 5u);
  EXPECT_FALSE(history.canUndo());
  EXPECT_EQ(history.undoTitle(), "取り消し");
  EXPECT_EQ(history.redoTitle(), "やり直し - ポイント削除");

  ASSERT_TRUE(history.redo(doc));
  EXPECT_EQ(points(), 3u);
  EXPECT_EQ(history.redoTitle(), "やり直し - ポイント追加");
  auto again = history.redo(doc);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->lat, 36.0);  // where the undo started
  EXPECT_EQ(again->zoom, 17);
  EXPECT_EQ(points(), 5u);
  EXPECT_EQ(doc.routes()->at(0).elev, 123.0f);
  EXPECT_EQ(history.count(), 2);  // the current-state snapshot is gone again
  EXPECT_FALSE(history.redo(doc));
}

TEST_F(UndoFixture, EditAfterUndoDropsRedo)
{
  // The same kind as the step before the cursor joins it.
  deleteLast();
  addPoint();
  ASSERT_TRUE(history.undo(doc, centre));
  EXPECT_FALSE(history.backupData(doc, centre, kActionDeletePoint));
  EXPECT_FALSE(history.canRedo());
  EXPECT_EQ(history.count(), 1);
  EXPECT_EQ(history.redoTitle(), "やり直し");

  // Another kind starts a step of its own.
  history.deleteAllBackups();
  deleteLast();
  addPoint();
  ASSERT_TRUE(history.undo(doc, centre));
  EXPECT_TRUE(history.backupData(doc, centre, kActionReverse));
  EXPECT_EQ(history.count(), 2);
  EXPECT_EQ(history.undoTitle(), "取り消し - 反転");
}

TEST_F(UndoFixture, LimitOfTwentyKeepsWorkingUndoAndRedo)
{
  // Alternate kinds so that nothing merges.
  for (int i = 0; i < 25; ++i) {
    history.backupData(doc, centre, i % 2 ? kActionAddPoint : kActionMovePoint);
    doc.routes()->at(0).elev = static_cast<float>(i);
  }
  EXPECT_EQ(history.count(), 20);
  EXPECT_EQ(history.backup_pos(), 20);
  ASSERT_TRUE(history.undo(doc, centre));
  EXPECT_EQ(history.count(), 20);
  EXPECT_EQ(history.backup_pos(), 18);
  EXPECT_EQ(doc.routes()->at(0).elev, 23.0f);
  ASSERT_TRUE(history.redo(doc));
  EXPECT_EQ(doc.routes()->at(0).elev, 24.0f);
  EXPECT_EQ(history.count(), 19);
  // Undo all the way down stops at the oldest kept snapshot.
  int undos = 0;
  while (history.undo(doc, centre)) ++undos;
  EXPECT_EQ(undos, 19);
  EXPECT_EQ(history.backup_pos(), 0);
}

TEST_F(UndoFixture, RestoreBringsBackEverythingButValidTime)
{
  doc.tracks[0].valid_time = true;
  doc.active_track = 1;
  doc.invalid_wp = true;
  doc.modify = false;
  doc.states = {1, 1, 1};
  history.backupData(doc, MapCentre{35.1, 139.1, 15}, kActionDeleteTrack);
  // A snapshot is a copy: later changes do not reach it.
  doc.tracks[0].points[2].lat = 10.0;
  doc.waypoints[0].name = "changed";
  doc = DocumentState{};
  doc.modify = true;
  doc.select = 2;
  auto c = history.undo(doc, centre);
  ASSERT_TRUE(c);
  EXPECT_DOUBLE_EQ(c->lat, 35.1);
  EXPECT_EQ(c->zoom, 15);
  ASSERT_EQ(doc.tracks.size(), 2u);
  EXPECT_FALSE(doc.tracks[0].valid_time);
  EXPECT_EQ(doc.tracks[0].points[2].lat, 35.0);
  EXPECT_TRUE(doc.tracks[0].points[3].time.has_value());
  EXPECT_EQ(doc.tracks[1].name, "帰り");
  EXPECT_EQ(doc.active_track, 1);
  EXPECT_EQ(doc.filename, "walk.gpx");
  EXPECT_FALSE(doc.modify);
  EXPECT_TRUE(doc.invalid_wp);
  EXPECT_EQ(doc.waypoints.at(0).name, "峠");
  EXPECT_EQ(doc.select, -1);
  EXPECT_TRUE(doc.states.empty());

  BackupData b = makeBackup(doc, centre, kActionAddTrack);
  b.active_track = 7;  // a damaged index leaves no active track
  restoreBackup(doc, b);
  EXPECT_EQ(doc.routes(), nullptr);
}

}  // namespace
