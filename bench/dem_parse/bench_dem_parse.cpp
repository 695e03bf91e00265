// µs per 256 × 256 DEM text tile: parseDemText against a floor program that only splits the
// same text into lines and cells and converts each with std::from_chars, measured side by side.
//
//   bench_dem_parse [TILE.txt] [ROUNDS]
//
// Without a file a tile like GSI's is generated (two decimals, some "e" cells).
#include <algorithm>
#include <charconv>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/BenchClock.h"
#include "elevation/DemParse.h"

namespace {

using bench::cpuMicros;
using bench::median;
using bench::timeOnce;


std::string generatedTile()
{
  std::string body;
  unsigned s = 12345;
  for (int r = 0; r < 256; ++r) {
    for (int c = 0; c < 256; ++c) {
      s = s * 1103515245u + 12345u;
      if (c) body += ',';
      if ((s >> 16) % 20 == 0) {
        body += 'e';
      } else {
        char cell[32];
        std::snprintf(cell, sizeof cell, "%.2f", double((s >> 8) % 200000) / 100.0);
        body += cell;
      }
    }
    body += '\n';
  }
  return body;
}

// The floor: split and convert, nothing else.
std::size_t floorParse(const std::string& body, std::vector<float>& out)
{
  out.clear();
  const char* p = body.data();
  const char* end = p + body.size();
  while (p < end) {
    const char* nl = static_cast<const char*>(std::memchr(p, '\n', std::size_t(end - p)));
    const char* lineEnd = nl ? nl : end;
    const char* cell = p;
    for (const char* q = p;; ++q) {
      if (q == lineEnd || *q == ',') {
        float f = 0;
        std::from_chars(cell, q, f);
        out.push_back(f);
        if (q == lineEnd) break;
        cell = q + 1;
      }
    }
    p = lineEnd + 1;
  }
  return out.size();
}

}  // namespace

int main(int argc, char** argv)
{
  std::string body;
  if (argc > 1) {
    std::ifstream f(argv[1], std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    body = ss.str();
    if (body.empty()) {
      std::fprintf(stderr, "bench_dem_parse: cannot read %s\n", argv[1]);
      return 1;
    }
  } else {
    body = generatedTile();
  }
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 31;
  constexpr int kReps = 20;

  std::vector<int32_t> cells;
  std::vector<float> floats;
  if (!tw::parseDemText(body, tw::DemModel::DEM5A, cells)) {
    std::fprintf(stderr, "bench_dem_parse: the tile is not 256 lines of 256 cells\n");
    return 1;
  }
  std::size_t sink = 0;
  std::vector<double> parser, floor, ratio;
  for (int r = 0; r < rounds; ++r) {
    // Alternate the two in every round so load on the machine hits both alike.
    const double a = timeOnce([&] { sink += tw::parseDemText(body, tw::DemModel::DEM5A, cells); }, kReps);
    const double b = timeOnce([&] { sink += floorParse(body, floats); }, kReps);
    parser.push_back(a);
    floor.push_back(b);
    ratio.push_back(a / b);
  }
  std::printf("tile: %s, %zu bytes, %d rounds of %d\n", argc > 1 ? argv[1] : "generated", body.size(), rounds, kReps);
  std::printf("parseDemText  median %8.1f us CPU/tile\n", median(parser));
  std::printf("floor         median %8.1f us CPU/tile\n", median(floor));
  std::printf("ratio         median %8.2f x (goal <= 1.5)\n", median(ratio));
  return sink == 0 ? 1 : 0;
}
