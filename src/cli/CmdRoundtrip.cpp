// tarnwick-cli roundtrip IN.gpx OUT.gpx: read with the reader, write every track and waypoint.
#include <cstdio>

#include "cli/CliCommands.h"
#include "cli/CliDocument.h"

namespace twcli {

int cmdRoundtrip(const Args& args)
{
  if (args.size() != 2) {
    std::fprintf(stderr, "tarnwick-cli: usage: roundtrip IN.gpx OUT.gpx\n");
    return 2;
  }
  const auto data = readDocument(args[0]);
  if (!data) return 1;
  const int active = data->tracks.empty() ? -1 : 0;
  return writeDocument(args[1], data->tracks, data->waypoints, active) ? 0 : 1;
}

}  // namespace twcli
