// tarnwick-cli count, roundtrip and info, run as a process.
#include <gtest/gtest.h>
#include <libxml/xmlschemas.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/TestPaths.h"

namespace {

namespace fs = std::filesystem;
using twtest::quoted;

fs::path tempPath(const std::string& name)
{
  return fs::temp_directory_path() / ("tw_cli_" + std::to_string(::getpid()) + "_" + name);
}

twtest::RunResult run(const std::string& args) { return twtest::runCommand(quoted(TW_CLI) + " " + args); }

const std::string kTwoTracks = twtest::fixture("gpx/golden/two-tracks.in.gpx");

}  // namespace

TEST(Cli, CountAndRoundtripOfTheGoldenFileAndOneErrorLineForBadInput)
{
  const auto r = run("count " + quoted(kTwoTracks));
  EXPECT_TRUE(r.status == 0 && r.err.empty()) << r.err;
  EXPECT_EQ(r.out,
            R"({"tracks": [{"name": "day1", "points": 3, "timed": 2, "valid_time": false, "stable": 1}, )"
            R"({"name": "", "points": 1, "timed": 0, "valid_time": false, "stable": 1}], )"
            R"("waypoints": 3, "waypoints_without_elev": 1, "outside": true})"
            "\n");
  const auto out = tempPath("rt.gpx");
  EXPECT_EQ(run("roundtrip " + quoted(kTwoTracks) + " " + quoted(out)).status, 0);
  EXPECT_EQ(twtest::readFile(out), twtest::readFile(twtest::fixture("gpx/golden/two-tracks.out.gpx")));
  fs::remove(out);
  for (const std::string& args : {"count " + quoted(twtest::fixture("gpx/hostile/truncated.gpx")), std::string("count no.gpx"),
                                 std::string("count"), "roundtrip " + quoted(kTwoTracks) + " /nonexistent-dir/x.gpx"}) {
    const auto bad = run(args);
    EXPECT_TRUE(bad.status != 0 && bad.out.empty()) << args;
    EXPECT_TRUE(!bad.err.empty() && bad.err.find('\n') == bad.err.size() - 1) << args << ": " << bad.err;
  }
}

// Every fixture and corpus file written again is valid GPX 1.1, reads back to what was read
// (names, point and timed counts, time validity, waypoints without elevation) and, written once
// more, gives the same text.
TEST(Cli, RoundtripWritesValidGpx11ThatReadsTheSame)
{
  TW_REQUIRE_CORPUS();
  xmlSchemaParserCtxtPtr pc = xmlSchemaNewParserCtxt((twtest::corpusDir() + "/schema/gpx11.xsd").c_str());
  xmlSchemaPtr schema = xmlSchemaParse(pc);
  xmlSchemaFreeParserCtxt(pc);
  ASSERT_NE(schema, nullptr);
  xmlSchemaValidCtxtPtr valid = xmlSchemaNewValidCtxt(schema);
  std::vector<fs::path> inputs;
  for (const auto& dir : {twtest::fixture("gpx/golden"), twtest::corpusDir() + "/gpx"})
    for (const auto& e : fs::directory_iterator(dir))
      if (e.path().extension() == ".gpx" && !e.path().string().ends_with(".out.gpx")) inputs.push_back(e.path());
  const auto out = tempPath("valid.gpx"), again = tempPath("again.gpx");
  for (const auto& in : inputs) {
    const auto r = run("roundtrip " + quoted(in) + " " + quoted(out));
    ASSERT_EQ(r.status, 0) << in << ": " << r.err;
    EXPECT_EQ(xmlSchemaValidateFile(valid, out.c_str(), 0), 0) << in.filename();  // libxml2 prints why
    EXPECT_EQ(run("count " + quoted(out)).out, run("count " + quoted(in)).out) << in.filename();
    EXPECT_EQ(run("roundtrip " + quoted(out) + " " + quoted(again)).status, 0);
    EXPECT_EQ(twtest::readFile(again), twtest::readFile(out)) << in.filename();
  }
  fs::remove(out), fs::remove(again);
  xmlSchemaFreeValidCtxt(valid);
  xmlSchemaFree(schema);
  EXPECT_GT(inputs.size(), 20u);
}

TEST(Cli, InfoWithoutTracksKeepsTheStartSpan)
{
  for (const char* body : {"<wpt lat='35.5' lon='139.5'><ele>100</ele><name>a</name></wpt>",
                           "<rte><rtept lat='35.5' lon='139.5'/><rtept lat='35.6' lon='139.6'/></rte>"}) {
    const auto in = tempPath("notracks.gpx");
    std::ofstream(in) << "<?xml version='1.0'?><gpx version='1.1' xmlns='http://www.topografix.com/GPX/1/1'>" << body
                      << "</gpx>";
    const auto r = run("info --json " + quoted(in));
    EXPECT_TRUE(r.status == 0 && r.out.find("\"span\": 1,") != std::string::npos) << body << ": " << r.err << r.out;
    fs::remove(in);
  }
}
