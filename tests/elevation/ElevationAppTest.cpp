// The controller's DEM side against a loopback tile server: the fill as tiles arrive, the
// DEM5A recalculation with its DEM10B fallback question, and failures.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstdlib>

#include "DemTestUtil.h"
#include "app/AppDelegate.h"
#include "elevation/DemPanel.h"
#include "net/QtHttpClient.h"
#include "support/LoopbackHttpServer.h"

using twtest::LoopbackHttpServer;
using B = LoopbackHttpServer::Behaviour;
using namespace tw;

namespace {

// Two neighbouring zoom-14 tiles near Mt. Fuji.
constexpr int TX = 14553, TY = 6450;

std::string demPath(bool dem5a, int x, int y)
{
  return std::string(dem5a ? "/xyz/dem5a/14/" : "/xyz/dem/14/") + std::to_string(x) + "/" + std::to_string(y) + ".txt";
}

Track pointIn(int tx, int col, int row)
{
  double lat, lon;
  elevtest::cellCentre(tx, TY, col, row, lat, lon);
  Track t;
  setPosition(t, lat, lon);
  return t;
}

class ElevationAppTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    ASSERT_TRUE(server.start());
    server.setStallMs(500);
    setenv("TARNWICK_GSI_BASE", server.baseUrl().c_str(), 1);
    app = std::make_unique<AppDelegate>(AppDelegate::Seams{&boxes, &http});
    app->drawTimer.stop();  // ticks are driven by the test
    app->view.zoom = 16;
    app->elevRect = DRect{double(TX), double(TY), 2, 1};

    // One track over both tiles, points known and unknown, and two waypoints.
    app->doc.tracks.emplace_back();
    app->doc.active_track = 0;
    auto& pts = app->doc.tracks[0].points;
    pts = {pointIn(TX, 10, 10), pointIn(TX, 20, 20), pointIn(TX + 1, 30, 30)};
    pts[1].elev = 777.0f;
    app->doc.tracks[0].stable = 1;
    WayPoint w;
    double lat, lon;
    elevtest::cellCentre(TX + 1, TY, 40, 40, lat, lon);
    w.setPosition(lat, lon);
    app->doc.waypoints.push_back(w);
    w.elev = 350.0f;
    app->doc.waypoints.push_back(w);
  }
  void TearDown() override
  {
    app->queue.waitForDone(20000);
    app.reset();
    unsetenv("TARNWICK_GSI_BASE");
  }

  void serveDem(bool dem5a, int x, const std::string& cell) { server.setBody(demPath(dem5a, x, TY), elevtest::demText(cell)); }
  bool waitIdle()
  {
    const bool done = app->queue.waitForDone(20000);
    return done && !app->tileStore.hasRequests();
  }
  // One draw tick, then whatever it queued (the fallback question).
  void tick()
  {
    app->drawProc();
    QCoreApplication::processEvents();
  }
  const std::vector<Track>& points() { return app->doc.tracks[0].points; }
  void chooseDem(int dem_mode)
  {
    app->runDemPanel = [this, dem_mode] {
      app->config.setInt("dem_mode", dem_mode);
      return 1;
    };
  }

  LoopbackHttpServer server;
  ScriptedMessageBoxes boxes;
  QtHttpClient http;
  std::unique_ptr<AppDelegate> app;
};

}  // namespace

TEST_F(ElevationAppTest, TrackAndWayPointsFilledWhenTilesArrive)
{
  serveDem(false, TX, "123.4");
  serveDem(false, TX + 1, "-2.5");
  app->calcTrackElevation(0);
  EXPECT_TRUE(app->doc.invalid_track);
  EXPECT_FALSE(app->doc.modify);
  app->doc.invalid_wp = true;

  app->requestElevation();
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(server.countPrefix("/xyz/dem/"), 2u);
  EXPECT_TRUE(app->graph_needs_draw);
  tick();
  EXPECT_FLOAT_EQ(points()[0].elev, 123.4f);
  EXPECT_EQ(points()[1].elev, 777.0f);
  EXPECT_EQ(points()[2].elev, 0.0f);
  EXPECT_EQ(app->doc.waypoints[0].elev, 0.0f);
  EXPECT_EQ(app->doc.waypoints[1].elev, 350.0f);
  EXPECT_TRUE(app->doc.modify);
  EXPECT_FALSE(app->doc.invalid_track);
  EXPECT_FALSE(app->doc.invalid_wp);
  EXPECT_TRUE(app->tileStore.net_ok);

  // Everything is known now: nothing more to ask for.
  server.clearLog();
  app->requestElevation();
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(server.requestCount(), 0u);
}

TEST_F(ElevationAppTest, LookupsAndEviction)
{
  serveDem(false, TX, "55");
  app->requestElevation();
  ASSERT_TRUE(waitIdle());
  const Track& p = points()[0];
  EXPECT_EQ(app->getElevation(p.lat, p.lon), 55.0f);
  EXPECT_EQ(app->getElevation5A(p.lat, p.lon), kDemNotCached);
  // The neighbour answered 404: cached as sea.
  EXPECT_EQ(app->getElevation(points()[2].lat, points()[2].lon), 0.0f);

  // Closer than zoom 15 no DEM tile stays once the tick has filled the points.
  app->view.zoom = 14;
  app->doc.invalid_track = true;
  tick();
  EXPECT_EQ(points()[0].elev, 55.0f);
  EXPECT_EQ(app->getElevation(p.lat, p.lon), kDemNotCached);
}

TEST_F(ElevationAppTest, PanBetweenArrivalAndTickDoesNotLoseTheTiles)
{
  serveDem(false, TX, "12");
  serveDem(false, TX + 1, "34");
  app->view.zoom = 14;  // closer than 15 every planning drops the DEM caches
  app->calcTrackElevation(0);
  app->requestElevation();
  ASSERT_TRUE(waitIdle());
  app->moveRight();  // plans (and evicts) before the draw tick has filled anything
  tick();
  EXPECT_EQ(points()[0].elev, 12.0f);
  EXPECT_EQ(points()[2].elev, 34.0f);
  EXPECT_FALSE(app->doc.invalid_track);
  // Once read they go as usual.
  app->moveRight();
  EXPECT_EQ(app->getElevation(points()[0].lat, points()[0].lon), kDemNotCached);
  EXPECT_EQ(app->getElevation(points()[2].lat, points()[2].lon), kDemNotCached);
}

TEST_F(ElevationAppTest, MalformedTileIsNotCachedAndAskedAgain)
{
  std::string body = elevtest::demText("5");
  body.erase(body.rfind(','), 2);  // last line 255 cells
  server.setBody(demPath(false, TX, TY), body);
  serveDem(false, TX + 1, "9");
  app->requestElevation();
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(app->getElevation(points()[0].lat, points()[0].lon), kDemNotCached);
  EXPECT_EQ(app->getElevation(points()[2].lat, points()[2].lon), 9.0f);

  server.clearLog();
  app->requestElevation();
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(server.countPrefix(demPath(false, TX, TY)), 1u);
}

TEST_F(ElevationAppTest, NothingPlannedOutsideJapanOrWithoutTrack)
{
  app->doc.outside = true;
  app->requestElevation();
  ASSERT_TRUE(waitIdle());
  app->doc.outside = false;
  app->doc.active_track = kNoIndex;
  app->requestElevation();
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(server.requestCount(), 0u);
}

TEST_F(ElevationAppTest, Dem10BRecalculationWithCachedTilesCompletesAtOnce)
{
  serveDem(false, TX, "10");
  serveDem(false, TX + 1, "20");
  app->requestElevation();
  ASSERT_TRUE(waitIdle());
  app->doc.tracks[0].points[1].elev = 777.0f;
  chooseDem(0);
  app->recalcElevation();
  EXPECT_EQ(points()[0].elev, 10.0f);
  EXPECT_EQ(points()[1].elev, 10.0f);  // a known elevation is recalculated too
  EXPECT_EQ(points()[2].elev, 20.0f);
  EXPECT_EQ(app->doc.waypoints[1].elev, 350.0f);
  EXPECT_FALSE(app->elev_recalc);
  EXPECT_EQ(app->dem_mode, 0);
  EXPECT_EQ(app->doc.tracks[0].stable, 0);
  EXPECT_EQ(boxes.count("confirm"), 0);
}

TEST_F(ElevationAppTest, CancelledPanelChangesNothing)
{
  app->runDemPanel = [] { return 0; };
  app->recalcElevation();
  EXPECT_EQ(points()[1].elev, 777.0f);
  EXPECT_FALSE(app->elev_recalc);
}

TEST_F(ElevationAppTest, Dem5AGapAsksAndAcceptFillsFromDem10B)
{
  // DEM5A has the first tile; the second is not there (404: no data at all).
  server.setBody(demPath(true, TX, TY), elevtest::demText("30.5"));
  serveDem(false, TX + 1, "12");
  serveDem(false, TX, "99");
  chooseDem(1);
  app->recalcElevation();
  EXPECT_TRUE(app->elev_recalc);
  EXPECT_EQ(app->dem_mode, 1);
  ASSERT_TRUE(waitIdle());
  // Track points asked DEM5A; the waypoint without elevation DEM10B.
  EXPECT_EQ(server.countPrefix("/xyz/dem5a/"), 2u);
  EXPECT_EQ(server.countPrefix(demPath(false, TX + 1, TY)), 1u);

  boxes.confirmAnswers = {true};
  tick();
  ASSERT_EQ(boxes.count("confirm"), 1);
  EXPECT_EQ(boxes.last()->title, "エラー");
  EXPECT_EQ(boxes.last()->mess, "標高が取得できない点が存在します。\n取得できない点の標高をDEM10Bのデータで補完しますか?");
  EXPECT_EQ(points()[0].elev, 30.5f);
  EXPECT_EQ(points()[1].elev, 30.5f);
  EXPECT_EQ(app->dem_mode, 0);
  // The DEM10B tile was already cached for the waypoint: the gap fills and the recalculation
  // closes within the answer.
  EXPECT_EQ(points()[2].elev, 12.0f);
  EXPECT_FALSE(app->doc.invalid_track);
  EXPECT_FALSE(app->elev_recalc);
  app->graph_needs_draw = true;
  tick();
  EXPECT_EQ(boxes.count("confirm"), 1);
}

TEST_F(ElevationAppTest, AcceptedFallbackFetchesMissingDem10BTiles)
{
  server.setBody(demPath(true, TX, TY), elevtest::demText("e"));
  server.setBody(demPath(true, TX + 1, TY), elevtest::demText("40"));
  serveDem(false, TX, "8");
  app->doc.waypoints.clear();
  chooseDem(1);
  app->recalcElevation();
  ASSERT_TRUE(waitIdle());
  boxes.confirmAnswers = {true};
  tick();
  ASSERT_EQ(boxes.count("confirm"), 1);
  EXPECT_EQ(points()[0].elev, kUnknownElevation);  // its DEM10B tile is on its way
  EXPECT_TRUE(app->elev_recalc);
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(server.countPrefix(demPath(false, TX, TY)), 1u);
  tick();
  EXPECT_EQ(points()[0].elev, 8.0f);
  EXPECT_EQ(points()[1].elev, 8.0f);
  EXPECT_EQ(points()[2].elev, 40.0f);
  EXPECT_FALSE(app->elev_recalc);
  EXPECT_EQ(boxes.count("confirm"), 1);
}

TEST_F(ElevationAppTest, DeclineRestoresThePreviousElevations)
{
  server.setBody(demPath(true, TX, TY), elevtest::demText("e"));
  server.setBody(demPath(true, TX + 1, TY), elevtest::demText("40"));
  app->doc.tracks[0].points[2].elev = 555.0f;
  const float before0 = points()[0].elev;
  app->doc.modify = false;
  chooseDem(1);
  app->recalcElevation();
  ASSERT_TRUE(waitIdle());
  boxes.confirmAnswers = {false};
  tick();
  ASSERT_EQ(boxes.count("confirm"), 1);
  ASSERT_EQ(boxes.count("alert"), 1);
  EXPECT_EQ(boxes.last()->title, "メッセージ");
  EXPECT_EQ(boxes.last()->mess, "標高を元に戻しました");
  EXPECT_EQ(points()[0].elev, before0);
  EXPECT_EQ(points()[1].elev, 777.0f);
  EXPECT_EQ(points()[2].elev, 555.0f);
  EXPECT_EQ(app->doc.tracks[0].stable, 1);
  EXPECT_EQ(app->dem_mode, 0);
}

TEST_F(ElevationAppTest, TransportErrorEndsRecalculation)
{
  server.setDefaultBehaviour(B::Reset);
  chooseDem(1);
  app->recalcElevation();
  ASSERT_TRUE(waitIdle());
  EXPECT_FALSE(app->tileStore.net_ok);
  EXPECT_FALSE(app->elev_recalc);
  EXPECT_EQ(app->dem_mode, 0);
  EXPECT_EQ(points()[0].elev, kUnknownElevation);
  for (const Track& p : points()) {
    EXPECT_EQ(app->getElevation(p.lat, p.lon), kDemNotCached);
    EXPECT_EQ(app->getElevation5A(p.lat, p.lon), kDemNotCached);
  }
}

TEST(DemPanelTest, SelectsStoredModeAndReportsChoice)
{
  DemPanel p(1);
  EXPECT_EQ(p.selectedMode(), 1);
  DemPanel q(0);
  EXPECT_EQ(q.selectedMode(), 0);
  QMetaObject::invokeMethod(&q, [&q] { q.dialogOK(); }, Qt::QueuedConnection);
  EXPECT_EQ(q.exec(), 1);
  QMetaObject::invokeMethod(&q, [&q] { q.dialogCancel(); }, Qt::QueuedConnection);
  EXPECT_EQ(q.exec(), 0);
}
