// The printed sheet from cached tiles to PDF bytes: an A4 portrait sheet at 1:25,000, quality 1
// (zoom 17, about 630 tiles), every tile already decoded with its class map as the print
// preview caches it. Reported beside the floor of decoding and re-encoding the same tiles as
// PNG (what any program that puts the tiles into a file does at least), measured in one run.
//
//   bench_print_pdf [ROUNDS] [TILE.png]
// The tile defaults to the corpus GSI tile beside the checkout; every sheet tile is that tile.
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "common/BenchClock.h"
#include "print/PrintDraw.h"
#include "tiles/TileDecode.h"

int main(int argc, char** argv)
{
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const QString path = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(TW_BENCH_CORPUS "/gsi/std/14/14622/6017.png");
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "bench_print_pdf: cannot read %s\n", qPrintable(path));
    return 1;
  }
  const QByteArray body = f.readAll();

  tw::Config config;
  tw::writeConfigDefaults(config, {0, 0, 1280, 800});
  config.setInt(tw::key::paper, 1);
  config.setInt(tw::key::scale, 3);
  config.setInt(tw::key::quality, 1);
  const tw::PrintSheet sheet = *tw::makePrintSheet(config, {35.625, 139.245});
  const std::vector<tw::Tile> keys = tw::printTiles(sheet);
  std::vector<MapImagePtr> tiles;
  for (const tw::Tile& k : keys) tiles.push_back(tw::makeMapImage(body, k, true));
  tw::DocumentState doc;

  std::vector<double> pdfMs, pdfWallMs, floorMs;
  qsizetype pdfBytes = 0, floorBytes = 0;
  for (int r = 0; r < rounds; ++r) {
    QElapsedTimer wall;
    wall.start();
    double t0 = bench::cpuMicros();
    const QByteArray pdf = tw::createPDFData(sheet, tiles, nullptr, doc, QStringLiteral("bench"), {});
    pdfMs.push_back((bench::cpuMicros() - t0) / 1000);
    pdfWallMs.push_back(wall.nsecsElapsed() / 1e6);
    pdfBytes = pdf.size();

    t0 = bench::cpuMicros();
    floorBytes = 0;
    for (std::size_t i = 0; i < keys.size(); ++i) {
      const QImage img = QImage::fromData(body);
      QByteArray out;
      QBuffer b(&out);
      b.open(QIODevice::WriteOnly);
      img.save(&b, "PNG");
      floorBytes += out.size();
    }
    floorMs.push_back((bench::cpuMicros() - t0) / 1000);
  }
  const double pdf = bench::median(pdfMs), floor = bench::median(floorMs);
  std::printf("sheet A4 portrait 1:25000 quality 1: %zu tiles at zoom %d\n", keys.size(), sheet.zoom);
  std::printf("createPDFData   %8.1f ms CPU, %.1f ms wall (medians of %d)  PDF %.1f MB\n", pdf,
              bench::median(pdfWallMs), rounds, pdfBytes / 1e6);
  std::printf("decode+PNG floor %7.1f ms CPU (median of %d)  %.1f MB\n", floor, rounds, floorBytes / 1e6);
  std::printf("ratio %.2f x the floor\n", pdf / floor);
  return 0;
}
