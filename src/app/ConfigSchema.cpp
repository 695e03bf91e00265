#include "app/ConfigSchema.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "app/RecentFiles.h"
#include "document/Geodesy.h"

namespace tw {
namespace {

constexpr double f32(double v) { return static_cast<double>(static_cast<float>(v)); }

constexpr ConfigKeySpec I(std::string_view key, int def, int min, int max)
{
  return {key, ConfigKind::Int, double(def), true, {}, double(min), double(max)};
}
constexpr ConfigKeySpec F(std::string_view key, double def, double min, double max)
{
  return {key, ConfigKind::Float, f32(def), false, {}, f32(min), f32(max)};
}

const ConfigKeySpec kSchema[] = {
    I(key::paper, 1, 0, 4),
    I(key::direction, 0, 0, 1),
    I(key::scale, 3, 0, 3),
    I(key::quality, 1, 0, 2),
    I(key::color, 0, 0, 2),
    I(key::north, 2, 0, 3),
    I(key::latlon, 0, 0, 4),
    I(key::top_margin, 5, 0, 50),
    I(key::bottom_margin, 5, 0, 50),
    I(key::left_margin, 5, 0, 50),
    I(key::right_margin, 5, 0, 50),
    I(key::route_width, 4, 0, 12),
    I(key::down_width, 4, 0, 12),
    I(key::road_depth, 100, 0, 100),
    F(key::contour_r, 0.22352941, 0.0, 1.0),
    F(key::contour_g, 0.18431373, 0.0, 1.0),
    F(key::contour_b, 0.07058824, 0.0, 1.0),
    F(key::route_r, 1.0, 0.0, 1.0),
    F(key::route_g, 0.0, 0.0, 1.0),
    F(key::route_b, 0.0, 0.0, 1.0),
    F(key::route_a, 0.5, 0.0, 1.0),
    F(key::down_r, 0.0, 0.0, 1.0),
    F(key::down_g, 0.0, 0.0, 1.0),
    F(key::down_b, 1.0, 0.0, 1.0),
    F(key::down_a, 0.5, 0.0, 1.0),
    F(key::north_r, 0.0, 0.0, 1.0),
    F(key::north_g, 0.0, 0.0, 1.0),
    F(key::north_b, 1.0, 0.0, 1.0),
    F(key::north_a, 1.0, 0.0, 1.0),
    F(key::latlon_r, 1.0, 0.0, 1.0),
    F(key::latlon_g, 0.0, 0.0, 1.0),
    F(key::latlon_b, 0.0, 0.0, 1.0),
    F(key::latlon_a, 1.0, 0.0, 1.0),
    F(key::wp_font_r, 0.0, 0.0, 1.0),
    F(key::wp_font_g, 0.3, 0.0, 1.0),
    F(key::wp_font_b, 0.0, 0.0, 1.0),
    F(key::wp_font_a, 1.0, 0.0, 1.0),
    I(key::latlon_size, 2, 0, 10),
    I(key::contour, 1, 0, 1),
    I(key::strong_road, 0, 0, 1),
    I(key::river, 0, 0, 1),
    I(key::building, 0, 0, 1),
    I(key::road, 0, 0, 1),
    I(key::conveni, 0, 0, 1),
    I(key::information, 1, 0, 1),
    I(key::show_coord, 1, 0, 2),
    I(key::show_elev, 1, 0, 1),
    I(key::show_time, 1, 0, 1),
    I(key::show_graph_wp, 1, 0, 1),
    I(key::graph_wp_type, 3, 0, 3),
    F(key::latitude, 35.8555, 20.425278, 45.557777),
    F(key::longitude, 138.94391, 122.93361, 153.98639),
    F(key::zoom, 8, 6, 18),
    I(key::show_list, 0, 0, 2),
    I(key::show_graph, 1, 0, 1),
    I(key::show_waypoint, 1, 0, 1),
    I(key::waypoint_type, 3, 0, 3),
    I(key::show_peak, 0, 0, 1),
    I(key::show_rest, 1, 0, 1),
    I(key::right_width, 460, 100, 1000),
    {key::wp_font_name, ConfigKind::String, 0, false, "HiraMaruPro-W4", 0, 0},
    I(key::wp_font_size, 18, 6, 100),
    I(key::map_type, 0, 0, 3),
    I(key::dem_mode, 0, 0, 1),
    {key::frame, ConfigKind::Frame, 0, false, {}, 0, 0},
    {key::update_base, ConfigKind::String, 0, false, "", 0, 0},
    I(key::tile_cache_mb, 1024, 0, 1048576),
};

constexpr std::string_view kTrackIds[] = {"no", "time", "elev", "lat", "lon", "dist", "speed"};
constexpr std::string_view kWpIds[] = {"no", "name", "elev", "lat", "lon"};

std::string_view trim(std::string_view s)
{
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::optional<int64_t> parseInteger(std::string_view s)
{
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  int64_t v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
  return v;
}

std::optional<double> parseFinite(std::string_view s)
{
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  double v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || s.empty() || !std::isfinite(v)) return std::nullopt;
  return v;
}

uint8_t colorByte(float component) { return static_cast<uint8_t>(static_cast<int>(component * 255.0f)); }

void updateContourColor(const Config& config, DerivedConfig& d)
{
  if (config.intValue(key::contour) == 0) {
    d.contour_color = {200, 160, 60};
    return;
  }
  d.contour_color = {colorByte(config.floatValue(key::contour_r)), colorByte(config.floatValue(key::contour_g)),
                     colorByte(config.floatValue(key::contour_b))};
}

void updateRoadColor(const Config& config, DerivedConfig& d)
{
  const auto b = static_cast<uint8_t>(100 - config.intValue(key::road_depth));
  d.road_color = {b, b, b};
}

// Copies one stored value into `config` when it passes its key's check.
void overlayValue(const std::map<std::string, ConfigValue>& stored, const ConfigKeySpec& rule, Config& config)
{
  auto it = stored.find(std::string(rule.key));
  if (it == stored.end()) return;
  const ConfigValue& v = it->second;
  switch (rule.kind) {
    case ConfigKind::Int: {
      auto i = toInt32(v);
      if (i && *i >= rule.min && *i <= rule.max) config.set(rule.key, v);
      break;
    }
    case ConfigKind::Float: {
      auto f = toFloat(v);
      if (f && *f >= static_cast<float>(rule.min) && *f <= static_cast<float>(rule.max)) config.set(rule.key, v);
      break;
    }
    case ConfigKind::String:
      if (auto* s = std::get_if<std::string>(&v); s && !s->empty()) config.set(rule.key, v);
      break;
    case ConfigKind::Frame:
      break;  // checked against the screen separately
  }
}

std::vector<std::string> layoutFrom(std::initializer_list<std::pair<const char*, int>> cols)
{
  std::vector<std::string> out;
  for (auto [id, w] : cols) out.push_back(std::string(id) + ":" + std::to_string(w));
  return out;
}

}  // namespace

std::span<const ConfigKeySpec> configSchema() { return kSchema; }

const ConfigKeySpec* findConfigKey(std::string_view key)
{
  for (const auto& s : kSchema)
    if (s.key == key) return &s;
  return nullptr;
}

void Config::set(std::string_view key, ConfigValue value)
{
  for (auto& e : entries_) {
    if (e.first == key) {
      e.second = std::move(value);
      return;
    }
  }
  entries_.emplace_back(std::string(key), std::move(value));
}

const ConfigValue* Config::find(std::string_view key) const
{
  for (const auto& e : entries_)
    if (e.first == key) return &e.second;
  return nullptr;
}

int32_t Config::intValue(std::string_view key) const
{
  const ConfigValue* v = find(key);
  return v ? toInt32(*v).value_or(0) : 0;
}

float Config::floatValue(std::string_view key) const
{
  const ConfigValue* v = find(key);
  return v ? toFloat(*v).value_or(0.0f) : 0.0f;
}

double Config::doubleValue(std::string_view key) const
{
  const ConfigValue* v = find(key);
  if (!v) return 0.0;
  if (auto* i = std::get_if<int64_t>(v)) return static_cast<double>(*i);
  if (auto* d = std::get_if<double>(v)) return *d;
  return 0.0;
}

std::string Config::stringValue(std::string_view key) const
{
  const ConfigValue* v = find(key);
  if (!v) return {};
  if (auto* s = std::get_if<std::string>(v)) return *s;
  return encodeConfigValue(*v);
}

std::optional<int32_t> toInt32(const ConfigValue& v)
{
  if (auto* i = std::get_if<int64_t>(&v)) {
    if (*i < std::numeric_limits<int32_t>::min() || *i > std::numeric_limits<int32_t>::max()) return std::nullopt;
    return static_cast<int32_t>(*i);
  }
  if (auto* d = std::get_if<double>(&v)) {
    if (!std::isfinite(*d)) return std::nullopt;
    const double t = std::trunc(*d);
    if (t < std::numeric_limits<int32_t>::min() || t > std::numeric_limits<int32_t>::max()) return std::nullopt;
    return static_cast<int32_t>(t);
  }
  return std::nullopt;
}

std::optional<float> toFloat(const ConfigValue& v)
{
  if (auto* i = std::get_if<int64_t>(&v)) return static_cast<float>(*i);
  if (auto* d = std::get_if<double>(&v)) {
    if (!std::isfinite(*d)) return std::nullopt;
    return static_cast<float>(*d);
  }
  return std::nullopt;
}

std::string frameString(const FrameRect& r)
{
  auto num = [](double v) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
  };
  return "{{" + num(r.x) + ", " + num(r.y) + "}, {" + num(r.width) + ", " + num(r.height) + "}}";
}

std::optional<FrameRect> parseFrame(std::string_view s)
{
  // Strip the braces, then expect four comma-separated numbers.
  std::string flat;
  for (char c : s) {
    if (c == '{' || c == '}') c = ' ';
    flat.push_back(c);
  }
  double v[4];
  std::string_view rest = flat;
  for (int i = 0; i < 4; ++i) {
    size_t comma = rest.find(',');
    std::string_view part = trim(i < 3 ? rest.substr(0, comma) : rest);
    if (i < 3 && comma == std::string_view::npos) return std::nullopt;
    auto d = parseFinite(part);
    if (!d) return std::nullopt;
    v[i] = *d;
    if (i < 3) rest.remove_prefix(comma + 1);
  }
  // The commas and spaces between braces must be the only separators.
  size_t open = 0, close = 0;
  for (char c : s) {
    open += c == '{';
    close += c == '}';
  }
  if (open != 3 || close != 3) return std::nullopt;
  return FrameRect{v[0], v[1], v[2], v[3]};
}

FrameRect defaultFrame(const FrameRect& screen) { return {50, 20, screen.width - 100, screen.height - 50}; }

bool frameFitsScreen(const FrameRect& f, const FrameRect& screen)
{
  // A zero or negative size would open an invisible window.
  return f.x >= 0 && f.y >= 0 && f.width > 0 && f.height > 0 && f.x + f.width <= screen.x + screen.width &&
         f.y + f.height <= screen.y + screen.height;
}

FrameRect frameForScreen(const Config& config, const FrameRect& screen)
{
  if (const ConfigValue* v = config.find(key::frame)) {
    if (auto* s = std::get_if<std::string>(v)) {
      if (auto f = parseFrame(*s); f && frameFitsScreen(*f, screen)) return *f;
    }
  }
  return defaultFrame(screen);
}

bool isValidTableLayout(const std::vector<std::string>& layout, std::span<const std::string_view> ids,
                        size_t count)
{
  if (layout.size() != count) return false;
  for (const auto& entry : layout) {
    const size_t colon = entry.find(':');
    if (colon == std::string::npos || entry.find(':', colon + 1) != std::string::npos) return false;
    const std::string_view id(entry.data(), colon);
    bool known = false;
    for (auto k : ids) known = known || k == id;
    if (!known) return false;
    auto width = parseInteger(trim(std::string_view(entry).substr(colon + 1)));
    if (!width || *width < 10 || *width > 500) return false;
  }
  return true;
}

std::span<const std::string_view> trackTableIds() { return kTrackIds; }
std::span<const std::string_view> wpTableIds() { return kWpIds; }

std::vector<std::string> defaultTrackTable()
{
  return layoutFrom({{"no", 30}, {"elev", 60}, {"time", 60}, {"dist", 60}, {"speed", 60}, {"lat", 70}, {"lon", 80}});
}

std::vector<std::string> defaultWpTable()
{
  return layoutFrom({{"no", 30}, {"name", 120}, {"elev", 60}, {"lat", 70}, {"lon", 80}});
}

void writeConfigDefaults(Config& config, const FrameRect& screen)
{
  config.clear();
  for (const auto& s : kSchema) {
    switch (s.kind) {
      case ConfigKind::Int:
        config.setInt(s.key, static_cast<int64_t>(s.def));
        break;
      case ConfigKind::Float:
        config.set(s.key, ConfigValue(s.def));
        break;
      case ConfigKind::String:
        config.setString(s.key, std::string(s.defString));
        break;
      case ConfigKind::Frame:
        config.setString(s.key, frameString(defaultFrame(screen)));
        break;
    }
  }
}

void loadConfig(const StoredConfig& stored, const FrameRect& screen, Config& config, DerivedConfig& d,
                ViewportState& view)
{
  writeConfigDefaults(config, screen);
  view.back_cols = std::max(static_cast<int32_t>(std::ceil(screen.width / 256.0)), 3) + 2;
  view.back_rows = std::max(static_cast<int32_t>(std::ceil(screen.height / 256.0)), 1) + 2;
  d.recent_files = sanitizeRecentFiles(stored.recent_files.value_or(std::vector<std::string>{}));

  // The recolouring bytes follow the defaults even on a first run, so the first start draws
  // contours in the default colour rather than black.
  if (!stored.config) {
    updateContourColor(config, d);
    updateRoadColor(config, d);
    return;
  }
  const auto& dict = *stored.config;
  for (const auto& rule : kSchema) overlayValue(dict, rule, config);
  // After every overlay, so a stored `contour` of 0 is honoured whatever the component keys say.
  updateContourColor(config, d);
  updateRoadColor(config, d);

  if (auto it = dict.find(std::string(key::frame)); it != dict.end()) {
    if (auto* s = std::get_if<std::string>(&it->second)) {
      if (auto f = parseFrame(*s); f && frameFitsScreen(*f, screen)) config.setString(key::frame, *s);
    }
  }

  if (stored.track_table && isValidTableLayout(*stored.track_table, kTrackIds, std::size(kTrackIds)))
    d.track_table = *stored.track_table;
  else
    d.track_table = defaultTrackTable();
  if (stored.wp_table && isValidTableLayout(*stored.wp_table, kWpIds, std::size(kWpIds)))
    d.wp_table = *stored.wp_table;
  else
    d.wp_table = defaultWpTable();

  d.right_width = config.intValue(key::right_width);
  d.show_list = config.intValue(key::show_list);
  d.show_graph = config.intValue(key::show_graph);
  view.lat = static_cast<double>(config.floatValue(key::latitude));
  view.lon = static_cast<double>(config.floatValue(key::longitude));
  view.zoom = static_cast<int32_t>(config.floatValue(key::zoom));
  d.map_type = static_cast<MapType>(config.intValue(key::map_type));

  if (!checkLat(view.lat, view.lon)) {
    view.lat = 35.855499;
    view.lon = 138.943905;
  }
}

void copyColors(const Config& config, DerivedConfig& d)
{
  auto c = [&](std::string_view k) { return static_cast<double>(config.floatValue(k)); };
  d.routeColor = {c(key::route_r), c(key::route_g), c(key::route_b), c(key::route_a)};
  d.downColor = {c(key::down_r), c(key::down_g), c(key::down_b), c(key::down_a)};
  d.wpColor = {c(key::wp_font_r), c(key::wp_font_g), c(key::wp_font_b), 1.0};
}

void storeCentre(Config& config, double lat, double lon, int32_t zoom)
{
  if (!checkLat(lat, lon)) return;
  config.setFloat(key::latitude, static_cast<float>(lat));
  config.setFloat(key::longitude, static_cast<float>(lon));
  config.setInt(key::zoom, zoom);
}

void saveTableStatus(int32_t show_list, const std::vector<TableColumn>& columns, DerivedConfig& d)
{
  if (show_list != 1 && show_list != 2) return;
  const auto ids = show_list == 2 ? std::span<const std::string_view>(kWpIds) : std::span<const std::string_view>(kTrackIds);
  auto& layout = show_list == 2 ? d.wp_table : d.track_table;
  layout.clear();
  for (const auto& col : columns) {
    bool known = false;
    for (auto k : ids) known = known || k == col.identifier;
    if (!known || !std::isfinite(col.width)) continue;
    layout.push_back(col.identifier + ":" + std::to_string(static_cast<int64_t>(col.width)));
  }
}

std::string encodeConfigValue(const ConfigValue& v)
{
  if (auto* i = std::get_if<int64_t>(&v)) return std::to_string(*i);
  if (auto* d = std::get_if<double>(&v)) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, *d);
    std::string s(buf, res.ptr);
    if (s.find_first_of(".eEni") == std::string::npos) s += ".0";
    return s;
  }
  return std::get<std::string>(v);
}

std::optional<ConfigValue> decodeConfigValue(ConfigKind kind, std::string_view text)
{
  if (kind == ConfigKind::String || kind == ConfigKind::Frame) return ConfigValue(std::string(text));
  text = trim(text);
  if (auto i = parseInteger(text)) return ConfigValue(*i);
  if (auto d = parseFinite(text)) return ConfigValue(*d);
  return std::nullopt;
}

}  // namespace tw
