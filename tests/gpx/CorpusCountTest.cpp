// Every corpus file loads, and what the reader finds matches an independent count
// (tests/fixtures/gpx/corpus-counts.txt, made and checked with tests/gpx/independent_counts.py).
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "gpx/GpxReader.h"
#include "gpx/GpxSummary.h"
#include "support/TestPaths.h"

using namespace tw;

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
