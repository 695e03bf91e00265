#include "view/WayPointLabels.h"

#include <algorithm>
#include <cmath>

#include "document/Geodesy.h"

namespace tw {

namespace {

constexpr int kZoom = 14;
constexpr int32_t kMaxSpan = 20000;

IPoint truncPoint(double x, double y) { return {static_cast<int32_t>(x), static_cast<int32_t>(y)}; }

}  // namespace

std::pair<double, double> a3GroundSize(int scale)
{
  switch (scale) {
    case 0: return {297.0 * 10, 420.0 * 10};
    case 2: return {297.0 * 15, 420.0 * 15};
    case 3: return {297.0 * 25, 420.0 * 25};
    default: return {static_cast<double>((297 * 125) / 10), static_cast<double>((420 * 125) / 10)};
  }
}

LabelBox labelCandidate(int pos, double px, double py, int w, int h)
{
  LabelBox b{0, 0, w, h};
  switch (pos) {
    case 0: b.x = px - w / 2; b.y = py - h - 2; break;
    case 1: b.x = px + 2; b.y = py - h - 2; break;
    case 2: b.x = px + 2; b.y = py - h / 2; break;
    case 3: b.x = px + 2; b.y = py + 2; break;
    case 4: b.x = px - w / 2; b.y = py + 2; break;
    case 5: b.x = px - w - 2; b.y = py + 2; break;
    case 6: b.x = px - w - 2; b.y = py - h / 2; break;
    default: b.x = px - w - 2; b.y = py - h - 2; break;
  }
  return b;
}

std::vector<Segment> segmentsNear(const std::vector<TrackInfo>& tracks, int32_t minX, int32_t minY,
                                  const LabelBox& area)
{
  std::vector<Segment> out;
  const double x0 = std::floor(area.x) - 1, y0 = std::floor(area.y) - 1;
  const double x1 = area.x + area.w + 1, y1 = area.y + area.h + 1;
  for (const TrackInfo& t : tracks) {
    const auto& pts = t.points;
    if (pts.empty()) break;
    for (size_t k = 1; k < pts.size(); ++k) {
      const IPoint a{(pts[k - 1].x >> 4) - minX, (pts[k - 1].y >> 4) - minY};
      const IPoint b{(pts[k].x >> 4) - minX, (pts[k].y >> 4) - minY};
      if (std::max(a.x, b.x) < x0 || std::min(a.x, b.x) > x1 || std::max(a.y, b.y) < y0 || std::min(a.y, b.y) > y1)
        continue;
      out.push_back({a, b});
    }
  }
  return out;
}

int scoreCandidate(int pos, const LabelBox& b, const std::vector<Segment>& segments)
{
  int score = kLabelBonus[pos];
  const IPoint edges[4][2] = {
      {truncPoint(b.x, b.y), truncPoint(b.x + b.w, b.y)},
      {truncPoint(b.x + b.w, b.y), truncPoint(b.x + b.w, b.y + b.h)},
      {truncPoint(b.x, b.y + b.h), truncPoint(b.x + b.w, b.y + b.h)},
      {truncPoint(b.x, b.y), truncPoint(b.x, b.y + b.h)},
  };
  for (const Segment& s : segments) {
    if (s.b.x >= b.x && s.b.x < b.x + b.w && s.b.y >= b.y && s.b.y < b.y + b.h) score -= 1;
    for (const auto& e : edges) {
      if (intersection(e[0], e[1], s.a, s.b))
        score -= 10;
      else if (online(e[0], e[1], s.a, s.b))
        score -= 1;
    }
  }
  return score;
}

std::optional<LabelPrintModel> calcWayPointPosition(std::vector<WayPoint>& waypoints,
                                                    const std::vector<TrackInfo>& tracks,
                                                    const std::vector<Track>* routes, int scale,
                                                    const MeasureText& measure)
{
  if (waypoints.empty()) return std::nullopt;
  int32_t minX = 9999999, minY = 9999999, maxX = -9999999;
  auto extend = [&](int32_t x, int32_t y) {
    minX = std::min(minX, x);
    minY = std::min(minY, y);
    maxX = std::max(maxX, x);
  };
  for (WayPoint& w : waypoints) {
    w.pos = -1;
    extend(toPixelInt(pixelFromLon(kZoom, w.lon)), toPixelInt(pixelFromLat(kZoom, w.lat)));
  }
  for (const TrackInfo& t : tracks)
    for (const Track& p : t.points) extend(p.x >> 4, p.y >> 4);

  if (!routes || routes->empty()) return std::nullopt;
  if (static_cast<int64_t>(maxX) - minX > kMaxSpan) return std::nullopt;

  LabelPrintModel m;
  const float pw = static_cast<float>(297 * kPointsPerMm), ph = static_cast<float>(420 * kPointsPerMm);
  m.paperPointRect = m.printPointRect = {0, 0, pw, ph};
  std::tie(m.paperDistance_w, m.paperDistance_h) = a3GroundSize(scale);

  double lat = 0, lon = 0;
  for (const WayPoint& w : waypoints) {
    lat += w.lat;
    lon += w.lon;
  }
  lat /= static_cast<double>(waypoints.size());
  lon /= static_cast<double>(waypoints.size());
  if (!checkLat(lat, lon)) return std::nullopt;

  const double dx = calcDistHubeny(lat, lon - 0.01, lat, lon + 0.01);
  const double dy = calcDistHubeny(lat - 0.01, lon, lat + 0.01, lon);
  const double rx = (pixelFromLon(kZoom, lon + 0.01) - pixelFromLon(kZoom, lon - 0.01)) * 100 / dx;
  const double ry = (pixelFromLat(kZoom, lat - 0.01) - pixelFromLat(kZoom, lat + 0.01)) * 100 / dy;
  const double w = m.paperDistance_w * rx / 100, h = m.paperDistance_h * ry / 100;
  m.paperPixelRect = m.printPixelRect = {pixelFromLon(kZoom, lon) - w / 2, pixelFromLat(kZoom, lat) - h / 2, w, h};
  if (w <= 0 || h <= 0) return m;
  m.compress_x = m.printPointRect.width / w;
  m.compress_y = m.printPointRect.height / h;
  if (m.compress_x == 0 || m.compress_y == 0) return m;

  for (WayPoint& wp : waypoints) {
    const std::string name = wp.getMapName();
    if (name.empty()) continue;
    const double px = toPixelInt(pixelFromLon(kZoom, wp.lon)) - static_cast<double>(minX);
    const double py = toPixelInt(pixelFromLat(kZoom, wp.lat)) - static_cast<double>(minY);
    const auto [tw, th] = measure(name);
    const int W = static_cast<int>(tw / m.compress_x + 4);
    const int H = static_cast<int>(th / m.compress_y + 4);
    // Every candidate lies within 2 + W, 2 + H of the mark.
    const LabelBox area{px - W - 2, py - H - 2, 2 * W + 4, 2 * H + 4};
    const std::vector<Segment> near = segmentsNear(tracks, minX, minY, area);
    int best = -9999, chosen = 4;
    for (int i = 0; i < 8; ++i) {
      const int score = scoreCandidate(i, labelCandidate(i, px, py, W, H), near);
      if (score > best) {
        best = score;
        chosen = i;
      }
    }
    wp.pos = chosen;
  }
  return m;
}

DPoint labelOrigin(int pos, double px, double py, double w, double h)
{
  switch (pos) {
    case 0: return {px - w / 2, -py + 8};
    case 1: return {px + 3, -py + 3};
    case 2: return {px + 8, -py - h / 2};
    case 3: return {px + 3, -py - h - 3};
    case 5: return {px - w - 3, -py - h - 3};
    case 6: return {px - w - 8, -py - h / 2};
    case 7: return {px - w - 3, -py + 3};
    default: return {px - w / 2, -py - h - 8};
  }
}

}  // namespace tw
