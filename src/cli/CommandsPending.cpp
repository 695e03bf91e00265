// Placeholders until the GPX reader and writer exist.
#include <cstdio>

#include "cli/CliCommands.h"

namespace twcli {

int cmdRoundtrip(const Args&)
{
  std::fprintf(stderr, "tarnwick-cli: roundtrip is not available yet\n");
  return 1;
}

int cmdCount(const Args&)
{
  std::fprintf(stderr, "tarnwick-cli: count is not available yet\n");
  return 1;
}

}  // namespace twcli
