#include <gtest/gtest.h>

#include <cstdlib>
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
