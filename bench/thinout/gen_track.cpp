// Writes a synthetic hike as GPX 1.1: a wandering walk near Mt. Takao with elevations, a time
// stamp every 5 s and a few rests. Usage: bench_thinout_gen N OUT.gpx [SEED]
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>

int main(int argc, char** argv)
{
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s N OUT.gpx [SEED]\n", argv[0]);
    return 2;
  }
  const long n = std::atol(argv[1]);
  std::FILE* f = std::fopen(argv[2], "w");
  if (!f || n < 2) return 1;
  std::mt19937 rng(argc > 3 ? std::atoi(argv[3]) : 1);
  std::normal_distribution<double> turn(0.0, 0.25);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  double lat = 35.625, lon = 139.243, elev = 200.0, heading = 0.3;
  long t = 1'700'000'000;  // seconds since the epoch
  long restLeft = 0;
  std::fprintf(f, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<gpx version=\"1.1\" creator=\"bench\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
                  "<trk><name>bench</name><trkseg>\n");
  for (long i = 0; i < n; ++i) {
    char when[32];
    const std::time_t tt = t;
    std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%SZ", std::gmtime(&tt));
    std::fprintf(f, "<trkpt lat=\"%.7f\" lon=\"%.7f\"><ele>%.1f</ele><time>%s</time></trkpt>\n", lat, lon, elev, when);
    t += 5;
    if (restLeft > 0) {
      --restLeft;
      lat += (u(rng) - 0.5) * 2e-6;
      lon += (u(rng) - 0.5) * 2e-6;
      continue;
    }
    if (u(rng) < 0.0005) restLeft = 60 + static_cast<long>(u(rng) * 120);
    heading += turn(rng);
    const double step = 4.0 + u(rng) * 3.0;  // metres
    lat += step * std::cos(heading) / 111000.0;
    lon += step * std::sin(heading) / 91000.0;
    elev += std::sin(i / 700.0) * 1.5 + (u(rng) - 0.5);
    if (elev < 50) elev = 50;
    // Keep the walk inside Japan's box on long runs.
    if (lat > 36.5 || lat < 34.5 || lon > 140.5 || lon < 138.0) heading += 3.14159;
  }
  std::fprintf(f, "</trkseg></trk>\n</gpx>\n");
  return std::fclose(f) == 0 ? 0 : 1;
}
