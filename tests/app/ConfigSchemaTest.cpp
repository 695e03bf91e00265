#include "app/ConfigSchema.h"

#include <gtest/gtest.h>

using namespace tw;

namespace {

const FrameRect kScreen{0, 0, 1920, 1080};

struct Loaded {
  Config config;
  DerivedConfig derived;
  ViewportState view;
};

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

TEST(ConfigSchema, KeysInTableOrderWithDefaults)
{
  auto schema = configSchema();
  ASSERT_EQ(schema.size(), 65u);
  EXPECT_EQ(schema.front().key, "paper");
  EXPECT_EQ(schema.back().key, "frame");
  Config c;
  writeConfigDefaults(c, kScreen);
  ASSERT_EQ(c.size(), schema.size());
  for (size_t i = 0; i < schema.size(); ++i) EXPECT_EQ(c.entries()[i].first, schema[i].key);
  // Floats keep their 32-bit values.
  EXPECT_EQ(c.doubleValue("latitude"), 35.855499267578125);
  EXPECT_EQ(c.doubleValue("longitude"), 138.94390869140625);
  EXPECT_EQ(c.intValue("zoom"), 8);
  EXPECT_EQ(c.stringValue("wp_font_name"), "HiraMaruPro-W4");
  EXPECT_EQ(c.stringValue("frame"), "{{50, 20}, {1820, 1030}}");
  EXPECT_TRUE(std::holds_alternative<int64_t>(*c.find("road_depth")));
  EXPECT_TRUE(std::holds_alternative<double>(*c.find("route_a")));
}

TEST(ConfigLoad, FirstRunKeepsInitialiserFields)
{
  auto l = load(StoredConfig{});
  EXPECT_EQ(l.config.intValue("show_graph"), 1);
  EXPECT_EQ(l.derived.show_graph, 0);
  EXPECT_EQ(l.derived.right_width, 0);
  EXPECT_TRUE(l.derived.track_table.empty());
  EXPECT_EQ(l.view.zoom, 8);
  EXPECT_DOUBLE_EQ(l.view.lat, 35.855499);
  EXPECT_DOUBLE_EQ(l.view.lon, 138.943905);
  // The grid of kept tiles follows the screen even on a first run.
  EXPECT_EQ(l.view.back_cols, 10);
  EXPECT_EQ(l.view.back_rows, 7);
  // Default recolouring: brown contours, black roads.
  EXPECT_EQ(l.derived.contour_color, (std::array<uint8_t, 3>{57, 47, 18}));
  EXPECT_EQ(l.derived.road_color, (std::array<uint8_t, 3>{0, 0, 0}));
}

TEST(ConfigLoad, SmallScreenGridMinimum)
{
  auto l = load(StoredConfig{}, {0, 0, 300, 100});
  EXPECT_EQ(l.view.back_cols, 5);
  EXPECT_EQ(l.view.back_rows, 3);
}

TEST(ConfigLoad, StoredValuesDriveDerivedFields)
{
  auto l = load(storedWith({{"zoom", int64_t{15}},
                            {"latitude", 35.3606},
                            {"longitude", 138.7274},
                            {"information", int64_t{0}},
                            {"waypoint_type", int64_t{2}},
                            {"show_waypoint", int64_t{0}},
                            {"map_type", int64_t{3}},
                            {"show_graph", int64_t{1}},
                            {"wp_font_name", std::string("IPAPGothic")}}));
  EXPECT_EQ(l.view.zoom, 15);
  EXPECT_DOUBLE_EQ(l.view.lat, double(35.3606f));
  EXPECT_DOUBLE_EQ(l.view.lon, double(138.7274f));
  EXPECT_EQ(l.config.intValue("information"), 0);
  EXPECT_EQ(l.config.intValue("waypoint_type"), 2);
  EXPECT_EQ(l.config.intValue("show_waypoint"), 0);
  EXPECT_EQ(l.derived.map_type, MapType::OSM);
  EXPECT_EQ(l.derived.show_graph, 1);
  EXPECT_EQ(l.derived.right_width, 460);
  EXPECT_EQ(l.config.stringValue("wp_font_name"), "IPAPGothic");
  EXPECT_EQ(l.derived.track_table, defaultTrackTable());
  EXPECT_EQ(l.derived.wp_table, defaultWpTable());
}

TEST(ConfigLoad, RejectedValuesFallBackToDefaults)
{
  for (int64_t z : {19, 5}) {
    auto l = load(storedWith({{"zoom", z}}));
    EXPECT_EQ(l.view.zoom, 8) << z;
    EXPECT_EQ(l.config.intValue("zoom"), 8);
  }
  auto l = load(storedWith({{"latitude", 45.6},
                            {"route_width", int64_t{13}},
                            {"right_width", int64_t{99}},
                            {"route_r", 1.5},
                            {"map_type", std::string("2")},
                            {"wp_font_name", std::string()},
                            {"paper", int64_t{1} << 40},
                            {"wp_font_size", int64_t{6}}}));
  EXPECT_EQ(l.config.doubleValue("latitude"), 35.855499267578125);
  EXPECT_DOUBLE_EQ(l.view.lat, double(35.8555f));
  EXPECT_EQ(l.config.intValue("route_width"), 4);
  EXPECT_EQ(l.derived.right_width, 460);
  EXPECT_EQ(l.config.floatValue("route_r"), 1.0f);
  EXPECT_EQ(l.derived.map_type, MapType::Standard);
  EXPECT_EQ(l.config.stringValue("wp_font_name"), "HiraMaruPro-W4");
  EXPECT_EQ(l.config.intValue("paper"), 1);
  EXPECT_EQ(l.config.intValue("wp_font_size"), 6);  // bounds are inclusive
}

TEST(ConfigLoad, AcceptedValuesKeepTheirStoredType)
{
  // An int accepted by integer conversion stays a float when stored as one.
  auto l = load(storedWith({{"route_width", 7.9}, {"route_a", int64_t{1}}}));
  ASSERT_TRUE(std::holds_alternative<double>(*l.config.find("route_width")));
  EXPECT_EQ(l.config.intValue("route_width"), 7);
  ASSERT_TRUE(std::holds_alternative<int64_t>(*l.config.find("route_a")));
  EXPECT_EQ(l.config.floatValue("route_a"), 1.0f);
}

TEST(ConfigLoad, ContourAndRoadColours)
{
  auto off = load(storedWith({{"contour", int64_t{0}}, {"contour_r", 1.0}, {"contour_g", 1.0}, {"contour_b", 1.0}}));
  EXPECT_EQ(off.derived.contour_color, (std::array<uint8_t, 3>{200, 160, 60}));
  auto on = load(storedWith({{"contour_r", 1.0}, {"contour_g", 0.5}, {"contour_b", 0.0}}));
  EXPECT_EQ(on.derived.contour_color, (std::array<uint8_t, 3>{255, 127, 0}));
  auto road = load(storedWith({{"road_depth", int64_t{30}}}));
  EXPECT_EQ(road.derived.road_color, (std::array<uint8_t, 3>{70, 70, 70}));
  auto light = load(storedWith({{"road_depth", int64_t{0}}}));
  EXPECT_EQ(light.derived.road_color, (std::array<uint8_t, 3>{100, 100, 100}));
}

TEST(ConfigLoad, CentreOutsideJapanIsReplaced)
{
  // The range limits are 32-bit floats; the eastern limit lies just past the inside-Japan box.
  auto l = load(storedWith({{"longitude", double(153.98639f)}, {"zoom", int64_t{12}}}));
  EXPECT_EQ(l.config.doubleValue("longitude"), double(153.98639f));
  EXPECT_DOUBLE_EQ(l.view.lat, 35.855499);
  EXPECT_DOUBLE_EQ(l.view.lon, 138.943905);
  EXPECT_EQ(l.view.zoom, 12);
}

TEST(ConfigLoad, TableLayoutsValidatedAsAWhole)
{
  auto custom = defaultTrackTable();
  std::swap(custom[0], custom[6]);
  custom[2] = "time:200";
  auto ok = load([&] {
    StoredConfig s = storedWith({});
    s.track_table = custom;
    s.wp_table = std::vector<std::string>{"name:300", "no:20", "elev:60", "lat:70", "lon:80"};
    return s;
  }());
  EXPECT_EQ(ok.derived.track_table, custom);
  EXPECT_EQ(ok.derived.wp_table[0], "name:300");

  const std::vector<std::vector<std::string>> bad = {
      {"no:30", "elev:60", "time:60", "dist:60", "speed:60", "lat:70"},              // 6 entries
      {"no:5", "elev:60", "time:60", "dist:60", "speed:60", "lat:70", "lon:80"},     // width 5
      {"no:30", "elev:60", "time:60", "dist:60", "speed:60", "lat:70", "name:80"},   // waypoint column
      {"no:30", "elev:60", "time:60", "dist:60", "speed:60", "lat:70", "lon:80:1"},  // three parts
      {"no:30", "elev:60", "time:60", "dist:60", "speed:60", "lat:70", "lon:501"},
      {"no:30", "elev:60", "time:60", "dist:60", "speed:60", "lat:70", "lon:abc"},
  };
  for (const auto& layout : bad) {
    StoredConfig s = storedWith({});
    s.track_table = layout;
    auto l = load(s);
    EXPECT_EQ(l.derived.track_table, defaultTrackTable()) << layout.back();
  }
}

TEST(ConfigFrame, RoundTripAndScreenRule)
{
  const FrameRect f{10, 30, 1200.5, 800};
  auto parsed = parseFrame(frameString(f));
  ASSERT_TRUE(parsed);
  EXPECT_EQ(*parsed, f);
  EXPECT_FALSE(parseFrame("{{1, 2}, {3}}"));
  EXPECT_FALSE(parseFrame("{{1, 2}, {3, nan}}"));
  EXPECT_FALSE(parseFrame("1, 2, 3, 4"));
  EXPECT_FALSE(parseFrame(""));

  auto stored = [](const std::string& frame) { return storedWith({{"frame", frame}}); };
  auto fits = load(stored("{{100, 50}, {1000, 700}}"));
  EXPECT_EQ(fits.config.stringValue("frame"), "{{100, 50}, {1000, 700}}");
  EXPECT_EQ(frameForScreen(fits.config, kScreen), (FrameRect{100, 50, 1000, 700}));

  for (const char* bad : {"{{0, 0}, {2000, 700}}", "{{-1, 0}, {100, 100}}", "{{0, 100}, {100, 1000}}",
                          "{{0, 0}, {0, 0}}", "garbage"}) {
    auto l = load(stored(bad));
    EXPECT_EQ(l.config.stringValue("frame"), "{{50, 20}, {1820, 1030}}") << bad;
  }
  // A frame that fitted a larger screen is replaced at launch on a smaller one.
  EXPECT_EQ(frameForScreen(fits.config, {0, 0, 800, 600}), (FrameRect{50, 20, 700, 550}));
}

TEST(ConfigSave, CentreAbroadIsNotStored)
{
  Config c;
  writeConfigDefaults(c, kScreen);
  storeCentre(c, 35.36, 138.73, 14);
  EXPECT_EQ(c.doubleValue("latitude"), double(35.36f));
  EXPECT_TRUE(std::holds_alternative<int64_t>(*c.find("zoom")));
  EXPECT_EQ(c.intValue("zoom"), 14);
  storeCentre(c, 48.85, 2.35, 12);  // Paris
  EXPECT_EQ(c.doubleValue("latitude"), double(35.36f));
  EXPECT_EQ(c.doubleValue("longitude"), double(138.73f));
  EXPECT_EQ(c.intValue("zoom"), 14);
}

TEST(ConfigSave, TableStatusFromVisibleColumns)
{
  DerivedConfig d;
  d.wp_table = defaultWpTable();
  saveTableStatus(1, {{"no", 31.7}, {"name", 100}, {"time", 120}, {"elev", 60}}, d);
  EXPECT_EQ(d.track_table, (std::vector<std::string>{"no:31", "time:120", "elev:60"}));
  EXPECT_EQ(d.wp_table, defaultWpTable());
  saveTableStatus(2, {{"name", 150}, {"speed", 60}, {"no", 30}}, d);
  EXPECT_EQ(d.wp_table, (std::vector<std::string>{"name:150", "no:30"}));
  saveTableStatus(0, {}, d);
  EXPECT_EQ(d.wp_table.size(), 2u);
}

TEST(ConfigText, EncodeDecodeKeepsType)
{
  EXPECT_EQ(encodeConfigValue(int64_t{-5}), "-5");
  EXPECT_EQ(encodeConfigValue(1.0), "1.0");
  EXPECT_EQ(encodeConfigValue(35.855499267578125), "35.855499267578125");
  auto back = decodeConfigValue(ConfigKind::Float, encodeConfigValue(1.0));
  ASSERT_TRUE(back);
  EXPECT_TRUE(std::holds_alternative<double>(*back));
  back = decodeConfigValue(ConfigKind::Int, " 42 ");
  ASSERT_TRUE(back);
  EXPECT_EQ(std::get<int64_t>(*back), 42);
  EXPECT_FALSE(decodeConfigValue(ConfigKind::Int, "12abc"));
  EXPECT_FALSE(decodeConfigValue(ConfigKind::Float, "inf"));
  EXPECT_FALSE(decodeConfigValue(ConfigKind::Int, ""));
  back = decodeConfigValue(ConfigKind::String, "12");
  ASSERT_TRUE(back);
  EXPECT_EQ(std::get<std::string>(*back), "12");
}
