#include <gtest/gtest.h>

#include "document/Geodesy.h"
#include "view/WayPointLabels.h"

using namespace tw;

namespace {

constexpr double kLat = 35.5, kLon = 138.5;

std::pair<double, double> measure(const std::string&) { return {40, 12}; }  // points

WayPoint waypoint(const std::string& name, double lat = kLat, double lon = kLon)
{
  WayPoint w;
  w.name = name;
  w.setPosition(lat, lon);
  return w;
}

// A track through the given zoom-14 offsets from the test waypoint.
TrackInfo track(std::initializer_list<IPoint> offsets)
{
  TrackInfo t;
  for (IPoint o : offsets) {
    Track pt;
    pt.x = (toPixelInt(pixelFromLon(14, kLon)) + o.x) << 4;
    pt.y = (toPixelInt(pixelFromLat(14, kLat)) + o.y) << 4;
    t.points.push_back(pt);
  }
  return t;
}

int place(std::vector<WayPoint>& wps, const std::vector<TrackInfo>& tracks)
{
  calcWayPointPosition(wps, tracks, tracks.empty() ? nullptr : &tracks[0].points, 3, measure);
  return wps[0].pos;
}

}  // namespace

TEST(WayPointLabels, PlacementAvoidsTracks)
{
  const std::pair<std::vector<TrackInfo>, int> cases[] = {
      {{track({{500, 500}, {600, 600}})}, 4},  // far from tracks: below
      {{track({{-200, 10}, {200, 10}})}, 2},   // a track just below: right
      {{track({{-200, 10}, {200, 10}}), track({{10, -200}, {10, 200}})}, 6},  // and one right of it: left
      {{track({{0, 100}, {19000, 100}})}, 4},
      {{track({{0, 100}, {20001, 100}})}, -1},  // spread too wide to print
      {{}, -1},                                  // no active track
  };
  for (const auto& [tracks, pos] : cases) {
    std::vector<WayPoint> wps{waypoint("山頂"), waypoint("::graph only")};
    EXPECT_EQ(place(wps, tracks), pos) << tracks.size();
    EXPECT_EQ(wps[1].pos, -1);  // no map name, no label
  }
  std::vector<WayPoint> abroad{waypoint("Paris", 48.85, 2.35)};
  TrackInfo t;
  t.points.resize(2);
  setPosition(t.points[0], 48.85, 2.36);
  t.points[1] = t.points[0];
  EXPECT_EQ(place(abroad, {t}), -1);
}

TEST(WayPointLabels, CandidatesAndScores)
{
  const int W = 41, H = 15;  // odd sizes: the halves are integer halves
  const auto at = [&](int i) { return labelCandidate(i, 10, 10, W, H); };
  EXPECT_EQ(std::tuple(at(0).x, at(0).y, at(2).y, at(5).x, at(7).y), std::tuple(10 - 20, 10 - 15 - 2, 10 - 7, 10 - 41 - 2, 10 - 15 - 2));
  const LabelBox box = labelCandidate(4, 100, 100, 40, 16);  // (80, 102) 40 × 16
  EXPECT_EQ(scoreCandidate(4, box, {}), 4);
  EXPECT_EQ(scoreCandidate(4, box, {{{100, 90}, {100, 130}}}), 4 - 20);     // crosses top and bottom
  EXPECT_EQ(scoreCandidate(4, box, {{{100, 90}, {100, 110}}}), 4 - 10 - 1);  // and ends inside
  EXPECT_LT(scoreCandidate(4, box, {{{70, 102}, {130, 102}}}), 4);           // along the top edge
}

TEST(WayPointLabels, PaperModelAndScreenOrigins)
{
  EXPECT_EQ(a3GroundSize(7), a3GroundSize(1));  // an unknown scale is the default
  std::vector<WayPoint> wps{waypoint("A")};
  const std::vector<TrackInfo> tracks{track({{500, 500}, {600, 600}})};
  const auto m = calcWayPointPosition(wps, tracks, &tracks[0].points, 2, measure);
  ASSERT_TRUE(m);
  EXPECT_NEAR(m->printPointRect.width, 841.89, 0.01);
  EXPECT_DOUBLE_EQ(m->paperDistance_w, 4455.0);
  EXPECT_NEAR(m->compress_x, m->printPointRect.width / m->printPixelRect.width, 1e-12);
  // Label position → origin of a 40 × 10 name at pixel (100, 200), in the y-up layer frame.
  const std::tuple<int, double, double> origins[] = {{4, 80, -218}, {-1, 80, -218}, {0, 80, -192}, {2, 108, -205},
                                                     {6, 52, -205}};
  for (const auto& [pos, x, y] : origins)
    EXPECT_EQ(std::tuple(labelOrigin(pos, 100, 200, 40, 10).x, labelOrigin(pos, 100, 200, 40, 10).y), std::tuple(x, y)) << pos;
}
