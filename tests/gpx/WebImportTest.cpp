// The web route import through the user's paths — a link dropped on the map, a link pasted,
// `tarnwick URL`, `tarnwick-cli import URL` — against loopback servers standing in for the
// services through the host variables; failed fetches; the update notice.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QImageReader>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include "support/LoopbackControllerFixture.h"
#include "view/InfoView.h"

using twtest::LoopbackHttpServer;

namespace {

std::string gpx(const std::string& track)
{
  return "<gpx><trk><name>" + track + "</name><trkseg><trkpt lat=\"35.63\" lon=\"139.27\"/>"
         "<trkpt lat=\"35.62\" lon=\"139.24\"/></trkseg></trk></gpx>";
}

// The fixture's server answers the map tiles; `d` is its controller in a window.
class WebImportTest : public twtest::LoopbackControllerFixture {
 protected:
  void SetUp() override
  {
    for (LoopbackHttpServer* s : {&pages, &api, &updates}) ASSERT_TRUE(s->start());
    // One server plays the three services' pages (a host alone, or with the scheme the YAMAP
    // site prefix needs); the YAMAP API has its own.
    const std::string host = "127.0.0.1:" + std::to_string(pages.port());
    for (auto [var, value] : {std::pair{"TARNWICK_YAMARECO_HOST", host}, {"TARNWICK_LATLONG_HOST", host},
                              {"TARNWICK_YAMAP_HOST", pages.baseUrl()}, {"TARNWICK_YAMAP_API_HOST", api.baseUrl()}})
      setenv(var, value.c_str(), 1);
    LoopbackControllerFixture::SetUp();
    d = app.get();
    d->config.setString(tw::key::update_base, "");
    d->openURL = [this](const QUrl& u) { opened.push_back(u); };
    showWindow();
  }

  QString link(const char* path) const { return QString::fromStdString(pages.baseUrl()) + path; }
  // Drags `url` over the map and drops it; whether the drop was taken.
  bool drop(const QString& url, Qt::KeyboardModifiers mods = Qt::NoModifier)
  {
    QMimeData mime;
    mime.setUrls({QUrl(url)});
    const QPoint at = d->infoView->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, mods);
    QApplication::sendEvent(d->infoView, &enter);
    QDropEvent dropped(at, Qt::CopyAction, &mime, Qt::LeftButton, mods);
    QApplication::sendEvent(d->infoView, &dropped);
    return enter.isAccepted() && dropped.isAccepted();
  }
  void paste(const QString& text) { QGuiApplication::clipboard()->setText(text), QTest::keyClick(d->infoView, Qt::Key_V, Qt::ControlModifier); }
  bool imported() { return QTest::qWaitFor([&] { return !d->isImporting(); }, 15000); }
  std::string tracks() const
  {
    std::string s;
    for (const auto& t : d->doc.tracks) s += t.name + ";";
    return s + d->doc.filename;
  }

  LoopbackHttpServer pages, api, updates;
  AppDelegate* d = nullptr;
  std::vector<QUrl> opened;
};

}  // namespace

// A dropped route page opens under the service's name; with Alt held the next is appended (one
// undo step). A pasted YAMAP link is fetched from the API host and replaces the document after
// the reader's question; other text and foreign pages do nothing. No update root: no request.
TEST_F(WebImportTest, DroppedAndPastedLinks)
{
  pages.setBody("/pf/track-12345.gpx", gpx("yamareco"));
  pages.setBody("/route/get?id=abc&format=gpx", gpx("latlong"));
  api.setBody("/activities/987654/points.xml", gpx("yamap"));
  d->applicationDidFinishLaunching();

  ASSERT_TRUE(drop(link("/pf/detail-12345.html")) && imported());
  EXPECT_EQ(tracks(), "yamareco;track-12345.gpx");
  ASSERT_TRUE(drop(link("/route/watch?id=abc"), Qt::AltModifier) && imported());
  EXPECT_EQ(tracks(), "yamareco;latlong;get?id=abc&format=gpx");
  EXPECT_FALSE(drop(QStringLiteral("https://example.com/page.html")));

  d->doc.modify = true;
  paste(QStringLiteral("some words"));
  EXPECT_FALSE(d->isImporting());
  boxes.confirmAnswers = {false, true};
  paste(link("/activities/987654") + QStringLiteral("\n"));
  ASSERT_TRUE(imported());
  EXPECT_EQ(tracks(), "yamareco;latlong;get?id=abc&format=gpx");  // declined
  paste(link("/activities/987654"));
  ASSERT_TRUE(imported());
  EXPECT_EQ(tracks(), "yamap;points-987654.gpx");
  EXPECT_TRUE(boxes.count(QStringLiteral("confirm")) == 2 && updates.requestCount() == 0u);
}

// Nothing usable came back (no answer, an error status, a reset, a body beyond the bound,
// declared or streaming, silence for the time-out, no GPX): an alert, no question, and the open
// document exactly as it was. A fetch that hangs shows the progress dialog; its "キャンセル"
// ends it without a word.
TEST_F(WebImportTest, FailedFetchesLeaveTheDocumentUnchanged)
{
  pages.setBehaviour("/reset/", LoopbackHttpServer::Behaviour::Reset);
  pages.setBehaviour("/big/", LoopbackHttpServer::Behaviour::Oversized);
  pages.setBehaviour("/stall/", LoopbackHttpServer::Behaviour::Silent);
  pages.setBehaviour("/undeclared/", LoopbackHttpServer::Behaviour::Undeclared);
  pages.setOversizedBytes(1024);
  pages.setDeclaredBytes((256ull << 20) + 1);
  pages.setBody("/html/r.gpx", "<html><body>Not found</body></html>");
  d->applicationDidFinishLaunching();
  ASSERT_TRUE(d->loadGPXData(QByteArray::fromStdString(gpx("old")), false));
  d->setFileName(QStringLiteral("old.gpx"));
  const QString site = QStringLiteral("読み込みエラー/サイトへの接続に失敗しました");
  const QString reader = QStringLiteral("エラー/GPXデータの読み込みに失敗しました。\nファイルが壊れている可能性があります。");
  for (auto [path, alert] : {std::pair{"/missing/r.gpx", site}, {"/reset/r.gpx", site}, {"/big/r.gpx", site},
                             {"/html/r.gpx", reader}, {"/stall/r.gpx", QString()}, {"/stall/t.gpx", site},
                             {"/undeclared/r.gpx", site}}) {
    boxes.shown.clear();
    if (path == std::string_view("/stall/t.gpx")) d->web_timeout_ms = 300;  // the 60 s, shortened
    if (path == std::string_view("/undeclared/r.gpx")) d->web_max_bytes = 1000;  // too large, as it streams
    ASSERT_TRUE(drop(link(path)));
    if (alert.isEmpty()) {
      QDialog* dialog = nullptr;
      ASSERT_TRUE(QTest::qWaitFor([&] { return (dialog = window->findChild<QDialog*>()) && dialog->isVisible(); }));
      QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
    }
    ASSERT_TRUE(imported()) << path;
    const auto* shown = boxes.last();
    EXPECT_EQ(shown ? shown->title + QLatin1Char('/') + shown->mess : QString(), alert) << path;
    EXPECT_EQ(boxes.shown.size(), alert.isEmpty() ? 0u : 1u) << path;
    EXPECT_EQ(tracks(), "old;old.gpx") << path;
  }
}

// With a message the notice is shown and its page opened; without one nothing happens.
TEST_F(WebImportTest, UpdateNotice)
{
  const char* path = "/version/version1.2.10.xml";
  updates.setBody(path, "<version><latest>0</latest><message>新版です</message><url>https://a.example/</url></version>");
  d->config.setString(tw::key::update_base, updates.baseUrl() + "/");
  d->applicationDidFinishLaunching();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.shown.empty(); }));
  EXPECT_EQ(boxes.last()->title + boxes.last()->mess, QStringLiteral("メッセージ新版です"));
  EXPECT_EQ(opened, std::vector<QUrl>{QUrl(QStringLiteral("https://a.example/"))});
  updates.setBody(path, "<version><latest>1</latest><url>https://b.example/</url></version>");
  d->ver_message.reset();
  d->downloadVersion();
  ASSERT_TRUE(QTest::qWaitFor([&] { return d->ver_latest; }));
  EXPECT_EQ(boxes.shown.size() + opened.size(), 2u);
}

namespace {
std::tuple<int, QString, QString> run(const char* program, const QStringList& args, const QProcessEnvironment& env)
{
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(QString::fromUtf8(program), args);
  p.waitForFinished(60000);
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAllStandardOutput()),
          QString::fromLocal8Bit(p.readAllStandardError())};
}
}  // namespace

// `tarnwick URL` opens the route once the window is up (seen in the window title that
// --screenshot writes into the picture); `tarnwick-cli import` writes it, or fails with a line.
TEST_F(WebImportTest, CommandLines)
{
  pages.setBody("/pf/track-12345.gpx", gpx("yamareco"));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("TARNWICK_CONFIG_DIR"), dir.path());
  for (const char* tileHost : {"TARNWICK_GSI_BASE", "TARNWICK_OSM_BASE"})  // refused at once
    env.insert(QString::fromLatin1(tileHost), QStringLiteral("http://127.0.0.1:9"));
  const QString shot = dir.path() + QStringLiteral("/shot.png"), out = dir.path() + QStringLiteral("/out.gpx");
  auto [status, stdOut, stdErr] =
      run(TARNWICK_BIN, {QStringLiteral("--screenshot"), shot, QStringLiteral("--wait-ms"), QStringLiteral("20000"),
                         link("/pf/detail-12345.html")}, env);
  ASSERT_EQ(status, 0) << stdErr.toStdString();
  EXPECT_TRUE(QImageReader(shot).text(QStringLiteral("Title")).startsWith(QStringLiteral("track-12345.gpx")));

  std::tie(status, stdOut, stdErr) = run(TW_CLI, {QStringLiteral("import"), link("/pf/detail-12345.html"), QStringLiteral("-o"), out}, env);
  ASSERT_EQ(status, 0) << stdErr.toStdString();
  EXPECT_EQ(stdOut, QStringLiteral("track-12345.gpx\n"));
  QFile written(out);
  EXPECT_TRUE(written.open(QIODevice::ReadOnly) && written.readAll().contains("<name><![CDATA[yamareco]]></name>"));
  EXPECT_EQ(pages.countPrefix("/pf/track-12345.gpx"), 2u);
  std::tie(status, stdOut, stdErr) =
      run(TW_CLI, {QStringLiteral("import"), link("/pf/detail-404.html"), QStringLiteral("-o"), out}, env);
  EXPECT_EQ(status, 1);
  EXPECT_TRUE(stdErr.endsWith(QStringLiteral("/pf/track-404.gpx: HTTP 404\n")) && stdErr.count(QLatin1Char('\n')) == 1)
      << stdErr.toStdString();
}
