// The elevation graph panel at 950 × 250 for 10k, 100k and 1M-point tracks: a full redraw of
// the panel (model copy, scales, profile, waypoints, blit) and a pointer move (the pointer layer
// over the cached profile), beside a plain antialiased QPainterPath through every point into an
// image of the same size. Medians of thread CPU time.
// Usage: bench_graph [repeats]   (QT_QPA_PLATFORM=offscreen is set by the program)
#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "../common/BenchClock.h"
#include "app/AppDelegate.h"
#include "graph/GraphView.h"

namespace {

// A hike logged every second: 1.2 m steps, elevations rising and falling, a waypoint each 20k.
tw::TrackInfo hike(std::size_t n)
{
  tw::TrackInfo t;
  t.points.resize(n);
  float dist = 0;
  for (std::size_t i = 0; i < n; ++i) {
    tw::Track& p = t.points[i];
    tw::setPosition(p, 35.6 + 0.00001 * double(i % 5000), 139.2 + 0.0000001 * double(i));
    p.elev = 600.0f + 300.0f * float(std::sin(double(i) / 3000.0)) + float(i % 7);
    p.seg_dist = i ? 1.2f : 0.0f;
    dist += p.seg_dist;
    p.dist = dist;
    if (i % 20000 == 10000) p.wp_index = int(i / 20000) % 3;
  }
  t.stable = 1;
  return t;
}

double plainPathMicros(const std::vector<tw::Track>& pts, QImage& img)
{
  const double t0 = bench::cpuMicros();
  const double total = pts.back().dist, pw = 885, ph = 198;
  QPainterPath path;
  for (std::size_t i = 0; i < pts.size(); ++i) {
    const QPointF q(50 + pts[i].dist * pw / total, 230 - (pts[i].elev - 200) * ph / 800);
    i ? path.lineTo(q) : path.moveTo(q);
  }
  img.fill(Qt::black);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(128, 255, 255, 180), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(path);
  return bench::cpuMicros() - t0;
}

}  // namespace

int main(int argc, char** argv)
{
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  const int reps = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  ScriptedMessageBoxes boxes;
  AppDelegate d({&boxes, nullptr});
  d.timer.stop();
  d.drawTimer.stop();
  for (int k = 0; k < 3; ++k) {
    tw::WayPoint w;
    w.name = "ウェイポイント" + std::to_string(k);
    d.doc.waypoints.push_back(w);
  }
  QWidget base;
  base.resize(1200, 800);
  auto* graph = new GraphView(d, &base);
  graph->initGraphView();
  graph->show();
  auto* pointer = graph->pointer();
  QImage img(950, 250, QImage::Format_ARGB32_Premultiplied);

  std::printf("%-8s %14s %14s %14s %10s\n", "points", "full redraw", "pointer move", "plain path", "ratio");
  for (std::size_t n : {std::size_t(10'000), std::size_t(100'000), std::size_t(1'000'000)}) {
    d.doc.tracks.clear();
    d.doc.tracks.push_back(hike(n));
    d.doc.active_track = 0;
    d.calcTrackData();
    std::vector<double> full, move, plain;
    for (int r = 0; r < reps; ++r) {
      // What a paint of the panel does: the profile redrawn into its cache, blitted, the pointer.
      full.push_back(bench::timeOnce([&] {
        d.graphNeedsDraw = true;
        graph->render(&img);
      }, 1));
      // What a pointer update repaints: the cached profile under the pointer view, the pointer.
      const int before = graph->profileDraws();
      move.push_back(bench::timeOnce([&] {
        pointer->pointer_x = 100 + 37 * r;
        graph->render(&img, QPoint(), QRegion(pointer->geometry()));
      }, 1));
      if (graph->profileDraws() != before + 0) std::fprintf(stderr, "a pointer move redrew the profile\n");
      // The plain path takes seconds at 1M points: three runs there.
      if (n < 1'000'000 || r < 3) plain.push_back(plainPathMicros(d.doc.tracks[0].points, img));
    }
    if (getenv("BENCH_SPLIT")) {
      tw::GraphModel m;
      const double tm = bench::timeOnce([&] { m = d.graphModel(); }, 3);
      tw::GraphChrome chrome;
      const double td = bench::timeOnce([&] { QPainter p(&img); tw::drawGraphScreen(p, 950, 250, m, chrome); }, 3);
      m.points.clear();
      const double te = bench::timeOnce([&] { QPainter p(&img); tw::drawGraphScreen(p, 950, 250, m, chrome); }, 3);
      std::fprintf(stderr, "model %.2f ms, draw %.2f ms, draw without points %.2f ms\n", tm / 1000, td / 1000, te / 1000);
    }
    const double f = bench::median(full) / 1000, m = bench::median(move) / 1000, p = bench::median(plain) / 1000;
    std::printf("%-8zu %11.2f ms %11.3f ms %11.2f ms %9.2fx\n", n, f, m, p, p / f);
  }
  return 0;
}
