#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "gpx/GpxReader.h"
#include "gpx/GpxWriter.h"
#include "support/TestPaths.h"

using namespace tw;
namespace fs = std::filesystem;

namespace {

std::string write(const GpxData& d) { return buildGPXText(d.tracks, d.waypoints, 0, true); }

GpxData readOk(const std::string& text)
{
  auto r = parseGPX(text);
  EXPECT_TRUE(r.ok());
  return r.data;
}

}  // namespace

// The line format is pinned by the golden files below, the round trip of every corpus file by
// the CLI test, writing the active track only by the controller's save-selected test.
TEST(GpxWriter, NumbersAndNamesThatEndCData)
{
  // Same digits as glibc's printf of the double (checked with a C program).
  const std::tuple<double, int, int, const char*> numbers[] = {
      {12.5, 6, 2, " 12.50"},         {-0.5, 8, 6, "-0.500000"},   {0.1234565, 8, 6, "0.123456"},
      {139.7000005, 8, 6, "139.700000"}, {35.0000015, 8, 6, "35.000002"}, {2.675, 6, 2, "  2.67"},
      {static_cast<double>(12.345f), 4, 2, "12.35"}};
  for (const auto& [v, w, p, s] : numbers) EXPECT_EQ(formatFixed(v, w, p), s) << v;

  for (std::string name : {"a]]>b", "]]>", "x]]]>y]]>>", "]]]]>>", "<&>\"'"}) {  // read back unchanged
    WayPoint w;
    w.name = name;
    EXPECT_EQ(readOk(buildGPXText({}, {w}, -1, true)).waypoints.at(0).name, name);
  }
  EXPECT_EQ(cdataSection("a\x01" "b\xEF\xBF\xBF"), "<![CDATA[ab]]>");  // what XML cannot carry
}

TEST(GpxWriterGolden, FixturesReadWriteRead)
{
  int n = 0;
  for (const auto& e : fs::directory_iterator(twtest::fixture("gpx/golden"))) {
    const std::string in = e.path().string();
    if (!in.ends_with(".in.gpx")) continue;
    const std::string expected = twtest::readFile(in.substr(0, in.size() - 7) + ".out.gpx");
    ASSERT_FALSE(expected.empty()) << in;
    const std::string out = write(readOk(twtest::readFile(in)));
    EXPECT_EQ(out, expected) << in;
    EXPECT_EQ(write(readOk(out)), out) << in;  // a fixed point
    ++n;
  }
  EXPECT_GE(n, 2);
}

TEST(AtomicWrite, ReplacesKeepsModeAndLeavesTheOldFileOnFailure)
{
  const fs::path dir = fs::temp_directory_path() / ("tw_gpx_write_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const auto f = (dir / "route.gpx").string();
  ASSERT_TRUE(writeFileAtomically(f, "one"));
  ::chmod(f.c_str(), 0640);
  ASSERT_TRUE(writeFileAtomically(f, "two"));
  EXPECT_EQ(fs::status(f).permissions(), fs::perms(0640));

  fs::create_directories(dir / "sub.gpx");  // a directory cannot be replaced by a file
  EXPECT_FALSE(writeFileAtomically((dir / "missing" / "a.gpx").string(), "x") || writeFileAtomically((dir / "sub.gpx").string(), "x"));
  if (::geteuid() != 0) {  // root writes anywhere
    ::chmod(dir.c_str(), 0555);
    EXPECT_FALSE(writeFileAtomically(f, "new"));
    ::chmod(dir.c_str(), 0755);
  }
  EXPECT_EQ(twtest::readFile(f), "two");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 2);  // no temporary left behind
  fs::remove_all(dir);
}
