#include "gpx/GpxSummary.h"

#include <cstdio>

namespace tw {

std::optional<std::string> readFileBytes(const std::string& path)
{
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return std::nullopt;
  std::string s;
  if (std::fseek(f, 0, SEEK_END) == 0) {
    const long size = std::ftell(f);
    if (size > 0) s.reserve(static_cast<size_t>(size));
    std::rewind(f);
  }
  char buf[1 << 16];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) return std::nullopt;
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
