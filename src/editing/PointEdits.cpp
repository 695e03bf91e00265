#include "editing/PointEdits.h"

#include <algorithm>
#include <cmath>

namespace tw {

bool isAcceptableName(const std::string& name) { return name.find("]]>") == std::string::npos; }

int64_t hitRadius(int zoom)
{
  return static_cast<int64_t>(std::trunc(std::pow(2.0, 18 - zoom) * 8.0));
}

int64_t hitDistance(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
  return approxPixelDistance(static_cast<int64_t>(x2) - x1, static_cast<int64_t>(y2) - y1) >> 8;
}

namespace {

template <class Items>
int nearest(const Items& items, int32_t x, int32_t y, int zoom)
{
  int64_t bound = hitRadius(zoom);
  int found = -1;
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    const int64_t d = hitDistance(x, y, items[i].x, items[i].y);
    if (d < bound) {
      bound = d;
      found = i;
    }
  }
  return found;
}

}  // namespace

int nearestPoint(const std::vector<Track>& points, int32_t x, int32_t y, int zoom)
{
  return nearest(points, x, y, zoom);
}

int nearestWayPoint(const std::vector<WayPoint>& waypoints, int32_t x, int32_t y, int zoom)
{
  return nearest(waypoints, x, y, zoom);
}

bool isHoverValid(DPoint mp, DPoint prev_mp)
{
  if (mp.x == prev_mp.x && mp.y == prev_mp.y) return false;
  return std::fabs(mp.x - prev_mp.x) + std::fabs(mp.y - prev_mp.y) < 3.0;
}

double roundToFloat(double v) { return static_cast<double>(static_cast<float>(v)); }

std::optional<Track> newTrackPoint(const std::vector<Track>& points, float lat, float lon, float elev)
{
  Track t;
  setPosition(t, static_cast<double>(lat), static_cast<double>(lon));
  t.elev = elev;
  t.peak_type = 0;
  t.wp_index = kNoIndex;
  if (!points.empty()) {
    const Track& last = points.back();
    t.seg_dist = static_cast<float>(calcDistHubeny(last.lat, last.lon, t.lat, t.lon));
    t.dist = last.dist + t.seg_dist;
    if (!(t.seg_dist > 0.0f)) return std::nullopt;
  }
  return t;
}

bool appendTrackPoint(std::vector<Track>& points, float lat, float lon, float elev)
{
  auto t = newTrackPoint(points, lat, lon, elev);
  if (!t) return false;
  points.push_back(*t);
  return true;
}

bool insertMidPoint(std::vector<Track>& points, int i, float elev)
{
  if (i < 0 || i + 1 >= static_cast<int>(points.size())) return false;
  const Track& a = points[i];
  const Track& b = points[i + 1];
  Track t;
  t.x = static_cast<int32_t>((static_cast<int64_t>(a.x) + b.x) / 2);
  t.y = static_cast<int32_t>((static_cast<int64_t>(a.y) + b.y) / 2);
  t.lat = latFromPixel(18, t.y);
  t.lon = lonFromPixel(18, t.x);
  t.elev = elev;
  points.insert(points.begin() + i + 1, t);
  return true;
}

bool addOffsetPoints(std::vector<Track>& points, int i, int count, int zoom)
{
  if (i < 0 || i >= static_cast<int>(points.size()) || count <= 0) return false;
  std::vector<Track> chain;
  chain.reserve(static_cast<size_t>(count));
  Track prev = points[i];
  for (int k = 0; k < count; ++k) {
    Track t = prev;
    const double px = pixelFromLon(zoom, prev.lon) + 10.0;
    const double py = pixelFromLat(zoom, prev.lat) + 10.0;
    setPosition(t, latFromPixel(zoom, py), lonFromPixel(zoom, px));
    t.elev = kUnknownElevation;
    t.time.reset();
    chain.push_back(t);
    prev = t;
  }
  points.insert(points.begin() + i + 1, chain.begin(), chain.end());
  return true;
}

bool movePoint(std::vector<Track>& points, int i, double lat, double lon, float elev)
{
  if (i < 0 || i >= static_cast<int>(points.size())) return false;
  Track& t = points[i];
  setPosition(t, lat, lon);
  t.elev = elev;
  if (i == 0) {
    t.seg_dist = 0.0f;
    t.dist = 0.0f;
  } else {
    const Track& p = points[i - 1];
    t.seg_dist = static_cast<float>(calcDistHubeny(p.lat, p.lon, t.lat, t.lon));
    t.dist = p.dist + t.seg_dist;
  }
  if (i + 1 < static_cast<int>(points.size())) {
    Track& nx = points[i + 1];
    nx.seg_dist = static_cast<float>(calcDistHubeny(t.lat, t.lon, nx.lat, nx.lon));
  }
  for (size_t k = static_cast<size_t>(i) + 1; k < points.size(); ++k) points[k].dist = points[k - 1].dist + points[k].seg_dist;
  return true;
}

void removeFirstPoints(std::vector<Track>& points, int count)
{
  const auto c = std::clamp<long long>(count, 0, static_cast<long long>(points.size()));
  points.erase(points.begin(), points.begin() + c);
}

void removeLastPoints(std::vector<Track>& points, int count)
{
  const auto c = std::clamp<long long>(count, 0, static_cast<long long>(points.size()));
  points.resize(points.size() - static_cast<size_t>(c));
}

DPoint popupOrigin(int32_t x, int32_t y, int zoom, double foreX, double foreY, double viewWidth, double viewHeight,
                   double buttonWidth, double buttonHeight)
{
  const int shift = std::clamp(18 - zoom, 0, 31);
  double px = static_cast<double>(x >> shift) - foreX;
  double py = viewHeight - (static_cast<double>(y >> shift) - foreY) - buttonHeight;
  if (px + buttonWidth > viewWidth) px -= buttonWidth;
  if (py < 0) py = 0;
  return DPoint{std::floor(px), std::floor(py)};
}

void checkConnectWayPoint(std::vector<Track>& points, const std::vector<WayPoint>& waypoints)
{
  constexpr int64_t kAttachRadius = 150;
  constexpr float kReattachDistance = 500.0f;
  // A waypoint within the radius is at most 156 pixels away on either axis (246 × 157 >> 8 is
  // 150), so each point looks only at the waypoints in that x range.
  constexpr int64_t kReach = 156;
  std::vector<std::pair<int32_t, int>> byX;
  byX.reserve(waypoints.size());
  for (int w = 0; w < static_cast<int>(waypoints.size()); ++w) byX.emplace_back(waypoints[w].x, w);
  std::sort(byX.begin(), byX.end());
  bool attached = false;  // a last attachment exists
  int lastPoint = -1, lastWp = -1;
  int64_t lastD = 0;
  float lastDist = 0.0f;
  for (int i = 0; i < static_cast<int>(points.size()); ++i) {
    Track& t = points[i];
    t.wp_index = kNoIndex;
    int64_t bound = kAttachRadius;
    int found = -1;  // the nearest, the first in waypoint order on a tie
    auto it = std::lower_bound(byX.begin(), byX.end(), t.x - kReach,
                               [](const std::pair<int32_t, int>& e, int64_t x) { return e.first < x; });
    for (; it != byX.end() && it->first <= t.x + kReach; ++it) {
      const int w = it->second;
      const int64_t d = hitDistance(t.x, t.y, waypoints[w].x, waypoints[w].y);
      if (d < bound || (d == bound && found >= 0 && w < found)) {
        bound = d;
        found = w;
      }
    }
    if (found >= 0) {
      bool attach = true;
      if (found == lastWp) {
        if (lastD > bound)
          points[lastPoint].wp_index = kNoIndex;
        else if (lastD < bound)
          attach = false;
      }
      if (attach) {
        t.wp_index = found;
        attached = true;
        lastPoint = i;
        lastWp = found;
        lastD = bound;
        lastDist = t.dist;
      }
    }
    if (attached && t.dist > lastDist + kReattachDistance) lastWp = -1;
  }
}

}  // namespace tw
