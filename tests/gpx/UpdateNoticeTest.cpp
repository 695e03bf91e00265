// The update notice reader on good, partial and hostile texts.
#include <gtest/gtest.h>

#include <string>

#include "gpx/UpdateNotice.h"

using tw::parseUpdateNotice;

TEST(UpdateNotice, ReadsTheThreeElementsAtAnyDepth)
{
  const auto n = parseUpdateNotice(
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<n:notice xmlns:n=\"urn:x\"><version><n:latest> 0</n:latest>"
      "<message>新しい版が<![CDATA[あります]]>。<b>!</b></message></version><url>https://a.example/x</url>"
      "<message>後のものが残る</message></n:notice>");
  ASSERT_TRUE(n);
  EXPECT_EQ(n->latest, false);
  EXPECT_EQ(n->message, "後のものが残る");
  EXPECT_EQ(n->url, "https://a.example/x");
  // Omitted elements stay absent.
  const auto bare = parseUpdateNotice("<version><message>新しい版が<![CDATA[あります]]>。<b>!</b></message></version>");
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->message, "新しい版があります。!");
  EXPECT_FALSE(bare->latest);
  EXPECT_FALSE(bare->url);
}

TEST(UpdateNotice, TextsThatAreNoNotice)
{
  for (const std::string& bad : {
           std::string(),
           std::string("<notice><message>x</message></notice>"),                  // no <version>
           std::string("<version><message>x</message>"),                          // not well-formed
           std::string("<version><message>\xff</message></version>"),             // not UTF-8
           std::string("<!DOCTYPE v [<!ENTITY e \"x\">]><version><message>&e;</message></version>"),
           std::string("<!DOCTYPE v SYSTEM \"file:///etc/passwd\"><version/>"),   // nothing outside is read
           std::string("<version><message>&undeclared;</message></version>"),
           "<version>" + std::string(tw::kMaxUpdateNoticeBytes, ' ') + "</version>",
       })
    EXPECT_FALSE(parseUpdateNotice(bad)) << bad.substr(0, 60);
}

TEST(UpdateNotice, LatestReadsAsAnInteger)
{
  const std::pair<const char*, bool> cases[] = {{"1", true},    {" \n+2", true}, {"-3x", true},  {"0", false},
                                                {"-0", false},  {"", false},     {"yes", false}, {"0001", true},
                                                {"99999999999999999999", true}};
  for (auto [text, flag] : cases) EXPECT_EQ(tw::noticeFlag(text), flag) << text;
}
