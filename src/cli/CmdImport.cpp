// tarnwick-cli import URL -o OUT.gpx: fetches a route page's GPX (or a direct GPX link) the way
// the app's link import does and writes it as the app would save it.
#include <QCoreApplication>
#include <QEventLoop>
#include <cstdio>

#include "cli/CliCommands.h"
#include "cli/CliDocument.h"
#include "cli/CliQt.h"
#include "gpx/LinkPatterns.h"
#include "net/WebFetch.h"

namespace twcli {

namespace {

constexpr int kTimeoutMs = 60000;
constexpr qint64 kMaxBytes = qint64(256) << 20;

int usageError()
{
  std::fprintf(stderr, "tarnwick-cli: usage: import URL -o OUT.gpx\n");
  return 2;
}

const char* failureText(const FetchResult& r)
{
  switch (r.failure) {
    case FetchResult::Failure::Network: return "connection failed";
    case FetchResult::Failure::TimedOut: return "timed out";
    case FetchResult::Failure::TooLarge: return "answer larger than 256 MB";
    case FetchResult::Failure::Cancelled: return "cancelled";
    case FetchResult::Failure::None: break;
  }
  return r.body.isEmpty() ? "empty answer" : "";
}

}  // namespace

int cmdImport(const Args& args)
{
  std::string link, out;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size())
      out = args[++i];
    else if (link.empty() && !args[i].empty() && args[i][0] != '-')
      link = args[i];
    else
      return usageError();
  }
  if (link.empty() || out.empty()) return usageError();
  const auto web = tw::webLink(link);
  if (!web) {
    std::fprintf(stderr, "tarnwick-cli: %s is not a route page or GPX link\n", link.c_str());
    return 1;
  }

  const QtApp<QCoreApplication> qt;
  WebFetch fetch;
  FetchResult result;
  QEventLoop loop;
  QObject::connect(&fetch, &WebFetch::finished, &loop, [&](const FetchResult& r) {
    result = r;
    loop.quit();
  });
  if (!fetch.start(QString::fromStdString(web->address), kTimeoutMs, kMaxBytes)) {
    std::fprintf(stderr, "tarnwick-cli: cannot fetch %s: not an http or https address\n", web->address.c_str());
    return 1;
  }
  loop.exec();
  if (!result.ok() || result.status >= 400 || result.body.isEmpty()) {
    if (result.ok() && result.status >= 400)
      std::fprintf(stderr, "tarnwick-cli: cannot fetch %s: HTTP %d\n", web->address.c_str(), result.status);
    else
      std::fprintf(stderr, "tarnwick-cli: cannot fetch %s: %s\n", web->address.c_str(), failureText(result));
    return 1;
  }
  auto r = tw::parseGPX(std::string_view(result.body.constData(), std::size_t(result.body.size())));
  if (!r.ok() || (r.data.tracks.empty() && r.data.waypoints.empty())) {
    std::fprintf(stderr, "tarnwick-cli: %s did not answer with GPX data\n", web->address.c_str());
    return 1;
  }
  if (!writeDocument(out, r.data.tracks, r.data.waypoints, 0)) return 1;
  // The name the app gives the document, for scripts that keep it.
  std::printf("%s\n", web->name.c_str());
  return 0;
}

}  // namespace twcli
