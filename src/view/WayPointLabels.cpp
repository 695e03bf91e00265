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

struct Bounds {
  int32_t x0, y0, x1, y1;
};

bool meets(const Bounds& s, double x0, double y0, double x1, double y1)
{
  return !(s.x1 < x0 || s.x0 > x1 || s.y1 < y0 || s.y0 > y1);
}

// One waypoint being placed: its eight candidates and their running scores.
struct Label {
  WayPoint* wp = nullptr;
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // the candidates' area grown by a pixel
  bool exact = false;
  LabelCandidate cand[8];
  int score[8] = {};
  size_t seen = SIZE_MAX;  // the last segment counted, so one in several cells counts once

  void add(const Segment& s, const Bounds& sb, bool exactSegment)
  {
    if (!meets(sb, x0, y0, x1, y1)) return;
    for (int i = 0; i < 8; ++i) score[i] -= exactSegment && exact ? nearPenalty(cand[i], s, sb) : segmentPenalty(cand[i], s);
  }

  // segmentPenalty for exact arithmetic: only a box or an edge the segment's bounds meet can score.
  static int nearPenalty(const LabelCandidate& c, const Segment& s, const Bounds& sb)
  {
    const LabelBox& b = c.box;
    if (!meets(sb, b.x - 1, b.y - 1, b.x + b.w + 1, b.y + b.h + 1)) return 0;
    int penalty = (s.b.x >= b.x && s.b.x < b.x + b.w && s.b.y >= b.y && s.b.y < b.y + b.h) ? 1 : 0;
    for (const auto& e : c.edges) {
      if (!meets(sb, std::min(e[0].x, e[1].x), std::min(e[0].y, e[1].y), std::max(e[0].x, e[1].x),
                 std::max(e[0].y, e[1].y)))
        continue;
      if (intersection(e[0], e[1], s.a, s.b))
        penalty += 10;
      else if (online(e[0], e[1], s.a, s.b))
        penalty += 1;
    }
    return penalty;
  }
};

// The labels by the index cells their areas cover; each segment visits only the labels of its
// own cells.
class LabelIndex {
 public:
  explicit LabelIndex(std::vector<Label>& labels) : labels_(labels)
  {
    for (uint32_t i = 0; i < labels.size(); ++i) {
      const Label& l = labels[i];
      const int64_t cx0 = cell(l.x0), cy0 = cell(l.y0), cx1 = cell(l.x1), cy1 = cell(l.y1);
      if ((cx1 - cx0 + 1) * (cy1 - cy0 + 1) > kMaxCells) {
        wide_.push_back(i);
        continue;
      }
      for (int64_t cy = cy0; cy <= cy1; ++cy)
        for (int64_t cx = cx0; cx <= cx1; ++cx) cells_[key(cx, cy)].push_back(i);
    }
  }

  // `n` numbers the segments in order.
  void add(const Segment& s, size_t n)
  {
    const Bounds b{std::min(s.a.x, s.b.x), std::min(s.a.y, s.b.y), std::max(s.a.x, s.b.x), std::max(s.a.y, s.b.y)};
    const bool exact = b.x1 - static_cast<int64_t>(b.x0) < kExactExtent && b.y1 - static_cast<int64_t>(b.y0) < kExactExtent;
    auto visit = [&](uint32_t i) {
      Label& l = labels_[i];
      if (l.seen == n) return;
      l.seen = n;
      l.add(s, b, exact);
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
  static int64_t cell(double v) { return static_cast<int64_t>(std::floor(v)) >> kCellShift; }
  static uint64_t key(int64_t cx, int64_t cy)
  {
    return static_cast<uint64_t>(static_cast<uint32_t>(cx)) << 32 | static_cast<uint32_t>(cy);
  }

  std::vector<Label>& labels_;
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
    Label& l = labels.emplace_back();
    l.wp = &wp;
    l.x0 = std::floor(area.x) - 1;
    l.y0 = std::floor(area.y) - 1;
    l.x1 = area.x + area.w + 1;
    l.y1 = area.y + area.h + 1;
    l.exact = area.w + 2 < kExactExtent && area.h + 2 < kExactExtent;
    for (int i = 0; i < 8; ++i) {
      l.cand[i] = labelEdges(labelCandidate(i, px, py, W, H));
      l.score[i] = kLabelBonus[i];
    }
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
