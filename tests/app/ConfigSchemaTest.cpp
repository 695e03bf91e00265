#include "app/ConfigSchema.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace tw;

namespace {

const FrameRect kScreen{0, 0, 1920, 1080};

struct Loaded { Config config; DerivedConfig derived; ViewportState view; };

Loaded load(const StoredConfig& stored, FrameRect screen = kScreen)
{
  Loaded l;
  loadConfig(stored, screen, l.config, l.derived, l.view);
  return l;
}

StoredConfig storedWith(std::map<std::string, ConfigValue> values)
{
  StoredConfig s;
  s.config = std::move(values);
  return s;
}

}  // namespace

TEST(ConfigLoad, FirstRunKeepsTheStartValuesOfTheController)
{
  auto l = load(StoredConfig{});
  EXPECT_EQ(std::tuple(l.config.intValue(key::show_graph), l.derived.show_graph), std::tuple(1, 0));
  EXPECT_TRUE(l.derived.track_table.empty());
  // The grid of kept tiles follows the screen even on a first run, as do the colours.
  EXPECT_EQ(std::tuple(l.view.zoom, l.view.back_cols, l.view.back_rows), std::tuple(8, 10, 7));
  EXPECT_EQ(l.derived.contour_color, (std::array<uint8_t, 3>{57, 47, 18}));
  EXPECT_EQ(l.derived.road_color, (std::array<uint8_t, 3>{0, 0, 0}));
  auto small = load(StoredConfig{}, {0, 0, 300, 100});
  EXPECT_EQ(std::tuple(small.view.back_cols, small.view.back_rows), std::tuple(5, 3));
}

TEST(ConfigLoad, StoredValuesDriveTheControllerAndKeepTheirType)
{
  auto l = load(storedWith({{"zoom", int64_t{15}}, {"map_type", int64_t{3}}, {"route_width", 7.9}}));
  EXPECT_EQ(std::tuple(l.view.zoom, l.derived.map_type, l.derived.right_width), std::tuple(15, MapType::OSM, 460));
  // Accepted by integer conversion, kept a float: written back as it was read.
  ASSERT_TRUE(std::holds_alternative<double>(*l.config.find(key::route_width)));
  EXPECT_EQ(l.config.intValue(key::route_width), 7);
}

TEST(ConfigLoad, RejectedValuesFallBackToDefaults)
{
  const struct { const char* key; ConfigValue stored; } rows[] = {
      {"zoom", int64_t{19}},          {"zoom", int64_t{5}},
      {"latitude", 45.6},             {"route_width", int64_t{13}},
      {"right_width", int64_t{99}},   {"route_r", 1.5},
      {"map_type", std::string("2")}, {"wp_font_name", std::string()},
      {"paper", int64_t{1} << 40},    {"show_coord", int64_t{3}},
  };
  const auto defaults = load(storedWith({}));
  for (const auto& r : rows) {
    auto l = load(storedWith({{r.key, r.stored}}));
    EXPECT_EQ(*l.config.find(r.key), *defaults.config.find(r.key)) << r.key;
  }
  EXPECT_EQ(load(storedWith({{"zoom", int64_t{19}}})).view.zoom, 8);
  EXPECT_EQ(load(storedWith({{"wp_font_size", int64_t{6}}})).config.intValue(key::wp_font_size), 6);  // inclusive
}

TEST(ConfigLoad, ContourRoadColoursAndCentre)
{
  auto off = load(storedWith({{"contour", int64_t{0}}, {"contour_r", 1.0}, {"contour_g", 1.0}, {"contour_b", 1.0}}));
  EXPECT_EQ(off.derived.contour_color, (std::array<uint8_t, 3>{200, 160, 60}));
  auto on = load(storedWith({{"contour_r", 1.0}, {"contour_g", 0.5}, {"contour_b", 0.0}, {"road_depth", int64_t{30}}}));
  EXPECT_EQ(on.derived.contour_color, (std::array<uint8_t, 3>{255, 127, 0}));
  EXPECT_EQ(on.derived.road_color, (std::array<uint8_t, 3>{70, 70, 70}));

  // The range limits are 32-bit floats; the eastern limit lies just past the inside-Japan box.
  auto l = load(storedWith({{"longitude", double(153.98639f)}, {"zoom", int64_t{12}}}));
  EXPECT_EQ(std::tuple(l.config.doubleValue(key::longitude), l.view.zoom), std::tuple(double(153.98639f), 12));
  EXPECT_DOUBLE_EQ(l.view.lon, 138.943905);
}

TEST(ConfigLoad, TableLayoutsValidatedAsAWhole)
{
  auto custom = defaultTrackTable();
  std::swap(custom[0], custom[6]);
  custom[2] = "time:200";
  StoredConfig ok = storedWith({});
  ok.track_table = custom;
  ok.wp_table = std::vector<std::string>{"name:300", "no:20", "elev:60", "lat:70", "lon:80"};
  EXPECT_EQ(std::tuple(load(ok).derived.track_table, load(ok).derived.wp_table[0]), std::tuple(custom, std::string("name:300")));

  const std::vector<std::vector<std::string>> bad = {
      {"no:30", "elev:60", "time:60", "dist:60", "speed:60", "lat:70"},              // 6 entries
      {"no:5", "elev:60", "time:60", "dist:60", "speed:60", "lat:70", "lon:80"},     // width 5
      {"no:30", "elev:60", "time:60", "dist:60", "speed:60", "lat:70", "name:80"},   // waypoint column
      {"no:30", "elev:60", "time:60", "dist:60", "speed:60", "lat:70", "lon:80:1"},  // three parts
      {"no:30", "elev:60", "time:60", "dist:60", "speed:60", "lat:70", "lon:abc"},
  };
  for (const auto& layout : bad) {
    StoredConfig s = storedWith({});
    s.track_table = layout;
    EXPECT_EQ(load(s).derived.track_table, defaultTrackTable()) << layout.back();
  }
}

TEST(ConfigFrame, RoundTripAndScreenRule)
{
  const FrameRect f{10, 30, 1200.5, 800};
  EXPECT_EQ(parseFrame(frameString(f)), f);
  for (const char* bad : {"{{1, 2}, {3}}", "{{1, 2}, {3, nan}}", "1, 2, 3, 4", ""}) EXPECT_FALSE(parseFrame(bad)) << bad;

  auto fits = load(storedWith({{"frame", std::string("{{100, 50}, {1000, 700}}")}}));
  EXPECT_EQ(frameForScreen(fits.config, kScreen), (FrameRect{100, 50, 1000, 700}));
  // A frame that fitted a larger screen is replaced at launch on a smaller one.
  EXPECT_EQ(frameForScreen(fits.config, {0, 0, 800, 600}), (FrameRect{50, 20, 700, 550}));
  for (const char* bad : {"{{0, 0}, {2000, 700}}", "{{-1, 0}, {100, 100}}", "{{0, 0}, {0, 0}}", "garbage"}) {
    auto l = load(storedWith({{"frame", std::string(bad)}}));
    EXPECT_EQ(l.config.stringValue(key::frame), "{{50, 20}, {1820, 1030}}") << bad;
  }
}

TEST(ConfigSave, TableStatusFromVisibleColumns)
{
  DerivedConfig d;
  d.wp_table = defaultWpTable();
  saveTableStatus(1, {{"no", 31.7}, {"name", 100}, {"time", 120}}, d);
  EXPECT_EQ(std::tuple(d.track_table, d.wp_table), std::tuple(std::vector<std::string>{"no:31", "time:120"}, defaultWpTable()));
  saveTableStatus(0, {}, d);
  EXPECT_EQ(d.track_table.size(), 2u);
}
