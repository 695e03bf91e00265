// tarnwick-cli: headless batch work on GPX files.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/CliCommands.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const twcli::Args&);
  const char* usage;
};

const Command kCommands[] = {
    {"roundtrip", twcli::cmdRoundtrip, "roundtrip IN.gpx OUT.gpx"},
    {"count", twcli::cmdCount, "count IN.gpx"},
    {"info", twcli::cmdInfo, "info IN.gpx [--track N] [--cycling] [--json]"},
    {"thin", twcli::cmdThin, "thin IN.gpx --points N [--track K] -o OUT.gpx"},
    {"reverse", twcli::cmdReverse, "reverse IN.gpx -o OUT.gpx"},
    {"turnback", twcli::cmdTurnback, "turnback IN.gpx -o OUT.gpx"},
    {"elevation", twcli::cmdElevation, "elevation IN.gpx -o OUT.gpx [--dem 10b|5a] [--recalc]"},
    {"import", twcli::cmdImport, "import URL -o OUT.gpx"},
    {"points", twcli::cmdPoints, "points IN.gpx [--track N] [--waypoints] [-o OUT.tsv]"},
    {"prefetch", twcli::cmdPrefetch, "prefetch IN.gpx [--zoom 12-16] [--map std|pale|photo]"},
    {"graph", twcli::cmdGraph, "graph IN.gpx -o OUT.png [--size WxH] [--track N] [--cycling]"},
    {"pdf", twcli::cmdPdf,
     "pdf IN.gpx -o OUT.pdf [--paper B5|A4|B4|A3] [--landscape] [--scale 10000|12500|15000|25000]\n"
     "      [--center LAT,LON] [--graph] [--gray] [--quality 0|1] [--conveni] [--allow-missing]"},
};

void usage()
{
  std::fprintf(stderr, "usage: tarnwick-cli COMMAND ...\n");
  for (const auto& c : kCommands) std::fprintf(stderr, "  tarnwick-cli %s\n", c.usage);
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc < 2) {
    usage();
    return 2;
  }
  for (const auto& c : kCommands) {
    if (std::strcmp(argv[1], c.name) == 0) return c.run(twcli::Args(argv + 2, argv + argc));
  }
  usage();
  return 2;
}
