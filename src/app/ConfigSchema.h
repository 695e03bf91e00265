#pragma once
// The user settings: every key with its default and accepted range, the dictionary that holds
// them, the fields the controller derives from them and the list-column layouts.
// No Qt: the store on disk (ConfigStore) hands over plain values.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "document/Modes.h"
#include "view/ViewportState.h"

namespace tw {

// The names of the settings, exactly as the settings file stores them (table order).
namespace key {
inline constexpr std::string_view paper = "paper";
inline constexpr std::string_view direction = "direction";
inline constexpr std::string_view scale = "scale";
inline constexpr std::string_view quality = "quality";
inline constexpr std::string_view color = "color";
inline constexpr std::string_view north = "north";
inline constexpr std::string_view latlon = "latlon";
inline constexpr std::string_view top_margin = "top_margin";
inline constexpr std::string_view bottom_margin = "bottom_margin";
inline constexpr std::string_view left_margin = "left_margin";
inline constexpr std::string_view right_margin = "right_margin";
inline constexpr std::string_view route_width = "route_width";
inline constexpr std::string_view down_width = "down_width";
inline constexpr std::string_view road_depth = "road_depth";
inline constexpr std::string_view contour_r = "contour_r";
inline constexpr std::string_view contour_g = "contour_g";
inline constexpr std::string_view contour_b = "contour_b";
inline constexpr std::string_view route_r = "route_r";
inline constexpr std::string_view route_g = "route_g";
inline constexpr std::string_view route_b = "route_b";
inline constexpr std::string_view route_a = "route_a";
inline constexpr std::string_view down_r = "down_r";
inline constexpr std::string_view down_g = "down_g";
inline constexpr std::string_view down_b = "down_b";
inline constexpr std::string_view down_a = "down_a";
inline constexpr std::string_view north_r = "north_r";
inline constexpr std::string_view north_g = "north_g";
inline constexpr std::string_view north_b = "north_b";
inline constexpr std::string_view north_a = "north_a";
inline constexpr std::string_view latlon_r = "latlon_r";
inline constexpr std::string_view latlon_g = "latlon_g";
inline constexpr std::string_view latlon_b = "latlon_b";
inline constexpr std::string_view latlon_a = "latlon_a";
inline constexpr std::string_view wp_font_r = "wp_font_r";
inline constexpr std::string_view wp_font_g = "wp_font_g";
inline constexpr std::string_view wp_font_b = "wp_font_b";
inline constexpr std::string_view wp_font_a = "wp_font_a";
inline constexpr std::string_view latlon_size = "latlon_size";
inline constexpr std::string_view contour = "contour";
inline constexpr std::string_view strong_road = "strong_road";
inline constexpr std::string_view river = "river";
inline constexpr std::string_view building = "building";
inline constexpr std::string_view road = "road";
inline constexpr std::string_view conveni = "conveni";
inline constexpr std::string_view information = "information";
inline constexpr std::string_view show_coord = "show_coord";
inline constexpr std::string_view show_elev = "show_elev";
inline constexpr std::string_view show_time = "show_time";
inline constexpr std::string_view show_graph_wp = "show_graph_wp";
inline constexpr std::string_view graph_wp_type = "graph_wp_type";
inline constexpr std::string_view latitude = "latitude";
inline constexpr std::string_view longitude = "longitude";
inline constexpr std::string_view zoom = "zoom";
inline constexpr std::string_view show_list = "show_list";
inline constexpr std::string_view show_graph = "show_graph";
inline constexpr std::string_view show_waypoint = "show_waypoint";
inline constexpr std::string_view waypoint_type = "waypoint_type";
inline constexpr std::string_view show_peak = "show_peak";
inline constexpr std::string_view show_rest = "show_rest";
inline constexpr std::string_view right_width = "right_width";
inline constexpr std::string_view wp_font_name = "wp_font_name";
inline constexpr std::string_view wp_font_size = "wp_font_size";
inline constexpr std::string_view map_type = "map_type";
inline constexpr std::string_view dem_mode = "dem_mode";
inline constexpr std::string_view frame = "frame";
// Root address of the update server ("https://host"); empty: no update notice is asked for.
inline constexpr std::string_view update_base = "update_base";
// Megabytes of map and DEM tiles kept on disk; 0 keeps none.
inline constexpr std::string_view tile_cache_mb = "tile_cache_mb";
// Beside the dictionary, like the list layouts: the recently opened files, newest first.
inline constexpr std::string_view recent_files = "recent_files";
}  // namespace key

// One setting: an integer number, a floating number or a string, kept exactly as stored.
using ConfigValue = std::variant<int64_t, double, std::string>;

enum class ConfigKind {
  Int,     // read back by integer conversion, range checked as int32
  Float,   // 32-bit float, range checked as float
  String,  // any non-empty string
  Frame,   // the main window rectangle as a string
};

struct ConfigKeySpec {
  std::string_view key;
  ConfigKind kind;
  double def;  // numeric default (floats hold the 32-bit value widened)
  bool defIsInt;
  std::string_view defString;
  double min;
  double max;
};

// Every key in table order.
std::span<const ConfigKeySpec> configSchema();
const ConfigKeySpec* findConfigKey(std::string_view key);

// The `config` dictionary: insertion-ordered, string keys to numbers or strings.
class Config {
 public:
  void clear() { entries_.clear(); }
  void set(std::string_view key, ConfigValue value);
  void setInt(std::string_view key, int64_t v) { set(key, ConfigValue(v)); }
  // Stores the 32-bit float value, as the store keeps floats.
  void setFloat(std::string_view key, float v) { set(key, ConfigValue(static_cast<double>(v))); }
  void setString(std::string_view key, std::string v) { set(key, ConfigValue(std::move(v))); }

  const ConfigValue* find(std::string_view key) const;
  bool contains(std::string_view key) const { return find(key) != nullptr; }
  size_t size() const { return entries_.size(); }
  const std::vector<std::pair<std::string, ConfigValue>>& entries() const { return entries_; }

  // Integer conversion truncates floats toward zero; 0 for a missing key, a string or a
  // number outside the int32 range.
  int32_t intValue(std::string_view key) const;
  // A switch: on when its integer value is not 0.
  bool isOn(std::string_view key) const { return intValue(key) != 0; }
  float floatValue(std::string_view key) const;
  double doubleValue(std::string_view key) const;
  std::string stringValue(std::string_view key) const;

 private:
  std::vector<std::pair<std::string, ConfigValue>> entries_;
};

// Conversions used for range checks and typed reads.
std::optional<int32_t> toInt32(const ConfigValue& v);
std::optional<float> toFloat(const ConfigValue& v);

struct RGBA {
  double r = 0, g = 0, b = 0, a = 0;
};

// Controller fields refreshed from `config`, with the initialiser's start values. The display
// switches of the View menu and the graph are not copied: they are read from `config`.
struct DerivedConfig {
  std::array<uint8_t, 3> contour_color{0, 0, 0};
  std::array<uint8_t, 3> road_color{0, 0, 0};
  RGBA routeColor, downColor, wpColor;
  std::vector<std::string> track_table;
  std::vector<std::string> wp_table;
  int32_t right_width = 0;
  int32_t show_list = 0;   // the list shown; the list commands also store it
  int32_t show_graph = 0;  // the graph panel shown; the graph's command also stores it
  MapType map_type = MapType::Standard;
  int32_t time_width = 120;
  std::vector<std::string> recent_files;  // newest first, at most 10
};

struct FrameRect {
  double x = 0, y = 0, width = 0, height = 0;
  bool operator==(const FrameRect&) const = default;
};

// "{{x, y}, {w, h}}"; the same form is parsed back.
std::string frameString(const FrameRect& r);
// Rejects anything but four finite numbers in that form.
std::optional<FrameRect> parseFrame(std::string_view s);
// Origin (50, 20), size (screen width − 100, screen height − 50).
FrameRect defaultFrame(const FrameRect& screen);
// x ≥ 0, y ≥ 0, right and bottom edges within the screen, and a non-empty size.
bool frameFitsScreen(const FrameRect& frame, const FrameRect& screen);
// The stored `frame` when it fits the screen, else the default frame.
FrameRect frameForScreen(const Config& config, const FrameRect& screen);

// What the settings file held; `config` absent on first run.
struct StoredConfig {
  std::optional<std::map<std::string, ConfigValue>> config;
  std::optional<std::vector<std::string>> track_table;
  std::optional<std::vector<std::string>> wp_table;
  std::optional<std::vector<std::string>> recent_files;
};

// List-column layouts: "identifier:width", widths 10–500, exactly the expected count.
bool isValidTableLayout(const std::vector<std::string>& layout, std::span<const std::string_view> ids,
                        size_t count);
std::span<const std::string_view> trackTableIds();
std::span<const std::string_view> wpTableIds();
std::vector<std::string> defaultTrackTable();
std::vector<std::string> defaultWpTable();

// Writes every default in table order (the frame from the screen).
void writeConfigDefaults(Config& config, const FrameRect& screen);

// Rebuilds `config` from the defaults and the stored copy, and refreshes the derived fields
// and the restored centre, zoom and tile-grid size in `view`.
void loadConfig(const StoredConfig& stored, const FrameRect& screen, Config& config, DerivedConfig& derived,
                ViewportState& view);

// Track, second-route and label colours as the controller keeps them.
void copyColors(const Config& config, DerivedConfig& derived);

// Stores the map centre and zoom unless the centre lies outside Japan.
void storeCentre(Config& config, double lat, double lon, int32_t zoom);

// One visible list column, in display order.
struct TableColumn {
  std::string identifier;
  double width = 0;
};
// Rebuilds the layout of the list shown (`show_list` 1 track points, 2 waypoints).
void saveTableStatus(int32_t show_list, const std::vector<TableColumn>& columns, DerivedConfig& derived);

// Text form of a value in the settings file; floats always carry a decimal point so they
// come back as floats.
std::string encodeConfigValue(const ConfigValue& v);
// Numbers for numeric keys, strings for string keys; nothing for text that is not a number.
std::optional<ConfigValue> decodeConfigValue(ConfigKind kind, std::string_view text);

}  // namespace tw
