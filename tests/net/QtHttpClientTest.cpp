// The blocking GET against a loopback server that answers well and badly.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <thread>
#include <vector>

#include "net/QtHttpClient.h"
#include "support/LoopbackHttpServer.h"

using twtest::LoopbackHttpServer;
using B = LoopbackHttpServer::Behaviour;

class QtHttpClientTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    ASSERT_TRUE(server.start());
    server.setBody("/ok.txt", "hello");
    server.setStallMs(3000);
  }
  QString url(const char* path) const { return QString::fromStdString(server.baseUrl()) + path; }

  LoopbackHttpServer server;
  QtHttpClient client;
};

TEST_F(QtHttpClientTest, AnswersCarryStatusAndBodyAndNameTheApp)
{
  HttpResult r = client.get(url("/ok.txt"), 5000);
  EXPECT_EQ(std::tuple(r.transportError, r.status, r.body), std::tuple(false, 200, QByteArray("hello")));
  server.setBehaviour("/boom", B::ServerError);
  for (auto [path, status] : {std::pair{"/missing.png", 404}, {"/boom/1.png", 500}}) {
    r = client.get(url(path), 5000);
    EXPECT_EQ(std::tuple(r.transportError, r.status), std::tuple(false, status)) << path;
  }
  const auto log = server.requests();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].method, "GET");
  EXPECT_EQ(log[0].userAgent.rfind("Tarnwick/", 0), 0u) << log[0].userAgent;
}

TEST_F(QtHttpClientTest, FailuresWithoutAnAnswerAreTransportErrors)
{
  server.setBehaviour("/stall", B::Stall);
  server.setBehaviour("/reset", B::Reset);
  server.setBehaviour("/garbage", B::Garbage);

  QElapsedTimer t;
  t.start();
  HttpResult r = client.get(url("/stall/1.png"), 300);
  EXPECT_TRUE(r.transportError && r.status == 0);
  EXPECT_LT(t.elapsed(), 2500);  // the timeout, not the server, ended it
  EXPECT_TRUE(client.get(url("/reset/1.png"), 5000).transportError && client.get(url("/garbage/1.png"), 5000).transportError);
  const QString dead = url("/ok.txt");
  server.stop();  // nobody listening, and not a URL at all
  EXPECT_TRUE(client.get(dead, 5000).transportError && client.get(QStringLiteral("no scheme here"), 1000).transportError);
}

TEST_F(QtHttpClientTest, OversizedBodyIsAFailureNotAnAllocation)
{
  server.setBehaviour("/big", B::Oversized);
  server.setOversizedBytes(16u << 20);
  QtHttpClient small(1 << 20);
  const HttpResult r = small.get(url("/big/1.png"), 10000);
  EXPECT_TRUE(r.transportError && r.body.isEmpty());
  server.setBody("/fits.bin", std::string((1 << 20) - 1, 'x'));  // a body just under the bound is fine
  const HttpResult fits = small.get(url("/fits.bin"), 10000);
  EXPECT_EQ(std::tuple(fits.transportError, fits.body.size()), std::tuple(false, (1 << 20) - 1));
}

TEST_F(QtHttpClientTest, ConcurrentCallsFromWorkerThreads)
{
  server.holdUntilOpen(2, 3000);
  std::vector<std::thread> threads;
  std::vector<HttpResult> results(8);
  for (size_t i = 0; i < results.size(); i++)
    threads.emplace_back([&, i] { results[i] = client.get(url("/ok.txt"), 5000); });
  for (auto& th : threads) th.join();
  for (const HttpResult& r : results) EXPECT_EQ(std::tuple(r.status, r.body), std::tuple(200, QByteArray("hello")));
  EXPECT_GE(server.maxConcurrent(), 2);
}

int main(int argc, char** argv)
{
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
