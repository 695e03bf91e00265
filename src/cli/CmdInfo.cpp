// tarnwick-cli info IN.gpx [--track N] [--cycling] [--json]: the statistics of the track
// information dialog for one track, after the same passes the app runs once a file is loaded.
#include <cmath>
#include <cstdio>
#include <string>

#include "analysis/InfoFields.h"
#include "analysis/TrackAnalysis.h"
#include "cli/CliCommands.h"
#include "cli/CliDocument.h"

namespace twcli {

namespace {

// A JSON number; the analysis never produces NaN or infinities, but a number must stay a number.
std::string num(double v)
{
  if (!std::isfinite(v)) v = 0.0;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.9g", v);
  return buf;
}

std::string toJson(const tw::TrackAnalysis& a, std::size_t points)
{
  const tw::TrackStats& s = a.stats;
  const std::pair<const char*, double> fields[] = {
      {"total_dist", s.total_dist},
      {"total_distance", s.total_distance},
      {"total_up", s.total_up},
      {"total_down", s.total_down},
      {"max_elev", s.max_elev},
      {"min_elev", s.min_elev},
      {"ave_elev", s.ave_elev},
      {"peak_count", s.peak_count},
      {"up_rate", s.up_rate},
      {"down_rate", s.down_rate},
      {"ave_up_gradient", s.ave_up_gradient},
      {"ave_down_gradient", s.ave_down_gradient},
      {"max_gradient", s.max_gradient},
      {"min_gradient", s.min_gradient},
      {"easy_up_rate", s.easy_up_rate},
      {"hard_up_rate", s.hard_up_rate},
      {"easy_down_rate", s.easy_down_rate},
      {"hard_down_rate", s.hard_down_rate},
      {"total_time", s.total_time},
      {"rest_time", s.rest_time},
      {"walk_time", s.walk_time},
      {"avg_speed", s.avg_speed},
      {"up_avg_speed", s.up_avg_speed},
      {"down_avg_speed", s.down_avg_speed},
      {"span", s.span},
      {"points", static_cast<double>(points)},
      {"samples", static_cast<double>(a.positions.size())},
      {"rests", a.rests},
  };
  std::string out = "{";
  bool first = true;
  for (const auto& [key, value] : fields) {
    if (!first) out += ", ";
    first = false;
    out += "\"";
    out += key;
    out += "\": ";
    out += num(value);
  }
  out += "}";
  return out;
}

int usage()
{
  std::fprintf(stderr, "tarnwick-cli: usage: info IN.gpx [--track N] [--cycling] [--json]\n");
  return 2;
}

}  // namespace

int cmdInfo(const Args& args)
{
  std::string in;
  int track = 1;
  bool cycling = false, json = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--cycling") {
      cycling = true;
    } else if (a == "--json") {
      json = true;
    } else if (a == "--track" && i + 1 < args.size()) {
      if (!parseInt(args[++i], track) || track < 1) return usage();
    } else if (in.empty() && !a.empty() && a[0] != '-') {
      in = a;
    } else {
      return usage();
    }
  }
  if (in.empty()) return usage();

  auto data = readDocument(in);
  if (!data) return 1;
  auto& tracks = data->tracks;
  // A file without tracks reads like the app without an active track: empty statistics.
  tw::TrackInfo empty;
  tw::TrackInfo* picked = tracks.empty() ? &empty : pickTrack(tracks, track, in);
  if (!picked) return 1;
  tw::TrackInfo& t = *picked;
  const tw::TrackAnalysis a = tw::analyzeTrack(t, cycling);

  if (json) {
    std::printf("%s\n", toJson(a, t.points.size()).c_str());
    return 0;
  }
  std::printf("トラック: %d/%zu %s\n", tracks.empty() ? 0 : track, tracks.size(), t.name.c_str());
  std::printf("点数: %zu\n", t.points.size());
  for (const auto& [outlet, text] : tw::formatInfoFields(a.stats, cycling).rows())
    std::printf("%s: %s\n", tw::infoFieldLabel(outlet), text.c_str());
  std::printf("休憩回数: %d\n", a.rests);
  return 0;
}

}  // namespace twcli
