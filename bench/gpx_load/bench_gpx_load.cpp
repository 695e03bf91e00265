// One whole load of a GPX file as the application does it: read the bytes, stream-parse,
// build tracks and waypoints with zoom-18 pixels and Hubeny distances for every point.
// Prints "points waypoints tracks seconds" on one line; run.py measures time and peak memory
// of the whole process from outside, like it does for xmllint.
#include <chrono>
#include <cstdio>

#include "gpx/GpxReader.h"
#include "gpx/GpxSummary.h"

int main(int argc, char** argv)
{
  if (argc != 2) {
    std::fprintf(stderr, "usage: bench_gpx_load FILE.gpx\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  auto bytes = tw::readFileBytes(argv[1]);
  if (!bytes) {
    std::fprintf(stderr, "bench_gpx_load: cannot read %s\n", argv[1]);
    return 1;
  }
  auto r = tw::parseGPX(*bytes);
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!r.ok()) {
    std::fprintf(stderr, "bench_gpx_load: %s does not parse\n", argv[1]);
    return 1;
  }
  size_t points = 0;
  double length = 0;
  for (const auto& t : r.data.tracks) {
    points += t.points.size();
    if (!t.points.empty()) length += t.points.back().dist;
  }
  std::printf("%zu %zu %zu %.3f %.0f\n", points, r.data.waypoints.size(), r.data.tracks.size(), s, length);
  return 0;
}
