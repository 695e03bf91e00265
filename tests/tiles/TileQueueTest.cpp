// The controller's tile queue against a loopback tile server: placeholders, the network
// flag, re-requests, late answers, concurrency and the map-before-DEM order.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QThread>
#include <algorithm>
#include <cstdlib>

#include "app/AppDelegate.h"
#include "net/QtHttpClient.h"
#include "support/LoopbackHttpServer.h"
#include "support/TestPaths.h"
#include "tiles/TileDecode.h"

using twtest::LoopbackHttpServer;
using B = LoopbackHttpServer::Behaviour;

namespace {

std::string palettePng()
{
  QImage img(256, 256, QImage::Format_Indexed8);
  img.setColorTable({qRgb(255, 255, 255), qRgb(200, 60, 40), qRgb(40, 40, 40)});
  img.fill(0);
  for (int y = 100; y < 110; y++)
    for (int x = 0; x < 256; x++) img.setPixel(x, y, 1);
  QByteArray bytes;
  QBuffer buf(&bytes);
  buf.open(QIODevice::WriteOnly);
  img.save(&buf, "PNG");
  return bytes.toStdString();
}

class TileQueueTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    ASSERT_TRUE(server.start());
    server.setStallMs(1500);
    setenv("TARNWICK_GSI_BASE", server.baseUrl().c_str(), 1);
    setenv("TARNWICK_OSM_BASE", server.baseUrl().c_str(), 1);
    app = std::make_unique<AppDelegate>(AppDelegate::Seams{&boxes, &http});
    viewAt(100, 50, 12);
  }
  void TearDown() override
  {
    server.release();
    app->queue.waitForDone(20000);
    app.reset();
    unsetenv("TARNWICK_GSI_BASE");
    unsetenv("TARNWICK_OSM_BASE");
  }

  // A cols × rows grid with its top-left tile at (x, y), centred.
  void viewAt(int x, int y, int zoom, int cols = 5, int rows = 3)
  {
    app->view.zoom = zoom;
    app->view.backRect = tw::DRect{double(x), double(y), double(cols), double(rows)};
    app->view.center_x = (x + cols / 2.0) * 256;
    app->view.center_y = (y + rows / 2.0) * 256;
  }
  void plan() { app->planTiles(); }
  bool waitIdle(int ms = 20000)
  {
    const bool done = app->queue.waitForDone(ms);
    return done && !app->tileStore.hasRequests();
  }
  size_t cached()
  {
    return app->tileStore.images().size();
  }
  size_t placeholders()
  {
    const qint64 key = tw::noDataImage().cacheKey();
    const auto images = app->tileStore.images();
    return size_t(std::count_if(images.begin(), images.end(),
                                [&](const MapImagePtr& m) { return m->image.cacheKey() == key; }));
  }
  bool hasTile(int x, int y)
  {
    const auto images = app->tileStore.images();
    return std::any_of(images.begin(), images.end(),
                       [&](const MapImagePtr& m) { return m->tile.x == x && m->tile.y == y; });
  }

  LoopbackHttpServer server;
  ScriptedMessageBoxes boxes;
  QtHttpClient http;
  std::unique_ptr<AppDelegate> app;
};

}  // namespace

TEST_F(TileQueueTest, PlaceholdersAndTheNetworkFlag)
{
  // 404: placeholder, flag unchanged.
  server.setDefaultBehaviour(B::NotFound);
  plan();
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(cached(), 15u);
  EXPECT_EQ(placeholders(), 15u);
  EXPECT_TRUE(app->tileStore.net_ok);
  EXPECT_TRUE(app->map_needs_draw);

  // Connection reset: placeholder, flag down.
  server.setDefaultBehaviour(B::Reset);
  viewAt(200, 50, 12);
  plan();
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(placeholders(), 15u);
  EXPECT_FALSE(app->tileStore.net_ok);

  // 500 keeps the flag as it was.
  server.setDefaultBehaviour(B::ServerError);
  viewAt(300, 50, 12);
  plan();
  ASSERT_TRUE(waitIdle());
  EXPECT_FALSE(app->tileStore.net_ok);

  // A good answer brings it back; the palette PNG stays indexed with its colour table.
  server.setDefaultBehaviour(B::Serve);
  server.setFallbackBody(palettePng());
  viewAt(400, 50, 12);
  plan();
  ASSERT_TRUE(waitIdle());
  EXPECT_TRUE(app->tileStore.net_ok);
  EXPECT_EQ(placeholders(), 0u);
  const auto images = app->tileStore.images();
  ASSERT_EQ(images.size(), 15u);
  EXPECT_EQ(images[0]->image.format(), QImage::Format_Indexed8);
  EXPECT_EQ(images[0]->image.colorTable().size(), 3);
  EXPECT_EQ(images[0]->data, nullptr);  // no print side data outside print mode
}

TEST_F(TileQueueTest, StallsGarbageAndOversizedBodiesBecomePlaceholders)
{
  server.setBehaviour("/xyz/std/12/100/", B::Garbage);
  server.setBehaviour("/xyz/std/12/101/", B::Oversized);
  server.setBehaviour("/xyz/std/12/102/", B::Stall);
  server.setFallbackBody("this is not an image");  // 200 that does not decode
  // The stalled connection is closed by the server after 1.5 s without an answer.
  plan();
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(cached(), 15u);
  EXPECT_EQ(placeholders(), 15u);
  EXPECT_FALSE(app->tileStore.net_ok);
}

TEST_F(TileQueueTest, CachedPlaceholderIsNotRequestedAgainUntilTheViewReturns)
{
  server.setDefaultBehaviour(B::NotFound);
  plan();
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(server.requestCount(), 15u);

  // Same view, and a pan by less than a tile: nothing new.
  plan();
  app->view.center_x += 100;
  plan();
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(server.requestCount(), 15u);

  // Away: the old tiles are evicted; back: they are fetched again.
  viewAt(150, 50, 12);
  plan();
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(server.requestCount(), 30u);
  EXPECT_FALSE(hasTile(100, 50));
  viewAt(100, 50, 12);
  plan();
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(server.requestCount(), 45u);
  EXPECT_EQ(server.countPrefix("/xyz/std/12/100/50.png"), 2u);
  EXPECT_EQ(cached(), 15u);
}

TEST_F(TileQueueTest, AnswerArrivingAfterTheViewMovedIsDiscarded)
{
  server.setFallbackBody(palettePng());
  server.hold();
  plan();
  ASSERT_TRUE(server.waitForRequests(5, 10000));
  viewAt(300, 80, 12);
  plan();
  server.release();
  ASSERT_TRUE(waitIdle());
  // Only the five tiles already in flight were fetched for the old view; none was kept.
  EXPECT_EQ(server.countPrefix("/xyz/std/12/10"), 5u);
  EXPECT_EQ(cached(), 15u);
  EXPECT_FALSE(hasTile(102, 51));
  EXPECT_TRUE(hasTile(302, 81));
}

TEST_F(TileQueueTest, AtMostFiveRequestsAtOnceCentreFirst)
{
  server.setDefaultBehaviour(B::NotFound);
  server.hold();
  viewAt(100, 50, 12, 7, 5);
  plan();
  // Five requests reach the server and no sixth while they are unanswered.
  ASSERT_TRUE(server.waitForRequests(5, 10000));
  EXPECT_FALSE(server.waitForRequests(6, 300));
  EXPECT_EQ(server.maxConcurrent(), 5);
  // They are the centre tile and its four neighbours (distance 0 and 1).
  for (const auto& r : server.requests())
    EXPECT_TRUE(r.path == "/xyz/std/12/103/52.png" || r.path == "/xyz/std/12/102/52.png" ||
                r.path == "/xyz/std/12/104/52.png" || r.path == "/xyz/std/12/103/51.png" ||
                r.path == "/xyz/std/12/103/53.png")
        << r.path;
  server.setResponseDelayMs(20);
  server.release();
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(server.requestCount(), 35u);
  EXPECT_LE(server.maxConcurrent(), 5);
}

TEST_F(TileQueueTest, MapTilesAreQueuedAndServedBeforeDemTiles)
{
  server.setDefaultBehaviour(B::NotFound);
  server.setResponseDelayMs(30);
  server.hold();
  viewAt(58490, 24062, 16);
  plan();
  {
    const auto requests = app->tileStore.requests();
    ASSERT_EQ(requests.size(), 15u + 4u);  // 5 × 3 map tiles, 2 × 2 DEM area tiles
    const auto firstDem = std::find_if(requests.begin(), requests.end(),
                                       [](const tw::Tile& t) { return t.type == tw::kTileDemView; });
    EXPECT_EQ(firstDem - requests.begin(), 15);
    EXPECT_TRUE(std::all_of(firstDem, requests.end(), [](const tw::Tile& t) { return t.type == tw::kTileDemView; }));
  }
  server.release();
  ASSERT_TRUE(waitIdle());
  auto log = server.requests();
  std::sort(log.begin(), log.end(), [](auto& a, auto& b) { return a.arrived < b.arrived; });
  size_t maps = 0, firstDem = log.size();
  for (size_t i = 0; i < log.size(); i++) {
    if (log[i].path.rfind("/xyz/std/", 0) == 0) maps++;
    else if (firstDem == log.size() && log[i].path.rfind("/xyz/dem/", 0) == 0) firstDem = i;
  }
  EXPECT_EQ(maps, 15u);
  EXPECT_EQ(server.countPrefix("/xyz/dem/14/"), 4u);
  // A DEM download starts only once fewer than 4 map requests are outstanding.
  EXPECT_GE(firstDem, 15u - 3u);
}

TEST_F(TileQueueTest, DemRequestWaitsWhileFourMapRequestsAreOutstanding)
{
  tw::Tile dem;
  dem.x = 14622;
  dem.y = 6017;
  dem.zoom = 14;
  dem.type = tw::kTileDemPoint;
  for (int i = 0; i < 4; i++) {
    tw::Tile map;
    map.x = 900 + i;
    map.zoom = 12;
    app->tileStore.addRequest(map);
  }
  app->addRequest(dem);
  QThread::msleep(300);
  EXPECT_TRUE(app->findRequests(dem));  // postponed, still outstanding
  EXPECT_EQ(server.countPrefix("/xyz/dem/"), 0u);
  tw::Tile first;
  first.x = 900;
  first.zoom = 12;
  app->removeRequests(first);  // 3 map requests left
  QElapsedTimer t;
  t.start();
  bool gone = false;
  while (!gone && t.elapsed() < 10000) {
    QThread::msleep(10);
    gone = !app->findRequests(dem);
  }
  EXPECT_TRUE(gone);
  EXPECT_EQ(server.countPrefix("/xyz/dem/14/14622/6017.txt"), 1u);
  for (int i = 1; i < 4; i++) {
    first.x = 900 + i;
    app->removeRequests(first);
  }
}

TEST_F(TileQueueTest, MapKindCommandsAndOutsideJapan)
{
  app->derived.map_type = tw::kMapStandard;
  app->changeMap();
  EXPECT_EQ(app->derived.map_type, tw::kMapPale);
  app->changeMap();
  app->changeMap();
  EXPECT_EQ(app->derived.map_type, tw::kMapOSM);
  app->changeMap();
  EXPECT_EQ(app->derived.map_type, tw::kMapStandard);
  EXPECT_EQ(app->config.intValue("map_type"), tw::kMapStandard);

  app->doc.outside = true;
  app->mapOSM();
  EXPECT_EQ(app->derived.map_type, tw::kMapOSM);
  for (auto command : {&AppDelegate::mapStandard, &AppDelegate::mapPale, &AppDelegate::mapPhoto}) {
    (app.get()->*command)();
    EXPECT_EQ(app->derived.map_type, tw::kMapOSM);
    ASSERT_NE(boxes.last(), nullptr);
    EXPECT_EQ(boxes.last()->title, QStringLiteral("エラー"));
    EXPECT_EQ(boxes.last()->mess, QStringLiteral("海外のデータが含まれるため、地図はOpenStreetMapしか選べません"));
  }
  EXPECT_EQ(boxes.count("alert"), 3);
  app->doc.outside = false;
  app->mapPhoto();
  EXPECT_EQ(app->derived.map_type, tw::kMapPhoto);
  EXPECT_EQ(app->config.intValue("map_type"), tw::kMapPhoto);
}

TEST_F(TileQueueTest, MapKindChangeEmptiesTheCacheExceptInPrint)
{
  server.setDefaultBehaviour(B::NotFound);
  plan();
  ASSERT_TRUE(waitIdle());
  ASSERT_EQ(cached(), 15u);
  app->mode = 3;
  app->mapPale();
  EXPECT_EQ(cached(), 15u);
  EXPECT_EQ(app->config.intValue("map_type"), tw::kMapPale);
  app->mode = 0;
  server.hold();  // whatever the re-centring plans cannot arrive yet
  app->mapPale();
  EXPECT_EQ(cached(), 0u);
  server.release();
  ASSERT_TRUE(waitIdle());
  // OpenStreetMap tiles come from their own server.
  app->mapOSM();
  ASSERT_TRUE(waitIdle());
  viewAt(100, 50, 12);
  plan();
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(server.countPrefix("/12/100/50.png"), 1u);
  EXPECT_EQ(server.countPrefix("/xyz/pale/12/100/50.png"), 0u);
}

TEST_F(TileQueueTest, PrintModePlansStandardTilesWithSideData)
{
  server.setFallbackBody(palettePng());
  app->derived.map_type = tw::kMapPhoto;
  app->mode = 3;
  viewAt(100, 50, 16, 2, 1);
  plan();
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(server.countPrefix("/xyz/std/16/"), 2u);
  const auto images = app->tileStore.images();
  ASSERT_EQ(images.size(), 2u);
  for (const MapImagePtr& m : images) {
    EXPECT_EQ(m->tile.map, tw::kMapStandard);
    ASSERT_NE(m->data, nullptr);
    EXPECT_EQ(m->image.format(), QImage::Format_Indexed8);
  }
}

TEST_F(TileQueueTest, RealGsiAndOsmTilesFromATileMirror)
{
  TW_REQUIRE_CORPUS();
  server.serveDirectory(twtest::corpusDir());
  server.setRewrite("/gsi/xyz/", "/gsi/");
  setenv("TARNWICK_GSI_BASE", (server.baseUrl() + "/gsi").c_str(), 1);
  setenv("TARNWICK_OSM_BASE", (server.baseUrl() + "/osm").c_str(), 1);
  auto only = [&]() -> MapImagePtr {
    const auto images = app->tileStore.images();
    return images.size() == 1 ? images[0] : nullptr;
  };

  viewAt(14622, 6017, 14, 1, 1);
  plan();
  ASSERT_TRUE(waitIdle());
  MapImagePtr m = only();
  ASSERT_NE(m, nullptr);
  EXPECT_NE(m->image.cacheKey(), tw::noDataImage().cacheKey());
  EXPECT_EQ(m->image.size(), QSize(256, 256));

  app->derived.map_type = tw::kMapPhoto;
  app->clearImages();
  plan();
  ASSERT_TRUE(waitIdle());
  m = only();
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->tile.map, tw::kMapPhoto);
  EXPECT_NE(m->image.cacheKey(), tw::noDataImage().cacheKey());

  app->derived.map_type = tw::kMapOSM;
  app->clearImages();
  viewAt(40, 44, 7, 1, 1);
  plan();
  ASSERT_TRUE(waitIdle());
  m = only();
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->image.format(), QImage::Format_Indexed8);
  EXPECT_EQ(server.countPrefix("/gsi/xyz/std/14/14622/6017.png"), 1u);
  EXPECT_EQ(server.countPrefix("/gsi/xyz/seamlessphoto/14/14622/6017.jpg"), 1u);
  EXPECT_EQ(server.countPrefix("/osm/7/40/44.png"), 1u);
  EXPECT_TRUE(app->tileStore.net_ok);
}
