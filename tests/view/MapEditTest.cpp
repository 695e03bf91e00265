// Editing on the main window's map with real key and mouse events on the overlay: what the
// user does, and what the document, the read-out, the pop-ups and the saved file show after.
#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>

#include "analysis/Metrics.h"
#include "gpx/GpxReader.h"
#include "support/TestPaths.h"
#include "view/MapWindowFixture.h"

namespace {

class MapEdit : public twtest::MapWindowFixture {
 protected:
  void SetUp() override
  {
    MapWindowFixture::SetUp();
    ASSERT_TRUE(d.loadGPXData(QByteArray::fromStdString(twtest::readFile(twtest::fixture("view/walk.gpx"))), false));
    d.editMode();
    ASSERT_TRUE(d.isTrackMode());
    ASSERT_GE(d.view.zoom, 15);
  }
  QPointF pointAt(int i) const { return onMap(d.doc.routes()->at(i).x, d.doc.routes()->at(i).y); }
  void click(QPointF at)
  {
    hover(at);
    press(at);
    release(at);
  }
  QPushButton* button(const char* name) { return window.findChild<QPushButton*>(name); }
  QMenu* menuOf(const char* name) { return button(name)->findChild<QMenu*>(); }
  QAction* item(const char* name, const char* text)  // as the user reads it
  {
    for (QAction* a : menuOf(name)->actions())
      if (a->text() == QString::fromUtf8(text)) return a;
    return nullptr;
  }
};

struct DeleteKey {
  const char* name;
  char letter;  // typed as text; 0 for the keys that type none
  Qt::Key key;
};
void PrintTo(const DeleteKey& k, std::ostream* os) { *os << k.name; }

class MapDeleteKey : public MapEdit, public ::testing::WithParamInterface<DeleteKey> {};

TEST_P(MapDeleteKey, DeletionIsSavedOnCloseWithDistancesRecomputed)
{
  const tw::Track gone = d.doc.routes()->at(1);
  hover(pointAt(1));
  ASSERT_EQ(d.doc.select, 1);
  if (GetParam().letter)
    QTest::keyClick(info(), GetParam().letter);
  else
    QTest::keyClick(info(), GetParam().key);
  ASSERT_EQ(d.doc.routes()->size(), 4u);

  std::vector<tw::Track> fresh = *d.doc.routes();
  tw::recalcDistance(fresh);
  for (size_t i = 0; i < fresh.size(); ++i)
    EXPECT_EQ(std::tuple(d.doc.routes()->at(i).seg_dist, d.doc.routes()->at(i).dist), std::tuple(fresh[i].seg_dist, fresh[i].dist)) << i;
  EXPECT_FLOAT_EQ(d.stats.total_dist, fresh.back().dist);

  const QString path = dir.path() + QStringLiteral("/walk.gpx");
  boxes.exitAnswers = {MessageBoxes::kExitSave};
  boxes.fileAnswers = {path};
  EXPECT_TRUE(window.close());
  EXPECT_EQ(boxes.count(QStringLiteral("exit")), 1);
  const tw::GpxReadResult saved = tw::parseGPX(twtest::readFile(path.toStdString()));
  ASSERT_TRUE(saved.ok() && saved.data.tracks.size() == 1u);
  EXPECT_EQ(saved.data.tracks[0].points.size(), 4u);
  for (const tw::Track& t : saved.data.tracks[0].points) EXPECT_FALSE(t.lat == gone.lat && t.lon == gone.lon);
}

INSTANTIATE_TEST_SUITE_P(Keys, MapDeleteKey,
                         ::testing::Values(DeleteKey{"d", 'd', Qt::Key_D}, DeleteKey{"Backspace", 0, Qt::Key_Backspace},
                                           DeleteKey{"Delete", 0, Qt::Key_Delete}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MapEdit, DraggedPointHasFreshSpeedsAndTheReadoutFollowsIt)
{
  const QPointF from = pointAt(1);
  const double lat = d.doc.routes()->at(1).lat;
  hover(from);
  ASSERT_EQ(d.doc.select, 1);
  press(from);
  dragTo(from + QPointF(3, -20));
  dragTo(from + QPointF(6, -40));
  const tw::Track& moved = d.doc.routes()->at(1);
  EXPECT_GT(moved.lat, lat);
  EXPECT_EQ(std::tuple(info()->lat, info()->lon), std::tuple(moved.lat, moved.lon));  // the point, not the old mouse place
  release(from + QPointF(6, -40));

  std::vector<tw::Track> fresh = *d.doc.routes();
  tw::calcSpeed(fresh, d.doc.activeTrack()->valid_time, d.doc.states);
  ASSERT_TRUE(d.doc.activeTrack()->valid_time);
  for (size_t i = 0; i < fresh.size(); ++i) EXPECT_EQ(d.doc.routes()->at(i).speed, fresh[i].speed) << i;
  EXPECT_FALSE(d.checkPopup());
}

TEST_F(MapEdit, OnlyAClickWithoutDragOpensThePointPopup)
{
  struct Row {
    const char* what;
    QPointF move;  // (0, 0): no drag event at all
    bool popup;
  };
  for (const Row& r : {Row{"click", {0, 0}, true}, Row{"drag of 6 px", {4, 2}, false}}) {
    d.hidePopupButton();
    QSignalSpy shown(&d, &AppDelegate::popupRequested);
    const QPointF at = pointAt(1);
    hover(at);
    ASSERT_EQ(d.doc.select, 1) << r.what;
    press(at);
    if (!r.move.isNull()) dragTo(at + r.move);
    release(at + r.move);
    EXPECT_EQ(d.checkPopup(), r.popup) << r.what;
    EXPECT_EQ(shown.count(), r.popup ? 1 : 0) << r.what;
    EXPECT_FALSE(info()->dragged) << r.what;
  }
}

TEST_F(MapEdit, PopupWayPointIsRoundedLikeTheKeysAndItsDragIsReadOut)
{
  d.wayPointMode();
  d.runWayPointPanel = [](tw::WayPointValues& v) { return v.name = "峠", true; };
  const QPointF empty(300, 150);
  press(empty);
  release(empty);
  ASSERT_TRUE(menuOf("waypointButton")->isVisible());
  item("waypointButton", "ウェイポイントを作成…")->trigger();
  ASSERT_EQ(d.doc.waypoints.size(), 3u);
  const tw::WayPoint made = d.doc.waypoints.back();
  EXPECT_EQ(std::tuple(made.lat, made.lon), std::tuple(double(float(made.lat)), double(float(made.lon))));

  const QPointF mark = onMap(made.x, made.y);
  hover(mark);
  ASSERT_EQ(d.doc.select_wp, 2);
  press(mark);
  dragTo(mark + QPointF(20, 20));
  EXPECT_EQ(std::tuple(info()->lat, info()->lon), std::tuple(d.doc.waypoints[2].lat, d.doc.waypoints[2].lon));
  EXPECT_LT(d.doc.waypoints[2].lat, made.lat);
  release(mark + QPointF(20, 20));
}

TEST_F(MapEdit, PointPopupOpensAtThePointAndAddsTenPointsAsOneUndoStep)
{
  const QPointF at = pointAt(1);
  click(at);
  QPushButton* b = button("popupButton");
  EXPECT_EQ(b->geometry().topLeft(), at.toPoint());  // the button hangs from the point
  QMenu* menu = menuOf("popupButton");
  ASSERT_TRUE(menu->isVisible());
  EXPECT_EQ(menu->actions().at(0)->text(), QStringLiteral("ポイント 2"));

  item("popupButton", "この後に10点追加")->trigger();
  ASSERT_EQ(d.doc.routes()->size(), 15u);
  EXPECT_FALSE(b->isVisible());
  window.action(QStringLiteral("undo"))->trigger();
  EXPECT_EQ(d.doc.routes()->size(), 5u);

  // Moving off the point takes the pop-up away.
  click(at);
  ASSERT_TRUE(b->isVisible());
  hover(at + QPointF(60, 60));
  EXPECT_FALSE(b->isVisible());
}

TEST_F(MapEdit, WayPointPopupOffersCreateOnEmptyMapAndEditDeleteOnAWayPoint)
{
  d.wayPointMode();
  d.runWayPointPanel = [](tw::WayPointValues& v) { return v.name = "休憩所", true; };
  const tw::WayPoint& w = d.doc.waypoints[0];
  for (bool onWayPoint : {false, true}) {
    click(onWayPoint ? onMap(w.x, w.y) : QPointF(300, 150));
    ASSERT_TRUE(menuOf("waypointButton")->isVisible()) << onWayPoint;
    std::vector<bool> shown;  // create, edit, delete
    for (QAction* a : menuOf("waypointButton")->actions()) shown.push_back(a->isVisible());
    EXPECT_EQ(shown, (std::vector<bool>{!onWayPoint, onWayPoint, onWayPoint})) << onWayPoint;
  }
  EXPECT_EQ(button("waypointButton")->geometry().topLeft(), onMap(w.x, w.y).toPoint());
  item("waypointButton", "ウェイポイントを編集…")->trigger();
  EXPECT_EQ(d.doc.waypoints[0].name, "休憩所");

  // Leaving edit mode takes the pop-up away.
  click(onMap(w.x, w.y));
  ASSERT_TRUE(button("waypointButton")->isVisible());
  window.baseButton->click();
  EXPECT_FALSE(button("waypointButton")->isVisible());
}

}  // namespace
