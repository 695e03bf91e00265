// tarnwick-cli roundtrip IN.gpx OUT.gpx: read with the reader, write every track and waypoint.
#include <cstdio>

#include "cli/CliCommands.h"
#include "gpx/GpxReader.h"
#include "gpx/GpxSummary.h"
#include "gpx/GpxWriter.h"

namespace twcli {

int cmdRoundtrip(const Args& args)
{
  if (args.size() != 2) {
    std::fprintf(stderr, "tarnwick-cli: usage: roundtrip IN.gpx OUT.gpx\n");
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
  const int active = r.data.tracks.empty() ? -1 : 0;
  if (!tw::writeFileAtomically(args[1], tw::buildGPXText(r.data.tracks, r.data.waypoints, active, true))) {
    std::fprintf(stderr, "tarnwick-cli: cannot write %s\n", args[1].c_str());
    return 1;
  }
  return 0;
}

}  // namespace twcli
