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

  // One edit the way the controller does it: snapshot, change, modify.
  void deleteLast(MapCentre at = {35.5, 139.5, 16})
  {
    history.backupData(doc, at, kActionDeletePoint);
    doc.routes()->pop_back();
    doc.modify = true;
  }
  void addPoint()
  {
    history.backupData(doc, centre, kActionAddPoint);
    doc.routes()->push_back(doc.routes()->back());
    doc.modify = true;
  }
  size_t points() const { return doc.routes() ? doc.routes()->size() : 0; }
};

TEST(UndoNames, ActionNamesAndRenumbering)
{
  EXPECT_EQ(actionName(1), "ポイント削除");
  EXPECT_EQ(actionName(8), "間引き");
  EXPECT_EQ(actionName(18), "標高再取得");
  EXPECT_EQ(actionName(0), "その他");
  EXPECT_EQ(actionName(19), "その他");
  EXPECT_EQ(actionName(20), "その他");
  EXPECT_TRUE(actionRenumbersPoints(1));
  EXPECT_TRUE(actionRenumbersPoints(17));
  EXPECT_FALSE(actionRenumbersPoints(3));
  EXPECT_FALSE(actionRenumbersPoints(11));
}

TEST_F(UndoFixture, TwoDeletionsFormOneStep)
{
  EXPECT_EQ(history.undoTitle(), "取り消し");
  EXPECT_EQ(history.redoTitle(), "やり直し");
  deleteLast();
  deleteLast();
  EXPECT_EQ(history.count(), 1);
  EXPECT_EQ(history.undoTitle(), "取り消し - ポイント削除");
  ASSERT_TRUE(history.undo(doc, centre));
  EXPECT_EQ(points(), 5u);
  EXPECT_EQ(history.undoTitle(), "取り消し");
  EXPECT_EQ(history.redoTitle(), "やり直し - ポイント削除");
}

TEST_F(UndoFixture, UndoRedoReturnsToTheSameDocumentAndCount)
{
  deleteLast();
  addPoint();
  doc.routes()->at(0).elev = 123.0f;
  const auto after = *doc.routes();
  const int count = history.count();
  auto restored = history.undo(doc, MapCentre{36.0, 140.0, 17});
  ASSERT_TRUE(restored);
  EXPECT_EQ(points(), 4u);
  EXPECT_EQ(history.count(), count + 1);  // the current state was stored
  ASSERT_TRUE(history.canRedo());
  auto back = history.redo(doc);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->lat, 36.0);
  EXPECT_EQ(back->zoom, 17);
  EXPECT_EQ(history.count(), count);
  EXPECT_EQ(history.backup_pos(), count);
  ASSERT_EQ(points(), after.size());
  EXPECT_EQ(doc.routes()->at(0).elev, 123.0f);
  EXPECT_FALSE(history.canRedo());
  EXPECT_TRUE(history.canUndo());
}

TEST_F(UndoFixture, UndoTwiceThenRedoTwice)
{
  deleteLast();  // 5 → 4
  addPoint();    // 4 → 5
  addPoint();    // merged: 5 → 6
  ASSERT_TRUE(history.undo(doc, centre));
  EXPECT_EQ(points(), 4u);
  ASSERT_TRUE(history.undo(doc, centre));
  EXPECT_EQ(points(), 5u);
  EXPECT_FALSE(history.canUndo());
  EXPECT_EQ(history.redoTitle(), "やり直し - ポイント削除");
  ASSERT_TRUE(history.redo(doc));
  EXPECT_EQ(points(), 4u);
  EXPECT_EQ(history.redoTitle(), "やり直し - ポイント追加");
  ASSERT_TRUE(history.redo(doc));
  EXPECT_EQ(points(), 6u);
  EXPECT_EQ(history.count(), 2);
  EXPECT_FALSE(history.redo(doc));
}

TEST_F(UndoFixture, EditAfterUndoDropsRedoAndMergesWithSameKind)
{
  deleteLast();  // snapshot A (delete), 5 → 4
  addPoint();    // snapshot B (add), 4 → 5
  ASSERT_TRUE(history.undo(doc, centre));  // back to B's state (4 points)
  ASSERT_TRUE(history.canRedo());
  // Another deletion: the redo steps go, and it joins the deletion step before the cursor.
  EXPECT_FALSE(history.backupData(doc, centre, kActionDeletePoint));
  doc.routes()->pop_back();
  EXPECT_FALSE(history.canRedo());
  EXPECT_EQ(history.count(), 1);
  EXPECT_EQ(history.redoTitle(), "やり直し");
  ASSERT_TRUE(history.undo(doc, centre));
  EXPECT_EQ(points(), 5u);

  // A different kind after undo starts a new step instead.
  DocumentState fresh;
  doc = fresh;
  SetUp();
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
  ASSERT_TRUE(history.canRedo());
  ASSERT_TRUE(history.redo(doc));
  EXPECT_EQ(doc.routes()->at(0).elev, 24.0f);
  EXPECT_EQ(history.count(), 19);
  EXPECT_EQ(history.backup_pos(), 19);
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
  doc.tracks.clear();
  doc.waypoints.clear();
  doc.active_track = -1;
  doc.filename = "";
  doc.modify = true;
  doc.invalid_wp = false;
  doc.select = 2;
  auto c = history.undo(doc, centre);
  ASSERT_TRUE(c);
  EXPECT_DOUBLE_EQ(c->lat, 35.1);
  EXPECT_DOUBLE_EQ(c->lon, 139.1);
  EXPECT_EQ(c->zoom, 15);
  ASSERT_EQ(doc.tracks.size(), 2u);
  EXPECT_FALSE(doc.tracks[0].valid_time);
  EXPECT_EQ(doc.tracks[0].points.size(), 5u);
  EXPECT_TRUE(doc.tracks[0].points[3].time.has_value());
  EXPECT_EQ(doc.tracks[1].name, "帰り");
  EXPECT_EQ(doc.tracks[1].stable, 1);
  EXPECT_EQ(doc.active_track, 1);
  EXPECT_EQ(doc.filename, "walk.gpx");
  EXPECT_FALSE(doc.modify);
  EXPECT_TRUE(doc.invalid_wp);
  ASSERT_EQ(doc.waypoints.size(), 1u);
  EXPECT_EQ(doc.waypoints[0].name, "峠");
  EXPECT_EQ(doc.select, -1);
  EXPECT_TRUE(doc.states.empty());
}

TEST_F(UndoFixture, SnapshotsAreIndependentCopies)
{
  history.backupData(doc, centre, kActionMovePoint);
  doc.routes()->at(2).lat = 10.0;
  doc.waypoints[0].name = "changed";
  EXPECT_EQ(history.backups()[0].tracks[0].points[2].lat, 35.0);
  EXPECT_EQ(history.backups()[0].waypoints[0].name, "峠");
}

TEST_F(UndoFixture, InvalidActiveIndexLeavesNoActiveTrack)
{
  BackupData b = makeBackup(doc, centre, kActionAddTrack);
  b.active_track = 7;
  restoreBackup(doc, b);
  EXPECT_EQ(doc.active_track, -1);
  EXPECT_EQ(doc.routes(), nullptr);
}

TEST_F(UndoFixture, ClearedHistoryAndAppendedFile)
{
  deleteLast();
  history.deleteAllBackups();  // a file was opened
  EXPECT_FALSE(history.canUndo());
  EXPECT_FALSE(history.undo(doc, centre));
  EXPECT_EQ(history.undoTitle(), "取り消し");
  // Adding a file to a non-empty document takes a track-add snapshot first.
  history.backupData(doc, centre, kActionAddTrack);
  doc.tracks.push_back(track(line(7)));
  ASSERT_TRUE(history.undo(doc, centre));
  EXPECT_EQ(doc.tracks.size(), 2u);
}

TEST_F(UndoFixture, OutOfRangeCursorDoesNothing)
{
  EXPECT_FALSE(history.redo(doc));
  EXPECT_FALSE(history.undo(doc, centre));
  EXPECT_EQ(points(), 5u);
}

}  // namespace
