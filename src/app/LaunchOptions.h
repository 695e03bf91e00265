#pragma once
// The desktop program's command line:
//   tarnwick [FILE.gpx]
//   tarnwick --screenshot OUT.png [--size WxH] [--wait-ms N] [FILE.gpx]

#include <optional>
#include <string>
#include <vector>

struct LaunchOptions {
  std::string file;        // GPX file to open; empty for none
  std::string screenshot;  // PNG to write, then exit; empty for a normal start
  int width = 1200;
  int height = 800;
  int waitMs = 5000;       // upper bound on waiting for tiles before the picture is taken
};

// nullopt (with a one-line reason in `error`) for an unknown option or a bad value.
std::optional<LaunchOptions> parseLaunchOptions(const std::vector<std::string>& args, std::string& error);

inline constexpr const char* kLaunchUsage =
    "usage: tarnwick [FILE.gpx]\n"
    "       tarnwick --screenshot OUT.png [--size WxH] [--wait-ms N] [FILE.gpx]\n";
