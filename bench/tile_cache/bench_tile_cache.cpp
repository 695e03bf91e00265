// µs per map tile hit in the disk cache (file read, format check, decode) against the floor of
// decoding the same PNG bytes from memory, measured side by side in alternating rounds.
//
//   bench_tile_cache [TILE.png] [ROUNDS]
//
// Without a file (or with "") a 256 × 256 palette PNG like GSI's is generated. The cache lives in a
// temporary folder (in the page cache after the first round, as for a tile seen again).
#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "common/BenchClock.h"
#include "tiles/DiskCache.h"
#include "tiles/TileDecode.h"

namespace {

constexpr int kTiles = 200;

QByteArray generatedTile()
{
  QImage img(256, 256, QImage::Format_Indexed8);
  QList<QRgb> colors;
  for (int i = 0; i < 16; ++i) colors << qRgb(200 + i * 3, 190 + i * 2, 170 + i);
  img.setColorTable(colors);
  unsigned s = 12345;
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      s = s * 1103515245u + 12345u;
      img.setPixel(x, y, ((x / 16 + y / 24) % 4) * 4 + ((s >> 16) % 7 == 0));
    }
  QByteArray bytes;
  QBuffer buf(&bytes);
  buf.open(QIODevice::WriteOnly);
  img.save(&buf, "PNG");
  return bytes;
}

}  // namespace

int main(int argc, char** argv)
{
  QCoreApplication app(argc, argv);
  QByteArray png = generatedTile();
  if (argc > 1 && *argv[1]) {
    QFile f(argv[1]);
    if (!f.open(QIODevice::ReadOnly)) {
      std::fprintf(stderr, "cannot read %s\n", argv[1]);
      return 1;
    }
    png = f.readAll();
  }
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 21;
  QTemporaryDir dir;
  tw::DiskCache cache(dir.path().toStdString(), tw::kCacheCapBytes);
  for (int i = 0; i < kTiles; ++i)
    cache.put({"gsi", "std", 16, 58000, i}, {200, 0, tw::kKeptForever, "", "\"e\"", png.toStdString()});

  std::vector<double> hit, floor;
  volatile qsizetype sink = 0;
  for (int r = 0; r < rounds; ++r) {
    hit.push_back(bench::timeOnce(
        [&, i = 0]() mutable {
          const auto e = cache.get({"gsi", "std", 16, 58000, i++ % kTiles});
          sink = sink + tw::decodeTile(QByteArray::fromStdString(e->body)).sizeInBytes();
        },
        kTiles));
    floor.push_back(bench::timeOnce([&] { sink = sink + tw::decodeTile(png).sizeInBytes(); }, kTiles));
  }
  const double h = bench::median(hit), f = bench::median(floor);
  std::printf("tile of %lld bytes, %d rounds of %d tiles\n", static_cast<long long>(png.size()), rounds, kTiles);
  std::printf("cache hit (read + decode)  %8.1f us\n", h);
  std::printf("decode from memory (floor) %8.1f us\n", f);
  std::printf("ratio %.2fx (goal <= 1.5x)\n", h / f);
  return 0;
}
