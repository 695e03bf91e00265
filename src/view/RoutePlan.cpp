#include "view/RoutePlan.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace tw {

namespace {

constexpr int kStateRestStart = 3;
constexpr int kStateRestEnd = 4;

Marker centredMarker(MarkerKind kind, const Track& t, int s, int size = 16)
{
  const int32_t h = size / 2;
  return {kind, false, (t.x >> s) - h, (t.y >> s) - h, size};
}

void pointMarkers(const RouteInput& in, const std::vector<Track>& pts, int s, std::vector<Marker>& out)
{
  // Thinning runs in the layer's y-up frame, starting from (0, −1), so the first marker's
  // distance test matches the drawing it stands for.
  int32_t lx = 0, ly = -1;
  const bool small = in.zoom == 15;
  for (const Track& t : pts) {
    const int32_t px = (t.x >> s) - 8;
    const int32_t py = -8 - (t.y >> s);
    const int64_t dx = std::llabs(static_cast<int64_t>(lx) - px);
    const int64_t dy = std::llabs(static_cast<int64_t>(ly) - py);
    const int64_t d = (246 * std::max(dx, dy) + 102 * std::min(dx, dy)) >> 8;
    if (d < 2) continue;
    MarkerKind kind = MarkerKind::Track;
    if (in.show_peak) {
      if (t.peak_type == 1)
        kind = MarkerKind::Peak;
      else if (t.peak_type == 2)
        kind = MarkerKind::Col;
      else if (in.mode == Mode::Base)
        continue;  // base mode marks only peaks and cols
    }
    out.push_back({kind, small, px, (t.y >> s) - 8, 16});
    lx = px;
    ly = py;
  }
}

}  // namespace

int routeLineWidth(int zoom) { return zoom >= 17 ? zoom - 13 : 3; }

void colourStretches(const std::vector<Track>& pts, int track, std::vector<Stretch>& out)
{
  if (pts.empty()) return;
  bool down = false;
  bool first = true;
  size_t start = 0;
  for (size_t k = 1; k < pts.size(); ++k) {
    const int pt = pts[k].peak_type;
    if (pt != 1 && pt != 2) continue;
    if (first) {
      down = pt == 2;
      first = false;
    }
    out.push_back({track, start, k, down});
    down = pt == 1;
    start = k;
  }
  if (start + 1 < pts.size()) out.push_back({track, start, pts.size() - 1, down});
}

int restMarkerSize(const std::vector<Track>& pts, const std::vector<int>& states, size_t i)
{
  const size_t count = pts.size();
  for (size_t j = i + 1; j < count; ++j) {
    if (states[j] != kStateRestEnd && j != count - 1) continue;
    if (!pts[i].time || !pts[j].time) return 16;
    const auto t = std::chrono::duration_cast<std::chrono::seconds>(*pts[j].time - *pts[i].time).count();
    return t > 599 ? 20 : 16;
  }
  return 16;
}

RoutePlan planRoute(const RouteInput& in)
{
  RoutePlan plan;
  plan.lineWidth = routeLineWidth(in.zoom);
  const int s = 18 - in.zoom;
  if (in.track_mode == TrackMode::Hidden || !in.tracks) return plan;

  const auto& tracks = *in.tracks;
  const bool twoColour = !in.invalid_track && in.down_width != 0;
  for (size_t i = 0; i < tracks.size(); ++i) {
    if (in.track_mode == TrackMode::Active && static_cast<int>(i) != in.active_track) continue;
    const auto& pts = tracks[i].points;
    if (twoColour)
      colourStretches(pts, static_cast<int>(i), plan.stretches);
    else if (pts.size() >= 2)
      plan.stretches.push_back({static_cast<int>(i), 0, pts.size() - 1, false});
  }

  if (in.active_track < 0 || in.active_track >= static_cast<int>(tracks.size())) return plan;
  const auto& routes = tracks[static_cast<size_t>(in.active_track)].points;
  const int count = static_cast<int>(routes.size());

  if (in.zoom >= 15 && (in.track_tool || (in.mode == Mode::Base && in.show_peak))) {
    pointMarkers(in, routes, s, plan.markers);
    if (in.show_list == 1 && in.track_tool && !in.mouse_on_map && in.selected_rows) {
      for (int row : *in.selected_rows) {
        if (row < 0 || row >= count) continue;
        Marker m = centredMarker(MarkerKind::Active, routes[static_cast<size_t>(row)], s);
        m.small = in.zoom == 15;
        plan.markers.push_back(m);
      }
    }
  }

  int f = 0, e = count;
  if (in.graph_type == 1) {
    f = in.part_start;
    e = in.part_end;
  }
  if (count > 0 && f >= 0 && f < count) plan.markers.push_back(centredMarker(MarkerKind::Start, routes[f], s));
  if (count >= 2 && e >= 1 && e - 1 < count && !in.input_tool)
    plan.markers.push_back(centredMarker(MarkerKind::End, routes[e - 1], s));

  if (in.show_rest && in.states && in.states->size() == routes.size()) {
    const auto& st = *in.states;
    for (size_t i = 0; i < routes.size(); ++i) {
      if (st[i] != kStateRestStart) continue;
      const int side = restMarkerSize(routes, st, i);
      const int32_t h = side / 2;
      // The square's y-up origin is −(y + side/2); its top edge in y-down pixels is y + h − side.
      plan.markers.push_back({MarkerKind::Rest, false, (routes[i].x >> s) - h, (routes[i].y >> s) + h - side, side});
    }
  }
  return plan;
}

}  // namespace tw
