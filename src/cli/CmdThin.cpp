// tarnwick-cli thin IN.gpx --points N [--track K] -o OUT.gpx: the app's thinning on one track.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "analysis/Metrics.h"
#include "analysis/Peaks.h"
#include "analysis/Rests.h"
#include "cli/CliCommands.h"
#include "cli/CliDocument.h"
#include "editing/Thinout.h"

namespace twcli {

namespace {

bool parsePositive(const std::string& s, int& out)
{
  char* end = nullptr;
  const long v = std::strtol(s.c_str(), &end, 10);
  if (s.empty() || *end != '\0' || v < 1 || v > 1'000'000'000L) return false;
  out = static_cast<int>(v);
  return true;
}

}  // namespace

int cmdThin(const Args& args)
{
  std::string in, out;
  int points = 0, track = 1;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--points" && hasValue) {
      if (!parsePositive(args[++i], points)) points = -1;
    } else if (a == "--track" && hasValue) {
      if (!parsePositive(args[++i], track)) track = -1;
    } else if (a == "-o" && hasValue) {
      out = args[++i];
    } else if (in.empty() && !a.empty() && a[0] != '-') {
      in = a;
    } else {
      in.clear();
      break;
    }
  }
  if (in.empty() || out.empty() || points == 0 || points < 0 || track < 0) {
    std::fprintf(stderr, "tarnwick-cli: usage: thin IN.gpx --points N [--track K] -o OUT.gpx\n");
    return 2;
  }
  if (points < tw::kThinoutMinimumPoints) {
    std::fprintf(stderr, "tarnwick-cli: the result must keep at least %d points\n", tw::kThinoutMinimumPoints);
    return 2;
  }
  auto data = readDocument(in, ParseFailure::Plain);
  if (!data) return 1;
  tw::TrackInfo* picked = pickTrack(data->tracks, track, in);
  if (!picked) return 1;
  tw::TrackInfo& t = *picked;
  const int n = static_cast<int>(t.points.size());
  if (n < tw::kThinoutMinimumPoints) {
    std::fprintf(stderr, "tarnwick-cli: track %d has %d points; thinning needs at least %d\n", track, n,
                 tw::kThinoutMinimumPoints);
    return 1;
  }
  if (points <= n) {
    // The app thins the track as analysed for display: distances, peak marks, then rests.
    tw::recalcDistance(t.points);
    tw::markPeaks(t.points, t.stable);
    const bool valid_time = t.valid_time;
    tw::thinoutPoints(t.points, points, [valid_time](std::vector<tw::Track>& pts) {
      std::vector<int> states;
      tw::checkRest(pts, valid_time, states);
      return states;
    });
    tw::recalcDistance(t.points);
  }
  if (!writeDocument(out, data->tracks, data->waypoints, track - 1)) return 1;
  std::printf("%d -> %zu points\n", n, t.points.size());
  return 0;
}

}  // namespace twcli
