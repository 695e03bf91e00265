#include "gpx/LinkPatterns.h"

#include <regex>
#include <string>

namespace tw {

namespace {

// "A.+.gpx" searched anywhere: A, at least one character, any character, then "gpx".
// The first A and the last "gpx" decide.
bool gpxAfter(std::string_view s, std::string_view a)
{
  const size_t i = s.find(a);
  if (i == std::string_view::npos) return false;
  const size_t j = s.rfind("gpx");
  return j != std::string_view::npos && j >= i + a.size() + 2;
}

// The three route-page patterns, tried on bounded input only: std::regex backtracks
// recursively, and no real link is this long.
constexpr size_t kRegexLimit = 4096;

const std::regex& servicePattern(int i)
{
  static const std::regex patterns[] = {
      std::regex("http.+" + std::string(kYamarecoHost) + "/.+/detail-[0-9]+.html"),
      std::regex("http.+" + std::string(kLatLongLabHost) + "/route/watch.+"),
      std::regex("http.+" + std::string(kYamapHost) + "/activities/[0-9]+"),
  };
  return patterns[i];
}

}  // namespace

LinkKind matchLink(std::string_view s)
{
  if (s.size() <= kRegexLimit) {
    const std::string text(s);
    const LinkKind kinds[] = {LinkKind::Yamareco, LinkKind::LatLongLab, LinkKind::Yamap};
    for (int i = 0; i < 3; ++i)
      if (std::regex_search(text, servicePattern(i))) return kinds[i];
  }
  if (gpxAfter(s, "http")) return LinkKind::GpxUrl;
  if (gpxAfter(s, "/")) return LinkKind::GpxPath;
  return LinkKind::None;
}

bool acceptableObject(std::string_view candidate) { return matchLink(candidate) != LinkKind::None; }

}  // namespace tw
