#pragma once
// The GPX 1.1 text the application writes, line by line from a fixed template, and the atomic
// file replacement used to store it.

#include <string>
#include <string_view>
#include <vector>

#include "document/Records.h"

namespace tw {

inline constexpr std::string_view kGpx11Namespace = "http://www.topografix.com/GPX/1/1";

// Every waypoint, then every track (`all`) or only the track at `active_track`, each written as
// one trkseg and numbered by its index in `tracks` plus one.
std::string buildGPXText(const std::vector<TrackInfo>& tracks, const std::vector<WayPoint>& waypoints,
                         int active_track, bool all);

// `name` as CDATA section(s): "]]>" is split across two sections so that the file stays
// well-formed and reads back to the same text. Characters XML 1.0 cannot carry are dropped.
std::string cdataSection(std::string_view name);

// printf "%W.Pf" without the C locale's influence on the decimal point.
std::string formatFixed(double v, int width, int precision);

// Replaces `path` with `data` through a temporary file in the same folder that is flushed to
// disk and renamed over the target. On failure the target is untouched and false is returned.
bool writeFileAtomically(const std::string& path, std::string_view data);

}  // namespace tw
