// The desktop program itself: command line, --screenshot, and the window it shows.
#include <QAction>
#include <QElapsedTimer>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "app/AppDelegate.h"
#include "app/LaunchOptions.h"
#include "app/MainWindow.h"
#include "net/QtHttpClient.h"
#include "support/LoopbackHttpServer.h"

using twtest::LoopbackHttpServer;

namespace {

struct ProcessRun {
  int exitCode = -1;
  QString err;
};

// `tileBase` is where the tile hosts point; by default a closed loopback port, so the program
// runs its downloads and none leaves the machine.
ProcessRun runTarnwick(const QStringList& args, const QString& tileBase = QStringLiteral("http://127.0.0.1:9"),
                       int limitMs = 60000)
{
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  for (const char* host : {"TARNWICK_GSI_BASE", "TARNWICK_OSM_BASE", "TARNWICK_GSI_MAPS_BASE"})
    env.insert(QString::fromLatin1(host), tileBase);
  p.setProcessEnvironment(env);
  p.start(QStringLiteral(TARNWICK_BIN), args);
  if (!p.waitForFinished(limitMs)) {
    p.kill();
    p.waitForFinished();
  }
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAllStandardError())};
}

}  // namespace

TEST(LaunchOptions, ParsesAndRejects)
{
  std::string err;
  auto o = parseLaunchOptions({"--screenshot", "out.png", "--size", "640x480", "--wait-ms", "10", "a.gpx"}, err);
  ASSERT_TRUE(o);
  EXPECT_EQ(o->screenshot, "out.png");
  EXPECT_EQ(o->width, 640);
  EXPECT_EQ(o->height, 480);
  EXPECT_EQ(o->waitMs, 10);
  EXPECT_EQ(o->file, "a.gpx");
  o = parseLaunchOptions({"walk.gpx"}, err);
  ASSERT_TRUE(o);
  EXPECT_TRUE(o->screenshot.empty());
  EXPECT_EQ(o->file, "walk.gpx");
  for (const auto& bad : std::vector<std::vector<std::string>>{
           {"--screenshot"}, {"--size", "640"}, {"--size", "0x480"}, {"--wait-ms", "-1"}, {"--bogus"}, {"a.gpx", "b.gpx"}}) {
    err.clear();
    EXPECT_FALSE(parseLaunchOptions(bad, err)) << bad[0];
    EXPECT_FALSE(err.empty());
  }
}

TEST(Screenshot, WritesTheWindowWithItsTitle)
{
  QTemporaryDir dir;
  const QString out = dir.path() + QStringLiteral("/shot.png");
  const ProcessRun r = runTarnwick({QStringLiteral("--screenshot"), out, QStringLiteral("--size"), QStringLiteral("640x480"),
                             QStringLiteral("--wait-ms"), QStringLiteral("200")});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  QImageReader reader(out);
  EXPECT_EQ(reader.format(), "png");
  EXPECT_EQ(reader.text(QStringLiteral("Title")), QStringLiteral("Tarnwick"));
  const QImage img = reader.read();
  ASSERT_FALSE(img.isNull());
  EXPECT_EQ(img.width(), 640);
  EXPECT_GE(img.height(), 480);  // the menu bar may sit above the requested client area
  // The settings folder is left alone by a screenshot run.
  EXPECT_FALSE(QFile::exists(ConfigStore::defaultPath()));
}

TEST(Screenshot, BadUsageAndUnwritableOutput)
{
  EXPECT_EQ(runTarnwick({QStringLiteral("--size"), QStringLiteral("x")}).exitCode, 2);
  const ProcessRun r = runTarnwick({QStringLiteral("--screenshot"), QStringLiteral("/nonexistent-dir/x.png"),
                             QStringLiteral("--wait-ms"), QStringLiteral("0")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.contains(QStringLiteral("cannot write")));
}

TEST(MainWindowShell, TitleButtonsAndMenus)
{
  ScriptedMessageBoxes boxes;
  AppDelegate d({&boxes, nullptr});
  MainWindow w(d);
  w.setTransient(true);
  w.resize(900, 600);
  w.show();
  d.applicationDidFinishLaunching();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Tarnwick"));

  // Mode buttons stack down the right edge of the base view from the top-right corner.
  BaseView* base = w.baseView();
  const QToolButton* buttons[] = {w.baseButton, w.areaButton, w.prnButton, w.editButton};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(buttons[i]->parentWidget(), base);
    EXPECT_EQ(buttons[i]->geometry().right(), base->width() - 1);
    EXPECT_EQ(buttons[i]->y(), i * buttons[i]->height());
  }
  base->resize(700, 500);
  EXPECT_EQ(w.editButton->x(), 700 - w.editButton->width());

  // The pressed-looking image follows the mode.
  EXPECT_EQ(w.baseButton->property("imageName").toString(), QStringLiteral("base_on"));
  d.mode = tw::Mode::Edit;
  d.updateButton();
  EXPECT_EQ(w.baseButton->property("imageName").toString(), QStringLiteral("base"));
  EXPECT_EQ(w.editButton->property("imageName").toString(), QStringLiteral("edit_on"));
  d.baseMode();
  EXPECT_EQ(d.mode, tw::Mode::Base);
  EXPECT_EQ(w.baseButton->property("imageName").toString(), QStringLiteral("base_on"));

  // Every layer exists; the graph panel waits hidden.
  for (MapLayer k : {MapLayer::Map, MapLayer::Route, MapLayer::Overlay, MapLayer::Scale, MapLayer::Logo,
                     MapLayer::Zoom, MapLayer::Graph})
    EXPECT_NE(base->layer(k), nullptr);
  EXPECT_TRUE(base->layer(MapLayer::Graph)->isHidden());

  // Command items exist, named by command; unbuilt ones are disabled.
  for (const char* c : {"loadGPX", "saveGPX", "undo", "redo", "thinout", "showPeak", "showRest", "mapOSM",
                        "showTrackList", "hideTrackView", "outputPDF", "showAbout", "connectTrackMenu",
                        "showGraphWayPointMenu", "toggleFullScreen", "showSallow"})
    ASSERT_NE(w.action(QString::fromLatin1(c)), nullptr) << c;
  EXPECT_FALSE(w.action(QStringLiteral("outputPDF"))->isEnabled());
  EXPECT_TRUE(w.action(QStringLiteral("baseMode"))->isEnabled());

  // The file name reaches the title.
  d.setFileName(QStringLiteral("takao.gpx"));
  EXPECT_EQ(w.windowTitle(), QStringLiteral("takao.gpx"));
}

TEST(MainWindowShell, ClosingAsksThenStoresFrameAndSettings)
{
  QTemporaryDir dir;
  ScriptedMessageBoxes boxes;
  AppDelegate d({&boxes, nullptr});
  d.configStore = ConfigStore(dir.path() + QStringLiteral("/tarnwick.ini"));
  MainWindow w(d);
  w.show();
  d.applicationDidFinishLaunching();
  w.setGeometry(40, 30, 700, 500);

  tw::TrackInfo t;
  t.points.resize(2);
  d.doc.tracks.push_back(t);
  d.doc.modify = true;
  boxes.exitAnswers = {MessageBoxes::kExitCancel};
  EXPECT_FALSE(w.close());
  EXPECT_TRUE(w.isVisible());
  EXPECT_FALSE(QFile::exists(d.configStore.path()));

  boxes.exitAnswers = {MessageBoxes::kExitDiscard};
  EXPECT_TRUE(w.close());
  ASSERT_TRUE(QFile::exists(d.configStore.path()));
  const tw::StoredConfig stored = d.configStore.read();
  ASSERT_TRUE(stored.config);
  const auto frame = tw::parseFrame(std::get<std::string>(stored.config->at("frame")));
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->width, 700);
  EXPECT_EQ(frame->height, 500);
}

TEST(MainWindowShell, ClosingWhileTheServerNeverAnswersEndsAtOnce)
{
  LoopbackHttpServer server;
  ASSERT_TRUE(server.start());
  server.setDefaultBehaviour(LoopbackHttpServer::Behaviour::Silent);
  setenv("TARNWICK_GSI_BASE", server.baseUrl().c_str(), 1);
  setenv("TARNWICK_OSM_BASE", server.baseUrl().c_str(), 1);
  QTemporaryDir dir;
  ScriptedMessageBoxes boxes;
  QtHttpClient http;
  auto d = std::make_unique<AppDelegate>(AppDelegate::Seams{&boxes, &http});
  d->configStore = ConfigStore(dir.path() + QStringLiteral("/tarnwick.ini"));
  auto w = std::make_unique<MainWindow>(*d);
  d->openFile(QStringLiteral(TW_SAMPLE_GPX));  // map and DEM tiles alike hang
  w->show();
  d->applicationDidFinishLaunching();
  ASSERT_TRUE(server.waitForRequests(5, 10000));  // every worker waits for an answer

  QElapsedTimer clock;
  clock.start();
  EXPECT_TRUE(w->close());
  d->queue.waitForDone();
  // The aborted requests say nothing about the network.
  EXPECT_TRUE(d->tileStore.net_ok);
  w.reset();
  d.reset();
  EXPECT_LT(clock.elapsed(), 1000);  // a minute per hung request before
  EXPECT_EQ(boxes.count(QStringLiteral("alert")), 0);
  unsetenv("TARNWICK_GSI_BASE");
  unsetenv("TARNWICK_OSM_BASE");
}

TEST(DesktopOpen, CommandLinePathIsOpened)
{
  ScriptedMessageBoxes boxes;
  AppDelegate d({&boxes, nullptr});
  EXPECT_TRUE(d.openFile(QStringLiteral(TW_SAMPLE_GPX)));
  ASSERT_EQ(d.doc.tracks.size(), 1u);
  EXPECT_GT(d.doc.tracks[0].points.size(), 300u);
  EXPECT_EQ(d.doc.waypoints.size(), 8u);
  EXPECT_EQ(d.doc.filename, "sample.gpx");
  EXPECT_FALSE(d.doc.modify);
  // A missing file answers true too, says so, and leaves the document as it was.
  EXPECT_TRUE(d.openFile(QStringLiteral("/nonexistent/walk.gpx")));
  EXPECT_EQ(d.doc.filename, "sample.gpx");
  EXPECT_EQ(d.doc.tracks.size(), 1u);
  ASSERT_EQ(boxes.count(QStringLiteral("alert")), 1);
  EXPECT_EQ(boxes.last()->title, QStringLiteral("エラー"));

  // Against a server that takes every request and never answers: the program must not wait
  // out the requests in flight (a minute each) before it ends.
  LoopbackHttpServer server;
  ASSERT_TRUE(server.start());
  server.setDefaultBehaviour(LoopbackHttpServer::Behaviour::Silent);
  QTemporaryDir dir;
  const QString out = dir.path() + QStringLiteral("/sample.png");
  const ProcessRun r = runTarnwick({QStringLiteral("--screenshot"), out, QStringLiteral("--wait-ms"), QStringLiteral("300"),
                                    QStringLiteral(TW_SAMPLE_GPX)},
                                   QString::fromStdString(server.baseUrl()), 15000);
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_GE(server.requestCount(), 5u);
  EXPECT_TRUE(QImageReader(out).text(QStringLiteral("Title")).startsWith(QStringLiteral("sample.gpx")));
}
