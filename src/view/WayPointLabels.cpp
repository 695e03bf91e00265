#include "view/WayPointLabels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "document/Geodesy.h"

namespace tw {

namespace {

constexpr int kZoom = 14;
constexpr int32_t kMaxSpan = 20000;

IPoint truncPoint(double x, double y) { return {static_cast<int32_t>(x), static_cast<int32_t>(y)}; }

// Below this extent of a segment and of a label's area every product of the crossing tests
// fits in 32 bits, so a segment can only score against a box it comes within a pixel of.
constexpr int32_t kExactExtent = 8192;
// Index cells of 64 × 64 zoom-14 pixels; an area over more cells than this is tested against
// every segment instead.
constexpr int kCellShift = 6;
constexpr int64_t kMaxCells = 1024;

// Inclusive pixel bounds.
struct Bounds {
  int64_t x0, y0, x1, y1;
};

bool meets(const Bounds& s, const Bounds& o) { return !(s.x1 < o.x0 || s.x0 > o.x1 || s.y1 < o.y0 || s.y0 > o.y1); }

bool within(const Bounds& s, const Bounds& o) { return s.x0 >= o.x0 && s.x1 <= o.x1 && s.y0 >= o.y0 && s.y1 <= o.y1; }

bool contains(const Bounds& o, IPoint p) { return p.x >= o.x0 && p.x <= o.x1 && p.y >= o.y0 && p.y <= o.y1; }

Bounds bounds(IPoint a, IPoint b)
{
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

int64_t floorInt(double v) { return static_cast<int64_t>(std::floor(v)); }
int64_t ceilInt(double v) { return static_cast<int64_t>(std::ceil(v)); }

// One waypoint being placed: its eight candidates and their running scores. An integer n lies
// below a real r when n < ⌈r⌉ and above it when n > ⌊r⌋, so the bounds below are exact.
struct Label {
  WayPoint* wp = nullptr;
  Bounds area{};  // the candidates' area grown by a pixel: segments meeting it are scored
  bool exact = false;
  LabelCandidate cand[8];
  Bounds box[8];  // the pixels of each box, for the end point test
  // With exact arithmetic, a segment scores against a candidate only when its bounds meet the
  // box grown by a pixel, touches no edge when they lie between the edges, and can cross or
  // touch an edge only when they meet the edge's bounds.
  Bounds reach[8], inner[8], edgeReach[8][4];
  int score[8] = {};

  Label(WayPoint* w, const LabelBox& a) : wp(w)
  {
    area = {floorInt(a.x) - 1, floorInt(a.y) - 1, floorInt(a.x + a.w + 1), floorInt(a.y + a.h + 1)};
    exact = a.w + 2 < kExactExtent && a.h + 2 < kExactExtent;
  }

  void setCandidate(int i, const LabelBox& b)
  {
    cand[i] = labelEdges(b);
    score[i] = kLabelBonus[i];
    box[i] = {ceilInt(b.x), ceilInt(b.y), ceilInt(b.x + b.w) - 1, ceilInt(b.y + b.h) - 1};
    reach[i] = {floorInt(b.x) - 1, floorInt(b.y) - 1, ceilInt(b.x + b.w) + 1, ceilInt(b.y + b.h) + 1};
    const IPoint* top = cand[i].edges[0];
    const IPoint* bottom = cand[i].edges[2];
    inner[i] = {top[0].x + 1, top[0].y + 1, bottom[1].x - 1, bottom[1].y - 1};
    for (int e = 0; e < 4; ++e) edgeReach[i][e] = bounds(cand[i].edges[e][0], cand[i].edges[e][1]);
  }

  // A segment whose bounds meet the area.
  void add(const Segment& s, const Bounds& sb, bool exactSegment)
  {
    if (!exactSegment || !exact) {
      for (int i = 0; i < 8; ++i) score[i] -= segmentPenalty(cand[i], s);
      return;
    }
    for (int i = 0; i < 8; ++i) {
      if (!meets(sb, reach[i])) continue;
      int penalty = contains(box[i], s.b) ? 1 : 0;
      if (!within(sb, inner[i])) {
        for (int e = 0; e < 4; ++e) {
          if (!meets(sb, edgeReach[i][e])) continue;
          const IPoint* edge = cand[i].edges[e];
          if (intersection(edge[0], edge[1], s.a, s.b))
            penalty += 10;
          else if (online(edge[0], edge[1], s.a, s.b))
            penalty += 1;
        }
      }
      score[i] -= penalty;
    }
  }
};

// The labels by the index cells their areas cover; each segment visits only the labels of its
// own cells. The areas and visit marks sit apart from the labels, so that the many segments
// passing by a label do not bring in the rest of it.
class LabelIndex {
 public:
  explicit LabelIndex(std::vector<Label>& labels) : labels_(labels), seen_(labels.size(), SIZE_MAX)
  {
    for (uint32_t i = 0; i < labels.size(); ++i) {
      const Bounds& a = labels[i].area;
      areas_.push_back(a);
      const int64_t cx0 = a.x0 >> kCellShift, cy0 = a.y0 >> kCellShift, cx1 = a.x1 >> kCellShift, cy1 = a.y1 >> kCellShift;
      if ((cx1 - cx0 + 1) * (cy1 - cy0 + 1) > kMaxCells) {
        wide_.push_back(i);
        continue;
      }
      for (int64_t cy = cy0; cy <= cy1; ++cy)
        for (int64_t cx = cx0; cx <= cx1; ++cx) cells_[key(cx, cy)].push_back(i);
    }
  }

  // `n` numbers the segments in order; a segment in several cells counts once per label.
  void add(const Segment& s, size_t n)
  {
    const Bounds b = bounds(s.a, s.b);
    const bool exact = b.x1 - b.x0 < kExactExtent && b.y1 - b.y0 < kExactExtent;
    auto visit = [&](uint32_t i) {
      if (seen_[i] == n || !meets(b, areas_[i])) return;
      seen_[i] = n;
      labels_[i].add(s, b, exact);
    };
    for (uint32_t i : wide_) visit(i);
    const int64_t cx0 = b.x0 >> kCellShift, cy0 = b.y0 >> kCellShift;
    const int64_t cx1 = b.x1 >> kCellShift, cy1 = b.y1 >> kCellShift;
    if ((cx1 - cx0 + 1) * (cy1 - cy0 + 1) > kMaxCells) {
      for (uint32_t i = 0; i < labels_.size(); ++i) visit(i);
      return;
    }
    for (int64_t cy = cy0; cy <= cy1; ++cy)
      for (int64_t cx = cx0; cx <= cx1; ++cx) {
        const auto it = cells_.find(key(cx, cy));
        if (it == cells_.end()) continue;
        for (uint32_t i : it->second) visit(i);
      }
  }

 private:
  static uint64_t key(int64_t cx, int64_t cy)
  {
    return static_cast<uint64_t>(static_cast<uint32_t>(cx)) << 32 | static_cast<uint32_t>(cy);
  }

  std::vector<Label>& labels_;
  std::vector<Bounds> areas_;
  std::vector<size_t> seen_;
  std::unordered_map<uint64_t, std::vector<uint32_t>> cells_;
  std::vector<uint32_t> wide_;
};

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

LabelCandidate labelEdges(const LabelBox& b)
{
  return {b,
          {{truncPoint(b.x, b.y), truncPoint(b.x + b.w, b.y)},
           {truncPoint(b.x + b.w, b.y), truncPoint(b.x + b.w, b.y + b.h)},
           {truncPoint(b.x, b.y + b.h), truncPoint(b.x + b.w, b.y + b.h)},
           {truncPoint(b.x, b.y), truncPoint(b.x, b.y + b.h)}}};
}

int segmentPenalty(const LabelCandidate& c, const Segment& s)
{
  const LabelBox& b = c.box;
  int penalty = (s.b.x >= b.x && s.b.x < b.x + b.w && s.b.y >= b.y && s.b.y < b.y + b.h) ? 1 : 0;
  for (const auto& e : c.edges) {
    if (intersection(e[0], e[1], s.a, s.b))
      penalty += 10;
    else if (online(e[0], e[1], s.a, s.b))
      penalty += 1;
  }
  return penalty;
}

int scoreCandidate(int pos, const LabelBox& box, const std::vector<Segment>& segments)
{
  const LabelCandidate c = labelEdges(box);
  int score = kLabelBonus[pos];
  for (const Segment& s : segments) score -= segmentPenalty(c, s);
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

  std::vector<Label> labels;
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
    Label& l = labels.emplace_back(&wp, area);
    for (int i = 0; i < 8; ++i) l.setCandidate(i, labelCandidate(i, px, py, W, H));
  }
  if (labels.empty()) return m;

  LabelIndex index(labels);
  size_t n = 0;
  for (const TrackInfo& t : tracks) {
    const auto& pts = t.points;
    if (pts.empty()) break;
    for (size_t k = 1; k < pts.size(); ++k)
      index.add({{(pts[k - 1].x >> 4) - minX, (pts[k - 1].y >> 4) - minY}, {(pts[k].x >> 4) - minX, (pts[k].y >> 4) - minY}},
                n++);
  }
  for (const Label& l : labels) {
    int best = -9999, chosen = 4;
    for (int i = 0; i < 8; ++i) {
      if (l.score[i] > best) {
        best = l.score[i];
        chosen = i;
      }
    }
    l.wp->pos = chosen;
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
