// µs per 256 × 256 tile through the print preparation of map tiles, for the 32-bit path
// (class map at download; thickening and per-pixel recolouring at composition) and the palette
// path (class map at download; thickening and a colour-table rewrite at composition).
// The reference is a plain copy of the tile's pixels, measured side by side.
//
//   bench_tile_enhance [ROUNDS]
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "common/BenchClock.h"
#include "tiles/enhance/TileEnhance.h"

namespace {

using bench::cpuMicros;
using bench::median;
using bench::timeOnce;

using namespace tw;

// Something like a GSI standard tile: white ground, grey roads, light grey blocks, brown
// contours, blue water, coloured features.
const Rgb kColours[] = {{255, 255, 255}, {255, 255, 255}, {255, 255, 255}, {60, 60, 60}, {200, 200, 200},
                        {180, 180, 180}, {200, 160, 60},  {230, 200, 150}, {150, 200, 250}, {255, 255, 0},
                        {100, 195, 115}, {255, 122, 122}, {230, 230, 200}, {120, 200, 130}, {240, 170, 100}};
constexpr int kColourCount = sizeof kColours / sizeof kColours[0];

int colourAt(int x, int y)
{
  if (y % 37 < 3 || x % 53 < 2) return 3;                 // roads
  if ((x / 16 + y / 16) % 5 == 0) return 4 + (x + y) % 2;  // blocks
  if ((x * x + y * 3) % 97 < 4) return 6 + (x % 2);        // contours
  return (x * 7 + y * 13) % kColourCount;
}

}  // namespace

int main(int argc, char** argv)
{
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
  constexpr int kReps = 20;

  Image32 rgba(kTileSize, kTileSize);
  Image8 pal(kTileSize, kTileSize);
  pal.table.assign(kColours, kColours + kColourCount);
  for (int y = 0; y < kTileSize; ++y)
    for (int x = 0; x < kTileSize; ++x) {
      const int i = colourAt(x, y);
      uint8_t* p = rgba.at(x, y);
      p[0] = kColours[i].r, p[1] = kColours[i].g, p[2] = kColours[i].b, p[3] = 255;
      pal.at(x, y) = uint8_t(i);
    }

  EnhanceSettings s;
  s.contour_color = contourColor(true, 0.22352941, 0.18431373, 0.07058824);
  s.road_color = roadColor(100);
  s.road = s.river = s.building = s.strong_road = true;

  std::size_t sink = 0;
  std::vector<double> copy, class32, comp32, class8, comp8;
  std::vector<uint8_t> dst(rgba.pixels.size());
  for (int r = 0; r < rounds; ++r) {
    copy.push_back(timeOnce([&] { std::memcpy(dst.data(), rgba.pixels.data(), dst.size()); sink += dst[r]; }, kReps));
    ClassMap c32, c8;
    class32.push_back(timeOnce([&] { c32 = parseImage32(rgba.view()); }, kReps));
    comp32.push_back(timeOnce([&] { sink += enhanceTile32(rgba.view(), &c32, s).rgba.pixels[r]; }, kReps));
    class8.push_back(timeOnce([&] { c8 = parseImage8(pal); }, kReps));
    comp8.push_back(timeOnce([&] { sink += enhanceTile8(pal, &c8, s).palette.indices[r]; }, kReps));
  }
  const double ref = median(copy);
  std::printf("%d rounds of %d, switches road/river/building/strong_road on\n", rounds, kReps);
  std::printf("pixel copy (reference)     %8.1f us CPU/tile\n", ref);
  std::printf("32-bit  class map          %8.1f us CPU/tile  %6.1f x copy\n", median(class32), median(class32) / ref);
  std::printf("32-bit  compose            %8.1f us CPU/tile  %6.1f x copy\n", median(comp32), median(comp32) / ref);
  std::printf("palette class map          %8.1f us CPU/tile  %6.1f x copy\n", median(class8), median(class8) / ref);
  std::printf("palette compose            %8.1f us CPU/tile  %6.1f x copy\n", median(comp8), median(comp8) / ref);
  return sink == 12345 ? 2 : 0;
}
