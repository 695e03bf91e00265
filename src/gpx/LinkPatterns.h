#pragma once
// What can be dropped on the map or handed over as a link: the route pages of the web
// services, direct GPX links and local GPX paths. Matching is a case-sensitive search anywhere
// in the text, as regular expressions whose dots match any character.

#include <string_view>

namespace tw {

// Host names of the route-sharing services (the patterns hold them with unescaped dots).
inline constexpr std::string_view kYamarecoHost = "www.yamareco.com";
inline constexpr std::string_view kLatLongLabHost = "latlonglab.yahoo.co.jp";
inline constexpr std::string_view kYamapHost = "yamap.com";

enum class LinkKind { None, Yamareco, LatLongLab, Yamap, GpxUrl, GpxPath };

// The first pattern that matches, in the order Yamareco, LatLongLab, YAMAP, "http.+.gpx",
// "/.+.gpx".
LinkKind matchLink(std::string_view candidate);

// The drag can be taken: some pattern matches.
bool acceptableObject(std::string_view candidate);

}  // namespace tw
