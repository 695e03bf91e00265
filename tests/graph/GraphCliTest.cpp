// `tarnwick-cli graph` as a process: the grey PNG with frame, grid and profile where the
// scales put them.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct CliRun {
  int status = -1;
  std::string err;
};

CliRun runCli(const std::string& args, const fs::path& dir)
{
  const fs::path errFile = dir / "stderr.txt";
  const std::string cmd = std::string(TW_CLI) + " graph " + args + " 2>" + errFile.string();
  CliRun r;
  r.status = std::system(cmd.c_str());
  std::ifstream in(errFile);
  std::getline(in, r.err, '\0');
  return r;
}

// 21 points northward, 50 m apart; level at 1210 m, then up to 1980 m over the last five.
std::string climbGpx()
{
  std::string s = "<?xml version=\"1.0\"?><gpx version=\"1.1\" creator=\"t\"><trk><trkseg>";
  for (int i = 0; i <= 20; ++i) {
    const double elev = i < 16 ? 1210 : 1210 + (i - 15) * 154;
    char buf[160];
    std::snprintf(buf, sizeof buf, "<trkpt lat=\"%.6f\" lon=\"139.0\"><ele>%.1f</ele></trkpt>", 35.0 + i * 0.00045,
                  elev);
    s += buf;
  }
  return s + "</trkseg></trk></gpx>";
}

class GraphCli : public ::testing::Test {
 protected:
  void SetUp() override
  {
    dir = fs::temp_directory_path() / ("tw_graph_cli_" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  void write(const std::string& name, const std::string& text) { std::ofstream(dir / name) << text; }
  fs::path dir;
};

TEST_F(GraphCli, FrameGridAndProfileWhereTheScalesPutThem)
{
  write("climb.gpx", climbGpx());
  const CliRun r = runCli((dir / "climb.gpx").string() + " -o " + (dir / "g.png").string(), dir);
  ASSERT_EQ(r.status, 0) << r.err;
  const QImage img(QString::fromStdString((dir / "g.png").string()));
  ASSERT_EQ(img.size(), QSize(950, 250));
  EXPECT_EQ(img.format(), QImage::Format_Grayscale8);
  auto px = [&](int x, int y) { return qGray(img.pixel(x, y)); };
  // Outer frame and plot frame (plot 50…935 × 21…229 up from the bottom: rows 21…228).
  EXPECT_EQ(px(0, 120), 0);
  EXPECT_EQ(px(949, 120), 0);
  EXPECT_EQ(px(50, 120), 0);
  EXPECT_GT(px(30, 120), 200);  // margin
  // Axis 1100–2000 m over 208 points: s = 23.1; the 1500 m line at 21 + 92 up → row 137.
  EXPECT_LT(px(100, 137), 230);
  EXPECT_GT(px(100, 133), 240);
  EXPECT_GT(px(100, 141), 240);
  // Profile at 1210 m: 21 + 110 × 208 / 900 = 46.4 up → about row 203.6.
  int darkest = 255, at = -1;
  for (int y = 150; y < 228; ++y)
    if (px(100, y) < darkest) darkest = px(100, y), at = y;
  EXPECT_LT(darkest, 100);
  EXPECT_NEAR(at, 203.6, 1.0);
  // Below the profile the fill is light but not white; above it the plot is white.
  EXPECT_LT(px(100, 220), 255);
  EXPECT_GT(px(100, 220), 200);
  EXPECT_EQ(px(100, 150), 255);
}

TEST_F(GraphCli, NoTrackWritesTheEmptyGraphAndSaysSo)
{
  write("wpt.gpx", "<?xml version=\"1.0\"?><gpx version=\"1.1\" creator=\"t\">"
                   "<wpt lat=\"35\" lon=\"139\"><name>a</name></wpt></gpx>");
  const CliRun r = runCli((dir / "wpt.gpx").string() + " -o " + (dir / "e.png").string() + " --size 400x120", dir);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("no track"), std::string::npos) << r.err;
  const QImage img(QString::fromStdString((dir / "e.png").string()));
  EXPECT_EQ(img.size(), QSize(400, 120));
  // Bad arguments: usage, status 2; a missing track number: one line, status 1.
  EXPECT_NE(runCli("x.gpx -o y.png --size 0x5", dir).status, 0);
  write("climb.gpx", climbGpx());
  const CliRun missing = runCli((dir / "climb.gpx").string() + " --track 2 -o " + (dir / "m.png").string(), dir);
  EXPECT_NE(missing.status, 0);
  EXPECT_FALSE(fs::exists(dir / "m.png"));
}

}  // namespace
