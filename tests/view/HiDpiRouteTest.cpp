// The route layer on a screen of device pixel ratio 2: a diagonal track must be drawn at the
// screen's resolution, not drawn at half size and doubled into 2 × 2 blocks.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QTemporaryDir>

#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "view/LayerViews.h"

namespace {

// Set before main creates the application, so the whole program runs at twice the density.
const bool kScaled = qputenv("QT_SCALE_FACTOR", "2");

}  // namespace

TEST(HiDpiRoute, DiagonalTrackIsDrawnAtDevicePixels)
{
  ASSERT_TRUE(kScaled);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("diagonal.gpx"));
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<?xml version=\"1.0\"?><gpx version=\"1.1\" creator=\"test\" xmlns=\"http://www.topografix.com/GPX/1/1\">"
            "<trk><trkseg>");
    for (int i = 0; i <= 10; ++i)
      f.write(QStringLiteral("<trkpt lat=\"%1\" lon=\"%2\"/>").arg(35.5 - i * 0.0006, 0, 'f', 7).arg(138.5 + i * 0.0009, 0, 'f', 7).toUtf8());
    f.write("</trkseg></trk></gpx>");
  }
  ScriptedMessageBoxes boxes;
  AppDelegate d({&boxes, nullptr});  // no tiles: the route layer alone
  MainWindow window(d);
  window.setTransient(true);
  window.resize(600, 400);
  ASSERT_TRUE(d.openFile(path));
  window.show();
  d.applicationDidFinishLaunching();
  ASSERT_EQ(d.routeView->devicePixelRatioF(), 2.0);
  // Aligned 2 × 2 blocks the track touches at all: doubled pixels make every one of them
  // uniform; drawn at device pixels, those along the antialiased edge are not.
  int covered = 0, mixed = 0;
  EXPECT_TRUE(QTest::qWaitFor([&] {
    const QImage img = d.routeView->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(img.width(), 2 * d.routeView->width());
    const QRgb background = img.pixel(0, 0);
    covered = mixed = 0;
    for (int y = 0; y + 1 < img.height(); y += 2)
      for (int x = 0; x + 1 < img.width(); x += 2) {
        const QRgb a = img.pixel(x, y), b = img.pixel(x + 1, y), c = img.pixel(x, y + 1), e = img.pixel(x + 1, y + 1);
        if (a == background && b == background && c == background && e == background) continue;
        ++covered;
        mixed += !(a == b && a == c && a == e);
      }
    return covered > 200;
  }, 10000));
  EXPECT_GT(mixed, covered / 4) << mixed << " of " << covered << " covered blocks are not uniform";
}
