// The desktop program itself: command line, --screenshot, and the window it shows.
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <tuple>

#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "support/LoopbackHttpServer.h"
#include "net/QtHttpClient.h"

using twtest::LoopbackHttpServer;

namespace {

struct ProcessRun { int exitCode = -1; QString err; };

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

// The command line (its options and file) against a server that takes every request and never
// answers: the window with the track, its title in the PNG, and no minute-long wait for the
// requests in flight before the program ends.
TEST(Screenshot, WritesTheWindowWithItsTitle)
{
  LoopbackHttpServer server;
  ASSERT_TRUE(server.start());
  server.setDefaultBehaviour(LoopbackHttpServer::Behaviour::Silent);
  QTemporaryDir dir;
  const QString out = dir.path() + QStringLiteral("/shot.png");
  const ProcessRun r = runTarnwick({QStringLiteral("--screenshot"), out, QStringLiteral("--size"), QStringLiteral("640x480"),
                                    QStringLiteral("--wait-ms"), QStringLiteral("300"), QStringLiteral(TW_SAMPLE_GPX)},
                                   QString::fromStdString(server.baseUrl()), 15000);
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_GE(server.requestCount(), 5u);
  QImageReader reader(out);
  EXPECT_EQ(reader.format(), "png");
  EXPECT_TRUE(reader.text(QStringLiteral("Title")).startsWith(QStringLiteral("sample.gpx")));
  const QImage img = reader.read();  // the menu bar may sit above the requested client area
  EXPECT_TRUE(img.width() == 640 && img.height() >= 480) << img.width() << "x" << img.height();
  EXPECT_FALSE(QFile::exists(ConfigStore::defaultPath()));  // a screenshot run leaves the settings alone
}

// The tiles of a first run are kept on disk: a second run asks the server for none, and with
// the server gone a third one still shows them.
TEST(Screenshot, SecondRunReadsTheDiskCacheAndWorksOffline)
{
  LoopbackHttpServer server;
  ASSERT_TRUE(server.start());
  QImage red(256, 256, QImage::Format_RGB32);
  red.fill(qRgb(230, 20, 20));
  QByteArray png;
  QBuffer buf(&png);
  buf.open(QIODevice::WriteOnly);
  red.save(&buf, "PNG");
  server.setFallbackBody(png.toStdString());
  server.setBehaviour("/xyz/dem", LoopbackHttpServer::Behaviour::NotFound);
  QTemporaryDir dir;
  const QByteArray before = qgetenv("TARNWICK_CACHE_DIR");
  qputenv("TARNWICK_CACHE_DIR", dir.filePath("cache").toUtf8());
  auto shoot = [&](const char* name) {
    const QString out = dir.filePath(name);
    const ProcessRun r = runTarnwick({"--screenshot", out, "--size", "640x480", QStringLiteral(TW_SAMPLE_GPX)},
                                     QString::fromStdString(server.baseUrl()));
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage img(out);
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) == qRgb(230, 20, 20);
    return n;
  };
  const int first = shoot("1.png");
  const size_t fetched = server.requestCount();
  EXPECT_GT(first, 640 * 480 / 4);
  EXPECT_GT(server.countPrefix("/xyz/std/"), 4u);
  EXPECT_EQ(shoot("2.png"), first);
  EXPECT_EQ(server.requestCount(), fetched);
  server.stop();
  EXPECT_EQ(shoot("3.png"), first);
  qputenv("TARNWICK_CACHE_DIR", before);
}

TEST(Screenshot, BadUsageAndUnwritableOutput)
{
  EXPECT_EQ(runTarnwick({QStringLiteral("--size"), QStringLiteral("x")}).exitCode, 2);
  const ProcessRun r = runTarnwick({QStringLiteral("--screenshot"), QStringLiteral("/nonexistent-dir/x.png"),
                                    QStringLiteral("--wait-ms"), QStringLiteral("0")});
  EXPECT_TRUE(r.exitCode == 1 && r.err.contains(QStringLiteral("cannot write"))) << r.err.toStdString();
}

// Closing the window asks about unsaved changes, then stores the frame and the settings at
// once although every tile request hangs.
TEST(MainWindowShell, ClosingAsksThenStoresTheSettingsAtOnce)
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
  ASSERT_TRUE(d->openFile(QStringLiteral(TW_SAMPLE_GPX)));
  w->show();
  d->applicationDidFinishLaunching();
  w->setGeometry(40, 30, 700, 500);
  ASSERT_TRUE(server.waitForRequests(5, 10000));  // every worker waits for an answer

  d->doc.modify = true;
  boxes.exitAnswers = {MessageBoxes::kExitCancel, MessageBoxes::kExitDiscard};
  EXPECT_FALSE(w->close());
  EXPECT_FALSE(QFile::exists(d->configStore.path()));
  QElapsedTimer clock;
  clock.start();
  EXPECT_TRUE(w->close());
  d->queue.waitForDone();
  EXPECT_TRUE(d->tileStore.net_ok);  // the aborted requests say nothing about the network
  const tw::StoredConfig stored = d->configStore.read();
  w.reset();
  d.reset();
  EXPECT_LT(clock.elapsed(), 1000);  // a minute per hung request before
  EXPECT_EQ(boxes.count(QStringLiteral("alert")), 0);
  ASSERT_TRUE(stored.config);
  EXPECT_EQ(tw::parseFrame(std::get<std::string>(stored.config->at("frame"))).value_or(tw::FrameRect{}).width, 700);
  unsetenv("TARNWICK_GSI_BASE");
  unsetenv("TARNWICK_OSM_BASE");
}
