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
    doc.active_track = 0, doc.filename = "walk.gpx";
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
  EXPECT_TRUE(actionRenumbersPoints(1) && actionRenumbersPoints(17) && !actionRenumbersPoints(3));
}

TEST_F(UndoFixture, SameKindMergesAndTheCursorWalksBothWays)
{
  EXPECT_FALSE(history.undo(doc, centre) || history.redo(doc));  // nothing to undo or redo yet
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
  EXPECT_EQ(history.undoTitle() + "/" + history.redoTitle(), "取り消し/やり直し - ポイント削除");

  ASSERT_TRUE(history.redo(doc));
  EXPECT_EQ(points(), 3u);
  EXPECT_EQ(history.redoTitle(), "やり直し - ポイント追加");
  auto again = history.redo(doc);
  ASSERT_TRUE(again);
  EXPECT_EQ(std::tuple(again->lat, again->zoom), std::tuple(36.0, 17));  // where the undo started
  EXPECT_EQ(std::tuple(points(), doc.routes()->at(0).elev), std::tuple(5ul, 123.0f));
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
  EXPECT_EQ(std::tuple(history.count(), history.redoTitle()), std::tuple(1, std::string("やり直し")));

  // Another kind starts a step of its own.
  history.deleteAllBackups();
  deleteLast();
  addPoint();
  ASSERT_TRUE(history.undo(doc, centre));
  EXPECT_TRUE(history.backupData(doc, centre, kActionReverse));
  EXPECT_EQ(std::tuple(history.count(), history.undoTitle()), std::tuple(2, std::string("取り消し - 反転")));
}

TEST_F(UndoFixture, LimitOfTwentyKeepsWorkingUndoAndRedo)
{
  // Alternate kinds so that nothing merges.
  for (int i = 0; i < 25; ++i) {
    history.backupData(doc, centre, i % 2 ? kActionAddPoint : kActionMovePoint);
    doc.routes()->at(0).elev = static_cast<float>(i);
  }
  EXPECT_EQ(std::tuple(history.count(), history.backup_pos()), std::tuple(20, 20));
  ASSERT_TRUE(history.undo(doc, centre));
  EXPECT_EQ(std::tuple(history.count(), history.backup_pos()), std::tuple(20, 18));
  EXPECT_EQ(doc.routes()->at(0).elev, 23.0f);
  ASSERT_TRUE(history.redo(doc));
  EXPECT_EQ(std::tuple(history.count(), doc.routes()->at(0).elev), std::tuple(19, 24.0f));
  // Undo all the way down stops at the oldest kept snapshot.
  int undos = 0;
  while (history.undo(doc, centre)) ++undos;
  EXPECT_EQ(std::tuple(undos, history.backup_pos()), std::tuple(19, 0));
}

TEST_F(UndoFixture, RestoreBringsBackEverythingButValidTime)
{
  doc.tracks[0].valid_time = true, doc.active_track = 1, doc.invalid_wp = true, doc.modify = false;
  doc.states = {1, 1, 1};
  history.backupData(doc, MapCentre{35.1, 139.1, 15}, kActionDeleteTrack);
  // A snapshot is a copy: later changes do not reach it.
  doc.tracks[0].points[2].lat = 10.0, doc.waypoints[0].name = "changed";
  doc = DocumentState{};
  doc.modify = true, doc.select = 2;
  auto c = history.undo(doc, centre);
  ASSERT_TRUE(c);
  EXPECT_EQ(std::tuple(c->lat, c->zoom), std::tuple(35.1, 15));
  ASSERT_EQ(doc.tracks.size(), 2u);
  EXPECT_TRUE(!doc.tracks[0].valid_time && doc.tracks[0].points[2].lat == 35.0 && doc.tracks[0].points[3].time);
  EXPECT_EQ(std::tuple(doc.tracks[1].name, doc.active_track, doc.filename, doc.waypoints.at(0).name, doc.select),
            std::tuple(std::string("帰り"), 1, std::string("walk.gpx"), std::string("峠"), -1));
  EXPECT_TRUE(!doc.modify && doc.invalid_wp && doc.states.empty());

  BackupData b = makeBackup(doc, centre, kActionAddTrack);
  b.active_track = 7;  // a damaged index leaves no active track
  restoreBackup(doc, b);
  EXPECT_EQ(doc.routes(), nullptr);
}

}  // namespace
