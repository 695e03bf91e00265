// The main window's map with a file opened at start, against a loopback tile server: tiles,
// the track, the start marker and the waypoint name all reach the screen.
#include <QTest>

#include "support/LoopbackControllerFixture.h"
#include "support/TestPaths.h"

namespace {

const QColor kTileColour(200, 230, 200);

int count(const QImage& img, const std::function<bool(QColor)>& pred)
{
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += pred(img.pixelColor(x, y));
  return n;
}

using MapWindow = twtest::LoopbackControllerFixture;

}  // namespace

TEST_F(MapWindow, OpenedFileShowsTilesTrackMarkersAndNames)
{
  server.setFallbackBody(twtest::pngTile(kTileColour));
  ASSERT_TRUE(app->openFile(QString::fromStdString(twtest::fixture("view/walk.gpx"))));
  app->config.setInt(tw::key::waypoint_type, 3);  // marks and names
  showWindow(800, 600);
  app->drawTimer.start();
  app->applicationDidFinishLaunching();
  EXPECT_EQ(app->view.zoom, 15);

  // Tiles come in over the loopback server; wait until they cover most of the map.
  QImage shot;
  EXPECT_TRUE(QTest::qWaitFor([&] {
    shot = window->baseView()->grab().toImage();
    return count(shot, [](QColor c) { return c == kTileColour; }) > shot.width() * shot.height() / 2;
  }, 10000));
  const int red = count(shot, [](QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; });
  const int blue = count(shot, [](QColor c) { return c.blue() > 200 && c.red() < 60 && c.green() < 60; });
  EXPECT_GT(red + blue, 100);
  // The waypoint name in the label colour (0, 0.3, 0).
  const int label = count(shot, [](QColor c) { return c.red() < 40 && c.green() > 50 && c.green() < 110 && c.blue() < 40; });
  EXPECT_GT(label, 30);
}
