// Untrusted bytes: nothing outside the text is ever read, entities are never expanded, and no
// input crashes or hangs the reader.
#include <gtest/gtest.h>

#include <string>

#include "gpx/GpxReader.h"
#include "support/LoopbackHttpServer.h"
#include "support/TestPaths.h"

using namespace tw;

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
