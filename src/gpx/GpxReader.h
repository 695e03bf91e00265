#pragma once
// GPX text → tracks and waypoints. The scan works on the element sequence of
// GpxElementStream: waypoints and track points read their name/ele/time from the elements
// that follow them up to the next wpt, trk or trkpt (whatever their parent), segments merge
// into their track, routes are not read as tracks.

#include <optional>
#include <string_view>
#include <vector>

#include "document/Records.h"

namespace tw {

struct GpxData {
  std::vector<TrackInfo> tracks;
  // Per track: false when it collected points before any trk and no name element preceded them.
  std::vector<bool> name_present;
  std::vector<WayPoint> waypoints;
  bool outside = false;     // some track point lies outside Japan
  bool invalid_wp = false;  // some waypoint has no elevation
};

enum class GpxReadError {
  None,
  NotUtf8,
  NotWellFormed,   // not XML, truncated, or a reference to a declared entity
};

struct GpxReadResult {
  GpxReadError error = GpxReadError::None;
  GpxData data;
  bool ok() const { return error == GpxReadError::None; }
};

// Reads GPX bytes (UTF-8). Well-formed XML without GPX elements gives an empty document.
// Points and waypoints whose lat/lon is missing, empty, not finite, |lat| ≥ 90 or |lon| > 180
// are skipped: they cannot be projected.
GpxReadResult parseGPX(std::string_view bytes);

// The track's times are usable for speed and time statistics: at least one point is timed, at
// least ⌊n × 80 / 100⌋ points are, and the timed span is more than 10 s.
bool checkValidTime(const std::vector<Track>& points);

// Whether a coordinate pair can be stored and projected.
bool isUsableCoordinate(double lat, double lon);

}  // namespace tw
