// The map's views on a controller, offscreen, against a loopback tile server that never answers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <cstdlib>

#include "app/AppDelegate.h"
#include "app/AppShell.h"
#include "net/QtHttpClient.h"
#include "support/LoopbackHttpServer.h"
#include "support/TestPaths.h"
#include "view/InfoView.h"
#include "view/LayerViews.h"

using twtest::LoopbackHttpServer;

namespace {

constexpr double kLat = 35.36, kLon = 138.73;  // away from the fixture's walk

const QString kEditMessage = QStringLiteral(
    "入力・編集作業は、1/25000図の表示時のみ可能です。\n操作を続ける場合は、スケールを戻してください。");

class MapWidgetTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    ASSERT_TRUE(server.start());
    server.hold();  // tiles stay requested, never answered during a test
    setenv("TARNWICK_GSI_BASE", server.baseUrl().c_str(), 1);
    setenv("TARNWICK_OSM_BASE", server.baseUrl().c_str(), 1);
    app = std::make_unique<AppDelegate>(AppDelegate::Seams{&boxes, &http});
    base = std::make_unique<QWidget>();
    base->resize(800, 600);
    app->baseView = base.get();
    app->mapView = new MapView(app.get(), base.get());
    app->routeView = new RouteView(app.get(), base.get());
    app->infoView = new InfoView(app.get(), base.get());
    app->scaleView = new ScaleView(app.get(), base.get());
    app->logoView = new LogoView(app.get(), base.get());
    app->zoomView = new ZoomView(app.get(), base.get());
    app->zoomView->setGeometry(10, 40, 30, 260);
    app->updateLayer();
    app->launched = true;
    app->updatePosition(15, kLat, kLon);
  }
  void TearDown() override
  {
    base.reset();
    server.release();
    app->queue.waitForDone(20000);
    app.reset();
    unsetenv("TARNWICK_GSI_BASE");
    unsetenv("TARNWICK_OSM_BASE");
  }

  InfoView* info() { return app->infoView; }
  void waitAnimation()
  {
    for (int i = 0; i < 100 && app->view.animating; ++i) QTest::qWait(20);
  }
  void mouse(QEvent::Type type, QPointF at, Qt::MouseButton button = Qt::LeftButton,
             Qt::MouseButtons held = Qt::LeftButton)
  {
    QMouseEvent e(type, at, info()->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(info(), &e);
  }
  void drag(QPointF from, QPointF to)
  {
    mouse(QEvent::MouseButtonPress, from);
    mouse(QEvent::MouseMove, (from + to) / 2, Qt::NoButton);
    mouse(QEvent::MouseMove, to, Qt::NoButton);
    mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  }
  void wheel(int angle, QPointF at = {400, 300})
  {
    QWheelEvent e(at, info()->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(info(), &e);
  }
  void key(int k, const QString& text = {})
  {
    QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier, text);
    QApplication::sendEvent(info(), &e);
  }
  // The first map request near the centre (earlier views' requests stay queued).
  tw::Tile firstRequestNearCentre()
  {
    const int cx = int(app->view.center_x / 256), cy = int(app->view.center_y / 256);
    for (const tw::Tile& k : app->tileStore.requests())
      if (k.type == tw::kTileMap && k.zoom == app->view.zoom && std::abs(k.x - cx) <= 3 && std::abs(k.y - cy) <= 2)
        return k;
    return tw::Tile{-1, -1, -1};
  }
  // The fixture's walk, as the reader would leave it.
  void loadWalk()
  {
    tw::TrackInfo t;
    const double pts[][2] = {{35.6320, 139.2700}, {35.6310, 139.2650}, {35.6290, 139.2560}, {35.6270, 139.2470}};
    for (const auto& ll : pts) {
      tw::Track p;
      tw::setPosition(p, ll[0], ll[1]);
      t.points.push_back(p);
    }
    app->doc.tracks = {t};
    app->doc.active_track = 0;
  }
  void editTrack(int points)
  {
    tw::TrackInfo t;
    for (int i = 0; i < points; ++i) {
      tw::Track p;
      tw::setPosition(p, kLat + i * 0.001, kLon + i * 0.001);
      t.points.push_back(p);
    }
    app->doc.tracks = {t};
    app->doc.active_track = 0;
    app->mode = tw::Mode::Edit;
  }

  LoopbackHttpServer server;
  ScriptedMessageBoxes boxes;
  QtHttpClient http;
  std::unique_ptr<AppDelegate> app;
  std::unique_ptr<QWidget> base;
};

}  // namespace

TEST_F(MapWidgetTest, ShowingARouteCentresOnTheFirstPointAndRequestsTheCentreFirst)
{
  loadWalk();
  app->showRoute();
  EXPECT_EQ(app->mode, tw::Mode::Edit);
  EXPECT_EQ(app->view.zoom, 15);
  EXPECT_EQ(app->view.center_x, std::trunc(tw::pixelFromLon(15, 139.2700)));
  EXPECT_EQ(app->view.center_y, std::trunc(tw::pixelFromLat(15, 35.6320)));
  EXPECT_EQ(app->view.foreRect.width, 800);
  EXPECT_EQ(app->view.foreRect.x, std::trunc(app->view.center_x - 400));
  const tw::Tile first = firstRequestNearCentre();
  EXPECT_EQ(first.zoom, 15);
  EXPECT_EQ(first.x, int(app->view.center_x / 256));
  EXPECT_EQ(first.y, int(app->view.center_y / 256));
  EXPECT_EQ(app->slider.pos, 9);
  EXPECT_EQ(app->logoView->text(), QStringLiteral("国土地理院(25000)"));
}

TEST_F(MapWidgetTest, ShortDragIsAClickLongDragIsAPan)
{
  editTrack(1);
  app->edit_mode = tw::EditMode::Input;  // input tool
  const double cx = app->view.center_x, cy = app->view.center_y;
  // The map follows the mouse while it moves; the release decides whether it was a click.
  drag({400, 300}, {408, 300});
  EXPECT_EQ(app->routes()->size(), 2u);  // the click added a point
  EXPECT_EQ(app->view.center_x, cx - 8);
  EXPECT_FALSE(info()->dragged);

  drag({400, 300}, {411, 300});
  EXPECT_EQ(app->routes()->size(), 2u);
  EXPECT_EQ(app->view.center_x, cx - 8 - 11);
  EXPECT_EQ(app->view.center_y, cy);
  EXPECT_FALSE(info()->dragged);
}

TEST_F(MapWidgetTest, PanKeepsThePlaceUnderTheMouse)
{
  const double cx = app->view.center_x, cy = app->view.center_y;
  drag({200, 200}, {260, 170});
  EXPECT_EQ(app->view.center_x, cx - 60);
  EXPECT_EQ(app->view.center_y, cy + 30);
}

TEST_F(MapWidgetTest, WheelZoomSteps)
{
  wheel(120);
  EXPECT_EQ(app->view.zoom, 16);
  waitAnimation();
  info()->wheel.last_scroll = 0;
  wheel(-5 * 120);
  EXPECT_EQ(app->view.zoom, 14);
}

TEST_F(MapWidgetTest, WheelEventsCloseTogetherZoomOnce)
{
  wheel(120);
  waitAnimation();  // not blocked by the animation, only by the time between the two
  wheel(120);
  EXPECT_EQ(app->view.zoom, 16);
}

TEST_F(MapWidgetTest, ZoomLimits)
{
  app->updatePosition(18, kLat, kLon);
  app->zoomIn();
  EXPECT_EQ(app->view.zoom, 18);
  EXPECT_FALSE(app->view.animating);
  app->updatePosition(6, kLat, kLon);
  app->zoomOut();
  EXPECT_EQ(app->view.zoom, 6);
  app->zoomIn();
  EXPECT_EQ(app->view.zoom, 7);
}

TEST_F(MapWidgetTest, LeavingTheEditingZoomClearsTheSelection)
{
  editTrack(5);
  app->edit_mode = tw::EditMode::Track;
  app->updatePosition(16, kLat, kLon);
  app->doc.select = 2;
  app->zoomOut();  // 16 → 15 stays editable
  EXPECT_EQ(app->doc.select, 2);
  EXPECT_TRUE(app->message.isEmpty());
  waitAnimation();
  app->zoomOut();  // 15 → 14
  EXPECT_EQ(app->view.zoom, 14);
  EXPECT_EQ(app->doc.select, -1);
  EXPECT_EQ(app->message, kEditMessage);
}

TEST_F(MapWidgetTest, LeavingTheEditingZoomByWheel)
{
  editTrack(5);
  app->edit_mode = tw::EditMode::Track;
  app->doc.select = 1;
  wheel(-120);
  EXPECT_EQ(app->view.zoom, 14);
  EXPECT_EQ(app->doc.select, -1);
  EXPECT_EQ(app->message, kEditMessage);
}

TEST_F(MapWidgetTest, AnimationHoldsTheMapAndRouteLayers)
{
  app->zoomIn();
  ASSERT_TRUE(app->view.animating);
  const int map = app->mapView->redrawRequests, route = app->routeView->redrawRequests;
  app->redrawAllLayers();
  EXPECT_EQ(app->mapView->redrawRequests, map);
  EXPECT_EQ(app->routeView->redrawRequests, route);
  waitAnimation();
  EXPECT_FALSE(app->view.animating);
  EXPECT_GT(app->mapView->redrawRequests, map);  // redrawn when the animation ends
  app->redrawAllLayers();
  EXPECT_GT(app->routeView->redrawRequests, route);
}

TEST_F(MapWidgetTest, ArrowKeysStepByHalfATile)
{
  const double cx = app->view.center_x, cy = app->view.center_y;
  key(Qt::Key_Up);
  EXPECT_EQ(app->view.center_y, cy - 128);
  key(Qt::Key_Right);
  EXPECT_EQ(app->view.center_x, cx + 128);
  key(Qt::Key_Plus, QStringLiteral("+"));
  EXPECT_EQ(app->view.zoom, 16);
  waitAnimation();
  key(Qt::Key_Minus, QStringLiteral("-"));
  EXPECT_EQ(app->view.zoom, 15);
}

TEST_F(MapWidgetTest, SliderClickOnTheTopRowSelectsZoom18)
{
  QWidget* z = app->zoomView;
  const QPointF top(15, 5);
  QMouseEvent press(QEvent::MouseButtonPress, top, z->mapToGlobal(top), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, top, z->mapToGlobal(top), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(z, &press);
  QApplication::sendEvent(z, &release);
  EXPECT_EQ(app->view.zoom, 18);
  EXPECT_EQ(app->slider.pos, 12);
}

TEST_F(MapWidgetTest, DroppedLocalFilesOpenOrAppend)
{
  const std::string path = twtest::fixture("view/walk.gpx");
  EXPECT_TRUE(InfoView::acceptableObject(QString::fromStdString(path)));
  EXPECT_FALSE(InfoView::acceptableObject(QStringLiteral("/tmp/WALK.GPX")));  // case-sensitive
  EXPECT_FALSE(InfoView::acceptableObject(QStringLiteral("notes.txt")));
  ASSERT_TRUE(info()->dropFile(QString::fromStdString(path), false));
  EXPECT_EQ(app->doc.tracks.size(), 1u);
  EXPECT_EQ(app->doc.filename, "walk.gpx");
  ASSERT_TRUE(info()->dropFile(QString::fromStdString(path), true));  // Alt held: append
  EXPECT_EQ(app->doc.tracks.size(), 2u);
  EXPECT_FALSE(info()->dropFile(QStringLiteral("notes.txt"), false));
  EXPECT_EQ(app->doc.tracks.size(), 2u);
}

TEST_F(MapWidgetTest, ReadoutShowsPositionAndElevation)
{
  editTrack(3);
  app->edit_mode = tw::EditMode::Track;
  app->doc.tracks[0].points[1].elev = 432.5f;
  app->doc.select = 1;
  info()->mouse_known = true;
  info()->mp = {400, 300};
  app->displayLocation();
  EXPECT_EQ(info()->elev, 432.5f);
  EXPECT_TRUE(info()->firstLine().endsWith(QStringLiteral(" 432.50m"))) << info()->firstLine().toStdString();
  app->updatePosition(14, kLat, kLon);
  app->displayLocation();
  EXPECT_EQ(info()->elev, -100.0f);  // none below zoom 15
  app->displayLocation(48.85, 2.35, 35.0);
  EXPECT_TRUE(info()->firstLine().isEmpty());  // outside Japan
}

TEST_F(MapWidgetTest, ReadoutAwayFromTheTrackReadsTheDemCache)
{
  info()->mouse_known = true;
  info()->mp = {400, 300};
  app->displayLocation();
  EXPECT_EQ(info()->elev, -100.0f);  // the tile is not cached yet
  const int tx = int(std::floor(tw::pixelFromLon(tw::kDemZoom, info()->lon) / 256.0));
  const int ty = int(std::floor(tw::pixelFromLat(tw::kDemZoom, info()->lat) / 256.0));
  auto tile = std::make_shared<tw::Elevation>();
  tile->x = tx;
  tile->y = ty;
  tile->tiles.assign(tw::kDemCells, 123456);  // centimetres
  app->demStore.add(tile, false);
  app->displayLocation();
  EXPECT_FLOAT_EQ(info()->elev, 1234.56f);
  EXPECT_TRUE(info()->firstLine().endsWith(QStringLiteral("1234.56m"))) << info()->firstLine().toStdString();
  // A test's lookup still wins over the cache.
  app->elevationAt = [](double, double) { return 77.0f; };
  app->displayLocation();
  EXPECT_EQ(info()->elev, 77.0f);
}

TEST_F(MapWidgetTest, ResizeRebuildsTheGrid)
{
  base->resize(1000, 300);
  app->frameDidChange();
  EXPECT_EQ(app->view.back_cols, 6);
  EXPECT_EQ(app->view.back_rows, 4);
  EXPECT_EQ(app->view.foreRect.width, 1000);
  EXPECT_EQ(app->mapView->size(), QSize(1000, 300));
}

TEST_F(MapWidgetTest, LayersPaintOffscreen)
{
  loadWalk();
  app->showRoute();
  base->show();
  const QImage shot = base->grab().toImage();
  EXPECT_EQ(shot.size(), QSize(800, 600));
  // The track starts at the centre of the view and heads west, a little south.
  int red = 0;
  for (int y = 290; y < 320; ++y) {
    const QColor c = shot.pixelColor(370, y);
    red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
  }
  EXPECT_GE(red, 2);
}

TEST_F(MapWidgetTest, TrackPointerFollowsTheSelection)
{
  editTrack(3);
  app->mode = tw::Mode::Base;
  EXPECT_EQ(app->getTrackPointer(), QPointF(0, 0));  // nothing selected
  app->doc.select = 1;
  const tw::Track& t = app->doc.tracks[0].points[1];
  EXPECT_EQ(app->getTrackPointer(), QPointF(t.x >> 3, t.y >> 3));
  const tw::IPoint next = app->getNextPointer();
  EXPECT_EQ(next.x, app->doc.tracks[0].points[2].x - t.x);
  EXPECT_EQ(next.y, app->doc.tracks[0].points[2].y - t.y);
  // The track tool marks the selection itself at editing zooms.
  app->mode = tw::Mode::Edit;
  app->edit_mode = tw::EditMode::Track;
  EXPECT_EQ(app->getTrackPointer(), QPointF(0, 0));
  app->mode = tw::Mode::Area;
  EXPECT_EQ(app->getNextPointer().x, 0);
}

TEST_F(MapWidgetTest, PointerAndSliderMarkersAreBundled)
{
  const std::pair<const char*, int> images[] = {{"pointer24", 24}, {"arrow24", 24}, {"pointer", 16}};
  for (const auto& [name, size] : images)
    EXPECT_EQ(namedImage(QString::fromLatin1(name)).size(), QSize(size, size)) << name;
}
