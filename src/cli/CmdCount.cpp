// tarnwick-cli count IN.gpx: what the reader finds in a file, as one JSON object.
#include <cstdio>

#include "cli/CliCommands.h"
#include "cli/CliDocument.h"
#include "gpx/GpxSummary.h"

namespace twcli {

int cmdCount(const Args& args)
{
  if (args.size() != 1) {
    std::fprintf(stderr, "tarnwick-cli: usage: count IN.gpx\n");
    return 2;
  }
  const auto data = readDocument(args[0]);
  if (!data) return 1;
  std::printf("%s\n", tw::countJson(*data).c_str());
  return 0;
}

}  // namespace twcli
