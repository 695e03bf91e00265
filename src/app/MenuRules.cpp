#include "app/MenuRules.h"

#include <array>
#include <utility>

namespace tw {

namespace {

constexpr std::string_view kShow = "表示する";
constexpr std::string_view kHide = "表示しない";

MenuItemState enabledIf(bool on) { return {on, std::nullopt, {}, {}}; }
MenuItemState tick(bool enabled, bool ticked, std::string_view image = {}) { return {enabled, ticked, image, {}}; }
MenuItemState imageOf(bool enabled, bool on, std::string_view onImage, std::string_view offImage)
{
  return {enabled, std::nullopt, on ? onImage : offImage, {}};
}
MenuItemState titled(bool enabled, bool shown) { return {enabled, std::nullopt, {}, shown ? kHide : kShow}; }

// Items whose tick and image follow one value: (command, value it stands for, image base).
struct Choice {
  std::string_view command;
  int value;
  std::string_view on, off;
};

}  // namespace

MenuItemState validateMenuItem(std::string_view c, const MenuInputs& in)
{
  const Mode m = in.mode;
  const bool docModes = baseOrEdit(m);  // m < 2
  const bool edit = m == Mode::Edit;
  const bool hasPoints = in.activeTrack && in.points > 0;
  const bool hasData = in.tracks > 0 || in.waypoints > 0;
  const bool graphOn = m == Mode::Print ? in.print_graph != 0 : in.show_graph != 0;

  static constexpr std::array<Choice, 4> kModes = {{{"baseMode", 0, "base_on", "base"},
                                                    {"editMode", 1, "edit_on", "edit"},
                                                    {"areaMode", 2, "area_on", "area"},
                                                    {"printMode", 3, "prn_on", "prn"}}};
  for (const auto& k : kModes)
    if (c == k.command) return tick(true, static_cast<int>(m) == k.value, static_cast<int>(m) == k.value ? k.on : k.off);
  static constexpr std::array<Choice, 3> kTools = {{{"setInputMode", 0, "input_on", "input"},
                                                    {"setTrackMode", 1, "track_on", "track"},
                                                    {"setWayPointMode", 2, "flag_on", "flag"}}};
  for (const auto& k : kTools) {
    const bool on = edit && static_cast<int>(in.edit_mode) == k.value;
    if (c == k.command) return tick(edit, on, on ? k.on : k.off);
  }
  static constexpr std::array<Choice, 4> kMaps = {{{"mapStandard", 0, "std_on", "std"},
                                                   {"mapPale", 1, "pale_on", "pale"},
                                                   {"mapPhoto", 2, "photo_on", "photo"},
                                                   {"mapOSM", 3, "osm_on", "osm"}}};
  for (const auto& k : kMaps) {
    const bool on = static_cast<int>(in.map_type) == k.value;
    if (c == k.command) return tick(m != Mode::Print, on, on ? k.on : k.off);
  }

  // Graph items follow the printed graph in print mode.
  if (c == "showGraphMenu")
    return imageOf(m != Mode::Area && in.activeTrack, m == Mode::Print ? in.print_graph != 0 : in.graphViewVisible,
                   "graph_on", "graph");
  if (c == "showGraph") return titled(m != Mode::Area && in.activeTrack, graphOn);
  if (c == "showGraphWayPointMenu") return tick(graphOn, in.show_graph_wp == 1);
  if (c == "showGraphWayPoint") return titled(graphOn, in.show_graph_wp == 1);
  if (c == "showGraphWithMark") return tick(in.show_graph_wp != 0, (in.graph_wp_type & 1) != 0);
  if (c == "showGraphWithName") return tick(in.show_graph_wp != 0, (in.graph_wp_type & 2) != 0);
  if (c == "outputGraph") return enabledIf(in.graphViewVisible);
  if (c == "toggleGraphTrackInfo") return tick(true, in.graphTrackInfo != 0);
  if (c == "toggleGraphWayPoint") return tick(true, in.graphWayPoint != 0);

  // The location read-out.
  const bool info = in.show_info == 1;
  if (c == "showInfoMenu") return imageOf(m != Mode::Print, info, "info_on", "info");
  if (c == "showInfo") return titled(m != Mode::Print, info);
  if (c == "showCoord") return tick(m != Mode::Print && info, in.show_coord != 0);
  if (c == "hideCoord") return tick(m != Mode::Print && info, in.show_coord == 0);
  if (c == "showCoordDecimal") return tick(m != Mode::Print, in.show_coord == 1);
  if (c == "showCoordDegree") return tick(m != Mode::Print, in.show_coord == 2);
  if (c == "showElevation") return tick(m != Mode::Print && info, in.show_elev == 1);
  if (c == "showTime") return tick(m != Mode::Print && info, in.show_time == 1);

  // Document commands.
  if (c == "showTrackInfo" || c == "showTrackMenu") return enabledIf(in.activeTrack);
  if (c == "loadGPX" || c == "createNew" || c == "showPemblo" || c == "showQuorra" || c == "showSallow")
    return enabledIf(docModes);
  if (c == "saveGPX" || c == "saveSelectTrack") return enabledIf(docModes && hasData);
  if (c == "outputPDF" || c == "previewMap" || c == "printMap") return enabledIf(m == Mode::Print);
  if (c == "undo") return enabledIf(in.backup_pos > 0 && docModes);
  if (c == "redo") return enabledIf(in.backup_pos < in.backups - 1 && docModes);
  if (c == "stepBack" || c == "deleteTrack" || c == "turnBack" || c == "reverseRoute")
    return enabledIf(edit && in.edit_mode != EditMode::WayPoint && hasPoints);
  if (c == "thinout") return enabledIf(docModes && in.activeTrack && in.points >= 101);
  if (c == "recalcElevation") return enabledIf(docModes && !in.outside && hasPoints);
  if (c == "showActiveTrack") return tick(in.activeTrack, in.track_mode == TrackMode::Active);
  if (c == "showAllTrack") return tick(in.activeTrack, in.track_mode == TrackMode::All);
  if (c == "hideAllTrack") return tick(in.activeTrack, in.track_mode == TrackMode::Hidden);
  if (c == "addTrack") return enabledIf(docModes && hasPoints);
  if (c == "loadAppend") return enabledIf(docModes && (in.activeTrack || in.waypoints > 0));
  if (c == "selectTrack" || c == "selectTrackMenu") return enabledIf(in.tracks >= 2);
  if (c == "divideTrack") return enabledIf(edit && in.activeTrack && in.points >= 2);
  if (c == "connectTrack" || c == "connectTrackMenu") return enabledIf(edit && in.tracks >= 2);
  // Shows the whole active track; a viewing command like the map moves.
  if (c == "fitTrack") return enabledIf(docModes && hasPoints);

  // Lists: a collapsed pane counts as no list.
  if (c == "showTableMenu") return imageOf(true, in.show_list != 0, "table_on", "table");
  if (c == "showTrackList") return tick(true, !in.listCollapsed && in.show_list == 1);
  if (c == "showWayPointList") return tick(true, !in.listCollapsed && in.show_list == 2);
  if (c == "hideTrackView") return tick(true, in.listCollapsed);

  // Waypoints, peaks, rests, full screen.
  if (c == "showWayPointMenu") return imageOf(true, in.show_wp == 1, "flag_on", "flag");
  if (c == "showWayPoint") return titled(true, in.show_wp == 1);
  if (c == "showWayPointWithMark") return tick(in.show_wp != 0, (in.wp_type & 1) != 0);
  if (c == "showWayPointWithName") return tick(in.show_wp != 0, (in.wp_type & 2) != 0);
  if (c == "hideWayPoint") return tick(true, in.show_wp == 0);
  if (c == "showPeak") return tick(true, in.show_peak != 0, in.show_peak != 0 ? "peak_on" : "peak");
  if (c == "showRest") return tick(true, in.show_rest != 0, in.show_rest != 0 ? "drink_on" : "drink");
  if (c == "toggleFullScreen") return imageOf(true, in.fullScreen, "fullscreen_off", "fullscreen");
  if (c == "changeMap") return enabledIf(m != Mode::Print);
  if (c == "prepareOffline") return enabledIf(docModes && !in.outside && hasPoints);
  return {};
}

}  // namespace tw
