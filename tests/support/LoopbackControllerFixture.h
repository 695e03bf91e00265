#pragma once
// A controller whose downloads go to a loopback tile server the test starts: the GSI and
// OpenStreetMap hosts point at it, its settings live in a temporary folder and its timers are
// stopped, so each test drives the draw ticks itself. For tw_app_test targets only.

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "net/QtHttpClient.h"
#include "support/ControllerFixture.h"
#include "support/LoopbackHttpServer.h"

namespace twtest {

// A 256 × 256 PNG tile of one colour; with a palette when `indexed`.
inline std::string pngTile(QColor c, bool indexed = false)
{
  QImage img(256, 256, indexed ? QImage::Format_Indexed8 : QImage::Format_RGB32);
  if (indexed) {
    img.setColorTable({qRgb(255, 255, 255), c.rgb(), qRgb(40, 40, 40)});
    img.fill(1);
  } else {
    img.fill(c);
  }
  QByteArray bytes;
  QBuffer buf(&bytes);
  buf.open(QIODevice::WriteOnly);
  img.save(&buf, "PNG");
  return bytes.toStdString();
}

class LoopbackControllerFixture : public ::testing::Test {
 protected:
  void SetUp() override
  {
    ASSERT_TRUE(server.start());
    setenv("TARNWICK_GSI_BASE", server.baseUrl().c_str(), 1);
    setenv("TARNWICK_OSM_BASE", server.baseUrl().c_str(), 1);
    app = std::make_unique<AppDelegate>(AppDelegate::Seams{&boxes, &http});
    app->configStore = ConfigStore(dir.path() + QStringLiteral("/tarnwick.ini"));
    app->timer.stop();
    app->drawTimer.stop();
  }
  void TearDown() override
  {
    window.reset();
    server.release();
    app->queue.waitForDone(20000);
    app.reset();
    unsetenv("TARNWICK_GSI_BASE");
    unsetenv("TARNWICK_OSM_BASE");
  }
  // The main window on the controller, shown (not yet launched).
  void showWindow(int width = 900, int height = 600)
  {
    window = std::make_unique<MainWindow>(*app);
    window->setTransient(true);
    window->resize(width, height);
    window->show();
  }
  // Every queued download finished and no request outstanding.
  bool waitIdle() { return app->queue.waitForDone(20000) && !app->tileStore.hasRequests(); }
  // One draw tick, then whatever it queued.
  void tick()
  {
    app->drawProc();
    QCoreApplication::processEvents();
  }

  QTemporaryDir dir;
  LoopbackHttpServer server;
  TestCacheDir cacheDir;
  ScriptedMessageBoxes boxes;
  QtHttpClient http;
  std::unique_ptr<AppDelegate> app;
  std::unique_ptr<MainWindow> window;
};

}  // namespace twtest
