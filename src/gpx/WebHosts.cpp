#include "gpx/WebHosts.h"

#include <cstdlib>

namespace tw {
namespace {

std::string_view withoutTrailingSlashes(std::string_view s)
{
  while (!s.empty() && s.back() == '/') s.remove_suffix(1);
  return s;
}

void override(ServiceHost& h, const char* variable)
{
  const char* v = std::getenv(variable);
  if (v && *v) h = parseServiceHost(v);
}

}  // namespace

ServiceHost parseServiceHost(std::string_view value)
{
  value = withoutTrailingSlashes(value);
  ServiceHost h;
  if (const size_t sep = value.find("://"); sep != std::string_view::npos) {
    h.scheme = std::string(value.substr(0, sep));
    value.remove_prefix(sep + 3);
  }
  h.host = std::string(value);
  return h;
}

ServiceHosts serviceHosts()
{
  ServiceHosts h;
  override(h.yamareco, "TARNWICK_YAMARECO_HOST");
  override(h.latlonglab, "TARNWICK_LATLONG_HOST");
  override(h.yamap, "TARNWICK_YAMAP_HOST");
  override(h.yamapApi, "TARNWICK_YAMAP_API_HOST");
  return h;
}

std::string updateBase(std::string_view configured)
{
  const char* v = std::getenv("TARNWICK_UPDATE_BASE");
  return std::string(withoutTrailingSlashes(v && *v ? std::string_view(v) : configured));
}

std::string updateNoticeUrl(std::string_view base)
{
  return std::string(base) + "/version/" + "version1.2.10.xml";
}

}  // namespace tw
