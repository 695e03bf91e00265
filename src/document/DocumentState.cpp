#include "document/DocumentState.h"

#include <cmath>

namespace tw {

std::vector<Track>* DocumentState::routes()
{
  auto* t = activeTrack();
  return t ? &t->points : nullptr;
}

const std::vector<Track>* DocumentState::routes() const
{
  auto* t = activeTrack();
  return t ? &t->points : nullptr;
}

TrackInfo* DocumentState::activeTrack()
{
  if (active_track < 0 || active_track >= static_cast<int>(tracks.size())) return nullptr;
  return &tracks[active_track];
}

const TrackInfo* DocumentState::activeTrack() const
{
  if (active_track < 0 || active_track >= static_cast<int>(tracks.size())) return nullptr;
  return &tracks[active_track];
}

void DocumentState::deleteAllTracks()
{
  tracks.clear();
  positions.clear();
  states.clear();
  filename.clear();
  active_track = kNoIndex;
  select = kNoIndex;
}

void DocumentState::deleteAllWayPoints()
{
  waypoints.clear();
  select_wp = kNoIndex;
}

std::string DocumentState::getFileBaseName() const
{
  if (filename.empty()) return "map";
  auto dot = filename.rfind('.');
  if (dot == std::string::npos || dot == 0) return filename;
  return filename.substr(0, dot);
}

std::string DocumentState::windowTitle() const
{
  std::string title = filename.empty() ? "Tarnwick" : filename;
  if (const auto* t = activeTrack(); t && !t->name.empty()) title += "(" + t->name + ")";
  return title;
}

int DocumentState::isStableElevation() const
{
  const auto* t = activeTrack();
  return t ? t->stable : 0;
}

PosInfo posInfoAt(const std::vector<PosInfo>& positions, double x, double width, double total_dist, double span)
{
  PosInfo none;
  none.point_index = kNoIndex;
  if (x < 0 || x > width) return none;
  const double raw = x / width * total_dist / span;
  // Without a pointer view (width 0) x = 0 gives 0/0: that is the first sample.
  if (!std::isnan(raw) && !std::isfinite(raw)) return none;
  const long long index = std::isnan(raw) ? 0 : static_cast<long long>(raw);
  const long long n = static_cast<long long>(positions.size());
  if (index >= n && index <= n + 2 && n > 0) return positions.back();
  if (index >= 0 && index < n) return positions[static_cast<size_t>(index)];
  return none;
}

std::string trackMenuTitle(int index, const std::string& name)
{
  std::string t = "トラック" + std::to_string(index + 1);
  if (!name.empty()) t += "(" + name + ")";
  return t;
}

}  // namespace tw
