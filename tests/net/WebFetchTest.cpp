// The main-thread GET of the link import and the update notice, against a loopback server.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <tuple>

#include "net/WebFetch.h"
#include "support/LoopbackHttpServer.h"

using twtest::LoopbackHttpServer;
using B = LoopbackHttpServer::Behaviour;
using F = FetchResult::Failure;

namespace {

class WebFetchTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    ASSERT_TRUE(server.start());
    server.setBody("/ok.gpx", "hello");
    server.setBehaviour("/reset", B::Reset);
    server.setBehaviour("/stall", B::Stall);
    server.setBehaviour("/garbage", B::Garbage);
    server.setBehaviour("/declared", B::Oversized);
    server.setBehaviour("/undeclared", B::Undeclared);
    server.setBehaviour("/silent", B::Silent);
    server.setOversizedBytes(4u << 20);
  }
  // Runs one fetch to its end; `whileRunning` is called once the request reached the server.
  FetchResult run(const char* path, int timeoutMs = 5000, qint64 maxBytes = 1 << 20,
                  const std::function<void(WebFetch&)>& whileRunning = {})
  {
    WebFetch fetch;
    FetchResult result;
    result.failure = F::None;
    QEventLoop loop;
    int finished = 0;
    QObject::connect(&fetch, &WebFetch::finished, &loop, [&](const FetchResult& r) {
      result = r;
      ++finished;
      loop.quit();
    });
    QObject::connect(&fetch, &WebFetch::progress, [&] { ++progress; });
    const size_t before = server.requestCount();
    EXPECT_TRUE(fetch.start(QString::fromStdString(server.baseUrl()) + path, timeoutMs, maxBytes));
    if (whileRunning) {
      EXPECT_TRUE(server.waitForRequests(before + 1, 5000));
      whileRunning(fetch);
    }
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);  // a hang fails below instead of blocking
    if (finished == 0) loop.exec();
    EXPECT_EQ(finished, 1) << path;
    EXPECT_FALSE(fetch.running());
    return result;
  }

  LoopbackHttpServer server;
  int progress = 0;
};

}  // namespace

TEST_F(WebFetchTest, AnswersAndFailures)
{
  FetchResult r = run("/ok.gpx");
  EXPECT_EQ(r.failure, F::None);
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.body, QByteArray("hello"));
  EXPECT_GT(progress, 0);
  EXPECT_EQ(server.requests().back().userAgent.rfind("Tarnwick/", 0), 0u);

  r = run("/missing.gpx");
  EXPECT_EQ(r.failure, F::None);
  EXPECT_EQ(r.status, 404);

  const std::tuple<const char*, int, F> failures[] = {
      {"/reset/a.gpx", 5000, F::Network},     {"/garbage/a.gpx", 5000, F::Network},
      {"/stall/a.gpx", 300, F::TimedOut},     {"/declared/a.gpx", 5000, F::TooLarge},
      {"/undeclared/a.gpx", 5000, F::TooLarge},
  };
  for (auto [path, timeoutMs, failure] : failures) {
    r = run(path, timeoutMs);
    EXPECT_EQ(r.failure, failure) << path;
    EXPECT_TRUE(r.body.isEmpty()) << path;
  }
  // Within the bound, a body without a declared length is whole.
  server.setOversizedBytes(1 << 20);
  r = run("/undeclared/b.gpx");
  EXPECT_EQ(r.failure, F::None);
  EXPECT_EQ(r.body.size(), 1 << 20);
}

TEST_F(WebFetchTest, CancelEndsItAndOnlyWebAddressesStart)
{
  const FetchResult r = run("/silent/a.gpx", 60000, 1 << 20, [](WebFetch& f) { f.cancel(); });
  EXPECT_EQ(r.failure, F::Cancelled);

  WebFetch fetch;
  for (const char* bad : {"no scheme here", "file:///etc/passwd", "ftp://example.com/a.gpx", "http://"})
    EXPECT_FALSE(fetch.start(QString::fromLatin1(bad), 1000, 1000)) << bad;
  EXPECT_FALSE(fetch.running());
}
