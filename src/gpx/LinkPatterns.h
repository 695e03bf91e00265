#pragma once
// What can be dropped on the map or handed over as a link: the route pages of the web
// services, direct GPX links and local GPX paths. Matching is a case-sensitive search anywhere
// in the text, as regular expressions whose dots match any character; the service patterns
// hold their host literally, dots unescaped as well.

#include <optional>
#include <string>
#include <string_view>

#include "gpx/WebHosts.h"

namespace tw {

enum class LinkKind { None, Yamareco, LatLongLab, Yamap, GpxUrl, GpxPath };

// The first pattern that matches, in the order Yamareco, LatLongLab, YAMAP, "http.+.gpx",
// "/.+.gpx". Without hosts, those of serviceHosts().
LinkKind matchLink(std::string_view candidate, const ServiceHosts& hosts);
LinkKind matchLink(std::string_view candidate);

// The drag can be taken: some pattern matches.
bool acceptableObject(std::string_view candidate);

// A link turned into what is fetched and the name the document takes once it is read.
struct WebLink {
  LinkKind kind = LinkKind::None;
  std::string address;  // the GPX download address
  std::string name;     // the proposed file name, else the address's last path component
};

// The download address and document name of a route page or direct GPX link (the first four
// patterns); nothing for any other text, local paths included.
std::optional<WebLink> webLink(std::string_view link, const ServiceHosts& hosts);
std::optional<WebLink> webLink(std::string_view link);

// The last path component of a path or address: the text after its last "/", trailing "/"
// ignored ("a/b/" gives "b"; a query stays part of it).
std::string lastPathComponent(std::string_view path);

}  // namespace tw
