#include "editing/TrackOperations.h"

#include <algorithm>

#include "document/Geodesy.h"

namespace tw {

std::vector<TrackMenuItem> trackMenuItems(const DocumentState& doc)
{
  std::vector<TrackMenuItem> items;
  for (int k = 0; k < static_cast<int>(doc.tracks.size()); ++k)
    items.push_back({trackMenuTitle(k, doc.tracks[k].name), k, k == doc.active_track});
  return items;
}

std::vector<TrackMenuItem> connectMenuItems(const DocumentState& doc)
{
  std::vector<TrackMenuItem> items;
  for (int k = 0; k < static_cast<int>(doc.tracks.size()); ++k) {
    if (k != doc.active_track) items.push_back({trackMenuTitle(k, doc.tracks[k].name), k, false});
  }
  return items;
}

void addEmptyTrack(DocumentState& doc)
{
  TrackInfo t;
  t.name = "";
  t.valid_time = false;
  t.stable = 0;
  doc.tracks.push_back(std::move(t));
  doc.active_track = static_cast<int>(doc.tracks.size()) - 1;
}

DeletedTrack deleteTrackAtIndex(DocumentState& doc, int i)
{
  const int n = static_cast<int>(doc.tracks.size());
  if (i < 0 || i >= n) return DeletedTrack::None;
  doc.tracks.erase(doc.tracks.begin() + i);
  if (i == doc.active_track) {
    if (doc.tracks.empty()) {
      doc.active_track = kNoIndex;
      doc.filename.clear();
    } else if (doc.active_track >= static_cast<int>(doc.tracks.size())) {
      doc.active_track = static_cast<int>(doc.tracks.size()) - 1;
    }
    return DeletedTrack::Active;
  }
  if (i < doc.active_track) {
    --doc.active_track;
    return DeletedTrack::BeforeActive;
  }
  return DeletedTrack::AfterActive;
}

bool connectTrack(DocumentState& doc, int k)
{
  auto* active = doc.activeTrack();
  if (!active || k < 0 || k >= static_cast<int>(doc.tracks.size()) || k == doc.active_track) return false;
  const auto& src = doc.tracks[k].points;
  active->points.insert(active->points.end(), src.begin(), src.end());
  deleteTrackAtIndex(doc, k);
  return true;
}

bool divideTrack(DocumentState& doc, int r)
{
  auto* active = doc.activeTrack();
  if (!active || r < 0 || r >= static_cast<int>(active->points.size())) return false;
  TrackInfo t;
  t.name = "";
  t.stable = active->stable;
  t.points.assign(active->points.begin() + r, active->points.end());
  float dist = 0.0f;
  for (size_t i = 0; i < t.points.size(); ++i) {
    if (i == 0) t.points[i].seg_dist = 0.0f;
    dist += t.points[i].seg_dist;
    t.points[i].dist = dist;
  }
  active->points.resize(static_cast<size_t>(r) + 1);
  doc.tracks.push_back(std::move(t));  // may move `active`; not used below
  return true;
}

void reverseRoute(std::vector<Track>& points) { std::reverse(points.begin(), points.end()); }

bool turnBack(std::vector<Track>& points)
{
  const size_t n = points.size();
  if (n < 2) return false;
  points.reserve(2 * n - 1);
  for (size_t k = n - 1; k-- > 0;) {
    Track t = points[k];
    const Track& prev = points.back();
    t.seg_dist = static_cast<float>(calcDistHubeny(prev.lat, prev.lon, t.lat, t.lon));
    t.dist = prev.dist + t.seg_dist;
    t.time.reset();
    points.push_back(t);
  }
  return true;
}

}  // namespace tw
