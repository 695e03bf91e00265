// Pixel checks of the route layer drawn into offscreen images.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <chrono>

#include "view/RouteRenderer.h"

using namespace tw;

namespace {

constexpr int kOrigin = 10000;  // view origin in global pixels at every zoom used here

QImage solid(QColor c)
{
  QImage im(10, 10, QImage::Format_ARGB32_Premultiplied);
  im.fill(c);
  return im;
}

MarkerImages markers()
{
  MarkerImages m;
  m.track_img = m.track15_img = solid(Qt::green);
  m.peak_img = m.peak15_img = solid(Qt::darkYellow);
  m.col_img = m.col15_img = solid(Qt::cyan);
  m.start_img = solid(Qt::yellow);
  m.end_img = solid(Qt::black);
  m.rest_img = solid(Qt::magenta);
  return m;
}

// A point at view pixel (px, py) at `zoom`.
Track at(int px, int py, int zoom, int peak = 0)
{
  Track t;
  t.x = (kOrigin + px) << (18 - zoom);
  t.y = (kOrigin + py) << (18 - zoom);
  t.peak_type = peak;
  return t;
}

TrackInfo track(std::initializer_list<Track> pts)
{
  TrackInfo t;
  t.points = pts;
  return t;
}

QImage render(const std::vector<TrackInfo>& tracks, int zoom, void (*tweak)(RouteInput&) = nullptr,
              const std::vector<int>* states = nullptr)
{
  RouteInput in;
  in.tracks = &tracks;
  in.active_track = 0;
  in.zoom = zoom;
  in.mode = Mode::Edit;
  in.states = states;
  if (tweak) tweak(in);
  QImage img(200, 100, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  drawRoute(p, in, {QColor(255, 0, 0), QColor(0, 0, 255)}, markers(), DRect{kOrigin, kOrigin, 200, 100});
  return img;
}

int countColour(const QImage& img, QRgb c)
{
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) == c;
  return n;
}

}  // namespace

TEST(RouteRender, ClimbDescentClimbColours)
{
  const std::vector<TrackInfo> tracks{track({at(10, 50, 16), at(60, 50, 16, 1), at(110, 50, 16, 2), at(160, 50, 16)})};
  const QImage img = render(tracks, 16, [](RouteInput& in) { in.show_rest = false; });
  auto check = [&](int x, int r, int b) {
    const QColor c = img.pixelColor(x, 50);
    EXPECT_EQ(c.red(), r) << x;
    EXPECT_EQ(c.blue(), b) << x;
    EXPECT_EQ(c.alpha(), 230) << x;  // alpha 0.9 on screen
  };
  check(35, 255, 0);
  check(85, 0, 255);
  check(135, 255, 0);
}

TEST(RouteRender, OneColourWhenTheSecondColourIsOff)
{
  const std::vector<TrackInfo> tracks{track({at(10, 50, 16), at(60, 50, 16, 1), at(110, 50, 16, 2), at(160, 50, 16)})};
  const QImage img = render(tracks, 16, [](RouteInput& in) { in.down_width = 0; });
  EXPECT_EQ(img.pixelColor(85, 50).red(), 255);
  EXPECT_EQ(img.pixelColor(85, 50).blue(), 0);
}

TEST(RouteRender, LineWidthsByZoom)
{
  for (int zoom : {16, 17, 18}) {
    const std::vector<TrackInfo> tracks{track({at(20, 50, zoom), at(180, 50, zoom)})};
    const QImage img = render(tracks, zoom);
    double coverage = 0;
    for (int y = 0; y < 100; ++y) coverage += img.pixelColor(100, y).alpha() / 229.5;
    EXPECT_NEAR(coverage, routeLineWidth(zoom), 0.05) << zoom;
  }
}

TEST(RouteRender, PointMarkersOnlyFromZoom15)
{
  const auto tweak = [](RouteInput& in) { in.track_tool = true; };
  const std::vector<TrackInfo> z14{track({at(20, 50, 14), at(60, 50, 14), at(100, 50, 14), at(140, 50, 14)})};
  const QImage at14 = render(z14, 14, tweak);
  EXPECT_EQ(countColour(at14, qRgb(0, 255, 0)), 0);
  EXPECT_EQ(countColour(at14, qRgb(255, 255, 0)), 256);  // the start marker still is
  EXPECT_EQ(countColour(at14, qRgb(0, 0, 0)), 256);      // and the end marker
  const std::vector<TrackInfo> z15{track({at(20, 50, 15), at(60, 50, 15), at(100, 50, 15), at(140, 50, 15)})};
  const QImage at15 = render(z15, 15, tweak);
  EXPECT_EQ(countColour(at15, qRgb(0, 255, 0)), 2 * 256);  // the middle points; ends are covered
}

TEST(RouteRender, RestMarkerSizes)
{
  using namespace std::chrono;
  const std::vector<int> states{1, 1, 3, 0, 4, 2};
  for (auto [rest, side] : {std::pair{seconds(599), 16}, std::pair{seconds(600), 20}}) {
    std::vector<TrackInfo> tracks{track({at(10, 20, 14), at(40, 20, 14), at(100, 50, 14), at(100, 51, 14), at(101, 51, 14),
                                    at(190, 90, 14)})};
    const auto t0 = TimePoint{hours(480000)};
    tracks[0].points[2].time = t0;
    tracks[0].points[4].time = t0 + rest;
    const QImage img = render(tracks, 14, nullptr, &states);
    EXPECT_EQ(countColour(img, qRgb(255, 0, 255)), side * side) << rest.count();
  }
}

TEST(RouteRender, HiddenTracksDrawNothing)
{
  const std::vector<TrackInfo> tracks{track({at(10, 50, 16), at(160, 50, 16)})};
  const QImage img = render(tracks, 16, [](RouteInput& in) { in.track_mode = TrackMode::Hidden; });
  EXPECT_EQ(countColour(img, qRgba(0, 0, 0, 0)), 200 * 100);
}
