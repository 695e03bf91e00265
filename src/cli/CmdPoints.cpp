// tarnwick-cli points IN.gpx [--track N] [--waypoints] [-o OUT.tsv]: every row of the point
// (or waypoint) list with all its columns, tab-separated as the list copies them.
#include <cstdio>
#include <string>

#include "app/ConfigSchema.h"
#include "cli/CliCommands.h"
#include "cli/CliDocument.h"
#include "gpx/GpxWriter.h"
#include "lists/ListFormat.h"

namespace twcli {

namespace {

int usage()
{
  std::fprintf(stderr, "tarnwick-cli: usage: points IN.gpx [--track N] [--waypoints] [-o OUT.tsv]\n");
  return 2;
}

}  // namespace

int cmdPoints(const Args& args)
{
  std::string in, out;
  int track = 1;
  bool waypoints = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--waypoints") {
      waypoints = true;
    } else if (a == "--track" && i + 1 < args.size()) {
      if (!parseInt(args[++i], track) || track < 1) return usage();
    } else if (a == "-o" && i + 1 < args.size() && out.empty()) {
      out = args[++i];
    } else if (in.empty() && !a.empty() && a[0] != '-') {
      in = a;
    } else {
      return usage();
    }
  }
  if (in.empty() || out == "-") return usage();

  auto data = readDocument(in);
  if (!data) return 1;
  std::string text;
  if (waypoints) {
    const auto columns = tw::layoutColumns(tw::kWayPointList, tw::defaultWpTable());
    for (std::size_t row = 0; row < data->waypoints.size(); ++row)
      tw::appendWayPointLine(text, data->waypoints[row], row, columns);
  } else {
    const tw::TrackInfo* t = pickTrack(data->tracks, track, in);
    if (!t) return 1;
    const auto columns = tw::layoutColumns(tw::kTrackList, tw::defaultTrackTable());
    text.reserve(t->points.size() * 96);
    for (std::size_t row = 0; row < t->points.size(); ++row) tw::appendTrackLine(text, t->points, row, columns);
  }

  if (out.empty()) {
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) return 1;
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  if (tw::writeFileAtomically(out, text)) return 0;
  std::fprintf(stderr, "tarnwick-cli: cannot write %s\n", out.c_str());
  return 1;
}

}  // namespace twcli
