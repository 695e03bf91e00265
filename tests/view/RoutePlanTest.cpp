#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <tuple>

#include "view/RoutePlan.h"

using namespace tw;

namespace {

// A track of points `step` zoom-18 pixels apart eastward with the given peak types.
TrackInfo line(std::vector<int> peaks, int32_t step = 800)
{
  TrackInfo t;
  for (size_t i = 0; i < peaks.size(); ++i) {
    Track pt;
    pt.x = (1 << 20) + static_cast<int32_t>(i) * step, pt.y = 1 << 20, pt.peak_type = peaks[i];
    t.points.push_back(pt);
  }
  return t;
}

RouteInput input(const std::vector<TrackInfo>& tracks, int zoom = 15)
{
  RouteInput in;
  std::tie(in.tracks, in.active_track, in.zoom) = std::tuple(&tracks, 0, zoom);
  return in;
}

// The markers in drawing order, one letter each: Track, Peak, Col, Active, Start, End, Rest;
// lower case for the small zoom-15 images.
std::string markers(const RouteInput& in)
{
  std::string s;
  for (const Marker& m : planRoute(in).markers) {
    const char c = "TPCASER"[static_cast<int>(m.kind)];
    s += m.small ? static_cast<char>(c + 32) : c;
  }
  return s;
}

// The stretches as "track:first-last", with "v" for the descending colour.
std::string stretches(const RouteInput& in)
{
  std::string s;
  for (const Stretch& st : planRoute(in).stretches)
    s += (s.empty() ? "" : " ") + std::to_string(st.track) + ":" + std::to_string(st.first) + "-" +
         std::to_string(st.last) + (st.down ? "v" : "");
  return s;
}

}  // namespace

TEST(RoutePlan, StretchesTrackModesAndLineWidths)
{
  // Split at peaks (1) and cols (2); the first turning point decides the start, and a track
  // ending on one leaves no empty stretch.
  const std::pair<std::vector<int>, const char*> cases[] = {
      {{0, 0, 1, 0, 2, 0, 0}, "0:0-2 0:2-4v 0:4-6"}, {{0, 2, 0, 1, 0}, "0:0-1v 0:1-3 0:3-4v"}, {{0, 0, 1}, "0:0-2"}};
  for (const auto& [peaks, want] : cases) {
    const std::vector<TrackInfo> tracks{line(peaks)};
    EXPECT_EQ(stretches(input(tracks)), want);
  }
  // One colour when the second colour is off or elevations are being recalculated.
  const std::vector<TrackInfo> tracks{line({0, 1, 0, 2, 0}), line({0, 0}), line({0, 0})};
  RouteInput in = input(tracks);
  in.down_width = 0;
  in.track_mode = TrackMode::Active;  // the active track only
  EXPECT_EQ(stretches(in), "0:0-4");
  std::tie(in.down_width, in.invalid_track, in.active_track) = std::tuple(4, true, 1);
  EXPECT_EQ(stretches(in), "1:0-1");
  in.track_mode = TrackMode::All;
  EXPECT_EQ(stretches(in), "0:0-4 1:0-1 2:0-1");
  in.track_mode = TrackMode::Hidden;
  EXPECT_TRUE(planRoute(in).stretches.empty() && planRoute(in).markers.empty());
  const std::pair<int, int> widths[] = {{10, 3}, {16, 3}, {17, 4}, {18, 5}};
  for (const auto& [zoom, w] : widths) EXPECT_EQ(routeLineWidth(zoom), w) << zoom;
}

TEST(RoutePlan, PointPeakStartEndAndSelectionMarkers)
{
  // Zoom-18 step and point count → markers at zoom 15 (a step of 8 is one pixel there).
  // Skipped points do not move the reference: the fourth, 3 pixels from the first, is drawn.
  const std::tuple<int32_t, int, const char*> thinning[] = {{8, 1, "tS"}, {8, 2, "tSE"}, {8, 4, "ttSE"}, {24, 3, "tttSE"}};
  for (const auto& [step, n, want] : thinning) {
    const std::vector<TrackInfo> tracks{line(std::vector<int>(n, 0), step)};
    RouteInput in = input(tracks);
    in.track_tool = true;
    EXPECT_EQ(markers(in), want) << step << " × " << n;
    in.zoom = 14;  // no point markers below zoom 15
    EXPECT_EQ(markers(in), n > 1 ? "SE" : "S");
  }
  const std::vector<TrackInfo> tracks{line({0, 1, 0, 2, 0})};
  RouteInput in = input(tracks, 16);
  in.show_peak = true;
  EXPECT_EQ(markers(in), "PCSE");  // base mode marks only peaks and cols
  in.mode = Mode::Edit, in.track_tool = true;
  EXPECT_EQ(markers(in), "TPTCTSE");  // the track tool marks every point
  in.show_peak = false;
  in.input_tool = true;  // which draws on from the end
  EXPECT_EQ(markers(in), "TTTTTS");
  // Rows selected in the point list are marked while the mouse is off the map.
  const std::vector<int> rows{1, 3, 7};
  std::tie(in.show_list, in.selected_rows, in.mouse_on_map) = std::tuple(1, &rows, false);
  EXPECT_EQ(markers(in), "TTTTTAAS");
  std::tie(in.mouse_on_map, in.input_tool, in.track_tool) = std::tuple(true, false, false);
  in.graph_type = 1;  // the graph's part: its own start and end
  std::tie(in.part_start, in.part_end) = std::pair(1, 3);
  const RoutePlan p = planRoute(in);
  ASSERT_EQ(markers(in), "SE");  // 16 × 16, centred on the point
  EXPECT_EQ(std::tuple(p.markers[0].x, p.markers[0].y, p.markers[1].x),
            std::tuple((tracks[0].points[1].x >> 2) - 8, (tracks[0].points[1].y >> 2) - 8, (tracks[0].points[2].x >> 2) - 8));
  std::tie(in.part_start, in.part_end) = std::pair(5, 9);
  EXPECT_EQ(markers(in), "");
}

TEST(RoutePlan, RestMarkers)
{
  std::vector<TrackInfo> tracks{line({0, 0, 0, 0, 0})};
  const auto t0 = TimePoint{std::chrono::hours(400000)};
  tracks[0].points[1].time = t0;
  tracks[0].points[3].time = t0 + std::chrono::milliseconds(599999);
  const std::vector<int> states{1, 3, 0, 4, 2};
  EXPECT_EQ(restMarkerSize(tracks[0].points, states, 1), 16);
  tracks[0].points[3].time = t0 + std::chrono::seconds(600);
  RouteInput in = input(tracks, 14);  // rests are marked below zoom 15 too
  in.states = &states;
  const Marker big = planRoute(in).markers.back();
  EXPECT_EQ(std::tuple(big.kind, big.size, big.x, big.y),
            std::tuple(MarkerKind::Rest, 20, (tracks[0].points[1].x >> 4) - 10, (tracks[0].points[1].y >> 4) - 10));

  tracks[0].points[3].time.reset();
  EXPECT_EQ(restMarkerSize(tracks[0].points, states, 1), 16);
  tracks[0].points[4].time = t0 + std::chrono::seconds(900);  // no end: it runs to the last point
  EXPECT_EQ(restMarkerSize(tracks[0].points, {1, 3, 0, 0, 0}, 1), 20);
  EXPECT_EQ(restMarkerSize(tracks[0].points, {1, 0, 0, 0, 3}, 4), 16);
  const std::vector<int> shorter{1, 3, 0, 4};
  in.states = &shorter;
  EXPECT_EQ(markers(in), "SE");
  std::tie(in.states, in.show_rest) = std::pair(&states, false);
  EXPECT_EQ(markers(in), "SE");
}
