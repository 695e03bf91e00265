#include <gtest/gtest.h>

#include <chrono>

#include "view/RoutePlan.h"

using namespace tw;

namespace {

// A track of points `step` zoom-18 pixels apart eastward with the given peak types.
TrackInfo line(std::initializer_list<int> peaks, int32_t step = 800, int32_t x0 = 1 << 20, int32_t y0 = 1 << 20)
{
  TrackInfo t;
  int32_t x = x0;
  for (int p : peaks) {
    Track pt;
    pt.x = x;
    pt.y = y0;
    pt.peak_type = p;
    t.points.push_back(pt);
    x += step;
  }
  return t;
}

RouteInput input(const std::vector<TrackInfo>& tracks, int zoom = 15)
{
  RouteInput in;
  in.tracks = &tracks;
  in.active_track = 0;
  in.zoom = zoom;
  return in;
}

int countKind(const RoutePlan& p, MarkerKind k)
{
  int n = 0;
  for (const Marker& m : p.markers) n += m.kind == k;
  return n;
}

}  // namespace

TEST(RoutePlan, ClimbDescentClimb)
{
  const std::vector<TrackInfo> tracks{line({0, 0, 1, 0, 2, 0, 0})};
  const RoutePlan p = planRoute(input(tracks));
  ASSERT_EQ(p.stretches.size(), 3u);
  EXPECT_FALSE(p.stretches[0].down);
  EXPECT_EQ(p.stretches[0].first, 0u);
  EXPECT_EQ(p.stretches[0].last, 2u);
  EXPECT_TRUE(p.stretches[1].down);
  EXPECT_EQ(p.stretches[1].first, 2u);
  EXPECT_EQ(p.stretches[1].last, 4u);
  EXPECT_FALSE(p.stretches[2].down);
  EXPECT_EQ(p.stretches[2].last, 6u);
}

TEST(RoutePlan, FirstTurningPointDecidesTheStart)
{
  const std::vector<TrackInfo> tracks{line({0, 2, 0, 1, 0})};
  const RoutePlan p = planRoute(input(tracks));
  ASSERT_EQ(p.stretches.size(), 3u);
  EXPECT_TRUE(p.stretches[0].down);
  EXPECT_FALSE(p.stretches[1].down);
  EXPECT_TRUE(p.stretches[2].down);
  // A track ending on its turning point leaves no empty stretch behind.
  const std::vector<TrackInfo> ends{line({0, 0, 1})};
  EXPECT_EQ(planRoute(input(ends)).stretches.size(), 1u);
}

TEST(RoutePlan, OneColourWhenSwitchedOffOrRecalculating)
{
  const std::vector<TrackInfo> tracks{line({0, 1, 0, 2, 0})};
  RouteInput in = input(tracks);
  in.down_width = 0;
  RoutePlan p = planRoute(in);
  ASSERT_EQ(p.stretches.size(), 1u);
  EXPECT_FALSE(p.stretches[0].down);
  EXPECT_EQ(p.stretches[0].last, 4u);
  in.down_width = 4;
  in.invalid_track = true;
  p = planRoute(in);
  ASSERT_EQ(p.stretches.size(), 1u);
  EXPECT_FALSE(p.stretches[0].down);
}

TEST(RoutePlan, TrackModes)
{
  const std::vector<TrackInfo> tracks{line({0, 0}), line({0, 0}), line({0, 0})};
  RouteInput in = input(tracks, 14);
  in.active_track = 1;
  in.track_mode = TrackMode::Hidden;
  RoutePlan p = planRoute(in);
  EXPECT_TRUE(p.stretches.empty());
  EXPECT_TRUE(p.markers.empty());
  in.track_mode = TrackMode::Active;
  p = planRoute(in);
  ASSERT_EQ(p.stretches.size(), 1u);
  EXPECT_EQ(p.stretches[0].track, 1);
  in.track_mode = TrackMode::All;
  EXPECT_EQ(planRoute(in).stretches.size(), 3u);
}

TEST(RoutePlan, LineWidthByZoom)
{
  EXPECT_EQ(routeLineWidth(10), 3);
  EXPECT_EQ(routeLineWidth(16), 3);
  EXPECT_EQ(routeLineWidth(17), 4);
  EXPECT_EQ(routeLineWidth(18), 5);
}

TEST(RoutePlan, PointMarkersThinOutOnScreen)
{
  // Zoom-18 steps of 8 are one pixel at zoom 15.
  const std::vector<TrackInfo> tracks{line({0, 0}, 8)};
  RouteInput in = input(tracks);
  in.track_tool = true;
  RoutePlan p = planRoute(in);
  EXPECT_EQ(countKind(p, MarkerKind::Track), 1);
  EXPECT_TRUE(p.markers[0].small);
  // Skipped points do not move the reference: the fourth, 3 pixels from the first, is drawn.
  const std::vector<TrackInfo> four{line({0, 0, 0, 0}, 8)};
  in.tracks = &four;
  EXPECT_EQ(countKind(planRoute(in), MarkerKind::Track), 2);
  // Three pixels apart is far enough.
  const std::vector<TrackInfo> spread{line({0, 0, 0}, 24)};
  in.tracks = &spread;
  EXPECT_EQ(countKind(planRoute(in), MarkerKind::Track), 3);
  in.zoom = 16;
  p = planRoute(in);
  EXPECT_EQ(countKind(p, MarkerKind::Track), 3);
  EXPECT_FALSE(p.markers[0].small);
  // Markers are centred: 16 × 16 around the point.
  EXPECT_EQ(p.markers[0].x, (spread[0].points[0].x >> 2) - 8);
  EXPECT_EQ(p.markers[0].y, (spread[0].points[0].y >> 2) - 8);
}

TEST(RoutePlan, NoPointMarkersBelowZoom15ButStartEndAndRests)
{
  std::vector<TrackInfo> tracks{line({0, 0, 0, 0, 0}, 800)};
  const auto t0 = TimePoint{std::chrono::hours(400000)};
  tracks[0].points[1].time = t0;
  tracks[0].points[3].time = t0 + std::chrono::seconds(700);
  const std::vector<int> states{1, 3, 0, 4, 2};
  RouteInput in = input(tracks, 14);
  in.track_tool = true;
  in.states = &states;
  const RoutePlan p = planRoute(in);
  EXPECT_EQ(countKind(p, MarkerKind::Track), 0);
  EXPECT_EQ(countKind(p, MarkerKind::Start), 1);
  EXPECT_EQ(countKind(p, MarkerKind::End), 1);
  EXPECT_EQ(countKind(p, MarkerKind::Rest), 1);
}

TEST(RoutePlan, RestMarkerSizes)
{
  std::vector<TrackInfo> tracks{line({0, 0, 0, 0, 0}, 800)};
  const auto t0 = TimePoint{std::chrono::hours(400000)};
  const std::vector<int> states{1, 3, 0, 4, 2};
  auto sizeFor = [&](std::chrono::milliseconds rest) {
    tracks[0].points[1].time = t0;
    tracks[0].points[3].time = t0 + rest;
    RouteInput in = input(tracks, 16);
    in.states = &states;
    for (const Marker& m : planRoute(in).markers)
      if (m.kind == MarkerKind::Rest) return m;
    return Marker{};
  };
  EXPECT_EQ(sizeFor(std::chrono::seconds(599)).size, 16);
  EXPECT_EQ(sizeFor(std::chrono::milliseconds(599999)).size, 16);
  const Marker big = sizeFor(std::chrono::seconds(600));
  EXPECT_EQ(big.size, 20);
  EXPECT_EQ(big.x, (tracks[0].points[1].x >> 2) - 10);
  EXPECT_EQ(big.y, (tracks[0].points[1].y >> 2) - 10);

  // Missing times, a wrong-length state array, or rests switched off.
  tracks[0].points[3].time.reset();
  RouteInput in = input(tracks, 16);
  in.states = &states;
  EXPECT_EQ(restMarkerSize(tracks[0].points, states, 1), 16);
  const std::vector<int> shorter{1, 3, 0, 4};
  in.states = &shorter;
  EXPECT_EQ(countKind(planRoute(in), MarkerKind::Rest), 0);
  in.states = &states;
  in.show_rest = false;
  EXPECT_EQ(countKind(planRoute(in), MarkerKind::Rest), 0);
}

TEST(RoutePlan, RestWithoutAnEndRunsToTheLastPoint)
{
  std::vector<TrackInfo> tracks{line({0, 0, 0, 0}, 800)};
  const auto t0 = TimePoint{std::chrono::hours(400000)};
  tracks[0].points[1].time = t0;
  tracks[0].points[3].time = t0 + std::chrono::seconds(900);
  EXPECT_EQ(restMarkerSize(tracks[0].points, {1, 3, 0, 0}, 1), 20);
  EXPECT_EQ(restMarkerSize(tracks[0].points, {1, 0, 0, 3}, 3), 16);
}

TEST(RoutePlan, StartAndEndMarkers)
{
  const std::vector<TrackInfo> one{line({0})};
  RoutePlan p = planRoute(input(one));
  EXPECT_EQ(countKind(p, MarkerKind::Start), 1);
  EXPECT_EQ(countKind(p, MarkerKind::End), 0);

  const std::vector<TrackInfo> tracks{line({0, 0, 0, 0, 0})};
  RouteInput in = input(tracks);
  in.input_tool = true;
  EXPECT_EQ(countKind(planRoute(in), MarkerKind::End), 0);
  in.input_tool = false;
  in.graph_type = 1;
  in.part_start = 1;
  in.part_end = 3;
  p = planRoute(in);
  ASSERT_EQ(p.markers.size(), 2u);
  EXPECT_EQ(p.markers[0].x, (tracks[0].points[1].x >> 3) - 8);
  EXPECT_EQ(p.markers[1].x, (tracks[0].points[2].x >> 3) - 8);
  in.part_start = 5;
  in.part_end = 9;
  EXPECT_TRUE(planRoute(in).markers.empty());
}

TEST(RoutePlan, BaseModeMarksOnlyPeaksAndCols)
{
  const std::vector<TrackInfo> tracks{line({0, 1, 0, 2, 0})};
  RouteInput in = input(tracks);
  in.mode = Mode::Base;
  in.show_peak = true;
  RoutePlan p = planRoute(in);
  EXPECT_EQ(countKind(p, MarkerKind::Track), 0);
  EXPECT_EQ(countKind(p, MarkerKind::Peak), 1);
  EXPECT_EQ(countKind(p, MarkerKind::Col), 1);
  // The track tool marks every point, peaks with their own image.
  in.mode = Mode::Edit;
  in.track_tool = true;
  p = planRoute(in);
  EXPECT_EQ(countKind(p, MarkerKind::Track), 3);
  EXPECT_EQ(countKind(p, MarkerKind::Peak), 1);
  in.show_peak = false;
  EXPECT_EQ(countKind(planRoute(in), MarkerKind::Track), 5);
}

TEST(RoutePlan, ListSelectionMarkers)
{
  const std::vector<TrackInfo> tracks{line({0, 0, 0, 0, 0})};
  const std::vector<int> rows{1, 3, 7};
  RouteInput in = input(tracks, 16);
  in.track_tool = true;
  in.show_list = 1;
  in.selected_rows = &rows;
  in.mouse_on_map = false;
  EXPECT_EQ(countKind(planRoute(in), MarkerKind::Active), 2);
  in.mouse_on_map = true;
  EXPECT_EQ(countKind(planRoute(in), MarkerKind::Active), 0);
}
