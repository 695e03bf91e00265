#include <gtest/gtest.h>

#include <string>

#include "gpx/LinkPatterns.h"

using namespace tw;

TEST(LinkPatterns, LocalPathsAndDirectLinks)
{
  EXPECT_EQ(matchLink("/Users/a/Walk.gpx"), LinkKind::GpxPath);
  EXPECT_EQ(matchLink("/Users/a/Walk.GPX"), LinkKind::None);  // case-sensitive
  EXPECT_EQ(matchLink("Walk.gpx"), LinkKind::None);
  EXPECT_EQ(matchLink("/.gpx"), LinkKind::None);     // ".+" needs a character
  EXPECT_EQ(matchLink("/abgpx"), LinkKind::GpxPath);  // the dots match anything
  EXPECT_EQ(matchLink("/xgpx"), LinkKind::None);
  EXPECT_EQ(matchLink("http://example.com/route.gpx"), LinkKind::GpxUrl);
  EXPECT_EQ(matchLink("https://example.com/route.gpx?x=1"), LinkKind::GpxUrl);
  EXPECT_EQ(matchLink("https://example.com/page.html"), LinkKind::None);
}

TEST(LinkPatterns, ServicePagesComeFirst)
{
  EXPECT_EQ(matchLink("https://www.yamareco.com/modules/yamareco/detail-12345.html"), LinkKind::Yamareco);
  EXPECT_EQ(matchLink("https://www.yamareco.com/detail-12345.html"), LinkKind::None);  // "/.+/" needs a folder
  EXPECT_EQ(matchLink("https://latlonglab.yahoo.co.jp/route/watch?id=abc"), LinkKind::LatLongLab);
  EXPECT_EQ(matchLink("https://yamap.com/activities/987654"), LinkKind::Yamap);
  EXPECT_EQ(matchLink("https://yamap.com/activities/"), LinkKind::None);
  EXPECT_TRUE(acceptableObject("https://yamap.com/activities/1/x.gpx"));
  EXPECT_FALSE(acceptableObject(""));
}

TEST(LinkPatterns, LongCandidatesAreSafe)
{
  const std::string longText = "http://" + std::string(1 << 20, 'a') + "/x.gpx";
  EXPECT_EQ(matchLink(longText), LinkKind::GpxUrl);
  EXPECT_EQ(matchLink(std::string(1 << 20, '/')), LinkKind::None);
}
