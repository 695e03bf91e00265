// The menu bar drives the controller: items reach their commands and follow the document and
// the mode. Offscreen, against a loopback server that holds every tile request.
#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QToolButton>
#include <cstdlib>
#include <vector>
#include <gtest/gtest.h>

#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "net/QtHttpClient.h"
#include "support/LoopbackHttpServer.h"

using twtest::LoopbackHttpServer;

namespace {

class MenuWiringTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    ASSERT_TRUE(server.start());
    server.hold();
    setenv("TARNWICK_GSI_BASE", server.baseUrl().c_str(), 1);
    setenv("TARNWICK_OSM_BASE", server.baseUrl().c_str(), 1);
    app = std::make_unique<AppDelegate>(AppDelegate::Seams{&boxes, &http});
    app->configStore = ConfigStore(dir.path() + QStringLiteral("/tarnwick.ini"));
    app->timer.stop();
    app->drawTimer.stop();
    window = std::make_unique<MainWindow>(*app);
    window->setTransient(true);
    window->resize(900, 600);
    window->show();
    app->applicationDidFinishLaunching();
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

  QAction* item(const char* command) const
  {
    QAction* a = window->action(QString::fromLatin1(command));
    EXPECT_NE(a, nullptr) << command;
    return a;
  }
  bool enabled(const char* command) const { return item(command)->isEnabled(); }
  void openSample()
  {
    boxes.fileAnswers.push_back(QStringLiteral(TW_SAMPLE_GPX));
    item("loadGPX")->trigger();
  }

  QTemporaryDir dir;
  LoopbackHttpServer server;
  ScriptedMessageBoxes boxes;
  QtHttpClient http;
  std::unique_ptr<AppDelegate> app;
  std::unique_ptr<MainWindow> window;
};

}  // namespace

TEST_F(MenuWiringTest, OpenEditUndoRedoThroughTheMenus)
{
  EXPECT_TRUE(enabled("loadGPX"));
  EXPECT_TRUE(enabled("createNew"));
  for (const char* c : {"saveGPX", "saveSelectTrack", "loadAppend", "undo", "redo", "recalcElevation", "thinout",
                        "stepBack", "setTrackMode"})
    EXPECT_FALSE(enabled(c)) << c;
  // Subsystems not built stay off whatever the state.
  for (const char* c : {"outputPDF", "printMap", "showAbout", "showTrackList", "areaMode"})
    EXPECT_FALSE(enabled(c)) << c;

  openSample();
  ASSERT_FALSE(app->doc.tracks.empty());
  EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("sample.gpx"))) << window->windowTitle().toStdString();
  for (const char* c : {"saveGPX", "saveSelectTrack", "loadAppend", "recalcElevation", "thinout", "addTrack",
                        "showActiveTrack", "mapPale"})
    EXPECT_TRUE(enabled(c)) << c;
  EXPECT_FALSE(enabled("stepBack"));  // edit mode only
  EXPECT_TRUE(item("showAllTrack")->isChecked());
  EXPECT_TRUE(item("baseMode")->isChecked());

  item("editMode")->trigger();
  EXPECT_EQ(app->mode, tw::Mode::Edit);
  EXPECT_TRUE(item("editMode")->isChecked());
  EXPECT_EQ(window->editButton->property("imageName").toString(), QStringLiteral("edit_on"));
  for (const char* c : {"setInputMode", "setTrackMode", "setWayPointMode", "stepBack", "reverseRoute", "divideTrack"})
    EXPECT_TRUE(enabled(c)) << c;
  item("setTrackMode")->trigger();
  EXPECT_EQ(app->edit_mode, tw::EditMode::Track);
  EXPECT_TRUE(item("setTrackMode")->isChecked());
  EXPECT_FALSE(item("setInputMode")->isChecked());

  const auto lats = [this] {
    std::vector<double> v;
    for (const auto& p : app->doc.tracks[0].points) v.push_back(p.lat);
    return v;
  };
  const std::vector<double> before = lats();
  boxes.confirmAnswers.push_back(true);
  item("reverseRoute")->trigger();
  EXPECT_EQ(lats(), std::vector<double>(before.rbegin(), before.rend()));
  ASSERT_TRUE(enabled("undo"));
  EXPECT_TRUE(item("undo")->text().startsWith(QStringLiteral("取り消し - "))) << item("undo")->text().toStdString();
  EXPECT_FALSE(enabled("redo"));

  item("undo")->trigger();
  EXPECT_EQ(lats(), before);
  EXPECT_EQ(item("undo")->text(), QStringLiteral("取り消し"));
  EXPECT_TRUE(enabled("redo"));
  EXPECT_TRUE(item("redo")->text().startsWith(QStringLiteral("やり直し - "))) << item("redo")->text().toStdString();

  // The edit tools sit under the mode buttons and follow the tool.
  EXPECT_TRUE(window->trackButton->isVisible());
  EXPECT_EQ(window->trackButton->property("imageName").toString(), QStringLiteral("track_on"));
  EXPECT_EQ(window->inputButton->property("imageName").toString(), QStringLiteral("input"));
  EXPECT_TRUE(window->clearButton->isVisible());
  EXPECT_GT(window->inputButton->y(), window->editButton->y());
  window->wpButton->click();
  EXPECT_EQ(app->edit_mode, tw::EditMode::WayPoint);
  EXPECT_EQ(window->wpButton->property("imageName").toString(), QStringLiteral("flag_on"));
  EXPECT_FALSE(window->clearButton->isVisible());
  EXPECT_FALSE(window->backButton->isVisible());
  EXPECT_TRUE(item("setWayPointMode")->isChecked());

  item("baseMode")->trigger();
  EXPECT_EQ(app->mode, tw::Mode::Base);
  EXPECT_FALSE(enabled("stepBack"));
  for (QToolButton* b : {window->inputButton, window->trackButton, window->wpButton, window->backButton})
    EXPECT_FALSE(b->isVisible());
  EXPECT_FALSE(enabled("setTrackMode"));
}

TEST_F(MenuWiringTest, EnablingFollowsTheDocument)
{
  openSample();
  ASSERT_FALSE(app->doc.tracks.empty());
  auto& points = app->doc.tracks[0].points;
  points.resize(100);
  window->validateMenus();
  EXPECT_FALSE(enabled("thinout"));
  points.push_back(points.back());
  window->validateMenus();
  EXPECT_TRUE(enabled("thinout"));

  app->doc.outside = true;
  window->validateMenus();
  EXPECT_FALSE(enabled("recalcElevation"));
  app->doc.outside = false;
  window->validateMenus();
  EXPECT_TRUE(enabled("recalcElevation"));

  // A second track brings the track choice; its items switch the active track.
  EXPECT_FALSE(enabled("selectTrackMenu"));
  boxes.fileAnswers.push_back(QStringLiteral(TW_SAMPLE_GPX));
  item("loadAppend")->trigger();
  ASSERT_EQ(app->doc.tracks.size(), 2u);
  EXPECT_TRUE(enabled("selectTrackMenu"));
  const auto choices = item("selectTrackMenu")->menu()->actions();
  ASSERT_EQ(choices.size(), 2);
  choices[0]->trigger();
  EXPECT_EQ(app->doc.active_track, 0);
  EXPECT_TRUE(item("selectTrackMenu")->menu()->actions()[0]->isChecked());
  EXPECT_FALSE(enabled("connectTrackMenu"));  // edit mode only
}

TEST_F(MenuWiringTest, EditModeIsRefusedWhileTracksAreHidden)
{
  openSample();
  item("hideAllTrack")->trigger();
  ASSERT_EQ(app->track_mode, tw::TrackMode::Hidden);
  EXPECT_TRUE(item("hideAllTrack")->isChecked());
  window->editButton->click();
  EXPECT_EQ(app->mode, tw::Mode::Base);
  ASSERT_NE(boxes.last(), nullptr);
  EXPECT_EQ(boxes.last()->title, QStringLiteral("警告"));
  EXPECT_EQ(boxes.last()->mess, QStringLiteral("トラック表示がオフの状態では編集できません。"));
  EXPECT_TRUE(item("baseMode")->isChecked());
}

TEST_F(MenuWiringTest, MapKindItemsAreTicked)
{
  item("mapPhoto")->trigger();
  EXPECT_EQ(app->derived.map_type, tw::MapType::Photo);
  window->validateMenus();
  EXPECT_TRUE(item("mapPhoto")->isChecked());
  EXPECT_FALSE(item("mapStandard")->isChecked());
}

TEST_F(MenuWiringTest, DisplaySwitchesStoreTheirSettings)
{
  // Waypoint styles flip one bit and stay within mark|name.
  app->config.setInt(tw::key::waypoint_type, 3);
  item("showWayPointWithMark")->trigger();
  EXPECT_EQ(app->config.intValue(tw::key::waypoint_type), 2);
  EXPECT_EQ(app->config.intValue("waypoint_type"), 2);
  EXPECT_FALSE(item("showWayPointWithMark")->isChecked());
  EXPECT_TRUE(item("showWayPointWithName")->isChecked());
  app->config.setInt(tw::key::waypoint_type, 3);
  item("showWayPointWithName")->trigger();
  EXPECT_EQ(app->config.intValue(tw::key::waypoint_type), 1);
  app->config.setInt(tw::key::waypoint_type, 0);
  item("showWayPointWithMark")->trigger();
  EXPECT_EQ(app->config.intValue(tw::key::waypoint_type), 1);
  app->config.setInt(tw::key::waypoint_type, 0);
  item("showWayPointWithName")->trigger();
  EXPECT_EQ(app->config.intValue(tw::key::waypoint_type), 2);

  // Hidden waypoints take their style items with them.
  item("hideWayPoint")->trigger();
  EXPECT_EQ(app->config.intValue("show_waypoint"), 0);
  EXPECT_TRUE(item("hideWayPoint")->isChecked());
  EXPECT_FALSE(enabled("showWayPointWithMark"));
  EXPECT_EQ(item("showWayPoint")->text(), QStringLiteral("表示する"));
  item("showWayPoint")->trigger();
  EXPECT_EQ(app->config.intValue(tw::key::show_waypoint), 1);
  EXPECT_EQ(item("showWayPoint")->text(), QStringLiteral("表示しない"));

  // The read-out's parts follow the read-out itself.
  app->config.setInt(tw::key::information, 1);
  window->validateMenus();
  EXPECT_TRUE(enabled("showElevation"));
  item("showInfo")->trigger();
  
  EXPECT_EQ(app->config.intValue("information"), 0);
  EXPECT_EQ(item("showInfo")->text(), QStringLiteral("表示する"));
  for (const char* c : {"showElevation", "showTime", "hideCoord"}) EXPECT_FALSE(enabled(c)) << c;
  EXPECT_TRUE(enabled("showCoordDegree"));
  item("showCoordDegree")->trigger();
  EXPECT_EQ(app->config.intValue("show_coord"), 2);
  EXPECT_TRUE(item("showCoordDegree")->isChecked());
  EXPECT_FALSE(item("showCoordDecimal")->isChecked());

  const int peak = app->config.intValue(tw::key::show_peak);
  item("showPeak")->trigger();
  EXPECT_EQ(app->config.intValue("show_peak"), 1 - peak);
  EXPECT_EQ(item("showPeak")->isChecked(), peak == 0);

  // In print mode the read-out's items are off.
  app->mode = tw::Mode::Print;
  window->validateMenus();
  for (const char* c : {"showInfo", "showCoordDecimal", "showCoordDegree", "mapPale"}) EXPECT_FALSE(enabled(c)) << c;
  app->mode = tw::Mode::Base;
}
