// The controller's tile queue against a loopback tile server: placeholders and the network
// flag for every kind of bad answer, eviction and re-requests, late answers, concurrency, the
// map-before-DEM order, the map kind commands and print mode; decoding real and bad bodies.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QByteArray>
#include <algorithm>
#include <set>

#include "app/MainWindow.h"
#include "support/LoopbackControllerFixture.h"
#include "tiles/OfflinePlan.h"
#include "support/TestPaths.h"
#include "tiles/TileDecode.h"

using twtest::LoopbackHttpServer;
using B = LoopbackHttpServer::Behaviour;

namespace {

std::string palettePng() { return twtest::pngTile(qRgb(200, 60, 40), true); }

class TileQueueTest : public twtest::LoopbackControllerFixture {
 protected:
  // Plans a cols × rows grid with its top-left tile at (x, y), centred.
  void planAt(int x, int y, int zoom, int cols = 5, int rows = 3)
  {
    app->view.zoom = zoom;
    app->view.backRect = tw::DRect{double(x), double(y), double(cols), double(rows)};
    app->view.center_x = (x + cols / 2.0) * 256, app->view.center_y = (y + rows / 2.0) * 256;
    app->planTiles();
  }
  size_t placeholders()
  {
    const auto images = app->tileStore.images();
    return size_t(std::count_if(images.begin(), images.end(), [](const MapImagePtr& m) {
      return m->image.cacheKey() == tw::noDataImage().cacheKey();
    }));
  }
  bool cached(int x, int y)
  {
    const auto images = app->tileStore.images();
    return std::any_of(images.begin(), images.end(), [&](const MapImagePtr& m) { return m->tile.x == x && m->tile.y == y; });
  }
};

}  // namespace

TEST_F(TileQueueTest, BadAnswersBecomePlaceholdersAndSetTheNetworkFlag)
{
  struct Case { B behaviour; std::string body; bool placeholder, net_ok; };
  const Case cases[] = {
      {B::NotFound, "", true, true},         // other statuses leave the flag as it was
      {B::Reset, "", true, false},
      {B::ServerError, "", true, false},
      {B::Serve, "not an image", true, true},  // a 200 answer says the network is fine
      {B::Garbage, "", true, false},
      {B::Serve, palettePng(), false, true},
      {B::Oversized, "", true, false},
      {B::Stall, "", true, false},            // closed by the server without an answer
  };
  server.setStallMs(300);
  int x = 100;
  for (const Case& c : cases) {
    server.setDefaultBehaviour(c.behaviour);
    server.setFallbackBody(c.body);
    app->map_needs_draw = false;
    planAt(x += 10, 50, 12, 1, 1);
    ASSERT_TRUE(waitIdle());
    const auto images = app->tileStore.images();
    ASSERT_EQ(images.size(), 1u) << x;
    EXPECT_EQ(std::tuple(placeholders(), app->tileStore.net_ok.load()), std::tuple(c.placeholder ? 1ul : 0ul, c.net_ok)) << x;
    EXPECT_TRUE(app->map_needs_draw);
    // A palette PNG stays a palette; side data only for print.
    EXPECT_TRUE(c.placeholder || (images[0]->image.format() == QImage::Format_Indexed8 && !images[0]->data));
  }
}

TEST_F(TileQueueTest, TilesAreFetchedOnceWhileInViewAndComeFromDiskAfterEviction)
{
  server.setDefaultBehaviour(B::NotFound);
  server.hold();
  planAt(100, 50, 12);
  app->view.center_x += 100;  // a pan by less than a tile, while the tiles are outstanding
  app->planTiles();
  EXPECT_EQ(app->tileStore.requests().size(), 15u);
  server.release();
  ASSERT_TRUE(waitIdle());
  app->planTiles();  // and once they are cached
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(server.requestCount(), 15u);
  planAt(150, 50, 12);
  ASSERT_TRUE(waitIdle());
  EXPECT_FALSE(cached(100, 50));
  planAt(100, 50, 12);  // the missing tiles are remembered on disk for a day
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(server.requestCount(), 30u);
  EXPECT_EQ(server.countPrefix("/xyz/std/12/100/50.png"), 1u);
  EXPECT_EQ(app->tileStore.images().size(), 15u);
}

// Stale tiles on disk show at once and are asked for again with their validators; a 304
// refreshes their stamp; with the server gone they stay shown and the alert comes once.
TEST_F(TileQueueTest, StaleTilesShowAtOnceAreRevalidatedAndServeOffline)
{
  server.setFallbackBody(palettePng());
  server.setResponseHeaders("Cache-Control: max-age=0\r\nETag: \"v1\"\r\n");
  planAt(100, 50, 12, 2, 1);
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(server.requestCount(), 2u);

  server.clearLog();
  server.setDefaultBehaviour(B::NotModified);
  server.setResponseHeaders("Cache-Control: max-age=3600\r\n");
  server.hold();
  app->clearImages();
  planAt(100, 50, 12, 2, 1);
  ASSERT_TRUE(server.waitForRequests(2, 10000));
  EXPECT_EQ(app->tileStore.images().size(), 2u);  // before any answer
  EXPECT_EQ(placeholders(), 0u);
  server.release();
  ASSERT_TRUE(waitIdle());
  for (const auto& r : server.requests()) EXPECT_EQ(r.ifNoneMatch, "\"v1\"");
  server.clearLog();
  app->clearImages();
  planAt(100, 50, 12, 2, 1);
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(server.requestCount(), 0u);  // fresh for the hour the 304 gave

  server.setDefaultBehaviour(B::Serve);
  server.setResponseHeaders("Cache-Control: max-age=0\r\n");
  planAt(200, 50, 12, 2, 1);
  ASSERT_TRUE(waitIdle());
  server.stop();
  app->clearImages();
  planAt(200, 50, 12, 2, 1);
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(app->tileStore.images().size(), 2u);
  EXPECT_EQ(placeholders(), 0u);
  app->timerProc();
  app->timerProc();
  EXPECT_EQ(boxes.count(QStringLiteral("alert")), 1);
}

// A cache folder that cannot be made says so once; the map keeps coming from the server.
TEST_F(TileQueueTest, UnwritableCacheFolderIsToldOnce)
{
  QTemporaryDir dir;
  QFile(dir.filePath("file")).open(QIODevice::WriteOnly);
  qputenv("TARNWICK_CACHE_DIR", dir.filePath("file/cache").toUtf8());
  app->openTileCache();
  server.setFallbackBody(palettePng());
  planAt(100, 50, 12);
  ASSERT_TRUE(waitIdle());
  QCoreApplication::processEvents();
  EXPECT_EQ(placeholders(), 0u);
  EXPECT_EQ(boxes.count(QStringLiteral("alert")), 1);
}

// The View menu's offline preparation: every planned tile once, two at a time, a progress
// dialog and a closing message; OpenStreetMap and areas above 5,000 tiles are refused.
TEST_F(TileQueueTest, PrepareOfflineFromTheMenu)
{
  MainWindow window(*app);
  server.setFallbackBody(palettePng());
  server.holdUntilOpen(2, 3000);  // two open at once is seen, not hoped for
  tw::TrackInfo track;
  track.points.resize(2);
  tw::setPosition(track.points[0], 35.625, 139.243);
  tw::setPosition(track.points[1], 35.632, 139.270);
  app->doc.tracks = {track};
  app->doc.active_track = 0;
  auto start = [&](tw::MapType map) {
    app->derived.map_type = map;
    window.validateMenus();
    window.action(QStringLiteral("prepareOffline"))->trigger();
  };
  auto finish = [&] {  // the last message once the preparation ended
    QElapsedTimer t;
    t.start();
    while (app->offlineJob && t.elapsed() < 20000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return boxes.shown.empty() ? QString() : boxes.shown.back().mess;
  };
  auto run = [&](tw::MapType map) { return start(map), finish(); };
  EXPECT_TRUE(run(tw::MapType::OSM).startsWith(QStringLiteral("OpenStreetMapの地図は利用規約により")));
  EXPECT_EQ(server.requestCount(), 0u);

  const auto area = tw::trackArea(track.points, tw::kOfflineMarginMetres);
  const size_t planned = tw::planOfflineTiles(*area, 12, 16, tw::MapType::Pale, false).size();
  EXPECT_EQ(run(tw::MapType::Pale), QStringLiteral("オフライン用に%1枚のタイルを保存しました").arg(planned));
  EXPECT_EQ(server.requestCount(), planned);
  EXPECT_GT(server.countPrefix("/xyz/dem/14/"), 0u);
  EXPECT_EQ(server.maxConcurrent(), 2);

  // Cancelled from the dialog while the server holds the answers: the two in flight end it.
  server.hold();
  start(tw::MapType::Photo);
  ASSERT_TRUE(server.waitForRequests(planned + 2, 10000));
  QWidget* dialog = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QStringLiteral("offlineProgress") && w->isVisible()) dialog = w;
  ASSERT_NE(dialog, nullptr);
  dialog->findChild<QPushButton*>()->click();
  server.release();
  EXPECT_TRUE(finish().startsWith(QStringLiteral("保存を中止しました")));
  EXPECT_EQ(server.requestCount(), planned + 2);

  tw::setPosition(app->doc.tracks[0].points[1], 35.9, 139.8);
  EXPECT_TRUE(run(tw::MapType::Pale).contains(QStringLiteral("上限の5,000枚を超えます")));
  EXPECT_EQ(server.requestCount(), planned + 2);
}

TEST_F(TileQueueTest, AnswersArrivingAfterTheViewMovedAreDropped)
{
  server.setDefaultBehaviour(B::NotFound);
  server.hold();
  planAt(100, 50, 12);
  ASSERT_TRUE(server.waitForRequests(5, 10000));
  planAt(300, 80, 12);
  server.release();
  ASSERT_TRUE(waitIdle());
  // The five in flight were fetched for the old view and not kept; the rest never left.
  EXPECT_EQ(server.countPrefix("/xyz/std/12/10"), 5u);
  EXPECT_EQ(app->tileStore.images().size(), 15u);
  EXPECT_TRUE(!cached(102, 51) && cached(302, 81));
}

TEST_F(TileQueueTest, FiveAtOnceCentreFirstAndMapsBeforeDem)
{
  server.setDefaultBehaviour(B::NotFound);
  server.hold();
  planAt(58490, 24062, 16);  // 5 × 3 map tiles and 2 × 2 DEM area tiles
  const auto requests = app->tileStore.requests();
  ASSERT_EQ(requests.size(), 19u);
  for (size_t i = 0; i < requests.size(); i++) EXPECT_EQ(requests[i].type, i < 15 ? tw::kTileMap : tw::kTileDemView);
  ASSERT_TRUE(server.waitForRequests(5, 10000));
  std::set<std::string> first;
  for (const auto& r : server.requests()) first.insert(r.path);
  EXPECT_EQ(first, (std::set<std::string>{"/xyz/std/16/58492/24063.png", "/xyz/std/16/58491/24063.png",  // the centre
                                          "/xyz/std/16/58493/24063.png", "/xyz/std/16/58492/24062.png",  // and its
                                          "/xyz/std/16/58492/24064.png"}));                               // neighbours
  server.release();
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(server.requestCount(), 19u);
  EXPECT_EQ(server.maxConcurrent(), 5);  // held, the queue opened no sixth
}

TEST_F(TileQueueTest, DemRequestWaitsWhileFourMapRequestsAreOutstanding)
{
  const tw::Tile dem{14622, 6017, 14, tw::kTileDemPoint, 0, tw::MapType::Standard};
  std::vector<tw::Tile> maps;
  for (int i = 0; i < 4; i++) maps.push_back(tw::Tile{900 + i, 0, 12, tw::kTileMap, 0, tw::MapType::Standard});
  for (const tw::Tile& k : maps) app->tileStore.addRequest(k);
  app->tileStore.addRequest(dem);
  app->getTile(dem);  // the queue operation, run here: postponed and queued again
  EXPECT_TRUE(server.requestCount() == 0u && app->findRequests(dem));
  app->removeRequests(maps[0]);  // with three left the queued operation fetches it
  ASSERT_TRUE(server.waitForRequests(1, 10000));
  for (const tw::Tile& k : maps) app->removeRequests(k);
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(server.countPrefix("/xyz/dem/14/14622/6017.txt"), 1u);
}

TEST_F(TileQueueTest, MapKindCommandsAndPrintMode)
{
  // Outside Japan the GSI kinds refuse; OpenStreetMap and the cycling key always work.
  app->doc.outside = true;
  app->mapOSM();
  for (auto command : {&AppDelegate::mapStandard, &AppDelegate::mapPale, &AppDelegate::mapPhoto})
    (app.get()->*command)();
  ASSERT_EQ(boxes.count("alert"), 3);
  EXPECT_EQ(boxes.last()->mess, QStringLiteral("海外のデータが含まれるため、地図はOpenStreetMapしか選べません"));
  for (tw::MapType kind : {tw::MapType::Standard, tw::MapType::Pale, tw::MapType::Photo, tw::MapType::OSM}) {
    app->changeMap();
    EXPECT_EQ(app->derived.map_type, kind);
  }
  // A change empties the cache and is stored; OpenStreetMap tiles come from their own server.
  server.setDefaultBehaviour(B::NotFound);
  planAt(100, 50, 12);
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(server.countPrefix("/12/100/50.png"), 1u);
  server.hold();
  app->doc.outside = false;
  app->mapPale();
  EXPECT_TRUE(app->tileStore.images().empty() && app->config.intValue("map_type") == 1);
  server.release();
  ASSERT_TRUE(waitIdle());

  // Print mode: a change is only stored; the tiles are the standard map with side data.
  server.setDefaultBehaviour(B::Serve);
  server.setFallbackBody(palettePng());
  app->mode = tw::Mode::Print;
  app->mapPhoto();
  planAt(100, 50, 16, 2, 1);
  ASSERT_TRUE(waitIdle());
  const auto images = app->tileStore.images();
  ASSERT_EQ(images.size(), 2u);
  for (const MapImagePtr& m : images) EXPECT_TRUE(m->data && m->tile.map == tw::MapType::Standard);
}

// Decoding real tiles for browsing and print, and bodies that are not images.
TEST(TileDecode, CorpusTilesForBrowsingAndPrint)
{
  TW_REQUIRE_CORPUS();
  // An OpenStreetMap palette PNG, a GSI truecolour PNG and a GSI photo JPEG.
  for (const auto& [file, palette] : {std::pair{"osm/7/40/44.png", true}, std::pair{"gsi/std/14/14622/6017.png", false},
                                      std::pair{"gsi/seamlessphoto/14/14622/6017.jpg", false}}) {
    QFile f(QString::fromStdString(twtest::corpusDir() + "/" + file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << file;
    const QByteArray body = f.readAll();
    const MapImagePtr browse = tw::makeMapImage(body, tw::Tile{}, false);
    ASSERT_NE(browse, nullptr) << file;
    EXPECT_TRUE(browse->image.size() == QSize(256, 256) && !browse->data) << file;
    EXPECT_EQ(browse->image.format() == QImage::Format_Indexed8, palette) << file;
    const MapImagePtr print = tw::makeMapImage(body, tw::Tile{}, true);
    ASSERT_TRUE(print->data && print->data->size() == tw::kClassMapSize) << file;
    // The palette path keeps pixels and table; other tiles are normalised to 32 bits.
    if (palette)
      EXPECT_EQ(print->image.colorTable(), browse->image.colorTable());
    else  // and their roads and buildings are classed
      EXPECT_TRUE(print->image.depth() == 32 && std::any_of(print->data->begin(), print->data->end(), [](uint8_t c) { return c; }))
          << file;
  }
}

TEST(TileDecode, BadBodiesDoNotDecode)
{
  for (const QByteArray& body : {QByteArray(), QByteArray("\x89PNG\r\n\x1a\n truncated"), QByteArray(5000, 'x')})
    EXPECT_EQ(tw::makeMapImage(body, tw::Tile{}, true), nullptr);
  const MapImagePtr ph = tw::makePlaceholder(tw::Tile{});
  EXPECT_TRUE(ph->image.size() == QSize(256, 256) && !ph->data);
}
