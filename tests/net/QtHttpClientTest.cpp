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
  EXPECT_FALSE(r.transportError);
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.body, QByteArray("hello"));

  r = client.get(url("/missing.png"), 5000);
  EXPECT_FALSE(r.transportError);
  EXPECT_EQ(r.status, 404);

  server.setBehaviour("/boom", B::ServerError);
  r = client.get(url("/boom/1.png"), 5000);
  EXPECT_FALSE(r.transportError);
  EXPECT_EQ(r.status, 500);

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
  EXPECT_TRUE(r.transportError);
  EXPECT_EQ(r.status, 0);
  EXPECT_LT(t.elapsed(), 2500);  // the timeout, not the server, ended it

  r = client.get(url("/reset/1.png"), 5000);
  EXPECT_TRUE(r.transportError);
  r = client.get(url("/garbage/1.png"), 5000);
  EXPECT_TRUE(r.transportError);

  // Nobody listening.
  const QString dead = url("/ok.txt");
  server.stop();
  r = client.get(dead, 5000);
  EXPECT_TRUE(r.transportError);
  // Not a URL at all.
  EXPECT_TRUE(client.get(QStringLiteral("no scheme here"), 1000).transportError);
}

TEST_F(QtHttpClientTest, OversizedBodyIsAFailureNotAnAllocation)
{
  server.setBehaviour("/big", B::Oversized);
  server.setOversizedBytes(16u << 20);
  QtHttpClient small(1 << 20);
  const HttpResult r = small.get(url("/big/1.png"), 10000);
  EXPECT_TRUE(r.transportError);
  EXPECT_TRUE(r.body.isEmpty());
  // A body just under the bound is fine.
  server.setBody("/fits.bin", std::string((1 << 20) - 1, 'x'));
  const HttpResult fits = small.get(url("/fits.bin"), 10000);
  EXPECT_FALSE(fits.transportError);
  EXPECT_EQ(fits.body.size(), (1 << 20) - 1);
}

TEST_F(QtHttpClientTest, ConcurrentCallsFromWorkerThreads)
{
  server.setResponseDelayMs(50);
  std::vector<std::thread> threads;
  std::vector<HttpResult> results(8);
  for (size_t i = 0; i < results.size(); i++)
    threads.emplace_back([&, i] { results[i] = client.get(url("/ok.txt"), 5000); });
  for (auto& th : threads) th.join();
  for (const HttpResult& r : results) {
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.body, QByteArray("hello"));
  }
  EXPECT_GE(server.maxConcurrent(), 2);
}

int main(int argc, char** argv)
{
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
