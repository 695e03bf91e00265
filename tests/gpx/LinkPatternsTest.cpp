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
  struct Case {
    const char* link;
    LinkKind kind;
    const char* address;
    const char* name;
  };
  const Case cases[] = {
      {"https://www.yamareco.com/pf/detail-12345.html", LinkKind::Yamareco,
       "https://www.yamareco.com/pf/track-12345.gpx", "track-12345.gpx"},
      // Every "detail" and every ".html" is replaced.
      {"https://www.yamareco.com/detail.html/detail-7.html", LinkKind::Yamareco,
       "https://www.yamareco.com/track.gpx/track-7.gpx", "track-7.gpx"},
      // The host's dots match any character.
      {"https://wwwXyamarecoYcom/a/detail-1.html", LinkKind::Yamareco, "https://wwwXyamarecoYcom/a/track-1.gpx",
       "track-1.gpx"},
      {"https://latlonglab.yahoo.co.jp/route/watch?id=abc", LinkKind::LatLongLab,
       "https://latlonglab.yahoo.co.jp/route/get?id=abc&format=gpx", "get?id=abc&format=gpx"},
      {"https://yamap.com/activities/987654", LinkKind::Yamap, "https://api.yamap.com/activities/987654/points.xml",
       "points-987654.gpx"},
      // Nothing after the last "/": no proposed name, the address names the document.
      {"https://yamap.com/activities/987654/", LinkKind::Yamap,
       "https://api.yamap.com/activities/987654//points.xml", "points.xml"},
      // A beginning other than the site prefix keeps its host.
      {"http://yamap.com/activities/987654", LinkKind::Yamap, "http://yamap.com/activities/987654/points.xml",
       "points-987654.gpx"},
      {"https://m.yamap.com/activities/5", LinkKind::Yamap, "https://m.yamap.com/activities/5/points.xml",
       "points-5.gpx"},
      {"https://example.com/files/route.gpx", LinkKind::GpxUrl, "https://example.com/files/route.gpx", "route.gpx"},
  };
  for (const Case& c : cases) {
    const auto w = webLink(c.link, ServiceHosts{});
    ASSERT_TRUE(w) << c.link;
    EXPECT_EQ(w->kind, c.kind) << c.link;
    EXPECT_EQ(w->address, c.address) << c.link;
    EXPECT_EQ(w->name, c.name) << c.link;
  }
  for (const char* none : {"/home/a/walk.gpx", "https://example.com/page.html", "https://yamap.com/activities/x", ""})
    EXPECT_FALSE(webLink(none, ServiceHosts{})) << none;
}

// Hosts from the environment, with a port and a scheme, as the tests' loopback servers use them.
TEST(LinkPatterns, HostsFromTheEnvironment)
{
  EXPECT_EQ(parseServiceHost("127.0.0.1:8123"), (ServiceHost{"https", "127.0.0.1:8123"}));
  EXPECT_EQ(parseServiceHost("http://127.0.0.1:8123/"), (ServiceHost{"http", "127.0.0.1:8123"}));
  setenv("TARNWICK_YAMAP_HOST", "http://127.0.0.1:8123", 1);
  setenv("TARNWICK_YAMAP_API_HOST", "http://127.0.0.1:9000", 1);
  setenv("TARNWICK_YAMARECO_HOST", "127.0.0.1:8124", 1);
  const auto w = webLink("http://127.0.0.1:8123/activities/42");
  ASSERT_TRUE(w);
  EXPECT_EQ(w->address, "http://127.0.0.1:9000/activities/42/points.xml");
  EXPECT_EQ(matchLink("http://127.0.0.1:8124/x/detail-1.html"), LinkKind::Yamareco);
  EXPECT_EQ(matchLink("https://www.yamareco.com/x/detail-1.html"), LinkKind::None);
  unsetenv("TARNWICK_YAMAP_HOST");
  unsetenv("TARNWICK_YAMAP_API_HOST");
  unsetenv("TARNWICK_YAMARECO_HOST");
  EXPECT_EQ(matchLink("https://www.yamareco.com/x/detail-1.html"), LinkKind::Yamareco);

  // The update root: the variable before the setting, no trailing "/", empty when neither.
  EXPECT_EQ(updateBase(""), "");
  EXPECT_EQ(updateBase("https://u.example/"), "https://u.example");
  setenv("TARNWICK_UPDATE_BASE", "http://127.0.0.1:1", 1);
  EXPECT_EQ(updateBase("https://u.example"), "http://127.0.0.1:1");
  unsetenv("TARNWICK_UPDATE_BASE");
  EXPECT_EQ(updateNoticeUrl("https://u.example"), "https://u.example/version/version1.2.10.xml");
}
