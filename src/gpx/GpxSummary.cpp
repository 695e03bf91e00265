#include "gpx/GpxSummary.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace tw {

std::optional<std::string> readFileBytes(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string s;
  in.seekg(0, std::ios::end);
  const auto size = in.tellg();
  in.seekg(0, std::ios::beg);
  if (size > 0) s.reserve(static_cast<size_t>(size));
  s.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return s;
}

std::string jsonString(const std::string& s)
{
  std::string out = "\"";
  for (const unsigned char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string countJson(const GpxData& data)
{
  std::string s = "{\"tracks\": [";
  for (size_t i = 0; i < data.tracks.size(); ++i) {
    const auto& t = data.tracks[i];
    size_t timed = 0;
    for (const auto& p : t.points) timed += p.time.has_value();
    const bool named = i < data.name_present.size() ? data.name_present[i] : true;
    if (i) s += ", ";
    s += "{\"name\": " + (named ? jsonString(t.name) : std::string("null"));
    s += ", \"points\": " + std::to_string(t.points.size());
    s += ", \"timed\": " + std::to_string(timed);
    s += std::string(", \"valid_time\": ") + (t.valid_time ? "true" : "false");
    s += ", \"stable\": " + std::to_string(t.stable) + "}";
  }
  size_t noElev = 0;
  for (const auto& w : data.waypoints) noElev += w.elev == kUnknownElevation;
  s += "], \"waypoints\": " + std::to_string(data.waypoints.size());
  s += ", \"waypoints_without_elev\": " + std::to_string(noElev);
  s += std::string(", \"outside\": ") + (data.outside ? "true" : "false") + "}";
  return s;
}

}  // namespace tw
