#pragma once
// A controller under test: scripted message boxes, its settings in a temporary folder and its
// timers stopped, so that each test drives the ticks itself. For tw_app_test targets only.

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <utility>

#include "app/AppDelegate.h"

namespace twtest {

// A tile cache folder of its own for one controller, set before the controller opens it, so
// no test sees another's tiles or writes to the user's cache.
struct TestCacheDir {
  QByteArray before = qgetenv("TARNWICK_CACHE_DIR");
  QTemporaryDir dir;
  TestCacheDir() { qputenv("TARNWICK_CACHE_DIR", dir.path().toUtf8()); }
  ~TestCacheDir() { qputenv("TARNWICK_CACHE_DIR", before); }
};

template <class Boxes = ScriptedMessageBoxes>
class ControllerFixture : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  TestCacheDir cacheDir;
  Boxes boxes;
  AppDelegate d{{&boxes, nullptr}};

  void SetUp() override
  {
    d.configStore = ConfigStore(dir.path() + QStringLiteral("/tarnwick.ini"));
    d.timer.stop();
    d.drawTimer.stop();
  }

  // Adds `track` to the document as its active track.
  tw::TrackInfo& addActiveTrack(tw::TrackInfo track)
  {
    d.doc.tracks.push_back(std::move(track));
    d.doc.active_track = static_cast<int>(d.doc.tracks.size()) - 1;
    return d.doc.tracks.back();
  }
};

}  // namespace twtest
