// The menu bar drives the controller: items reach their commands and follow the document and
// the mode. Offscreen, against a loopback server that holds every tile request.
#include <QAction>
#include <QMenu>
#include <QToolButton>
#include <vector>

#include "support/LoopbackControllerFixture.h"

namespace {

class MenuWiringTest : public twtest::LoopbackControllerFixture {
 protected:
  void SetUp() override
  {
    LoopbackControllerFixture::SetUp();
    server.hold();
    showWindow();
    app->applicationDidFinishLaunching();
  }

  QAction* item(const char* command) const
  {
    QAction* a = window->action(QString::fromLatin1(command));
    EXPECT_NE(a, nullptr) << command;
    return a;
  }
  bool enabled(const char* command) const { return item(command)->isEnabled(); }
  bool ticked(const char* command) const { return item(command)->isChecked(); }
  QString image(const QToolButton* b) const { return b->property("imageName").toString(); }
  void openSample()
  {
    boxes.fileAnswers.push_back(QStringLiteral(TW_SAMPLE_GPX));
    item("loadGPX")->trigger();
    ASSERT_FALSE(app->doc.tracks.empty());
  }

};

}  // namespace

TEST_F(MenuWiringTest, OpenEditUndoRedoThroughTheMenus)
{
  for (const char* c : {"saveGPX", "undo", "thinout", "stepBack", "outputPDF"})
    EXPECT_FALSE(enabled(c)) << c;  // nothing open, or outside print mode
  EXPECT_TRUE(enabled("areaMode"));
  // The mode buttons stack down the right edge of the map and stay there when it is resized.
  BaseView* base = window->baseView();
  base->resize(700, 500);
  EXPECT_EQ(window->editButton->geometry().right(), 699);
  EXPECT_EQ(window->editButton->y(), 3 * window->editButton->height());
  EXPECT_TRUE(base->layer(MapLayer::Graph)->isHidden());

  openSample();
  EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("sample.gpx")));
  for (const char* c : {"saveGPX", "loadAppend", "recalcElevation", "thinout", "addTrack", "mapPale"})
    EXPECT_TRUE(enabled(c)) << c;
  EXPECT_FALSE(enabled("stepBack"));  // edit mode only
  EXPECT_TRUE(ticked("showAllTrack"));
  EXPECT_TRUE(ticked("baseMode"));

  item("editMode")->trigger();
  EXPECT_EQ(app->mode, tw::Mode::Edit);
  EXPECT_TRUE(ticked("editMode"));
  EXPECT_EQ(image(window->editButton), QStringLiteral("edit_on"));
  item("setTrackMode")->trigger();
  EXPECT_EQ(app->edit_mode, tw::EditMode::Track);
  EXPECT_TRUE(ticked("setTrackMode") && !ticked("setInputMode"));

  const auto lats = [this] {
    std::vector<double> v;
    for (const auto& p : app->doc.tracks[0].points) v.push_back(p.lat);
    return v;
  };
  const std::vector<double> start = lats();
  boxes.confirmAnswers.push_back(true);
  item("reverseRoute")->trigger();
  EXPECT_EQ(lats(), std::vector<double>(start.rbegin(), start.rend()));
  EXPECT_TRUE(item("undo")->text().startsWith(QStringLiteral("取り消し - ")));
  EXPECT_FALSE(enabled("redo"));
  item("undo")->trigger();
  EXPECT_EQ(lats(), start);
  EXPECT_EQ(item("undo")->text(), QStringLiteral("取り消し"));
  EXPECT_TRUE(item("redo")->text().startsWith(QStringLiteral("やり直し - ")));

  // The edit tools sit under the mode buttons and follow the tool (which image where is ButtonLayout's).
  EXPECT_GT(window->inputButton->y(), window->editButton->y());
  window->wpButton->click();
  EXPECT_EQ(app->edit_mode, tw::EditMode::WayPoint);
  EXPECT_EQ(image(window->wpButton), QStringLiteral("flag_on"));
  EXPECT_FALSE(window->clearButton->isVisible());
  EXPECT_TRUE(ticked("setWayPointMode"));

  item("baseMode")->trigger();
  EXPECT_EQ(app->mode, tw::Mode::Base);
  for (QToolButton* b : {window->inputButton, window->trackButton, window->wpButton, window->backButton})
    EXPECT_FALSE(b->isVisible());
  EXPECT_FALSE(enabled("setTrackMode"));
}

TEST_F(MenuWiringTest, EnablingFollowsTheDocument)
{
  openSample();
  app->doc.outside = true;
  window->validateMenus();
  EXPECT_FALSE(enabled("recalcElevation"));

  // A second track brings the track choice; its items switch the active track.
  EXPECT_FALSE(enabled("selectTrackMenu"));
  boxes.fileAnswers.push_back(QStringLiteral(TW_SAMPLE_GPX));
  item("loadAppend")->trigger();
  ASSERT_EQ(app->doc.tracks.size(), 2u);
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
  EXPECT_TRUE(ticked("hideAllTrack"));
  window->editButton->click();
  EXPECT_EQ(app->mode, tw::Mode::Base);
  EXPECT_EQ(boxes.last()->title, QStringLiteral("警告"));
  EXPECT_EQ(boxes.last()->mess, QStringLiteral("トラック表示がオフの状態では編集できません。"));
  EXPECT_TRUE(ticked("baseMode"));
}

// Each switch stores the value the next launch reads, and its items show it.
TEST_F(MenuWiringTest, DisplaySwitchesStoreTheirSettings)
{
  namespace key = tw::key;
  const struct {
    const char* command;
    std::string_view key;
    int before, after;
    const char* tickedAfter;  // an item ticked afterwards, or null
  } rows[] = {
      {"showWayPointWithMark", key::waypoint_type, 3, 2, "showWayPointWithName"},
      {"showWayPointWithName", key::waypoint_type, 3, 1, "showWayPointWithMark"},
      {"showWayPointWithMark", key::waypoint_type, 0, 1, "showWayPointWithMark"},
      {"showWayPointWithName", key::waypoint_type, 0, 2, "showWayPointWithName"},
      {"hideWayPoint", key::show_waypoint, 1, 0, "hideWayPoint"},
      {"showWayPoint", key::show_waypoint, 0, 1, nullptr},
      {"showCoordDegree", key::show_coord, 1, 2, "showCoordDegree"},
      {"hideCoord", key::show_coord, 1, 0, "hideCoord"},
      {"showElevation", key::show_elev, 1, 0, nullptr},
      {"showPeak", key::show_peak, 0, 1, "showPeak"},
      {"showRest", key::show_rest, 1, 0, nullptr},
      {"mapPhoto", key::map_type, 0, 2, "mapPhoto"},
      {"showInfo", key::information, 1, 0, nullptr},  // last: the read-out's parts follow it
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.command);
    app->config.setInt(r.key, r.before);
    item(r.command)->trigger();
    EXPECT_EQ(app->config.intValue(r.key), r.after);
    EXPECT_TRUE(!r.tickedAfter || ticked(r.tickedAfter));
  }
  EXPECT_EQ(app->derived.map_type, tw::MapType::Photo);

  // The stored switches reach the items (which item follows which switch is ShellRulesTest's).
  app->config.setInt(key::show_waypoint, 0);
  window->validateMenus();
  EXPECT_EQ(item("showWayPoint")->text(), QStringLiteral("表示する"));
  EXPECT_FALSE(enabled("showWayPointWithMark"));
}
