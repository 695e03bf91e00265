// Times the route layer's track drawing into an offscreen image for 10k, 100k and 1M points at
// zoom 15 and 10, against the reference: every point of each stretch stroked as one QPainter
// polyline (antialiased, round joins), the literal way. Figures are medians of thread CPU time.
// Usage: bench_render_route [repeats]   (QT_QPA_PLATFORM=offscreen is set by the program)
//        bench_render_route --dump DIR   writes the benchmark's 100k tracks drawn at zooms 10 and
//        15–18 as PNGs, to check that a faster renderer still draws the same picture.
#include <QGuiApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <random>
#include <vector>

#include "document/Geodesy.h"
#include "view/RouteRenderer.h"

namespace {

constexpr int kW = 1000, kH = 700;

// A meandering walk confined to the visible rectangle at `zoom`, about `stepPx` screen pixels
// per point, with a peak or col every 2000 points: every point is on screen.
tw::TrackInfo walk(size_t n, int zoom, double stepPx, const tw::DRect& fore)
{
  std::mt19937 rng(42);
  std::normal_distribution<double> turn(0.0, 0.3);
  const int s = 18 - zoom;
  double x = fore.x + fore.width / 2, y = fore.y + fore.height / 2, heading = 0.3;
  tw::TrackInfo t;
  t.points.resize(n);
  for (size_t i = 0; i < n; ++i) {
    heading += turn(rng);
    x += stepPx * std::cos(heading);
    y += stepPx * std::sin(heading);
    if (x < fore.x + 5 || x > fore.x + fore.width - 5) heading = tw::kPi - heading, x = std::clamp(x, fore.x + 5, fore.x + fore.width - 5);
    if (y < fore.y + 5 || y > fore.y + fore.height - 5) heading = -heading, y = std::clamp(y, fore.y + 5, fore.y + fore.height - 5);
    tw::Track& p = t.points[i];
    p.x = static_cast<int32_t>(x * (1 << s)) + static_cast<int32_t>(rng() % (1u << s));
    p.y = static_cast<int32_t>(y * (1 << s)) + static_cast<int32_t>(rng() % (1u << s));
    p.peak_type = (i % 2000 == 1999) ? static_cast<int>(1 + (i / 2000) % 2) : 0;
  }
  return t;
}

// The reference: every point of every stretch handed to QPainter as one polyline.
void drawLiteral(QPainter& p, const tw::RouteInput& in, const tw::RouteStyle& st, const tw::DRect& fore)
{
  const tw::RoutePlan plan = tw::planRoute(in);
  const int s = 18 - in.zoom;
  p.setRenderHint(QPainter::Antialiasing, true);
  std::vector<QPointF> poly;
  for (const tw::Stretch& r : plan.stretches) {
    QColor c = r.down ? st.down : st.route;
    c.setAlphaF(0.9f);
    p.setPen(QPen(c, plan.lineWidth, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    const auto& pts = (*in.tracks)[static_cast<size_t>(r.track)].points;
    poly.clear();
    for (size_t k = r.first; k <= r.last; ++k) poly.emplace_back((pts[k].x >> s) - fore.x, (pts[k].y >> s) - fore.y);
    p.drawPolyline(poly.data(), static_cast<int>(poly.size()));
  }
}

// Thread CPU time: the machine is shared, and wall time mostly measures the neighbours.
double cpuMs()
{
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// A hike logged every second: about 1.2 m per point (2.5 zoom-18 pixels at latitude 35),
// heading drifting slowly, centred on the view; long tracks run partly off screen.
tw::TrackInfo hike(size_t n, const tw::DRect& fore, int zoom)
{
  std::mt19937 rng(7);
  std::normal_distribution<double> turn(0.0, 0.05);
  const int s = 18 - zoom;
  double x = (fore.x + fore.width / 2) * (1 << s), y = (fore.y + fore.height / 2) * (1 << s), heading = 1.0;
  tw::TrackInfo t;
  t.points.resize(n);
  for (size_t i = 0; i < n; ++i) {
    heading += turn(rng);
    x += 2.5 * std::cos(heading);
    y += 2.5 * std::sin(heading);
    t.points[i].x = static_cast<int32_t>(x);
    t.points[i].y = static_cast<int32_t>(y);
    t.points[i].peak_type = (i % 2000 == 1999) ? static_cast<int>(1 + (i / 2000) % 2) : 0;
  }
  return t;
}

template <class F>
double medianMs(int repeats, F&& f)
{
  std::vector<double> ms;
  for (int i = 0; i < repeats; ++i) {
    const double t0 = cpuMs();
    f();
    ms.push_back(cpuMs() - t0);
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

}  // namespace

static tw::DRect viewAt(int zoom)
{
  const double cx = std::trunc(tw::pixelFromLon(zoom, 138.73)), cy = std::trunc(tw::pixelFromLat(zoom, 35.36));
  return tw::DRect{std::trunc(cx - kW / 2), std::trunc(cy - kH / 2), kW, kH};
}

static int dump(const QString& dir, const MarkerImages& img, const tw::RouteStyle& style)
{
  QDir().mkpath(dir);
  for (int zoom : {10, 15, 16, 17, 18}) {
    const tw::DRect fore = viewAt(zoom);
    for (int kind = 0; kind < 2; ++kind) {
      const std::vector<tw::TrackInfo> tracks{kind == 0 ? walk(100000, zoom, zoom == 10 ? 2.0 : 0.36, fore)
                                                        : hike(100000, fore, zoom)};
      for (bool markers : {false, true}) {
        tw::RouteInput in;
        in.tracks = &tracks;
        in.active_track = 0;
        in.zoom = zoom;
        in.mode = tw::Mode::Edit;
        in.track_tool = markers;
        QImage target(kW, kH, QImage::Format_ARGB32_Premultiplied);
        target.fill(Qt::white);
        {
          QPainter p(&target);
          tw::drawRoute(p, in, style, img, fore);
        }
        const QString name = QStringLiteral("%1/%2-z%3%4.png")
                                 .arg(dir, kind == 0 ? "dense" : "hike")
                                 .arg(zoom)
                                 .arg(markers ? "-markers" : "");
        if (!target.save(name)) {
          std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
          return 1;
        }
      }
    }
  }
  return 0;
}

int main(int argc, char** argv)
{
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  MarkerImages img;
  QImage mark(10, 10, QImage::Format_ARGB32_Premultiplied);
  mark.fill(QColor(0, 128, 0));
  img.start_img = img.end_img = img.track15_img = mark;
  img.track_img = QImage(10, 10, QImage::Format_ARGB32_Premultiplied);
  img.track_img.fill(Qt::white);
  tw::RouteStyle style;
  if (argc > 2 && QByteArray(argv[1]) == "--dump") return dump(QString::fromLocal8Bit(argv[2]), img, style);
  const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  QImage target(kW, kH, QImage::Format_ARGB32_Premultiplied);

  std::printf("%-6s %-8s %-5s %-7s %12s %12s %8s\n", "track", "points", "zoom", "markers", "drawRoute ms", "QPainter ms",
              "ratio");
  for (size_t n : {size_t(10000), size_t(100000), size_t(1000000)}) {
    for (int zoom : {15, 10}) {
      const tw::DRect fore = viewAt(zoom);
      // Dense: the whole track inside the view, about 0.36 screen pixels per point at zoom 15
      // (a day's log around one place) and 2 pixels at zoom 10 (every point on its own pixel),
      // the worst case for each zoom. Hike: a realistic long walk through the view.
      for (int kind = 0; kind < 2; ++kind) {
      const std::vector<tw::TrackInfo> tracks{kind == 0 ? walk(n, zoom, zoom == 15 ? 0.36 : 2.0, fore)
                                                        : hike(n, fore, zoom)};
      for (bool markers : {false, true}) {
        if (markers && zoom < 15) continue;
        tw::RouteInput in;
        in.tracks = &tracks;
        in.active_track = 0;
        in.zoom = zoom;
        in.mode = tw::Mode::Edit;
        in.track_tool = markers;
        const double ours = medianMs(repeats, [&] {
          target.fill(Qt::transparent);
          QPainter p(&target);
          tw::drawRoute(p, in, style, img, fore);
        });
        const double literal = medianMs(repeats, [&] {
          target.fill(Qt::transparent);
          QPainter p(&target);
          drawLiteral(p, in, style, fore);
        });
        std::printf("%-6s %-8zu %-5d %-7s %12.2f %12.2f %8.2f\n", kind == 0 ? "dense" : "hike", n, zoom,
                    markers ? "yes" : "no", ours, literal, literal / ours);
        std::fflush(stdout);
      }
      }
    }
  }
  return 0;
}
