#pragma once
// What the route layer draws, as primitives over global pixels at the current zoom (y down):
// the coloured stretches of each shown track, point markers thinned on screen, selection,
// start, end and rest markers.

#include <cstdint>
#include <vector>

#include "document/Modes.h"
#include "document/Records.h"

namespace tw {

struct RouteInput {
  const std::vector<TrackInfo>* tracks = nullptr;
  int active_track = kNoIndex;
  TrackMode track_mode = TrackMode::All;
  bool invalid_track = false;
  int down_width = 4;  // 0 switches the two-colour drawing off
  int zoom = 15;
  Mode mode = Mode::Base;
  bool track_tool = false;  // isTrackMode
  bool input_tool = false;  // isInputMode
  bool show_peak = false;
  bool show_rest = true;
  int show_list = 0;
  bool mouse_on_map = true;
  const std::vector<int>* selected_rows = nullptr;  // point-list selection
  int graph_type = 0;
  int part_start = 0, part_end = 0;
  const std::vector<int>* states = nullptr;
};

// One stroked stretch: points [first, last] of track `track`.
struct Stretch {
  int track = 0;
  size_t first = 0, last = 0;
  bool down = false;  // downColor, else routeColor
};

enum class MarkerKind : uint8_t { Track, Peak, Col, Active, Start, End, Rest };

struct Marker {
  MarkerKind kind = MarkerKind::Track;
  bool small = false;       // the zoom-15 variant
  int32_t x = 0, y = 0;     // top-left, global pixels at the zoom, y down
  int32_t size = 16;
};

struct RoutePlan {
  int lineWidth = 3;
  std::vector<Stretch> stretches;
  std::vector<Marker> markers;  // in drawing order
};

int routeLineWidth(int zoom);

// Splits one track at its peaks and cols into climbing and descending stretches.
void colourStretches(const std::vector<Track>& points, int track, std::vector<Stretch>& out);

RoutePlan planRoute(const RouteInput& in);

// Side of the rest marker for the rest starting at `i`.
int restMarkerSize(const std::vector<Track>& points, const std::vector<int>& states, size_t i);

}  // namespace tw
