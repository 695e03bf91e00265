// Texts: time stamps, numbers, white space and UTF-8; link patterns; the update notice reader.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "gpx/GpxText.h"
#include "gpx/LinkPatterns.h"
#include "gpx/UpdateNotice.h"

using namespace tw;

TEST(GpxText, TimeStampsAreStrictAndFormattedToWholeSeconds)
{
  using namespace std::chrono;
  EXPECT_EQ(parseGpxTime("2019-05-03T01:02:03Z")->time_since_epoch(),
            duration_cast<milliseconds>(sys_days{2019y / 5 / 3}.time_since_epoch() + 1h + 2min + 3s));
  EXPECT_EQ(parseGpxTime("2020-02-29T23:59:59.999Z")->time_since_epoch() % 1000, milliseconds(999));
  for (const char* bad : {"2019-02-29T00:00:00Z", "2019-13-01T00:00:00Z", "2019-05-03T24:00:00Z", "2019-05-03T01:60:00Z",
                          "2019-05-03T01:02:60Z", "2019-05-03T01:02:03.2Z", "2019-05-03T01:02:03.25Z",
                          "2019-05-03T01:02:03.2500Z", "2019-05-03T01:02:03z", "2019-05-03T01:02:03", " 2019-05-03T01:02:03Z",
                          "2019-05-03 01:02:03Z", "2019-05-03T01:02:03+00:00", "0000-01-01T00:00:00Z", "2019-5-3T1:2:3Z", ""})
    EXPECT_FALSE(parseGpxTime(bad)) << bad;
  EXPECT_EQ(formatGpxTime(*parseGpxTime("2019-05-03T01:02:03.999Z")), "2019-05-03T01:02:03Z");
  EXPECT_EQ(formatGpxTime(*parseGpxTime("0001-01-01T00:00:00Z")), "0001-01-01T00:00:00Z");
  EXPECT_EQ(formatGpxTime(TimePoint{milliseconds(-1)}), "1969-12-31T23:59:59Z");
}

TEST(GpxText, LeadingNumbersAndElevations)
{
  const std::pair<std::string, double> numbers[] = {
      {"12.5m", 12.5}, {" \n\t+7", 7.0}, {"\xE3\x80\x80" "3", 3.0} /* ideographic space */, {"-.5", -0.5},
      {"1e3", 1000.0}, {"0x10", 0.0},    {"1e400", HUGE_VAL},   {"-1e400", -HUGE_VAL},  {"1e-400", 0.0},
      {"1" + std::string(400, '0'), HUGE_VAL}, {"0." + std::string(400, '0') + "1", 0.0}};
  for (const auto& [text, v] : numbers) EXPECT_EQ(leadingDouble(text), v) << text;
  for (const char* zero : {"", "abc", "inf", "nan", "-", ".", "+-1", "e5"}) EXPECT_EQ(leadingDouble(zero), 0.0) << zero;
  const std::pair<const char*, float> elevations[] = {{"3800", 3800.0f}, {"3800.0001", 3800.0f} /* the same float */,
                                                      {"3800.01", -100.0f}, {"-0.01", -100.0f}, {"1e39", -100.0f},
                                                      {"x", 0.0f}};
  for (const auto& [text, e] : elevations) EXPECT_EQ(elevationFromText(text), e) << text;
}

TEST(GpxText, TrimmingAndUtf8)
{
  EXPECT_EQ(trimWhitespace(" \r\n\xE3\x80\x80" "日本二百名山８３座目　暑寒別岳\xC2\xA0\t"), "日本二百名山８３座目　暑寒別岳");
  EXPECT_EQ(trimWhitespace("\xE2\x80\xA8"), "");
  EXPECT_EQ(trimWhitespace("a\xE3\x80"), "a\xE3\x80");  // a cut character is not white space
  EXPECT_TRUE(isValidUtf8("晴れ山へ٩( 'ω' )و🌞"));
  EXPECT_TRUE(isValidUtf8(std::string("a\0b", 3)));
  // Overlong, surrogate, above U+10FFFF, cut at the end after an ASCII run.
  for (const char* bad : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "abcdefgh\xE3\x80"})
    EXPECT_FALSE(isValidUtf8(bad)) << bad;
}

TEST(LinkPatterns, KindsInOrder)
{
  const std::pair<std::string, LinkKind> cases[] = {
      {"/Users/a/Walk.gpx", LinkKind::GpxPath},
      {"/Users/a/Walk.GPX", LinkKind::None},  // case-sensitive
      {"Walk.gpx", LinkKind::None},
      {"/.gpx", LinkKind::None},     // ".+" needs a character
      {"/abgpx", LinkKind::GpxPath},  // the dots match anything
      {"http://example.com/route.gpx", LinkKind::GpxUrl},
      {"https://example.com/page.html", LinkKind::None},
      {"https://www.yamareco.com/modules/yamareco/detail-12345.html", LinkKind::Yamareco},
      {"https://www.yamareco.com/detail-12345.html", LinkKind::None},  // "/.+/" needs a folder
      {"https://latlonglab.yahoo.co.jp/route/watch?id=abc", LinkKind::LatLongLab},
      {"https://yamap.com/activities/987654", LinkKind::Yamap},
      {"https://yamap.com/activities/1/x.gpx", LinkKind::Yamap},  // service pages come first
      {"https://yamap.com/activities/", LinkKind::None},
      {"", LinkKind::None},
      // Long candidates skip the backtracking patterns and still match the plain ones.
      {"http://" + std::string(1 << 20, 'a') + "/x.gpx", LinkKind::GpxUrl},
      {std::string(1 << 20, '/'), LinkKind::None},
  };
  for (const auto& [text, kind] : cases) EXPECT_EQ(matchLink(text), kind) << text.substr(0, 80);
  EXPECT_TRUE(acceptableObject("/a/b.gpx"));
  EXPECT_FALSE(acceptableObject("b.gpx"));
}

// Download address and document name of each kind of link, with the real hosts.
TEST(LinkPatterns, DownloadAddressesAndNames)
{
  const char* const cases[][3] = {
      {"https://www.yamareco.com/pf/detail-12345.html", "https://www.yamareco.com/pf/track-12345.gpx", "track-12345.gpx"},
      // Every "detail" and ".html" is replaced; the host's dots match any character.
      {"https://wwwXyamarecoYcom/detail.html/detail-7.html", "https://wwwXyamarecoYcom/track.gpx/track-7.gpx", "track-7.gpx"},
      {"https://latlonglab.yahoo.co.jp/route/watch?id=abc", "https://latlonglab.yahoo.co.jp/route/get?id=abc&format=gpx",
       "get?id=abc&format=gpx"},
      {"https://yamap.com/activities/987654", "https://api.yamap.com/activities/987654/points.xml", "points-987654.gpx"},
      // Nothing after the last "/": no proposed name, the address names the document.
      {"https://yamap.com/activities/987654/", "https://api.yamap.com/activities/987654//points.xml", "points.xml"},
      // A beginning other than the site prefix keeps its host.
      {"http://yamap.com/activities/987654", "http://yamap.com/activities/987654/points.xml", "points-987654.gpx"},
      {"https://m.yamap.com/activities/5", "https://m.yamap.com/activities/5/points.xml", "points-5.gpx"},
      {"https://example.com/files/route.gpx", "https://example.com/files/route.gpx", "route.gpx"},
  };
  for (const auto& c : cases) {
    const auto w = webLink(c[0], ServiceHosts{});
    ASSERT_TRUE(w) << c[0];
    EXPECT_EQ(w->address + " " + w->name, std::string(c[1]) + " " + c[2]);
  }
  for (const char* none : {"/home/a/walk.gpx", "https://example.com/page.html", "https://yamap.com/activities/x"})
    EXPECT_FALSE(webLink(none, ServiceHosts{})) << none;
}

// The update root: the variable before the setting, no trailing "/", empty when neither.
TEST(LinkPatterns, UpdateRoot)
{
  EXPECT_EQ(updateBase(""), "");
  setenv("TARNWICK_UPDATE_BASE", "http://127.0.0.1:1/", 1);
  EXPECT_EQ(updateNoticeUrl(updateBase("https://u.example")), "http://127.0.0.1:1/version/version1.2.10.xml");
  unsetenv("TARNWICK_UPDATE_BASE");
}

TEST(UpdateNotice, ReadsItsElementsAtAnyDepthTheLastOneCounting)
{
  const auto n = parseUpdateNotice(
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><n:a xmlns:n=\"urn:x\"><version><n:latest> -0</n:latest>"
      "<message>x</message></version><message>新版が<![CDATA[あります]]>。<b>!</b></message></n:a>");
  ASSERT_TRUE(n);
  EXPECT_EQ(n->message, "新版があります。!");
  EXPECT_EQ(n->latest, false);
  EXPECT_FALSE(n->url);  // omitted: stays absent
  for (auto [text, flag] : {std::pair{"1", true}, {" \n+2x", true}, {"99999999999999999999", true}, {"", false},
                            {"yes", false}})
    EXPECT_EQ(tw::noticeFlag(text), flag) << text;
}

TEST(UpdateNotice, TextsThatAreNoNotice)
{
  for (const std::string& bad : {
           std::string("<notice><message>x</message></notice>"),                  // no <version>
           std::string("<version><message>x</message>"),                          // not well-formed
           std::string("<version><message>\xff</message></version>"),             // not UTF-8
           std::string("<!DOCTYPE v [<!ENTITY e \"x\">]><version><message>&e;</message></version>"),
           std::string("<!DOCTYPE v SYSTEM \"file:///etc/passwd\"><version/>"),   // nothing outside is read
           "<version>" + std::string(tw::kMaxUpdateNoticeBytes, ' ') + "</version>",
       })
    EXPECT_FALSE(parseUpdateNotice(bad)) << bad.substr(0, 60);
}
