// The route layer drawn into an offscreen image: colours, alpha and width of the stretches and
// the size of a marker. What is drawn where is RoutePlanTest's; device pixels HiDpiRouteTest's.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <chrono>
#include <tuple>

#include "view/RouteRenderer.h"

using namespace tw;

namespace {

constexpr int kZoom = 16, kOrigin = 10000;  // view origin in global pixels at zoom 16

// A track through view pixels (x, 50), with the given peak types.
TrackInfo track(std::initializer_list<std::pair<int, int>> xs)
{
  TrackInfo t;
  for (auto [x, peak] : xs) {
    Track p;
    p.x = (kOrigin + x) << (18 - kZoom), p.y = (kOrigin + 50) << (18 - kZoom), p.peak_type = peak;
    t.points.push_back(p);
  }
  return t;
}

}  // namespace

TEST(RouteRender, StretchColoursWidthsAndMarkers)
{
  std::vector<TrackInfo> tracks{track({{10, 0}, {60, 1}, {110, 2}, {160, 0}})};
  const auto t0 = TimePoint{std::chrono::hours(480000)};
  tracks[0].points[1].time = t0;
  tracks[0].points[2].time = t0 + std::chrono::seconds(600);
  const std::vector<int> states{1, 3, 4, 2};
  RouteInput in;
  std::tie(in.tracks, in.active_track, in.zoom, in.states) = std::tuple(&tracks, 0, kZoom, &states);
  MarkerImages markers;
  markers.rest_img = QImage(10, 10, QImage::Format_ARGB32_Premultiplied);
  markers.rest_img.fill(Qt::magenta);
  QImage img(200, 100, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  drawRoute(p, in, {QColor(255, 0, 0), QColor(0, 0, 255)}, markers, DRect{kOrigin, kOrigin, 200, 100});
  p.end();

  // Climb red, descent blue, climb red, at alpha 0.9 on screen, each routeLineWidth wide.
  for (auto [x, red] : {std::pair{35, true}, std::pair{85, false}, std::pair{135, true}}) {
    const QColor c = img.pixelColor(x, 50);
    EXPECT_EQ(std::tuple(c.red(), c.blue(), c.alpha()), std::tuple(red ? 255 : 0, red ? 0 : 255, 230)) << x;
    double coverage = 0;
    for (int y = 0; y < 100; ++y) coverage += img.pixelColor(x, y).alpha() / 229.5;
    EXPECT_NEAR(coverage, routeLineWidth(kZoom), 0.05) << x;
  }
  // A ten-minute rest: its marker scaled to 20 × 20.
  int rest = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) rest += img.pixel(x, y) == qRgb(255, 0, 255);
  EXPECT_EQ(rest, 20 * 20);
}
