// The tool-button layout and the menu rules of each mode, the whole-track zoom, the web page
// addresses and the recent-file list.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <tuple>

#include "app/ButtonLayout.h"
#include "app/MenuRules.h"
#include "app/RecentFiles.h"
#include "tiles/WebPages.h"
#include "view/Viewport.h"

namespace {

using tw::EditMode, tw::Mode;

// "image@slot" of every shown button, in layout order; "+view" when the graph panel shows.
std::string shown(const tw::ButtonInputs& in)
{
  const tw::ButtonLayout l = tw::buttonLayout(in);
  std::string s;
  for (const auto& b : l.shown) s += std::string(b.image) + "@" + std::to_string(b.slot) + " ";
  return s + (l.graphViewShown ? "+view" : "-view");
}

tw::ButtonInputs buttons(Mode m, EditMode e, bool track, bool points)
{
  tw::ButtonInputs in;
  std::tie(in.mode, in.edit_mode, in.activeTrack, in.activeHasPoints, in.show_graph) = std::tuple(m, e, track, points, 1);
  return in;
}

}  // namespace

TEST(ButtonLayout, EveryModeAndTool)
{
  const std::string modes = "base@0 area@1 prn@2 edit@3 ";
  auto printGraph = buttons(Mode::Print, EditMode::Input, true, true);
  std::tie(printGraph.print_graph, printGraph.graph_type) = std::pair(1, 2);
  auto listShown = buttons(Mode::Base, EditMode::Input, false, false);
  listShown.show_list = 2;
  const struct { tw::ButtonInputs in; std::string want; } rows[] = {
      {buttons(Mode::Base, EditMode::Input, false, false), "base_on@0 area@1 prn@2 edit@3 setup@5 table@9 -view"},
      {listShown, "base_on@0 area@1 prn@2 edit@3 setup@5 table_on@9 -view"},
      {buttons(Mode::Base, EditMode::Input, true, false), "base_on@0 area@1 prn@2 edit@3 setup@5 table@9 graph_on@10 +view"},
      {buttons(Mode::Edit, EditMode::Input, true, true),
       "base@0 area@1 prn@2 edit_on@3 input_on@5 track@6 flag@7 table@9 graph_on@10 back@12 +view"},
      {buttons(Mode::Edit, EditMode::Track, true, true),
       "base@0 area@1 prn@2 edit_on@3 input@5 track_on@6 flag@7 table@9 graph_on@10 back@12 clear@13 +view"},
      {buttons(Mode::Edit, EditMode::Track, true, false),
       "base@0 area@1 prn@2 edit_on@3 input@5 track_on@6 flag@7 table@9 graph_on@10 +view"},
      {buttons(Mode::Edit, EditMode::WayPoint, true, true),
       "base@0 area@1 prn@2 edit_on@3 input@5 track@6 flag_on@7 table@9 graph_on@10 +view"},
      {buttons(Mode::Area, EditMode::Input, true, true), "base@0 area_on@1 prn@2 edit@3 setup@5 -view"},
      // In print mode the graph button follows the printed graph.
      {buttons(Mode::Print, EditMode::Input, true, true),
       "base@0 area@1 prn_on@2 edit@3 setup@5 pdf@6 print@7 table@9 graph@10 -view"},
      {printGraph, "base@0 area@1 prn_on@2 edit@3 setup@5 pdf@6 print@7 table@9 graph_on@10 zoom_on@11 -view"},
      {buttons(Mode::Print, EditMode::Input, true, false), "base@0 area@1 prn_on@2 edit@3 setup@5 pdf@6 print@7 table@9 -view"},
  };
  for (const auto& r : rows) EXPECT_EQ(shown(r.in), r.want);
}

TEST(MenuRules, EnablingTicksImagesAndTitles)
{
  tw::MenuInputs in;
  std::tie(in.activeTrack, in.tracks, in.points, in.show_info, in.show_graph) = std::tuple(true, 1, 100, 1, 1);
  const auto state = [&](const char* c) { return tw::validateMenuItem(c, in); };
  EXPECT_FALSE(state("thinout").enabled);
  in.points = 101;
  EXPECT_TRUE(state("thinout").enabled);

  std::tie(in.backups, in.backup_pos) = std::pair(3, 2);  // the last snapshot: nothing to redo
  EXPECT_TRUE(!state("redo").enabled && state("undo").enabled);
  in.backup_pos = 1;
  EXPECT_TRUE(state("redo").enabled);

  EXPECT_EQ(state("showGraph").title, "表示しない");
  EXPECT_EQ(state("baseMode").ticked, true);
  EXPECT_EQ((std::array{state("baseMode").image, state("mapPale").image, state("toggleFullScreen").image}),
            (std::array<std::string_view, 3>{"base_on", "pale", "fullscreen"}));

  // Print mode: the read-out's items are off and the graph items follow the printed graph.
  in.mode = Mode::Print;
  for (const char* c : {"showCoordDecimal", "showCoordDegree", "hideCoord", "showElevation", "showTime", "showInfo"})
    EXPECT_FALSE(state(c).enabled) << c;
  EXPECT_EQ(state("showGraph").title, "表示する");
  EXPECT_FALSE(state("showGraphWayPoint").enabled);
  in.print_graph = 1;
  EXPECT_EQ(state("showGraphMenu").image, "graph_on");
  EXPECT_TRUE(state("showGraphWayPoint").enabled && state("outputPDF").enabled && !state("loadGPX").enabled);
  in.mode = Mode::Area;
  EXPECT_FALSE(state("showGraph").enabled);

  // A collapsed pane shows no list, whatever was chosen.
  in.show_list = 1;
  EXPECT_EQ(std::tuple(state("showTrackList").ticked, state("hideTrackView").ticked), std::tuple(std::optional(true), std::optional(false)));
  in.listCollapsed = true;
  EXPECT_EQ(std::tuple(state("showTrackList").ticked, state("hideTrackView").ticked), std::tuple(std::optional(false), std::optional(true)));
  EXPECT_EQ(state("showTableMenu").image, "table_on");

  std::tie(in.show_wp, in.wp_type) = std::pair(0, 3);
  EXPECT_FALSE(state("showWayPointWithName").enabled);
  EXPECT_EQ(state("showWayPointWithName").ticked, true);
  EXPECT_EQ(state("showWayPoint").title, "表示する");
}

TEST(ShellRules, WholeTrackZoom)
{
  // 1000 × 600 zoom-18 pixels: 250 × 150 at zoom 16 fit a 300 × 200 map, 500 × 300 at 17 do not.
  EXPECT_EQ(tw::zoomToFit({1000, 2000}, {1999, 2599}, {300, 200}), 16);
  EXPECT_EQ(tw::zoomToFit({1000, 2000}, {1000, 2000}, {300, 200}), 18);  // one point
  EXPECT_EQ(tw::zoomToFit({0, 0}, {1 << 30, 10}, {300, 200}), 6);        // too wide for any zoom
}

TEST(ShellRules, WebPagesOpenAtTheMapCentre)
{
  EXPECT_EQ(tw::gsiMapPage(35.6251, 139.2436, 15), "https://maps.gsi.go.jp/#15/35.625100/139.243600/");
  EXPECT_EQ(tw::openTopoMapPage(35.6251, 139.2436, 15), "https://opentopomap.org/#map=15/35.625100/139.243600");
  EXPECT_EQ(tw::openStreetMapPage(35.6251, 139.2436, 15), "https://www.openstreetmap.org/#map=15/35.625100/139.243600");
}

TEST(ShellRules, RecentFiles)
{
  std::vector<std::string> files;
  for (int i = 0; i < 12; ++i) tw::addRecentFile(files, "/f" + std::to_string(i));
  tw::addRecentFile(files, "/f5");
  ASSERT_EQ(files.size(), 10u);
  EXPECT_EQ(files[0] + files[1] + files[9], "/f5/f11/f2");
  EXPECT_EQ(tw::sanitizeRecentFiles({"/a", "", "/a", std::string(5000, 'x'), "/b"}), (std::vector<std::string>{"/a", "/b"}));
}
