// tarnwick-cli reverse|turnback IN.gpx -o OUT.gpx: the track commands on the first track.
#include <cstdio>
#include <string>

#include "analysis/Metrics.h"
#include "cli/CliCommands.h"
#include "cli/CliDocument.h"
#include "editing/TrackOperations.h"

namespace twcli {

namespace {

int runOnFirstTrack(const Args& args, const char* name, bool (*op)(std::vector<tw::Track>&))
{
  std::string in, out;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size())
      out = args[++i];
    else if (in.empty() && !args[i].empty() && args[i][0] != '-')
      in = args[i];
    else
      out.clear(), in.clear(), i = args.size();
  }
  if (in.empty() || out.empty()) {
    std::fprintf(stderr, "tarnwick-cli: usage: %s IN.gpx -o OUT.gpx\n", name);
    return 2;
  }
  auto data = readDocument(in, ParseFailure::Plain);
  if (!data) return 1;
  if (data->tracks.empty()) {
    std::fprintf(stderr, "tarnwick-cli: %s has no track\n", in.c_str());
    return 1;
  }
  if (!op(data->tracks.front().points)) {
    std::fprintf(stderr, "tarnwick-cli: the first track has too few points\n");
    return 1;
  }
  return writeDocument(out, data->tracks, data->waypoints, 0) ? 0 : 1;
}

bool reverse(std::vector<tw::Track>& points)
{
  tw::reverseRoute(points);
  tw::recalcDistance(points);
  return true;
}

bool turnback(std::vector<tw::Track>& points)
{
  tw::recalcDistance(points);
  return tw::turnBack(points);
}

}  // namespace

int cmdReverse(const Args& args) { return runOnFirstTrack(args, "reverse", reverse); }
int cmdTurnback(const Args& args) { return runOnFirstTrack(args, "turnback", turnback); }

}  // namespace twcli
