#pragma once
// When each menu command is available, and what its item shows (tick, image, title), from the
// modes, the document and the display switches. No Qt: the window applies the result.

#include <optional>
#include <string_view>

#include "document/Modes.h"

namespace tw {

struct MenuInputs {
  Mode mode = Mode::Base;
  EditMode edit_mode = EditMode::Input;
  TrackMode track_mode = TrackMode::All;
  bool activeTrack = false;  // the active track exists
  int points = 0;            // of the active track
  int tracks = 0;
  int waypoints = 0;
  int backup_pos = 0;
  int backups = 0;  // snapshots held
  bool outside = false;
  // Display switches as stored.
  int show_info = 0, show_coord = 0, show_elev = 0, show_time = 0;
  int show_wp = 0, wp_type = 0, show_graph_wp = 0, graph_wp_type = 0;
  int show_peak = 0, show_rest = 0;
  int show_graph = 0, print_graph = 0;
  int graphTrackInfo = 1, graphWayPoint = 0;  // the printed graph's options
  bool graphViewVisible = false;
  MapType map_type = MapType::Standard;
  int show_list = 0;
  bool listCollapsed = false;
  bool fullScreen = false;
};

struct MenuItemState {
  bool enabled = true;
  std::optional<bool> ticked;  // set for items that carry a tick
  std::string_view image;      // empty: no image
  std::string_view title;      // empty: the item keeps its title
};

// The state of the item of `command` (its name without the colon). Commands without a rule
// are always enabled.
MenuItemState validateMenuItem(std::string_view command, const MenuInputs& in);

}  // namespace tw
