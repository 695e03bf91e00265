#pragma once
// A controller whose downloads go to a loopback tile server the test starts: the GSI and
// OpenStreetMap hosts point at it and the timers are stopped, so each test drives the draw
// ticks itself. For tw_app_test targets only.

#include <QCoreApplication>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

#include "app/AppDelegate.h"
#include "net/QtHttpClient.h"
#include "support/ControllerFixture.h"
#include "support/LoopbackHttpServer.h"

namespace twtest {

class LoopbackControllerFixture : public ::testing::Test {
 protected:
  void SetUp() override
  {
    ASSERT_TRUE(server.start());
    setenv("TARNWICK_GSI_BASE", server.baseUrl().c_str(), 1);
    setenv("TARNWICK_OSM_BASE", server.baseUrl().c_str(), 1);
    app = std::make_unique<AppDelegate>(AppDelegate::Seams{&boxes, &http});
    app->timer.stop();
    app->drawTimer.stop();
  }
  void TearDown() override
  {
    server.release();
    app->queue.waitForDone(20000);
    app.reset();
    unsetenv("TARNWICK_GSI_BASE");
    unsetenv("TARNWICK_OSM_BASE");
  }
  // Every queued download finished and no request outstanding.
  bool waitIdle() { return app->queue.waitForDone(20000) && !app->tileStore.hasRequests(); }
  // One draw tick, then whatever it queued.
  void tick()
  {
    app->drawProc();
    QCoreApplication::processEvents();
  }

  LoopbackHttpServer server;
  TestCacheDir cacheDir;
  ScriptedMessageBoxes boxes;
  QtHttpClient http;
  std::unique_ptr<AppDelegate> app;
};

}  // namespace twtest
