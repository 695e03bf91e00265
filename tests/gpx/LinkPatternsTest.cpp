#include <gtest/gtest.h>

#include <string>

#include "gpx/LinkPatterns.h"

using namespace tw;

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
