// The main window's map with a file opened at start, against a loopback tile server: tiles,
// the track, the start marker and the waypoint name all reach the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QTest>
#include <cstdlib>

#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "net/QtHttpClient.h"
#include "support/LoopbackHttpServer.h"
#include "support/TestPaths.h"

namespace {

const QColor kTileColour(200, 230, 200);

std::string tilePng()
{
  QImage img(256, 256, QImage::Format_RGB32);
  img.fill(kTileColour);
  QByteArray bytes;
  QBuffer buf(&bytes);
  buf.open(QIODevice::WriteOnly);
  img.save(&buf, "PNG");
  return bytes.toStdString();
}

int count(const QImage& img, const std::function<bool(QColor)>& pred)
{
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += pred(img.pixelColor(x, y));
  return n;
}

}  // namespace

TEST(MapWindow, OpenedFileShowsTilesTrackMarkersAndNames)
{
  twtest::LoopbackHttpServer server;
  ASSERT_TRUE(server.start());
  server.setFallbackBody(tilePng());
  setenv("TARNWICK_GSI_BASE", server.baseUrl().c_str(), 1);
  setenv("TARNWICK_OSM_BASE", server.baseUrl().c_str(), 1);
  {
    ScriptedMessageBoxes boxes;
    QtHttpClient http;
    AppDelegate d({&boxes, &http});
    MainWindow window(d);
    window.setTransient(true);
    window.resize(800, 600);
    ASSERT_TRUE(d.openFile(QString::fromStdString(twtest::fixture("view/walk.gpx"))));
    d.config.setInt(tw::key::waypoint_type, 3);  // marks and names
    window.show();
    d.applicationDidFinishLaunching();
    EXPECT_EQ(d.view.zoom, 15);

    // Tiles come in over the loopback server; wait until they cover most of the map.
    QImage shot;
    EXPECT_TRUE(QTest::qWaitFor([&] {
      shot = window.baseView()->grab().toImage();
      return count(shot, [](QColor c) { return c == kTileColour; }) > shot.width() * shot.height() / 2;
    }, 10000));
    const int red = count(shot, [](QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; });
    const int blue = count(shot, [](QColor c) { return c.blue() > 200 && c.red() < 60 && c.green() < 60; });
    EXPECT_GT(red + blue, 100);
    // The waypoint name in the label colour (0, 0.3, 0).
    const int label = count(shot, [](QColor c) { return c.red() < 40 && c.green() > 50 && c.green() < 110 && c.blue() < 40; });
    EXPECT_GT(label, 30);
  }
  server.stop();
  unsetenv("TARNWICK_GSI_BASE");
  unsetenv("TARNWICK_OSM_BASE");
}
