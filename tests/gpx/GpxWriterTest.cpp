#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "gpx/GpxReader.h"
#include "gpx/GpxText.h"
#include "gpx/GpxWriter.h"
#include "support/TestPaths.h"

using namespace tw;

namespace {

const std::string kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<gpx version=\"1.1\" creator=\"Tarnwick\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n";

std::string write(const GpxData& d, bool all = true, int active = 0)
{
  return buildGPXText(d.tracks, d.waypoints, active, all);
}

GpxData readOk(const std::string& text)
{
  auto r = parseGPX(text);
  EXPECT_TRUE(r.ok());
  return r.data;
}

}  // namespace

TEST(GpxWriterText, EmptyDocumentIsThreeLines)
{
  EXPECT_EQ(buildGPXText({}, {}, -1, true), kHead + "</gpx>\n");
}

TEST(GpxWriterText, WayPointLinesAndNumberFormats)
{
  WayPoint a;
  a.lat = 35.5, a.lon = 139.25;
  WayPoint b = a;
  b.name = "山::頂";
  b.elev = 1234.5f;
  WayPoint c = a;
  c.elev = 5.0f;
  EXPECT_EQ(buildGPXText({}, {a, b, c}, -1, true),
            kHead +
                "\t<wpt lat=\"35.500000\" lon=\"139.250000\">\n\t</wpt>\n"
                "\t<wpt lat=\"35.500000\" lon=\"139.250000\">\n\t\t<ele>1234.50</ele>\n\t\t<name><![CDATA[山::頂]]></name>\n\t</wpt>\n"
                "\t<wpt lat=\"35.500000\" lon=\"139.250000\">\n\t\t<ele>  5.00</ele>\n\t</wpt>\n"
                "</gpx>\n");
  EXPECT_EQ(formatFixed(12.5, 6, 2), " 12.50");
  EXPECT_EQ(formatFixed(12.5, 4, 2), "12.50");
  EXPECT_EQ(formatFixed(-0.5, 8, 6), "-0.500000");
  EXPECT_EQ(formatFixed(0.1234565, 8, 6), "0.123456");  // the binary value lies below the half
  // Same digits as glibc's printf of the double (checked with a C program).
  EXPECT_EQ(formatFixed(139.7000005, 8, 6), "139.700000");
  EXPECT_EQ(formatFixed(35.0000015, 8, 6), "35.000002");
  EXPECT_EQ(formatFixed(2.675, 6, 2), "  2.67");
  EXPECT_EQ(formatFixed(static_cast<double>(12.345f), 4, 2), "12.35");
}

TEST(GpxWriterText, TrackLinesTimesAndActiveOnly)
{
  TrackInfo t0, t1, t2;
  t0.name = "first";
  t2.name = "third";
  Track p;
  p.lat = 35.1, p.lon = 139.1, p.elev = 5.0f;
  p.time = parseGpxTime("2019-05-03T01:02:03.250Z");
  t2.points = {p};
  WayPoint w;
  w.lat = 35, w.lon = 139;
  const std::string only = buildGPXText({t0, t1, t2}, {w}, 2, false);
  EXPECT_EQ(only, kHead +
                      "\t<wpt lat=\"35.000000\" lon=\"139.000000\">\n\t</wpt>\n"
                      "\t<trk>\n\t\t<name><![CDATA[third]]></name>\n\t\t<number>3</number>\n\t\t<trkseg>\n"
                      "\t\t\t<trkpt lat=\"35.100000\" lon=\"139.100000\">\n\t\t\t\t<ele>5.00</ele>\n"
                      "\t\t\t\t<time>2019-05-03T01:02:03Z</time>\n\t\t\t</trkpt>\n"
                      "\t\t</trkseg>\n\t</trk>\n</gpx>\n");
  const std::string all = buildGPXText({t0, t1, t2}, {w}, 2, true);
  EXPECT_NE(all.find("\t<trk>\n\t\t<name><![CDATA[first]]></name>\n\t\t<number>1</number>\n\t\t<trkseg>\n\t\t</trkseg>\n"),
            std::string::npos);
  EXPECT_NE(all.find("\t<trk>\n\t\t<number>2</number>\n"), std::string::npos);
}

TEST(GpxWriterText, NamesWithCDataEndReadBack)
{
  for (std::string name : {"a]]>b", "]]>", "x]]]>y]]>>", "]]]]>>", "<&>\"'"}) {
    WayPoint w;
    w.lat = 35, w.lon = 139, w.name = name;
    TrackInfo t;
    t.name = name;
    Track p;
    p.lat = 35, p.lon = 139;
    t.points = {p};
    auto back = readOk(buildGPXText({t}, {w}, 0, true));
    ASSERT_EQ(back.waypoints.size(), 1u);
    EXPECT_EQ(back.waypoints[0].name, name);
    ASSERT_EQ(back.tracks.size(), 1u);
    EXPECT_EQ(back.tracks[0].name, name);
  }
  EXPECT_EQ(cdataSection("a\x01" "b\xEF\xBF\xBF"), "<![CDATA[ab]]>");
}

TEST(GpxWriterGolden, FixturesReadWriteRead)
{
  const auto dir = twtest::fixture("gpx/golden");
  int n = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir)) {
    const std::string in = e.path().string();
    if (!in.ends_with(".in.gpx")) continue;
    const std::string expected = twtest::readFile(in.substr(0, in.size() - 7) + ".out.gpx");
    ASSERT_FALSE(expected.empty()) << in;
    const auto first = readOk(twtest::readFile(in));
    const std::string out = write(first);
    EXPECT_EQ(out, expected) << in;
    // Reading the written text gives the same document, and writing it again the same text.
    const auto second = readOk(out);
    ASSERT_EQ(second.tracks.size(), first.tracks.size());
    ASSERT_EQ(second.waypoints.size(), first.waypoints.size());
    EXPECT_EQ(write(second), out) << in;
    ++n;
  }
  EXPECT_GE(n, 2);
}

TEST(GpxWriterGolden, CorpusRoundTripsAreStable)
{
  TW_REQUIRE_CORPUS();
  for (const auto& e : std::filesystem::directory_iterator(twtest::corpusDir() + "/gpx")) {
    auto first = parseGPX(twtest::readFile(e.path()));
    if (!first.ok()) continue;
    const std::string out = write(first.data);
    const auto second = readOk(out);
    ASSERT_EQ(second.tracks.size(), first.data.tracks.size()) << e.path();
    ASSERT_EQ(second.waypoints.size(), first.data.waypoints.size()) << e.path();
    for (size_t t = 0; t < second.tracks.size(); ++t) {
      const auto& a = first.data.tracks[t];
      const auto& b = second.tracks[t];
      EXPECT_EQ(a.name, b.name);
      ASSERT_EQ(a.points.size(), b.points.size());
      for (size_t i = 0; i < a.points.size(); ++i) {
        EXPECT_NEAR(a.points[i].lat, b.points[i].lat, 6e-7);
        EXPECT_NEAR(a.points[i].lon, b.points[i].lon, 6e-7);
        EXPECT_NEAR(a.points[i].elev, b.points[i].elev, 0.006f);
        EXPECT_EQ(a.points[i].time.has_value(), b.points[i].time.has_value());
      }
    }
    EXPECT_EQ(write(second), out) << e.path();
  }
}

class AtomicWrite : public ::testing::Test {
 protected:
  void SetUp() override
  {
    dir = std::filesystem::temp_directory_path() / ("tw_gpx_write_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override
  {
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
    std::filesystem::remove_all(dir);
  }
  size_t entries() const
  {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
  }
  std::filesystem::path dir;
};

TEST_F(AtomicWrite, ReplacesContentKeepsModeLeavesNoTemporary)
{
  const auto f = (dir / "route.gpx").string();
  ASSERT_TRUE(writeFileAtomically(f, "one"));
  ::chmod(f.c_str(), 0640);
  ASSERT_TRUE(writeFileAtomically(f, "two"));
  EXPECT_EQ(twtest::readFile(f), "two");
  struct stat st;
  ASSERT_EQ(::stat(f.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicWrite, FailureLeavesTheOldFile)
{
  EXPECT_FALSE(writeFileAtomically((dir / "missing" / "a.gpx").string(), "x"));
  const auto f = (dir / "keep.gpx").string();
  ASSERT_TRUE(writeFileAtomically(f, "old"));
  if (::geteuid() != 0) {  // root writes anywhere
    ::chmod(dir.c_str(), 0555);
    EXPECT_FALSE(writeFileAtomically(f, "new"));
    ::chmod(dir.c_str(), 0755);
  }
  // A directory in the way cannot be replaced by a file.
  std::filesystem::create_directories(dir / "sub.gpx");
  EXPECT_FALSE(writeFileAtomically((dir / "sub.gpx").string(), "x"));
  EXPECT_EQ(twtest::readFile(f), "old");
  EXPECT_EQ(entries(), 2u);
}
