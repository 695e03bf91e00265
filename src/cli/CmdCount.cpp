// tarnwick-cli count IN.gpx: what the reader finds in a file, as one JSON object.
#include <cstdio>

#include "cli/CliCommands.h"
#include "gpx/GpxReader.h"
#include "gpx/GpxSummary.h"

namespace twcli {

int cmdCount(const Args& args)
{
  if (args.size() != 1) {
    std::fprintf(stderr, "tarnwick-cli: usage: count IN.gpx\n");
    return 2;
  }
  const auto bytes = tw::readFileBytes(args[0]);
  if (!bytes) {
    std::fprintf(stderr, "tarnwick-cli: cannot read %s\n", args[0].c_str());
    return 1;
  }
  const auto r = tw::parseGPX(*bytes);
  if (!r.ok()) {
    std::fprintf(stderr, "tarnwick-cli: %s is not a readable GPX file (%s)\n", args[0].c_str(),
                 r.error == tw::GpxReadError::NotUtf8 ? "not UTF-8" : "not well-formed XML");
    return 1;
  }
  std::printf("%s\n", tw::countJson(r.data).c_str());
  return 0;
}

}  // namespace twcli
