// The controller's DEM side against a loopback tile server: the fill as tiles arrive and are
// drawn, the recalculation command with its DEM10B fallback question, and failures.
#include <gtest/gtest.h>

#include "DemTestUtil.h"
#include "elevation/DemPanel.h"
#include "support/LoopbackControllerFixture.h"

using twtest::LoopbackHttpServer;
using namespace tw;
using namespace elevtest;

namespace {

std::string demPath(bool dem5a, int x) { return (dem5a ? "/xyz/dem5a/14/" : "/xyz/dem/14/") + std::to_string(x) + "/6450.txt"; }

class ElevationAppTest : public twtest::LoopbackControllerFixture {
 protected:
  void SetUp() override
  {
    LoopbackControllerFixture::SetUp();
    app->view.zoom = 16;
    app->elevRect = DRect{double(TX), double(TY), 2, 1};
    // One track over both tiles (the middle point known), a waypoint without elevation and
    // one with.
    app->doc.tracks.resize(1);
    app->doc.active_track = 0;
    app->doc.tracks[0].points = {pointIn(TX, 10, 10), pointIn(TX, 20, 20, 777.0f), pointIn(TX + 1, 30, 30)};
    app->doc.tracks[0].stable = 1;
    app->doc.waypoints.resize(2);
    for (WayPoint& w : app->doc.waypoints) w.setPosition(points()[2].lat, points()[2].lon);
    app->doc.waypoints[1].elev = 350.0f;
  }

  void serve(bool dem5a, int x, const std::string& cell) { server.setBody(demPath(dem5a, x), demText(cell)); }
  const std::vector<Track>& points() { return app->doc.tracks[0].points; }
  std::vector<float> elevs()
  {
    std::vector<float> e;
    for (const Track& p : points()) e.push_back(p.elev);
    return e;
  }
  void recalcWith(int dem_mode)
  {
    app->runDemPanel = [this, dem_mode] {
      app->config.setInt("dem_mode", dem_mode);
      return 1;
    };
    app->recalcElevation();
  }
};

}  // namespace

TEST_F(ElevationAppTest, TrackAndWayPointsFilledWhenTilesArrive)
{
  std::string malformed = demText("5");
  malformed.erase(malformed.rfind(','), 2);  // last line 255 cells
  server.setBody(demPath(false, TX), malformed);
  serve(false, TX + 1, "-2.5");
  app->calcTrackElevation(0);
  EXPECT_TRUE(app->doc.invalid_track);
  app->doc.invalid_wp = true;
  app->requestElevation();
  ASSERT_TRUE(waitIdle());
  app->requestElevation();  // before the tick: a cached tile is not asked for again, a malformed one is
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(server.countPrefix(demPath(false, TX)), 2u);
  EXPECT_EQ(server.countPrefix(demPath(false, TX + 1)), 1u);
  tick();
  EXPECT_EQ(elevs(), (std::vector<float>{kUnknownElevation, 777.0f, 0.0f}));
  EXPECT_EQ(std::tuple(app->doc.waypoints[0].elev, app->doc.waypoints[1].elev), std::tuple(0.0f, 350.0f));
  EXPECT_TRUE(app->doc.modify && app->doc.invalid_track && !app->doc.invalid_wp && app->tileStore.net_ok);

  serve(false, TX, "123.4");
  app->requestElevation();
  ASSERT_TRUE(waitIdle());
  tick();
  EXPECT_FLOAT_EQ(points()[0].elev, 123.4f);
  EXPECT_FALSE(app->doc.invalid_track);
  server.clearLog();
  app->requestElevation();  // everything known: nothing more to ask for
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(server.requestCount(), 0u);
}

TEST_F(ElevationAppTest, PanBetweenArrivalAndTickDoesNotLoseTheTiles)
{
  serve(false, TX, "12");
  serve(false, TX + 1, "34");
  app->view.zoom = 14;  // farther than 15 every planning drops the DEM caches
  app->calcTrackElevation(0);
  app->requestElevation();
  ASSERT_TRUE(waitIdle());
  app->moveRight();  // plans (and evicts) before the draw tick has filled anything
  tick();
  EXPECT_EQ(elevs(), (std::vector<float>{12.0f, 777.0f, 34.0f}));
  app->moveRight();  // once read they go as usual
  EXPECT_EQ(app->getElevation(points()[0].lat, points()[0].lon), kDemNotCached);
}

TEST_F(ElevationAppTest, Dem5AGapsAskAndTheAcceptedFallbackFetchesDem10B)
{
  server.setBody(demPath(true, TX), demText("e"));
  server.setBody(demPath(true, TX + 1), demText("40"));
  serve(false, TX, "8");
  app->doc.waypoints.clear();
  recalcWith(1);
  EXPECT_EQ(std::tuple(app->dem_mode.load(), app->doc.tracks[0].stable), std::tuple(1, 0));
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(server.countPrefix("/xyz/dem5a/"), 2u);
  boxes.confirmAnswers = {true};
  tick();
  ASSERT_EQ(boxes.count("confirm"), 1);
  EXPECT_EQ(boxes.last()->title + boxes.last()->mess, "エラー標高が取得できない点が存在します。\n取得できない点の標高をDEM10Bのデータで補完しますか?");
  EXPECT_EQ(elevs(), (std::vector<float>{kUnknownElevation, kUnknownElevation, 40.0f}));  // DEM10B on its way
  EXPECT_TRUE(app->elev_recalc && app->dem_mode == 0);
  ASSERT_TRUE(waitIdle());
  tick();
  EXPECT_EQ(elevs(), (std::vector<float>{8.0f, 8.0f, 40.0f}));
  EXPECT_TRUE(!app->elev_recalc && boxes.count("confirm") == 1);
}

TEST_F(ElevationAppTest, DeclinedFallbackRestoresThePreviousElevations)
{
  server.setBody(demPath(true, TX), demText("e"));
  server.setBody(demPath(true, TX + 1), demText("40"));
  app->runDemPanel = [] { return 0; };  // cancelled: nothing happens
  app->recalcElevation();
  EXPECT_FALSE(app->elev_recalc);
  app->doc.tracks[0].points[2].elev = 555.0f;
  const std::vector<float> before = elevs();
  recalcWith(1);
  ASSERT_TRUE(waitIdle());
  boxes.confirmAnswers = {false};
  tick();
  ASSERT_EQ(boxes.count("alert"), 1);
  EXPECT_EQ(boxes.last()->title + boxes.last()->mess, "メッセージ標高を元に戻しました");
  EXPECT_EQ(elevs(), before);
  EXPECT_EQ(std::tuple(app->doc.tracks[0].stable, app->dem_mode.load()), std::tuple(1, 0));
}

TEST_F(ElevationAppTest, TransportErrorEndsTheRecalculation)
{
  server.setDefaultBehaviour(LoopbackHttpServer::Behaviour::Reset);
  recalcWith(1);
  ASSERT_TRUE(waitIdle());
  EXPECT_TRUE(!app->tileStore.net_ok && !app->elev_recalc && app->dem_mode == 0);
  EXPECT_EQ(points()[0].elev, kUnknownElevation);
  EXPECT_EQ(app->getElevation5A(points()[0].lat, points()[0].lon), kDemNotCached);
}

TEST(DemPanelTest, SelectsStoredModeAndReportsChoice)
{
  EXPECT_EQ(DemPanel(1).selectedMode(), 1);
  DemPanel q(0);
  EXPECT_EQ(q.selectedMode(), 0);
  QMetaObject::invokeMethod(&q, [&q] { q.dialogOK(); }, Qt::QueuedConnection);
  EXPECT_EQ(q.exec(), 1);
  QMetaObject::invokeMethod(&q, [&q] { q.dialogCancel(); }, Qt::QueuedConnection);
  EXPECT_EQ(q.exec(), 0);
}
