#pragma once
// What the subcommands that fetch or draw share: a Qt application object, which needs its
// argc and argv alive as long as it lives, and the tile cache's one message.

#include <cstdio>

#include "tiles/DiskCache.h"

namespace twcli {

template <class App>
struct QtApp {
  int argc = 1;
  char name[13] = "tarnwick-cli";
  char* argv[2] = {name, nullptr};
  App app{argc, argv};
};

// Says once on stderr when the cache folder cannot be written (the command goes on without it).
inline void sayWhenUnwritable(tw::DiskCache& cache)
{
  cache.onWriteFailure = [] { std::fprintf(stderr, "tarnwick-cli: the tile cache folder is not writable; nothing is kept\n"); };
}

}  // namespace twcli
