// The update notice reader on good, partial and hostile texts.
#include <gtest/gtest.h>

#include <string>

#include "gpx/UpdateNotice.h"

using tw::parseUpdateNotice;

TEST(UpdateNotice, ReadsItsElementsAtAnyDepthTheLastOneCounting)
{
  const auto n = parseUpdateNotice(
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><n:a xmlns:n=\"urn:x\"><version><n:latest> -0</n:latest>"
      "<message>x</message></version><message>新版が<![CDATA[あります]]>。<b>!</b></message></n:a>");
  ASSERT_TRUE(n);
  EXPECT_EQ(n->latest, false);
  EXPECT_EQ(n->message, "新版があります。!");
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
