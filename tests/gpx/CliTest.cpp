// tarnwick-cli count, roundtrip and info, run as a process.
#include <gtest/gtest.h>
#include <libxml/xmlschemas.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/TestPaths.h"

namespace {

struct Run {
  int status;
  std::string out;
  std::string err;
};

Run run(const std::string& args)
{
  const auto errFile = std::filesystem::temp_directory_path() / ("tw_cli_err_" + std::to_string(::getpid()));
  const std::string cmd = std::string("'") + TW_CLI + "' " + args + " 2>'" + errFile.string() + "'";
  Run r{-1, "", ""};
  FILE* p = ::popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  const int st = ::pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  r.err = twtest::readFile(errFile.string());
  std::filesystem::remove(errFile);
  return r;
}

std::string quoted(const std::string& s) { return "'" + s + "'"; }

std::filesystem::path tempPath(const std::string& name)
{
  return std::filesystem::temp_directory_path() / ("tw_cli_" + std::to_string(::getpid()) + "_" + name);
}

// Validates files against one XML schema in-process; libxml2 prints the details on stderr.
class SchemaValidator {
 public:
  explicit SchemaValidator(const std::string& xsd)
  {
    std::unique_ptr<xmlSchemaParserCtxt, decltype(&xmlSchemaFreeParserCtxt)> pc(xmlSchemaNewParserCtxt(xsd.c_str()),
                                                                              xmlSchemaFreeParserCtxt);
    if (pc) schema_.reset(xmlSchemaParse(pc.get()));
    if (schema_) ctxt_.reset(xmlSchemaNewValidCtxt(schema_.get()));
  }
  bool ready() const { return ctxt_ != nullptr; }
  bool valid(const std::string& path) { return xmlSchemaValidateFile(ctxt_.get(), path.c_str(), 0) == 0; }

 private:
  std::unique_ptr<xmlSchema, decltype(&xmlSchemaFree)> schema_{nullptr, xmlSchemaFree};
  std::unique_ptr<xmlSchemaValidCtxt, decltype(&xmlSchemaFreeValidCtxt)> ctxt_{nullptr, xmlSchemaFreeValidCtxt};
};

}  // namespace

TEST(Cli, CountPrintsOneJsonObject)
{
  const auto r = run("count " + quoted(twtest::fixture("gpx/golden/two-tracks.in.gpx")));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            R"({"tracks": [{"name": "day1", "points": 3, "timed": 2, "valid_time": false, "stable": 1}, )"
            R"({"name": "", "points": 1, "timed": 0, "valid_time": false, "stable": 1}], )"
            R"("waypoints": 3, "waypoints_without_elev": 1, "outside": true})"
            "\n");
  EXPECT_EQ(r.err, "");
}

TEST(Cli, BadInputFailsWithOneLine)
{
  for (const char* f : {"hostile/binary.gpx", "hostile/empty.gpx", "hostile/truncated.gpx", "hostile/billion-laughs.gpx",
                        "does-not-exist.gpx"}) {
    const auto r = run("count " + quoted(twtest::fixture(std::string("gpx/") + f)));
    EXPECT_NE(r.status, 0) << f;
    EXPECT_EQ(r.out, "") << f;
    ASSERT_FALSE(r.err.empty()) << f;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << f;
  }
  EXPECT_NE(run("count").status, 0);
}

TEST(Cli, RoundtripWritesTheWriterText)
{
  const auto out = std::filesystem::temp_directory_path() / ("tw_cli_rt_" + std::to_string(::getpid()) + ".gpx");
  const auto r = run("roundtrip " + quoted(twtest::fixture("gpx/golden/two-tracks.in.gpx")) + " " + quoted(out.string()));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(twtest::readFile(out.string()), twtest::readFile(twtest::fixture("gpx/golden/two-tracks.out.gpx")));
  std::filesystem::remove(out);
  const auto bad = run("roundtrip " + quoted(twtest::fixture("gpx/golden/two-tracks.in.gpx")) + " /nonexistent-dir/x.gpx");
  EXPECT_NE(bad.status, 0);
  EXPECT_FALSE(bad.err.empty());
}

TEST(Cli, RoundtripWritesValidGpx11)
{
  TW_REQUIRE_CORPUS();
  SchemaValidator gpx11(twtest::corpusDir() + "/schema/gpx11.xsd");
  ASSERT_TRUE(gpx11.ready());
  std::vector<std::filesystem::path> inputs;
  for (const auto& dir : {twtest::fixture("gpx/golden"), twtest::corpusDir() + "/gpx"})
    for (const auto& e : std::filesystem::directory_iterator(dir))
      if (e.path().extension() == ".gpx" && !e.path().string().ends_with(".out.gpx")) inputs.push_back(e.path());
  const auto out = tempPath("valid.gpx");
  for (const auto& in : inputs) {
    const auto r = run("roundtrip " + quoted(in.string()) + " " + quoted(out.string()));
    ASSERT_EQ(r.status, 0) << in << ": " << r.err;
    EXPECT_TRUE(gpx11.valid(out.string())) << in.filename();
  }
  std::filesystem::remove(out);
  EXPECT_GT(inputs.size(), 20u);
}

TEST(Cli, InfoWithoutTracksKeepsTheStartSpan)
{
  const std::pair<const char*, const char*> files[] = {
      {"waypoints", "<wpt lat='35.5' lon='139.5'><ele>100</ele><name>a</name></wpt>"},
      {"route", "<rte><rtept lat='35.5' lon='139.5'/><rtept lat='35.6' lon='139.6'/></rte>"},
  };
  for (const auto& [name, body] : files) {
    const auto in = tempPath(std::string(name) + ".gpx");
    std::ofstream(in) << "<?xml version='1.0'?><gpx version='1.1' xmlns='http://www.topografix.com/GPX/1/1'>" << body
                      << "</gpx>";
    const auto r = run("info --json " + quoted(in.string()));
    EXPECT_EQ(r.status, 0) << name << ": " << r.err;
    EXPECT_NE(r.out.find("\"span\": 1,"), std::string::npos) << name << ": " << r.out;
    std::filesystem::remove(in);
  }
}
