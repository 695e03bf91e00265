#pragma once
// The desktop program's command line:
//   tarnwick [FILE.gpx | URL]
//   tarnwick --screenshot OUT.png [--size WxH] [--wait-ms N] [FILE.gpx | URL]
// A URL (http or https) is a route page or GPX link, imported once the window is up.

#include <optional>
#include <string>
#include <vector>

struct LaunchOptions {
  std::string file;        // GPX file to open; empty for none
  std::string link;        // route page or GPX address to import; empty for none
  std::string screenshot;  // PNG to write, then exit; empty for a normal start
  int width = 1200;
  int height = 800;
  int waitMs = 5000;       // upper bound on waiting for tiles before the picture is taken
};

// nullopt (with a one-line reason in `error`) for an unknown option or a bad value.
std::optional<LaunchOptions> parseLaunchOptions(const std::vector<std::string>& args, std::string& error);

inline constexpr const char* kLaunchUsage =
    "usage: tarnwick [FILE.gpx | URL]\n"
    "       tarnwick --screenshot OUT.png [--size WxH] [--wait-ms N] [FILE.gpx | URL]\n";
