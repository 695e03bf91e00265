#pragma once
// Where the route-sharing services and the update notice live. Each service host is a
// constant that an environment variable overrides (tests, mirrors): TARNWICK_YAMARECO_HOST,
// TARNWICK_LATLONG_HOST, TARNWICK_YAMAP_HOST, TARNWICK_YAMAP_API_HOST. A value is a host with
// an optional port ("127.0.0.1:8123"), optionally preceded by the scheme the service is
// reached by ("http://127.0.0.1:8123"); without one it is https.

#include <string>
#include <string_view>

namespace tw {

struct ServiceHost {
  std::string scheme = "https";
  std::string host;  // as the link patterns hold it, e.g. "yamap.com"
  bool operator==(const ServiceHost&) const = default;
};

struct ServiceHosts {
  ServiceHost yamareco{"https", "www.yamareco.com"};
  ServiceHost latlonglab{"https", "latlonglab.yahoo.co.jp"};
  ServiceHost yamap{"https", "yamap.com"};
  ServiceHost yamapApi{"https", "api.yamap.com"};
  bool operator==(const ServiceHosts&) const = default;
};

// "host" or "scheme://host", with any trailing "/" dropped.
ServiceHost parseServiceHost(std::string_view value);

// The defaults above with the environment's overrides.
ServiceHosts serviceHosts();

// The update server's root ("scheme://host", no trailing "/"): TARNWICK_UPDATE_BASE when set,
// else the configured value; empty when neither names one, and then nothing is requested.
std::string updateBase(std::string_view configured);

// The update notice's address under that root.
std::string updateNoticeUrl(std::string_view base);

}  // namespace tw
