#pragma once
// Reading and summarising GPX files for batch use.

#include <optional>
#include <string>

#include "gpx/GpxReader.h"

namespace tw {

// The whole file; nullopt when it cannot be opened or read.
std::optional<std::string> readFileBytes(const std::string& path);

// One JSON object: {"tracks": [{"name": …, "points": N, "timed": K, "valid_time": b, "stable": s}, …],
// "waypoints": M, "waypoints_without_elev": J, "outside": b}; `name` is null when the track has none.
std::string countJson(const GpxData& data);

// A JSON string literal of UTF-8 text.
std::string jsonString(const std::string& s);

}  // namespace tw
