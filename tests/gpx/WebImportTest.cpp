// The web route import through the user's paths — a link dropped on the map, a link pasted,
// `tarnwick URL` and `tarnwick-cli import URL` — against loopback servers standing in for the
// services through the host variables; failed fetches; the update notice.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QImageReader>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "gpx/GpxReader.h"
#include "net/QtHttpClient.h"
#include "support/LoopbackHttpServer.h"
#include "view/InfoView.h"

using twtest::LoopbackHttpServer;
using B = LoopbackHttpServer::Behaviour;

namespace {

std::string gpx(const char* trackName)
{
  return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><gpx version=\"1.1\"><trk><name>") + trackName +
         "</name><trkseg><trkpt lat=\"35.63\" lon=\"139.27\"><ele>190</ele></trkpt>"
         "<trkpt lat=\"35.62\" lon=\"139.24\"><ele>599</ele></trkpt></trkseg></trk></gpx>";
}

// "127.0.0.1:PORT", the host form of the variables.
std::string hostOf(const LoopbackHttpServer& s) { return "127.0.0.1:" + std::to_string(s.port()); }
QString linkTo(const LoopbackHttpServer& s, const char* path) { return QString::fromStdString(s.baseUrl()) + path; }

const QString kReadError = QStringLiteral("読み込みエラー");
const QString kConnectFailed = QStringLiteral("サイトへの接続に失敗しました");

class WebImportTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    for (LoopbackHttpServer* s : {&tiles, &yamareco, &latlong, &yamap, &api, &updates}) ASSERT_TRUE(s->start());
    tiles.hold();  // map tiles stay requested, never answered
    setenv("TARNWICK_GSI_BASE", tiles.baseUrl().c_str(), 1);
    setenv("TARNWICK_OSM_BASE", tiles.baseUrl().c_str(), 1);
    setenv("TARNWICK_YAMARECO_HOST", hostOf(yamareco).c_str(), 1);
    setenv("TARNWICK_LATLONG_HOST", hostOf(latlong).c_str(), 1);
    // With the scheme: the YAMAP site prefix of an http link is then the one replaced.
    setenv("TARNWICK_YAMAP_HOST", yamap.baseUrl().c_str(), 1);
    setenv("TARNWICK_YAMAP_API_HOST", api.baseUrl().c_str(), 1);
    unsetenv("TARNWICK_UPDATE_BASE");
    d = std::make_unique<AppDelegate>(AppDelegate::Seams{&boxes, &http});
    d->configStore = ConfigStore(dir.path() + QStringLiteral("/tarnwick.ini"));
    d->config.setString(tw::key::update_base, "");
    d->timer.stop();
    d->drawTimer.stop();
    d->openURL = [this](const QUrl& u) { opened.push_back(u); };
    window = std::make_unique<MainWindow>(*d);
    window->resize(800, 600);
    window->show();
  }
  void TearDown() override
  {
    window.reset();
    tiles.release();
    d->queue.waitForDone(20000);
    d.reset();
    for (const char* v : {"TARNWICK_GSI_BASE", "TARNWICK_OSM_BASE", "TARNWICK_YAMARECO_HOST", "TARNWICK_LATLONG_HOST",
                          "TARNWICK_YAMAP_HOST", "TARNWICK_YAMAP_API_HOST"})
      unsetenv(v);
  }

  // A launched window holding one modified track named "old".
  void launchWithTrack()
  {
    d->applicationDidFinishLaunching();
    ASSERT_TRUE(d->loadGPXData(QByteArray::fromStdString(gpx("old")), false));
    d->setFileName(QStringLiteral("old.gpx"));
    d->doc.modify = true;
    boxes.shown.clear();
  }
  InfoView* info() { return d->infoView; }
  // Drags `link` over the map and drops it; whether the drop was taken.
  bool drop(const QString& link, Qt::KeyboardModifiers mods = Qt::NoModifier)
  {
    QMimeData mime;
    mime.setUrls({QUrl(link)});
    const QPoint at(info()->width() / 2, info()->height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, mods);
    QApplication::sendEvent(info(), &enter);
    QDropEvent dropped(at, Qt::CopyAction, &mime, Qt::LeftButton, mods);
    QApplication::sendEvent(info(), &dropped);
    return enter.isAccepted() && dropped.isAccepted();
  }
  bool imported() { return QTest::qWaitFor([&] { return !d->isImporting(); }, 15000); }
  std::string trackNames() const
  {
    std::string s;
    for (const auto& t : d->doc.tracks) s += t.name + ";";
    return s;
  }
  bool lastAlertIs(const QString& title, const QString& mess) const
  {
    const auto* l = boxes.last();
    return l && l->kind == QStringLiteral("alert") && l->title == title && l->mess == mess;
  }

  LoopbackHttpServer tiles, yamareco, latlong, yamap, api, updates;
  QTemporaryDir dir;
  ScriptedMessageBoxes boxes;
  QtHttpClient http;
  std::unique_ptr<AppDelegate> d;
  std::unique_ptr<MainWindow> window;
  std::vector<QUrl> opened;
};

}  // namespace

// A dropped route page opens its track under the name the service gives it; with Alt held the
// next one is appended (one undo step) and names the document after its download address.
TEST_F(WebImportTest, DroppedRoutePagesOpenOrAppend)
{
  yamareco.setBody("/pf/track-12345.gpx", gpx("yamareco"));
  latlong.setBody("/route/get?id=abc&format=gpx", gpx("latlong"));
  d->applicationDidFinishLaunching();

  ASSERT_TRUE(drop(linkTo(yamareco, "/pf/detail-12345.html")));
  ASSERT_TRUE(imported());
  EXPECT_EQ(trackNames(), "yamareco;");
  EXPECT_EQ(d->doc.filename, "track-12345.gpx");
  EXPECT_EQ(boxes.count(QStringLiteral("confirm")), 0);  // nothing to lose yet

  ASSERT_TRUE(drop(linkTo(latlong, "/route/watch?id=abc"), Qt::AltModifier));
  ASSERT_TRUE(imported());
  EXPECT_EQ(trackNames(), "yamareco;latlong;");
  EXPECT_EQ(d->doc.filename, "get?id=abc&format=gpx");
  EXPECT_EQ(d->doc.active_track, 1);
  d->undo();
  EXPECT_EQ(trackNames(), "yamareco;");

  // A page of no known service is refused; the update server was never asked (no root set).
  EXPECT_FALSE(drop(QStringLiteral("https://example.com/page.html")));
  EXPECT_EQ(updates.requestCount(), 0u);
}

// A pasted YAMAP link replaces the document after the reader's question, fetched from the
// API host; text that is no link does nothing.
TEST_F(WebImportTest, PastedLinkReplacesAfterTheQuestion)
{
  api.setBody("/activities/987654/points.xml", gpx("yamap"));
  launchWithTrack();
  QGuiApplication::clipboard()->setText(QStringLiteral("just some words"));
  QTest::keyClick(info(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_FALSE(d->isImporting());

  QGuiApplication::clipboard()->setText(linkTo(yamap, "/activities/987654") + QStringLiteral("\n"));
  boxes.confirmAnswers = {false};
  QTest::keyClick(info(), Qt::Key_V, Qt::ControlModifier);
  ASSERT_TRUE(imported());
  EXPECT_EQ(trackNames(), "old;");  // declined
  EXPECT_EQ(boxes.last()->title, QStringLiteral("GPX読み込み確認"));

  QTest::keyClick(info(), Qt::Key_V, Qt::ControlModifier);
  ASSERT_TRUE(imported());
  EXPECT_EQ(trackNames(), "yamap;");
  EXPECT_EQ(d->doc.filename, "points-987654.gpx");
  EXPECT_FALSE(d->doc.modify);
  EXPECT_EQ(api.countPrefix("/activities/987654/points.xml"), 2u);
  EXPECT_EQ(yamap.requestCount(), 0u);
}

// Nothing usable came back: the alert, and the open document exactly as it was.
TEST_F(WebImportTest, FailedFetchesLeaveTheDocumentUnchanged)
{
  yamareco.setBehaviour("/reset/", B::Reset);
  yamareco.setBehaviour("/big/", B::Oversized);
  yamareco.setOversizedBytes(64 * 1024);
  yamareco.setDeclaredBytes((256ull << 20) + 1);
  yamareco.setBody("/html/route.gpx", "<html><body>Not found</body></html>");
  yamareco.setBody("/empty/route.gpx", "");
  launchWithTrack();
  const QString readerError = QStringLiteral("GPXデータの読み込みに失敗しました。\nファイルが壊れている可能性があります。");
  const std::pair<const char*, QString> cases[] = {
      {"/missing/route.gpx", kConnectFailed}, {"/reset/route.gpx", kConnectFailed},
      {"/big/route.gpx", kConnectFailed},     {"/empty/route.gpx", kConnectFailed},
      {"/html/route.gpx", readerError},
  };
  for (const auto& [path, mess] : cases) {
    boxes.shown.clear();
    ASSERT_TRUE(drop(linkTo(yamareco, path)));
    ASSERT_TRUE(imported()) << path;
    EXPECT_TRUE(lastAlertIs(mess == kConnectFailed ? kReadError : QStringLiteral("エラー"), mess)) << path;
    EXPECT_EQ(boxes.count(QStringLiteral("confirm")), 0) << path;
    EXPECT_EQ(trackNames(), "old;") << path;
    EXPECT_EQ(d->doc.filename, "old.gpx") << path;
    EXPECT_TRUE(d->doc.modify) << path;
  }
}

// A fetch that hangs shows the progress dialog while the window keeps running; its
// "キャンセル" ends the fetch without a message and without touching the document.
TEST_F(WebImportTest, StalledFetchIsCancelledFromTheDialog)
{
  yamareco.setDefaultBehaviour(B::Silent);
  launchWithTrack();
  ASSERT_TRUE(drop(linkTo(yamareco, "/stall/route.gpx")));
  QDialog* dialog = nullptr;
  ASSERT_TRUE(QTest::qWaitFor([&] {
    dialog = window->findChild<QDialog*>(QStringLiteral("webImportProgress"));
    return dialog && dialog->isVisible();
  }));
  EXPECT_TRUE(dialog->isModal());
  QPushButton* cancel = dialog->findChild<QPushButton*>();
  ASSERT_TRUE(cancel);
  EXPECT_EQ(cancel->text(), QStringLiteral("キャンセル"));
  QTest::mouseClick(cancel, Qt::LeftButton);
  ASSERT_TRUE(imported());
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(trackNames(), "old;");
  EXPECT_TRUE(QTest::qWaitFor([&] { return !window->findChild<QDialog*>(QStringLiteral("webImportProgress")); }));
  yamareco.stop();
}

// The notice with a message shows it and opens its page; one without a message does nothing.
TEST_F(WebImportTest, UpdateNoticeShowsItsMessageAndOpensItsPage)
{
  updates.setBody("/version/version1.2.10.xml",
                  "<?xml version=\"1.0\"?><version><latest>0</latest><message>新しい版があります</message>"
                  "<url>https://example.com/download</url></version>");
  d->config.setString(tw::key::update_base, updates.baseUrl() + "/");
  d->applicationDidFinishLaunching();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.shown.empty(); }));
  EXPECT_TRUE(lastAlertIs(QStringLiteral("メッセージ"), QStringLiteral("新しい版があります")));
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], QUrl(QStringLiteral("https://example.com/download")));
  EXPECT_FALSE(d->ver_latest);

  // Without a message (a page that is not a web address would not be opened either).
  updates.setBody("/version/version1.2.10.xml", "<version><latest>1</latest><url>file:///etc</url></version>");
  d->ver_message.reset();
  d->downloadVersion();
  ASSERT_TRUE(QTest::qWaitFor([&] { return d->ver_latest; }));
  EXPECT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(opened.size(), 1u);
  EXPECT_EQ(updates.requestCount(), 2u);
}

namespace {

struct ProcessRun {
  int exitCode = -1;
  QString out, err;
};

ProcessRun runProgram(const QString& program, const QStringList& args, const QProcessEnvironment& env)
{
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(program, args);
  if (!p.waitForFinished(60000)) {
    p.kill();
    p.waitForFinished();
  }
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAllStandardOutput()),
          QString::fromLocal8Bit(p.readAllStandardError())};
}

}  // namespace

// `tarnwick URL` opens the route once the window is up (seen through --screenshot, which
// writes the window title into the picture); text that is no link is reported.
TEST_F(WebImportTest, CommandLineLinkOpensTheRoute)
{
  yamareco.setBody("/pf/track-12345.gpx", gpx("yamareco"));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("TARNWICK_CONFIG_DIR"), dir.path());
  for (const char* v : {"TARNWICK_GSI_BASE", "TARNWICK_OSM_BASE"})
    env.insert(QString::fromLatin1(v), QStringLiteral("http://127.0.0.1:9"));
  const QString shot = dir.path() + QStringLiteral("/shot.png");
  ProcessRun r = runProgram(QStringLiteral(TARNWICK_BIN),
                     {QStringLiteral("--screenshot"), shot, QStringLiteral("--wait-ms"), QStringLiteral("20000"),
                      linkTo(yamareco, "/pf/detail-12345.html")},
                     env);
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(yamareco.countPrefix("/pf/track-12345.gpx"), 1u);
  EXPECT_TRUE(QImageReader(shot).text(QStringLiteral("Title")).startsWith(QStringLiteral("track-12345.gpx")));

  r = runProgram(QStringLiteral(TARNWICK_BIN),
                 {QStringLiteral("--screenshot"), shot, QStringLiteral("--wait-ms"), QStringLiteral("0"),
                  QStringLiteral("https://example.com/page.html")},
                 env);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(r.err.contains(QStringLiteral("is not a route page or GPX link"))) << r.err.toStdString();
}

// `tarnwick-cli import`: the same patterns and reader; a failure is a non-zero status and one line.
TEST_F(WebImportTest, CliImportWritesTheRouteOrSaysWhyNot)
{
  api.setBody("/activities/42/points.xml", gpx("yamap"));
  yamareco.setBody("/html/x.gpx", "<html/>");
  const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();  // the hosts set above
  const QString out = dir.path() + QStringLiteral("/out.gpx");
  ProcessRun r = runProgram(QStringLiteral(TW_CLI), {QStringLiteral("import"), linkTo(yamap, "/activities/42"),
                                              QStringLiteral("-o"), out}, env);
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.out, QStringLiteral("points-42.gpx\n"));
  QFile f(out);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const auto read = tw::parseGPX(f.readAll().toStdString());
  ASSERT_TRUE(read.ok());
  ASSERT_EQ(read.data.tracks.size(), 1u);
  EXPECT_EQ(read.data.tracks[0].points.size(), 2u);

  const std::pair<QString, const char*> failures[] = {
      {linkTo(yamareco, "/missing/x.gpx"), "HTTP 404"},
      {linkTo(yamareco, "/html/x.gpx"), "did not answer with GPX data"},
      {QStringLiteral("https://example.com/page.html"), "is not a route page or GPX link"},
  };
  for (const auto& [link, reason] : failures) {
    r = runProgram(QStringLiteral(TW_CLI), {QStringLiteral("import"), link, QStringLiteral("-o"), out}, env);
    EXPECT_EQ(r.exitCode, 1) << reason;
    EXPECT_TRUE(r.err.contains(QLatin1String(reason))) << r.err.toStdString();
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
  }
  EXPECT_EQ(runProgram(QStringLiteral(TW_CLI), {QStringLiteral("import")}, env).exitCode, 2);
}
