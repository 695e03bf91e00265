// tarnwick-cli elevation against a loopback DEM server.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "DemTestUtil.h"
#include "support/LoopbackHttpServer.h"
#include "support/TestPaths.h"

namespace fs = std::filesystem;
using twtest::LoopbackHttpServer;

namespace {

constexpr int TX = 14553, TY = 6450;

struct CliRun {
  int status = -1;
  std::string err;
};

CliRun runCli(const std::string& base, const std::string& args)
{
  // Per process: ctest runs these tests side by side.
  const fs::path errFile = fs::temp_directory_path() / ("tw_cli_elev_err_" + std::to_string(::getpid()) + ".txt");
  const std::string cmd = "TARNWICK_GSI_BASE='" + base + "' QT_QPA_PLATFORM=offscreen '" TW_CLI "' elevation " + args +
                          " 2>'" + errFile.string() + "'";
  CliRun r;
  const int rc = std::system(cmd.c_str());
  r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  r.err = twtest::readFile(errFile.string());
  fs::remove(errFile);
  return r;
}

std::string gpxWithPoints()
{
  std::string g = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" creator=\"test\" "
                  "xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><name>t</name><trkseg>\n";
  for (int i = 0; i < 3; ++i) {
    double lat, lon;
    elevtest::cellCentre(TX + (i == 2), TY, 10 + i, 10 + i, lat, lon);
    char line[200];
    std::snprintf(line, sizeof line, "<trkpt lat=\"%.8f\" lon=\"%.8f\">%s</trkpt>\n", lat, lon,
                  i == 1 ? "<ele>500.0</ele>" : "");
    g += line;
  }
  return g + "</trkseg></trk></gpx>\n";
}

class CliElevationTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    ASSERT_TRUE(server.start());
    dir = fs::temp_directory_path() / ("tw_cli_elev_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "in.gpx") << gpxWithPoints();
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string in() const { return (dir / "in.gpx").string(); }
  std::string out() const { return (dir / "out.gpx").string(); }

  LoopbackHttpServer server;
  fs::path dir;
};

}  // namespace

TEST_F(CliElevationTest, FillsMissingElevations)
{
  server.setBody("/xyz/dem/14/14553/6450.txt", elevtest::demText("123.4"));
  server.setBody("/xyz/dem/14/14554/6450.txt", elevtest::demText("45"));
  const CliRun r = runCli(server.baseUrl(), in() + " -o " + out());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("DEM tiles 2/2"), std::string::npos) << r.err;
  const std::string gpx = twtest::readFile(out());
  EXPECT_NE(gpx.find("123.4"), std::string::npos) << gpx;
  EXPECT_NE(gpx.find("500.0"), std::string::npos);
  EXPECT_NE(gpx.find("45.0"), std::string::npos);
  EXPECT_EQ(server.countPrefix("/xyz/dem/"), 2u);
}

TEST_F(CliElevationTest, RecalcWithDem5A)
{
  server.setBody("/xyz/dem5a/14/14553/6450.txt", elevtest::demText("e"));
  server.setBody("/xyz/dem5a/14/14554/6450.txt", elevtest::demText("77.5"));
  server.setBody("/xyz/dem/14/14553/6450.txt", elevtest::demText("66"));
  const CliRun r = runCli(server.baseUrl(), in() + " -o " + out() + " --dem 5a --recalc");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("DEM5A has no data at 2 points"), std::string::npos) << r.err;
  const std::string gpx = twtest::readFile(out());
  EXPECT_EQ(gpx.find("500.0"), std::string::npos);  // recalculated
  EXPECT_NE(gpx.find("66.0"), std::string::npos);
  EXPECT_NE(gpx.find("77.5"), std::string::npos);
}

TEST_F(CliElevationTest, UnreachableServerFailsClearly)
{
  server.setDefaultBehaviour(LoopbackHttpServer::Behaviour::Reset);
  const CliRun r = runCli(server.baseUrl(), in() + " -o " + out());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("cannot reach the DEM server"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(out()));
}

TEST_F(CliElevationTest, BadArguments)
{
  EXPECT_EQ(runCli(server.baseUrl(), in()).status, 2);
  EXPECT_EQ(runCli(server.baseUrl(), in() + " -o " + out() + " --dem 1m").status, 2);
  EXPECT_EQ(runCli(server.baseUrl(), (dir / "missing.gpx").string() + " -o " + out()).status, 1);
}
