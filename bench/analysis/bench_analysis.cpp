// bench_analysis gen N OUT.gpx   writes a generated hike of N points (climbs, rests, noise)
// bench_analysis time IN.gpx R   parses once, then times the app's full pass R times on copies
//                                (speeds, peak marks, profile, statistics with rests) and
//                                prints the median CPU seconds of this thread, then the
//                                median wall seconds (the machine is shared: CPU time is what
//                                the pass costs, wall time also holds other processes' turns)
// bench_analysis still N R       times rest detection R times on N points of a logger lying
//                                still (1 s apart, ±5 cm of jitter): one long stay, found as
//                                a run of short rests; prints median CPU and wall seconds
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <time.h>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "analysis/Metrics.h"
#include "analysis/Rests.h"
#include "analysis/TrackAnalysis.h"
#include "document/Geodesy.h"
#include "gpx/GpxReader.h"
#include "gpx/GpxSummary.h"

namespace {

// A day hike repeated: legs of 2–4 km climbing or descending 8–15 %, a 5–20 minute rest after
// every third leg, a point every 10 s, elevation noise of ±0.5 m, headings turning by 90° so
// the track stays within a few kilometres.
int generate(long n, const char* path)
{
  std::ofstream out(path);
  if (!out) return 1;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<gpx version=\"1.1\" creator=\"bench_analysis\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
         "<trk><name>bench</name><trkseg>\n";
  uint64_t seed = 42;
  auto rnd = [&seed]() {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(seed >> 11) / 9007199254740992.0;
  };
  double lat = 35.3, lon = 138.7, elev = 800.0;
  const double mLat = tw::calcDistHubeny(lat, lon, lat + 0.001, lon) / 0.001;
  const double mLon = tw::calcDistHubeny(lat, lon, lat, lon + 0.001) / 0.001;
  std::time_t t = 1714521600;  // 2024-05-01T00:00:00Z
  long written = 0;
  int legNo = 0;
  char buf[256];
  auto point = [&](double e) {
    std::tm tm{};
    gmtime_r(&t, &tm);
    std::snprintf(buf, sizeof buf,
                  "<trkpt lat=\"%.7f\" lon=\"%.7f\"><ele>%.1f</ele><time>%04d-%02d-%02dT%02d:%02d:%02dZ</time></trkpt>\n",
                  lat, lon, e, tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    out << buf;
    ++written;
  };
  point(elev);
  while (written < n) {
    const int heading = legNo % 4;  // east, north, west, south
    const double length = 2000.0 + 2000.0 * rnd();
    double grade = 0.08 + 0.07 * rnd();
    if (elev > 2500.0 || (elev > 300.0 && legNo % 2 == 1)) grade = -grade;
    const double step = grade > 0 ? 12.5 : 15.0;
    for (double done = 0.0; done < length && written < n; done += step) {
      t += 10;
      const double de = step * grade;
      elev = std::max(10.0, elev + de);
      const double dx = heading == 0 ? step : heading == 2 ? -step : 0.0;
      const double dy = heading == 1 ? step : heading == 3 ? -step : 0.0;
      lon += dx / mLon;
      lat += dy / mLat;
      point(elev + rnd() - 0.5);
    }
    if (++legNo % 3 == 0) {
      const int restPoints = 30 + static_cast<int>(90 * rnd());
      for (int k = 0; k < restPoints && written < n; ++k) {
        t += 10;
        lat += (k % 2 ? 0.3 : -0.3) / mLat;
        point(elev);
      }
    }
  }
  out << "</trkseg></trk>\n</gpx>\n";
  return out ? 0 : 1;
}

double threadCpuSeconds()
{
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

int timeFile(const char* path, int runs)
{
  const auto bytes = tw::readFileBytes(path);
  if (!bytes) return 1;
  auto r = tw::parseGPX(*bytes);
  if (!r.ok() || r.data.tracks.empty()) return 1;
  const tw::TrackInfo parsed = r.data.tracks.front();
  std::vector<double> cpu, wall;
  tw::TrackAnalysis last;
  for (int i = 0; i < runs; ++i) {
    tw::TrackInfo track = parsed;  // the pass rewrites speeds and marks; start each run afresh
    const double c0 = threadCpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    tw::TrackAnalysis a = tw::analyzeTrack(track, false);
    const auto t1 = std::chrono::steady_clock::now();
    cpu.push_back(threadCpuSeconds() - c0);
    last = std::move(a);  // the previous result is freed outside the measurement
    wall.push_back(std::chrono::duration<double>(t1 - t0).count());
  }
  std::sort(cpu.begin(), cpu.end());
  std::sort(wall.begin(), wall.end());
  std::printf("%.6f wall=%.6f points=%zu dist_km=%.1f up=%.0f down=%.0f rests=%d samples=%zu\n", cpu[cpu.size() / 2],
              wall[wall.size() / 2],
              parsed.points.size(), last.stats.total_dist / 1000.0, last.stats.total_up, last.stats.total_down,
              last.rests, last.positions.size());
  return 0;
}

int timeStill(long n, int runs)
{
  std::vector<tw::Track> still(static_cast<std::size_t>(std::max(1L, n)));
  const tw::TimePoint t0{std::chrono::seconds{1714521600}};
  for (std::size_t i = 0; i < still.size(); ++i) {
    tw::setPosition(still[i], 35.3 + (i % 2 ? 0.05 : -0.05) / 111000.0, 138.7);
    still[i].elev = 800.0f;
    still[i].time = t0 + std::chrono::seconds{static_cast<long long>(i)};
  }
  tw::recalcDistance(still);
  std::vector<double> cpu, wall;
  std::vector<int> states;
  for (int r = 0; r < runs; ++r) {
    const double c0 = threadCpuSeconds();
    const auto w0 = std::chrono::steady_clock::now();
    tw::checkRest(still, true, states);
    const auto w1 = std::chrono::steady_clock::now();
    cpu.push_back(threadCpuSeconds() - c0);
    wall.push_back(std::chrono::duration<double>(w1 - w0).count());
  }
  std::sort(cpu.begin(), cpu.end());
  std::sort(wall.begin(), wall.end());
  const auto starts = std::count(states.begin(), states.end(), tw::kStateRestStart);
  std::printf("%.6f wall=%.6f points=%zu rest_starts=%td\n", cpu[cpu.size() / 2], wall[wall.size() / 2], still.size(),
              starts);
  return 0;
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc == 4 && std::string(argv[1]) == "gen") return generate(std::atol(argv[2]), argv[3]);
  if (argc == 4 && std::string(argv[1]) == "time") return timeFile(argv[2], std::max(1, std::atoi(argv[3])));
  if (argc == 4 && std::string(argv[1]) == "still") return timeStill(std::atol(argv[2]), std::max(1, std::atoi(argv[3])));
  std::fprintf(stderr, "usage: bench_analysis gen N OUT.gpx | time IN.gpx RUNS | still N RUNS\n");
  return 2;
}
