// The reader (records, names, the valid-time rule, the corpus against an independent count),
// hostile input, and the writer (numbers, golden files, atomic replacement).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <tuple>

#include "document/Geodesy.h"
#include "gpx/GpxReader.h"
#include "gpx/GpxSummary.h"
#include "gpx/GpxWriter.h"
#include "support/LoopbackHttpServer.h"
#include "support/TestPaths.h"

using namespace tw;
namespace fs = std::filesystem;

namespace {

GpxData read(const std::string& body)
{
  auto r = parseGPX("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\">" + body + "</gpx>");
  EXPECT_TRUE(r.ok());
  return r.data;
}

std::string pt(double lat, double lon, const std::string& inner = "")
{
  return "<trkpt lat=\"" + std::to_string(lat) + "\" lon=\"" + std::to_string(lon) + "\">" + inner + "</trkpt>";
}

}  // namespace

TEST(GpxReader, TracksSegmentsAndNames)
{
  // Segments merge into their track; points before any trk are named by the last name the
  // main scan met (here the metadata's); an empty trk adds nothing.
  auto d = read("<metadata><name> Plan </name></metadata>" + pt(35, 139) + "<trk></trk><trk><name>A</name><trkseg>" +
                pt(35, 139) + pt(35.001, 139) + "</trkseg><trkseg>" + pt(35.002, 139) + "</trkseg></trk><trk>" +
                pt(36, 138) + "</trk>");
  ASSERT_EQ(d.tracks.size(), 3u);
  EXPECT_EQ(d.tracks[0].name + "|" + d.tracks[1].name + "|" + d.tracks[2].name, "Plan|A|");
  ASSERT_EQ(d.tracks[1].points.size(), 3u);
  EXPECT_EQ(d.tracks[1].points[2].lat, 35.002);
  EXPECT_TRUE(d.name_present[2] && d.tracks[1].stable == 1);
  EXPECT_FALSE(read(pt(35, 139)).name_present[0]);
}

TEST(GpxReader, PointRecordFields)
{
  auto d = read("<trk>" + pt(35, 139, "<ele>100</ele><time>2019-05-03T01:02:03Z</time>") +
                pt(35, 139.001, "<ele>abc</ele>") + pt(35, 139.002) + "</trk>");
  const auto& p = d.tracks[0].points;
  ASSERT_EQ(p.size(), 3u);
  EXPECT_EQ(std::tuple(p[0].x, p[0].y), std::tuple(int32_t(pixelFromLon(18, 139.0)), int32_t(pixelFromLat(18, 35.0))));
  EXPECT_TRUE(p[0].dist == 0.0f && p[0].time && !p[1].time);
  EXPECT_EQ((std::array{p[0].elev, p[1].elev, p[2].elev}), (std::array{100.0f, 0.0f, kUnknownElevation}));  // not a number: 0
  EXPECT_EQ(p[1].seg_dist, static_cast<float>(calcDistHubeny(35.0, 139.0, 35.0, 139.001)));
  EXPECT_EQ(p[2].dist, p[1].seg_dist + p[2].seg_dist);
}

TEST(GpxReader, UnusableCoordinatesSkipThePointAndOutsideFlag)
{
  auto d = read("<trk><trkpt lat=\"35\"><ele>5</ele></trkpt><trkpt lat=\"\" lon=\"139\"/><trkpt lat=\"90\" lon=\"139\"/>"
                "<trkpt lat=\"-90.5\" lon=\"139\"/><trkpt lat=\"35\" lon=\"180.1\"/><trkpt lat=\"1e308\" lon=\"1e308\"/>"
                "<trkpt lat=\"35\" lon=\"1e999\"/>" +
                pt(35, 139) + "<trkpt lat=\"89.9\" lon=\"-180\"/></trk><wpt lat=\"95\" lon=\"0\"><name>x</name></wpt>");
  ASSERT_EQ(d.tracks.size(), 1u);
  ASSERT_EQ(d.tracks[0].points.size(), 2u);
  EXPECT_TRUE(std::isfinite(d.tracks[0].points[1].seg_dist) && d.outside && d.waypoints.empty());
  EXPECT_FALSE(read("<trk>" + pt(24.4, 124.19) + "</trk>").outside);
  EXPECT_FALSE(read("<wpt lat=\"0\" lon=\"0\"/>").outside);  // waypoints do not count
}

TEST(GpxReader, WayPointsAndTheLookAhead)
{
  auto d = read("<wpt lat=\"35.5\" lon=\"139.25\"><ele>12.5</ele><name>\n   山頂::頂上\n</name><sym>x</sym></wpt>"
                "<wpt lat=\"35\" lon=\"139\"/>");
  ASSERT_EQ(d.waypoints.size(), 2u);
  EXPECT_EQ(std::tuple(d.waypoints[0].name, d.waypoints[0].elev, d.waypoints[0].x, d.waypoints[1].elev),
            std::tuple(std::string("山頂::頂上"), 12.5f, int32_t(pixelFromLon(18, 139.25)), kUnknownElevation));
  EXPECT_TRUE(d.invalid_wp);
  EXPECT_FALSE(read("<wpt lat=\"35\" lon=\"139\"><ele>1</ele></wpt>").invalid_wp);
  // Routes are not read, but a route's name and ele are taken by the waypoint before it.
  auto r = read("<wpt lat=\"35\" lon=\"139\"><name>W</name></wpt><rte><name>R</name><rtept lat=\"35\" lon=\"139\">"
                "<ele>42</ele></rtept></rte><trk><name>T</name>" + pt(35, 139, "<name>P</name>") + "</trk>");
  ASSERT_EQ(r.waypoints.size(), 1u);
  EXPECT_EQ(std::tuple(r.waypoints[0].name, r.waypoints[0].elev), std::tuple(std::string("R"), 42.0f));
  ASSERT_EQ(r.tracks.size(), 1u);
  EXPECT_EQ(r.tracks[0].name, "T");  // the point's look-ahead swallowed its name
  EXPECT_TRUE(read("<rte><name>R</name><rtept lat=\"35\" lon=\"139\"/></rte>").tracks.empty());
  // Namespaces play no part.
  auto n = parseGPX("<g:gpx xmlns:g=\"urn:x\"><g:wpt g:lat=\"35\" lon=\"139\"><g:name>N</g:name></g:wpt></g:gpx>");
  ASSERT_EQ(n.data.waypoints.size(), 1u);
  EXPECT_EQ(n.data.waypoints[0].name, "N");
}

TEST(GpxReader, ValidTimeRule)
{
  // n points; the first k − 1 timed a second apart and the last at `span` seconds.
  const std::tuple<int, int, double, bool> cases[] = {
      {10, 8, 11, true},  {10, 7, 11, false}, {10, 8, 10, false},  // more than 10 s
      {10, 8, 10.001, true}, {4, 3, 20, true}, {4, 2, 20, false},   // ⌊n × 80 / 100⌋ timed
      {1, 1, 0, false},   {0, 0, 0, false},   {2, 2, -5, false}};   // last minus first
  for (const auto& [n, k, span, valid] : cases) {
    std::vector<Track> t(n);
    for (int i = 0; i + 1 < k; ++i) t[i].time = TimePoint{std::chrono::seconds(i)};
    if (k > 0) t[n - 1].time = TimePoint{std::chrono::milliseconds(static_cast<long long>(span * 1000))};
    EXPECT_EQ(checkValidTime(t), valid) << n << " " << k << " " << span;
  }
}

// Every corpus file loads, and what the reader finds matches an independent count
// (tests/fixtures/gpx/corpus-counts.txt, made and checked with tests/gpx/independent_counts.py).
TEST(CorpusCount, EveryFileMatchesTheIndependentCount)
{
  TW_REQUIRE_CORPUS();
  std::map<std::string, std::string> expected;
  std::istringstream lines(twtest::readFile(twtest::fixture("gpx/corpus-counts.txt")));
  for (std::string line; std::getline(lines, line);)
    if (!line.empty() && line[0] != '#') expected[line.substr(0, line.find(' '))] = line.substr(line.find(' ') + 1);
  ASSERT_GT(expected.size(), 20u);
  size_t seen = 0;
  for (const auto& e : std::filesystem::directory_iterator(twtest::corpusDir() + "/gpx")) {
    const std::string name = e.path().filename().string();
    const auto it = expected.find(name);
    ASSERT_NE(it, expected.end()) << name << " is new in the corpus: add its independent count";
    const auto r = parseGPX(twtest::readFile(e.path()));
    ASSERT_TRUE(r.ok()) << name;
    EXPECT_EQ(countJson(r.data), it->second) << name;
    ++seen;
  }
  EXPECT_EQ(seen, expected.size());
}

TEST(CorpusCount, UnnamedAndEscapedNames)
{
  auto r = parseGPX("<gpx><trkpt lat=\"35\" lon=\"139\"/><trk><name>a\"b\\c\nd</name><trkpt lat=\"35\" lon=\"139\"/>"
                    "</trk><wpt lat=\"1\" lon=\"2\"/></gpx>");
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(countJson(r.data),
            R"({"tracks": [{"name": null, "points": 1, "timed": 0, "valid_time": false, "stable": 1}, )"
            R"({"name": "a\"b\\c\nd", "points": 1, "timed": 0, "valid_time": false, "stable": 1}], )"
            R"("waypoints": 1, "waypoints_without_elev": 1, "outside": false})");
}

// Untrusted bytes: nothing outside the text is ever read, entities are never expanded, and no
// input crashes or hangs the reader.
namespace {

GpxReadResult readFixture(const std::string& name) { return parseGPX(twtest::readFile(twtest::fixture("gpx/hostile/" + name))); }

}  // namespace

TEST(HostileInput, BrokenFilesAreErrorsNonGpxIsEmpty)
{
  const std::pair<const char*, GpxReadError> files[] = {
      {"empty.gpx", GpxReadError::NotWellFormed},        {"truncated.gpx", GpxReadError::NotWellFormed},
      {"binary.gpx", GpxReadError::NotUtf8},             {"latin1-bytes.gpx", GpxReadError::NotUtf8},
      {"billion-laughs.gpx", GpxReadError::NotWellFormed}, {"billion-laughs-attribute.gpx", GpxReadError::NotWellFormed},
      {"external-entity.gpx", GpxReadError::NotWellFormed}, {"not-gpx.xml", GpxReadError::None}};
  for (const auto& [name, error] : files) {
    const auto r = readFixture(name);
    EXPECT_EQ(r.error, error) << name;
    EXPECT_TRUE(r.data.waypoints.empty() && r.data.tracks.empty()) << name;
  }
  // Truncated anywhere: never a partial document.
  const std::string whole = twtest::readFile(twtest::fixture("gpx/hostile/truncated.gpx"));
  for (size_t n = 0; n < whole.size(); n += 7) EXPECT_FALSE(parseGPX(whole.substr(0, n)).ok()) << n;
  // Declared but unused entities are harmless; predefined and character references are text.
  auto ok = parseGPX("<!DOCTYPE gpx [<!ENTITY x \"y\">]><gpx><wpt lat=\"3&#x35;\" lon=\"139\"><name>&lt;&#x41;&gt;</name></wpt></gpx>");
  ASSERT_EQ(ok.data.waypoints.size(), 1u);
  EXPECT_EQ(std::tuple(ok.data.waypoints[0].lat, ok.data.waypoints[0].name), std::tuple(35.0, std::string("<A>")));
}

TEST(HostileInput, NothingIsFetched)
{
  twtest::LoopbackHttpServer server;
  ASSERT_TRUE(server.start());
  server.setBody("/x.dtd", "<!ENTITY e \"from dtd\">");
  server.setBody("/e.txt", "fetched");
  server.setBody("/p.ent", "<!ENTITY q \"from pe\">");
  const std::string b = server.baseUrl();
  const std::string docs[] = {
      "<!DOCTYPE gpx SYSTEM \"" + b + "/x.dtd\"><gpx><wpt lat=\"35\" lon=\"139\"><name>n</name></wpt></gpx>",
      "<!DOCTYPE gpx [<!ENTITY e SYSTEM \"" + b + "/e.txt\">]><gpx><wpt lat=\"35\" lon=\"139\"><name>&e;</name></wpt></gpx>",
      "<!DOCTYPE gpx [<!ENTITY % p SYSTEM \"" + b + "/p.ent\"> %p;]><gpx><wpt lat=\"35\" lon=\"139\"><name>n</name></wpt></gpx>",
      "<?xml-stylesheet href=\"" + b + "/s.xsl\"?><gpx xmlns:xi=\"http://www.w3.org/2001/XInclude\"><xi:include href=\"" + b +
          "/e.txt\" parse=\"text\"/></gpx>",
  };
  for (const auto& d : docs)
    for (const auto& w : parseGPX(d).data.waypoints) EXPECT_EQ(w.name, "n");
  EXPECT_EQ(server.requestCount(), 0u);
  // An external DTD that is never loaded does not stop the file from loading.
  EXPECT_TRUE(parseGPX(docs[0]).ok());
}

TEST(HostileInput, DeepNestingAndLongTextDoNotCrash)
{
  std::string deep = "<gpx>";
  for (int i = 0; i < 100000; ++i) deep += "<name>";
  EXPECT_FALSE(parseGPX(deep).ok());
  std::string nested = "<gpx>";
  for (int i = 0; i < 200; ++i) nested += "<name>x";
  for (int i = 0; i < 200; ++i) nested += "</name>";
  EXPECT_EQ(parseGPX(nested + "<wpt lat='35' lon='139'/></gpx>").data.waypoints.size(), 1u);
  auto l = parseGPX("<gpx><wpt lat='35' lon='139'><name>" + std::string(5'000'000, 'a') + "</name></wpt></gpx>");
  ASSERT_EQ(l.data.waypoints.size(), 1u);
  EXPECT_EQ(l.data.waypoints[0].name.size(), 5'000'000u);
}


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
