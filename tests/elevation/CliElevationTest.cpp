// tarnwick-cli elevation (the headless batch fill) against a loopback DEM server: fill and
// progress, malformed tiles, at most five fetches at once, the DEM5A gaps answered from
// DEM10B, failures and arguments.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "DemTestUtil.h"
#include "gpx/GpxWriter.h"
#include "support/LoopbackHttpServer.h"
#include "support/TestPaths.h"

namespace fs = std::filesystem;
using twtest::LoopbackHttpServer;
using namespace elevtest;

class CliElevationTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    ASSERT_TRUE(server.start());
    // Per process: ctest runs these tests side by side.
    dir = fs::temp_directory_path() / ("tw_cli_elev_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    writeGpx({pointIn(TX, 10, 10), pointIn(TX, 11, 11, 500.0f), pointIn(TX + 1, 12, 12)});
  }
  void TearDown() override { fs::remove_all(dir); }

  void writeGpx(const std::vector<tw::Track>& points)
  {
    std::vector<tw::TrackInfo> tracks(1);
    tracks[0].points = points;
    std::ofstream(dir / "in.gpx") << tw::buildGPXText(tracks, {}, 0, true);  // −100 reads back as unknown
  }
  // Exit status and stderr of `tarnwick-cli elevation in.gpx ARGS`.
  std::pair<int, std::string> run(const std::string& args) { return cli("elevation '" + in() + "' " + args); }
  std::pair<int, std::string> cli(const std::string& args)
  {
    const auto r = twtest::runCommand("TARNWICK_GSI_BASE=" + server.baseUrl() + " TARNWICK_CACHE_DIR=" +
                                      twtest::quoted(dir / "cache") + " " + twtest::quoted(TW_CLI) + " " + args);
    return {r.status, r.err};
  }
  std::string in() const { return (dir / "in.gpx").string(); }
  bool wrote(const char* ele) { return twtest::readFile(out()).find(ele) != std::string::npos; }
  std::string out() const { return (dir / "out.gpx").string(); }
  void serve(bool dem5a, int x, const std::string& body)
  {
    server.setBody((dem5a ? "/xyz/dem5a/14/" : "/xyz/dem/14/") + std::to_string(x) + "/6450.txt", body);
  }

  LoopbackHttpServer server;
  fs::path dir;
};

TEST_F(CliElevationTest, FillsMissingElevationsFiveFetchesAtOnce)
{
  // Twelve tiles: two with elevations, one malformed, the rest missing (sea, 0 m).
  std::vector<tw::Track> points{pointIn(TX, 11, 11, 500.0f)};
  for (int i = 0; i < 12; ++i) points.push_back(pointIn(TX + i, 10, 10));
  writeGpx(points);
  serve(false, TX, demText("123.4"));
  serve(false, TX + 1, demText("45"));
  serve(false, TX + 2, "garbage");
  // Answers wait until five fetches are open: a fill that asks fewer at once never gets there.
  server.holdUntilOpen(5, 3000);
  const auto [status, err] = run("-o " + out());
  ASSERT_EQ(status, 0) << err;
  for (const char* line : {"DEM tiles 12/12", "1 DEM tiles were malformed and not used", "1 points are still without elevation"})
    EXPECT_NE(err.find(line), std::string::npos) << err;
  EXPECT_TRUE(wrote("<ele>123.40</ele>") && wrote("<ele>500.00</ele>") && wrote("<ele>45.00</ele>"));
  EXPECT_EQ(server.requestCount(), 12u);  // the malformed tile is not asked for again
  EXPECT_EQ(server.maxConcurrent(), 5);
  server.clearLog();  // a second run reads the disk cache and asks only for the malformed tile again
  ASSERT_EQ(run("-o " + out()).first, 0);
  EXPECT_EQ(server.requests().at(0).path, "/xyz/dem/14/" + std::to_string(TX + 2) + "/6450.txt");
  EXPECT_EQ(server.requestCount(), 1u);
  EXPECT_TRUE(wrote("<ele>123.40</ele>"));
}

TEST_F(CliElevationTest, Dem5AGapsAreFilledFromDem10B)
{
  serve(true, TX, demText("e"));
  serve(true, TX + 1, demText("77.5"));
  serve(false, TX, demText("66"));
  const auto [status, err] = run("-o " + out() + " --dem 5a --recalc");
  ASSERT_EQ(status, 0) << err;
  EXPECT_NE(err.find("DEM5A has no data at 2 points; filled from DEM10B"), std::string::npos) << err;
  EXPECT_FALSE(wrote("<ele>500.00</ele>"));  // recalculated
  EXPECT_TRUE(wrote("<ele>66.00</ele>") && wrote("<ele>77.50</ele>"));
  EXPECT_EQ(server.countPrefix("/xyz/dem/14/14554/"), 0u);  // DEM5A had that tile
}

TEST_F(CliElevationTest, FailuresAndBadArguments)
{
  server.setDefaultBehaviour(LoopbackHttpServer::Behaviour::Reset);
  const auto [status, err] = run("-o " + out());
  EXPECT_EQ(status, 1);
  EXPECT_NE(err.find("cannot reach the DEM server"), std::string::npos) << err;
  EXPECT_FALSE(fs::exists(out()));
  EXPECT_EQ(run("").first, 2);
  EXPECT_EQ(run("-o " + out() + " --dem 1m").first, 2);
  fs::remove(dir / "in.gpx");
  EXPECT_EQ(run("-o " + out()).first, 1);
}

// tarnwick-cli prefetch: the map tiles of the zooms and the DEM tiles around the track into the
// cache, two requests at a time, none again on a second run; OpenStreetMap and areas of more
// than 5,000 tiles are refused.
TEST_F(CliElevationTest, PrefetchKeepsTheAreaTwoRequestsAtATime)
{
  server.setFallbackBody("tile");
  server.holdUntilOpen(2, 3000);
  const auto [status, err] = cli("prefetch '" + in() + "' --zoom 14-15 --map pale");
  ASSERT_EQ(status, 0) << err;
  const size_t n = server.requestCount();
  const size_t z14 = server.countPrefix("/xyz/pale/14/"), z15 = server.countPrefix("/xyz/pale/15/");
  EXPECT_EQ(z14 + z15 + server.countPrefix("/xyz/dem/14/"), n);
  EXPECT_GT(z15, z14);
  EXPECT_EQ(server.maxConcurrent(), 2);
  EXPECT_EQ(cli("prefetch '" + in() + "' --zoom 14-15 --map pale").first, 0);
  EXPECT_EQ(server.requestCount(), n);

  const auto osm = cli("prefetch '" + in() + "' --map osm");
  EXPECT_EQ(osm.first, 1);
  EXPECT_NE(osm.second.find("OpenStreetMap tiles are not downloaded in bulk"), std::string::npos) << osm.second;
  writeGpx({pointIn(TX, 10, 10), pointIn(TX + 40, 10, 10)});
  const auto many = cli("prefetch '" + in() + "' --zoom 12-18");
  EXPECT_EQ(many.first, 1);
  EXPECT_NE(many.second.find("are more than 5000"), std::string::npos) << many.second;
  EXPECT_EQ(server.requestCount(), n);
}
