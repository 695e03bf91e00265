// Moving around the map with real events on the main window's views, the read-out and the track
// pointer. The arithmetic behind them is ViewportTest's, InputRulesTest's and ReadoutTest's.
#include <cmath>

#include "app/AppShell.h"
#include "elevation/DemTestUtil.h"
#include "support/TestPaths.h"
#include "view/LayerViews.h"
#include "view/MapWindowFixture.h"

namespace {

constexpr double kLat = 35.36, kLon = 138.73;

class MapWidgetTest : public twtest::MapWindowFixture {
 protected:
  void SetUp() override
  {
    MapWindowFixture::SetUp();
    d.updatePosition(15, kLat, kLon);
  }
  // A track of `points` points going north-east from the centre, active, in edit mode.
  void editTrack(int points)
  {
    tw::TrackInfo t;
    for (int i = 0; i < points; ++i) {
      tw::Track p;
      tw::setPosition(p, kLat + i * 0.001, kLon + i * 0.001);
      t.points.push_back(p);
    }
    d.doc.tracks = {t};
    d.doc.active_track = 0, d.mode = tw::Mode::Edit;
  }
  void drag(QPointF from, QPointF to)
  {
    press(from);
    dragTo((from + to) / 2);
    dragTo(to);
    release(to);
  }
};

}  // namespace

TEST_F(MapWidgetTest, ShortDragIsAClickLongDragIsAPan)
{
  editTrack(1);
  d.edit_mode = tw::EditMode::Input;  // input tool
  const double cx = d.view.center_x, cy = d.view.center_y;
  // The map follows the mouse while it moves; the release decides whether it was a click.
  drag({400, 300}, {408, 300});
  EXPECT_EQ(d.routes()->size(), 2u);  // the click added a point
  EXPECT_EQ(d.view.center_x, cx - 8);
  drag({400, 300}, {411, 270});
  EXPECT_EQ(d.routes()->size(), 2u);
  EXPECT_EQ(d.view.center_x, cx - 8 - 11);
  EXPECT_NEAR(d.view.center_y - cy, 30, 2);  // odd view heights round by a pixel per drag
  EXPECT_FALSE(info()->dragged);
}

TEST_F(MapWidgetTest, KeysWheelAndSliderZoom)
{
  const double cx = d.view.center_x, cy = d.view.center_y;
  QTest::keyClick(info(), Qt::Key_Up);
  QTest::keyClick(info(), Qt::Key_Right);
  EXPECT_EQ(std::tuple(d.view.center_x, d.view.center_y), std::tuple(cx + 128, cy - 128));
  QTest::keyClick(info(), '+');
  EXPECT_EQ(d.view.zoom, 16);
  waitAnimation();
  QTest::keyClick(info(), '-');
  EXPECT_EQ(d.view.zoom, 15);
  waitAnimation();
  wheel(120);
  EXPECT_EQ(d.view.zoom, 16);
  waitAnimation();  // not blocked by the animation, only by the time since the last wheel zoom
  wheel(120);
  EXPECT_EQ(d.view.zoom, 16);

  const QPointF top(d.zoomView->width() / 2, 2);  // the slider's top row
  mouse(QEvent::MouseButtonPress, top, Qt::LeftButton, d.zoomView);
  mouse(QEvent::MouseButtonRelease, top, Qt::NoButton, d.zoomView);
  EXPECT_EQ(std::tuple(d.view.zoom, d.slider.pos), std::tuple(18, 12));
  waitAnimation();
  QTest::keyClick(info(), '+');
  EXPECT_EQ(d.view.zoom, 18);
  EXPECT_FALSE(d.view.animating);
}

TEST_F(MapWidgetTest, LeavingTheEditingZoomClearsTheSelection)
{
  editTrack(5);
  d.edit_mode = tw::EditMode::Track;
  d.updatePosition(16, kLat, kLon);
  d.doc.select = 2;
  QTest::keyClick(info(), '-');  // 16 → 15 stays editable
  EXPECT_TRUE(d.doc.select == 2 && d.message.isEmpty());
  waitAnimation();
  wheel(-120);  // 15 → 14
  EXPECT_EQ(std::tuple(d.view.zoom, d.doc.select), std::tuple(14, -1));
  EXPECT_EQ(d.message, QStringLiteral("入力・編集作業は、1/25000図の表示時のみ可能です。\n操作を続ける場合は、スケールを戻してください。"));
}

TEST_F(MapWidgetTest, AnimationHoldsTheMapAndRouteLayers)
{
  d.zoomIn();
  ASSERT_TRUE(d.view.animating);
  const int map = d.mapView->redrawRequests, route = d.routeView->redrawRequests;
  d.redrawAllLayers();
  EXPECT_EQ(std::tuple(d.mapView->redrawRequests, d.routeView->redrawRequests), std::tuple(map, route));
  waitAnimation();
  EXPECT_FALSE(d.view.animating);
  EXPECT_TRUE(d.mapView->redrawRequests > map && d.routeView->redrawRequests > route);  // redrawn when it ends
}

TEST_F(MapWidgetTest, DroppedLocalFilesOpenOrAppend)
{
  const QString path = QString::fromStdString(twtest::fixture("view/walk.gpx"));
  EXPECT_TRUE(InfoView::acceptableObject(path));
  EXPECT_FALSE(InfoView::acceptableObject(QStringLiteral("https://example.com/walk.html")));  // no pattern matches
  ASSERT_TRUE(info()->dropFile(path, false));
  EXPECT_EQ(d.doc.filename, "walk.gpx");
  ASSERT_TRUE(info()->dropFile(path, true));  // Alt held: append
  EXPECT_EQ(d.doc.tracks.size(), 2u);
  EXPECT_FALSE(info()->dropFile(QStringLiteral("notes.txt"), false));
  EXPECT_TRUE(info()->dropFile(QStringLiteral("/no/such/walk.gpx"), false));  // said, not ignored
  EXPECT_EQ(boxes.last()->title, QStringLiteral("エラー"));
  EXPECT_EQ(d.doc.tracks.size(), 2u);  // and the document left as it was
}

TEST_F(MapWidgetTest, ReadoutShowsTheSelectedPointOrTheDemCache)
{
  hover({400, 300});
  EXPECT_EQ(info()->elev, -100.0f);  // the DEM tile is not cached yet
  d.demStore.add(elevtest::flatTile(int(std::floor(tw::pixelFromLon(tw::kDemZoom, info()->lon) / 256.0)),
                                    int(std::floor(tw::pixelFromLat(tw::kDemZoom, info()->lat) / 256.0)), 123456), false);
  hover({400, 300});
  EXPECT_FLOAT_EQ(info()->elev, 1234.56f);
  EXPECT_TRUE(info()->firstLine().endsWith(QStringLiteral("1234.56m"))) << info()->firstLine().toStdString();

  editTrack(3);
  d.edit_mode = tw::EditMode::Track, d.doc.tracks[0].points[1].elev = 432.5f, d.doc.select = 1;
  d.displayLocation();
  EXPECT_EQ(info()->elev, 432.5f);
}

TEST_F(MapWidgetTest, TrackPointerFollowsTheSelection)
{
  editTrack(3);
  d.mode = tw::Mode::Base;
  EXPECT_EQ(d.getTrackPointer(), QPointF(0, 0));  // nothing selected
  d.doc.select = 1;
  const tw::Track& t = d.doc.tracks[0].points[1];
  EXPECT_EQ(d.getTrackPointer(), QPointF(t.x >> 3, t.y >> 3));
  d.mode = tw::Mode::Edit;  // the track tool marks the selection itself at editing zooms
  d.edit_mode = tw::EditMode::Track;
  EXPECT_EQ(d.getTrackPointer(), QPointF(0, 0));
  for (const char* name : {"pointer24", "arrow24"})  // the overlay's images are bundled
    EXPECT_EQ(namedImage(QString::fromLatin1(name)).size(), QSize(24, 24)) << name;
}

TEST_F(MapWidgetTest, ResizeRebuildsTheGridAndTheLayers)
{
  d.baseView->resize(1000, 300);
  d.frameDidChange();
  EXPECT_EQ(std::tuple(d.view.back_cols, d.view.foreRect.width), std::tuple(6, 1000.0));
  EXPECT_EQ(d.mapView->size(), QSize(1000, 300));
}
