// The point list of 100k and 1M-point tracks on the main window: showing the list (model reset
// to the first paint of its rows), a scroll step, and copying all rows to the clipboard, beside
// the floor of writing the same rows with one snprintf per row into memory. Medians of wall
// time (the list is shown on the main thread; nothing else runs) and thread CPU time.
// Usage: bench_list [repeats]   (QT_QPA_PLATFORM=offscreen is set by the program)
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "../common/BenchClock.h"
#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "lists/TrackView.h"

namespace {

// A hike logged every second around Takao: 1.2 m steps, elevations rising and falling.
tw::TrackInfo hike(size_t n)
{
  tw::TrackInfo t;
  t.points.resize(n);
  const auto start = tw::TimePoint(std::chrono::sys_days{std::chrono::year{2024} / 5 / 4});
  float dist = 0;
  for (size_t i = 0; i < n; ++i) {
    tw::Track& p = t.points[i];
    tw::setPosition(p, 35.6 + 0.00001 * double(i % 5000), 139.2 + 0.0000001 * double(i));
    p.elev = 200.0f + 300.0f * float(std::sin(double(i) / 3000.0));
    p.seg_dist = i ? 1.2f : 0.0f;
    dist += p.seg_dist;
    p.dist = dist;
    p.time = start + std::chrono::seconds(i);
    p.speed = 3000 + int(i % 700);
  }
  t.valid_time = true;
  return t;
}

// One snprintf per row, the same fields and formats, into a buffer allocated once.
double snprintfFloorMs(const std::vector<tw::Track>& pts, std::string& out)
{
  const double t0 = bench::cpuMicros();
  out.resize(pts.size() * 96 + 64);
  char* p = out.data();
  for (size_t i = 0; i < pts.size(); ++i) {
    const tw::Track& t = pts[i];
    const auto since = std::chrono::duration_cast<std::chrono::seconds>(t.time->time_since_epoch());
    const std::time_t s = std::time_t(since.count()) + 9 * 3600;
    std::tm tm{};
    gmtime_r(&s, &tm);
    int speed = 0;
    if (i > 0) speed = int(t.seg_dist * 3600.0 / 1.0);
    p += std::snprintf(p, 96, "%zu\t%4.2f\t%04d/%02d/%02d\t%02d:%02d:%02d\t%d\t%d\t%8.6f\t%8.6f\n", i + 1, double(t.elev),
                       tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, int(t.dist), speed,
                       t.lat, t.lon);
  }
  out.resize(size_t(p - out.data()));
  return (bench::cpuMicros() - t0) / 1000.0;
}

struct Times {
  std::vector<double> wall, cpu;
};

template <class Fn>
void measure(Times& t, Fn&& fn)
{
  QElapsedTimer clock;
  clock.start();
  const double c0 = bench::cpuMicros();
  fn();
  t.cpu.push_back((bench::cpuMicros() - c0) / 1000.0);
  t.wall.push_back(double(clock.nsecsElapsed()) / 1e6);
}

}  // namespace

int main(int argc, char** argv)
{
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir config;
  qputenv("TARNWICK_CONFIG_DIR", config.path().toUtf8());
  QApplication app(argc, argv);
  const int reps = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;

  ScriptedMessageBoxes boxes;
  AppDelegate d({&boxes, nullptr});
  d.timer.stop();
  d.drawTimer.stop();
  MainWindow window(d);
  window.setTransient(true);
  window.resize(1400, 800);
  window.show();
  d.applicationDidFinishLaunching();

  std::printf("%-8s %12s %12s %12s %14s %14s %8s\n", "points", "show (ms)", "scroll (ms)", "copy (ms)",
              "snprintf (ms)", "rows only (ms)", "ratio");
  for (size_t n : {size_t(100000), size_t(1000000)}) {
    d.hideTrackView();
    d.doc.tracks.clear();
    d.doc.tracks.push_back(hike(n));
    d.doc.active_track = 0;
    TrackView* list = d.trackView;
    Times show, scroll, copy, floor, rows;
    std::string buffer;
    for (int r = 0; r < reps; ++r) {
      d.hideTrackView();
      QApplication::processEvents();
      measure(show, [&] {
        d.showTrackList();
        list->viewport()->repaint();  // the first paint of the rows on screen
      });
      measure(scroll, [&] {
        list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum() / 2 + r * 40);
        list->viewport()->repaint();
      });
      list->selectAll();
      QApplication::clipboard()->clear();
      measure(copy, [&] { list->copy(); });
      measure(rows, [&] { buffer = d.copyLines(list->selectedRowList()); });
      floor.cpu.push_back(snprintfFloorMs(*d.routes(), buffer));
    }
    const double c = bench::median(copy.cpu), f = bench::median(floor.cpu);
    std::printf("%-8zu %12.2f %12.2f %12.1f %14.1f %14.1f %7.2fx\n", n, bench::median(show.wall),
                bench::median(scroll.wall), c, f, bench::median(rows.cpu), c / f);
  }
  std::printf("show and scroll: wall-clock medians; copy (selection → text → clipboard), the rows' text alone and\n"
              "the snprintf floor: thread-CPU medians of %d runs; ratio = copy / floor.\n",
              reps);
  return 0;
}
