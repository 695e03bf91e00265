// Indexed label placement against the plain scan: every waypoint scored against every segment
// whose bounds meet its candidates' area, on generated walks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "view/WayPointLabels.h"

using namespace tw;

namespace {

// Long names get tall boxes too, so a few areas cover thousands of index cells.
std::pair<double, double> measure(const std::string& s) { return {6.0 * s.size(), 12.0 + s.size() / 2.0}; }

std::vector<int> plainScan(std::vector<WayPoint> wps, const std::vector<TrackInfo>& tracks)
{
  const auto m = calcWayPointPosition(wps, tracks, &tracks[0].points, 1, measure);
  if (!m || m->compress_x == 0 || m->compress_y == 0) return {};
  int32_t minX = 9999999, minY = 9999999;
  for (const WayPoint& w : wps) {
    minX = std::min(minX, toPixelInt(pixelFromLon(14, w.lon)));
    minY = std::min(minY, toPixelInt(pixelFromLat(14, w.lat)));
  }
  for (const TrackInfo& t : tracks)
    for (const Track& p : t.points) {
      minX = std::min(minX, p.x >> 4);
      minY = std::min(minY, p.y >> 4);
    }
  std::vector<int> out;
  for (const WayPoint& wp : wps) {
    if (wp.getMapName().empty()) {
      out.push_back(-1);
      continue;
    }
    const double px = toPixelInt(pixelFromLon(14, wp.lon)) - static_cast<double>(minX);
    const double py = toPixelInt(pixelFromLat(14, wp.lat)) - static_cast<double>(minY);
    const auto [tw, th] = measure(wp.getMapName());
    const int W = static_cast<int>(tw / m->compress_x + 4), H = static_cast<int>(th / m->compress_y + 4);
    const double x0 = std::floor(px - W - 2) - 1, y0 = std::floor(py - H - 2) - 1;
    const double x1 = px + W + 3, y1 = py + H + 3;
    std::vector<Segment> near;
    for (const TrackInfo& t : tracks) {
      if (t.points.empty()) break;
      for (size_t k = 1; k < t.points.size(); ++k) {
        const IPoint a{(t.points[k - 1].x >> 4) - minX, (t.points[k - 1].y >> 4) - minY};
        const IPoint b{(t.points[k].x >> 4) - minX, (t.points[k].y >> 4) - minY};
        if (std::max(a.x, b.x) >= x0 && std::min(a.x, b.x) <= x1 && std::max(a.y, b.y) >= y0 && std::min(a.y, b.y) <= y1)
          near.push_back({a, b});
      }
    }
    int best = -9999, chosen = 4;
    for (int i = 0; i < 8; ++i) {
      const int score = scoreCandidate(i, labelCandidate(i, px, py, W, H), near);
      if (score > best) {
        best = score;
        chosen = i;
      }
    }
    out.push_back(chosen);
  }
  return out;
}

// How many waypoints moved off the default position (below), so the data is known to test something.
int expectSamePlacement(std::vector<WayPoint> wps, const std::vector<TrackInfo>& tracks, const std::string& what)
{
  const std::vector<int> want = plainScan(wps, tracks);
  EXPECT_FALSE(want.empty()) << what << ": no placement to compare";
  if (want.empty()) return 0;
  calcWayPointPosition(wps, tracks, &tracks[0].points, 1, measure);
  int moved = 0;
  for (size_t i = 0; i < wps.size(); ++i) {
    EXPECT_EQ(wps[i].pos, want[i]) << what << ", waypoint " << i;
    moved += wps[i].pos != 4 && wps[i].pos != -1;
  }
  return moved;
}

}  // namespace

TEST(LabelPlacementScan, GeneratedWalksMatchThePlainScan)
{
  for (unsigned seed = 1; seed <= 3; ++seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> step(-0.0004, 0.0004);
    std::vector<TrackInfo> tracks(4);
    std::vector<WayPoint> wps;
    double lat = 35.5, lon = 138.5;
    for (size_t t = 0; t < tracks.size(); ++t) {
      if (seed == 3 && t == 2) continue;  // an empty track ends the segments
      for (int i = 0; i < 8000; ++i) {
        // Now and then a jump far south and back: the crossing tests of such long segments
        // wrap in 32-bit arithmetic, and the plain scan's answers must be kept even then.
        const bool jump = rng() % 1000 == 0;
        const double sign = lat > 0 ? -1.0 : 1.0;
        lat += jump ? 60.0 * sign : step(rng);
        lon += jump ? -1.0 * sign : step(rng);
        Track p;
        setPosition(p, lat, lon);
        tracks[t].points.push_back(p);
        if (lat > 0 && rng() % 150 == 0) {
          WayPoint w;
          w.name = std::string(1 + rng() % 12, 'n') + (rng() % 9 == 0 ? "::graph" : "");
          if (rng() % 40 == 0) w.name = std::string(2500, 'w');
          w.setPosition(lat + step(rng) / 4, lon + step(rng) / 4);
          wps.push_back(w);
        }
      }
    }
    EXPECT_GT(expectSamePlacement(wps, tracks, "seed " + std::to_string(seed)), 30);
  }
}

TEST(LabelPlacementScan, LongSegmentKeepsItsWrappingArithmetic)
{
  // A 7 × 11 label. Tracks through zoom-14 offsets from the mark: one crosses the box below,
  // one ends inside the box on the right (−1), and a segment from 262131 pixels south ends
  // beside the boxes on the right and below; its crossing tests against the edges above wrap
  // and touch them (−1 each), which is what makes the right side win over above.
  WayPoint w;
  w.name = "n";
  w.setPosition(35.5, 138.5);
  const int32_t mx = toPixelInt(pixelFromLon(14, w.lon)), my = toPixelInt(pixelFromLat(14, w.lat));
  auto track = [&](std::initializer_list<IPoint> offsets) {
    TrackInfo t;
    for (IPoint o : offsets) {
      Track p;
      p.x = (mx + o.x) << 4, p.y = (my + o.y) << 4;
      t.points.push_back(p);
    }
    return t;
  };
  const std::vector<TrackInfo> tracks{track({{-1, 0}, {-1, 20}}), track({{6, 0}, {6, 1}}),
                                      track({{2, 262131}, {9, 13}})};
  const std::vector<WayPoint> wps{w};
  EXPECT_EQ(plainScan(wps, tracks), std::vector<int>{2});
  expectSamePlacement(wps, tracks, "long segment");
}
