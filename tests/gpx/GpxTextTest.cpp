#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "gpx/GpxText.h"

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
