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

// A host as a pattern: literal, except that its dots match any character. Other special
// characters (a host from the environment could hold any) are escaped.
std::string hostPattern(const std::string& host)
{
  std::string out;
  for (char c : host) {
    if (std::string_view("\\^$|()[]{}*+?").find(c) != std::string_view::npos) out += '\\';
    out += c;
  }
  return out;
}

struct ServicePatterns {
  ServiceHosts hosts;
  std::regex yamareco, latlonglab, yamap;

  explicit ServicePatterns(const ServiceHosts& h)
      : hosts(h),
        yamareco("http.+" + hostPattern(h.yamareco.host) + "/.+/detail-[0-9]+.html"),
        latlonglab("http.+" + hostPattern(h.latlonglab.host) + "/route/watch.+"),
        yamap("http.+" + hostPattern(h.yamap.host) + "/activities/[0-9]+")
  {
  }
};

// Compiled once per thread for the hosts in use (they change only in tests).
const ServicePatterns& patternsFor(const ServiceHosts& hosts)
{
  thread_local std::optional<ServicePatterns> cached;
  if (!cached || !(cached->hosts == hosts)) cached.emplace(hosts);
  return *cached;
}

LinkKind matchService(std::string_view s, const ServiceHosts& hosts)
{
  if (s.size() > kRegexLimit) return LinkKind::None;
  const ServicePatterns& p = patternsFor(hosts);
  const std::string text(s);
  if (std::regex_search(text, p.yamareco)) return LinkKind::Yamareco;
  if (std::regex_search(text, p.latlonglab)) return LinkKind::LatLongLab;
  if (std::regex_search(text, p.yamap)) return LinkKind::Yamap;
  return LinkKind::None;
}

std::string replaceAll(std::string s, std::string_view from, std::string_view to)
{
  for (size_t i = s.find(from); i != std::string::npos; i = s.find(from, i + to.size()))
    s.replace(i, from.size(), to);
  return s;
}

}  // namespace

LinkKind matchLink(std::string_view s, const ServiceHosts& hosts)
{
  if (const LinkKind k = matchService(s, hosts); k != LinkKind::None) return k;
  if (gpxAfter(s, "http")) return LinkKind::GpxUrl;
  if (gpxAfter(s, "/")) return LinkKind::GpxPath;
  return LinkKind::None;
}

LinkKind matchLink(std::string_view candidate) { return matchLink(candidate, serviceHosts()); }

bool acceptableObject(std::string_view candidate) { return matchLink(candidate) != LinkKind::None; }

std::string lastPathComponent(std::string_view path)
{
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  if (path == "/") return "/";
  const size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::optional<WebLink> webLink(std::string_view link, const ServiceHosts& hosts)
{
  WebLink w;
  w.kind = matchLink(link, hosts);
  std::string proposed;
  switch (w.kind) {
    case LinkKind::Yamareco:
      w.address = replaceAll(replaceAll(std::string(link), "detail", "track"), ".html", ".gpx");
      break;
    case LinkKind::LatLongLab:
      w.address = replaceAll(std::string(link), "watch", "get") + "&format=gpx";
      break;
    case LinkKind::Yamap: {
      const std::string site = hosts.yamap.scheme + "://" + hosts.yamap.host + "/";
      const std::string api = hosts.yamapApi.scheme + "://" + hosts.yamapApi.host + "/";
      w.address = replaceAll(std::string(link), site, api) + "/points.xml";
      // Named after the activity: the text after the link's last "/", when that "/" lies
      // past the scheme and host's start and something follows it.
      const size_t slash = link.rfind('/');
      if (slash != std::string_view::npos && slash >= 11 && slash + 1 < link.size())
        proposed = "points-" + std::string(link.substr(slash + 1)) + ".gpx";
      break;
    }
    case LinkKind::GpxUrl:
      w.address = std::string(link);
      break;
    case LinkKind::GpxPath:
    case LinkKind::None:
      return std::nullopt;
  }
  w.name = proposed.empty() ? lastPathComponent(w.address) : proposed;
  return w;
}

std::optional<WebLink> webLink(std::string_view link) { return webLink(link, serviceHosts()); }

}  // namespace tw
