#include <gtest/gtest.h>

#include "document/Geodesy.h"
#include "view/WayPointLabels.h"

using namespace tw;

namespace {

constexpr double kLat = 35.5, kLon = 138.5;

// A 40 × 12 point label.
std::pair<double, double> measure(const std::string&) { return {40, 12}; }

WayPoint waypoint(const std::string& name, double lat = kLat, double lon = kLon)
{
  WayPoint w;
  w.name = name;
  w.setPosition(lat, lon);
  return w;
}

// Zoom-14 pixel of the test waypoint.
IPoint p14() { return {toPixelInt(pixelFromLon(14, kLon)), toPixelInt(pixelFromLat(14, kLat))}; }

// A track through the given zoom-14 offsets from the waypoint.
TrackInfo track(std::initializer_list<IPoint> offsets)
{
  TrackInfo t;
  for (IPoint o : offsets) {
    Track pt;
    pt.x = (p14().x + o.x) << 4;
    pt.y = (p14().y + o.y) << 4;
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

TEST(WayPointLabels, FarFromTracksGoesBelow)
{
  std::vector<WayPoint> wps{waypoint("山頂")};
  const std::vector<TrackInfo> tracks{track({{500, 500}, {600, 600}})};
  EXPECT_EQ(place(wps, tracks), 4);
}

TEST(WayPointLabels, CrossingBelowMovesTheNameRight)
{
  std::vector<WayPoint> wps{waypoint("分岐")};
  // A track running east–west just below the mark crosses every box below it.
  const std::vector<TrackInfo> tracks{track({{-200, 10}, {200, 10}})};
  EXPECT_EQ(place(wps, tracks), 2);
  // A second track just right of the mark also cuts the boxes above and right: left wins.
  const std::vector<TrackInfo> two{track({{-200, 10}, {200, 10}}), track({{10, -200}, {10, 200}})};
  EXPECT_EQ(place(wps, two), 6);
}

TEST(WayPointLabels, CrossingScoresMinusTen)
{
  const LabelBox box = labelCandidate(4, 100, 100, 40, 16);
  EXPECT_EQ(box.x, 80);
  EXPECT_EQ(box.y, 102);
  const std::vector<Segment> vertical{{{100, 90}, {100, 130}}};
  // Crosses the top and bottom edges, its end lies outside the box.
  EXPECT_EQ(scoreCandidate(4, box, vertical), 4 - 20);
  const std::vector<Segment> ending{{{100, 90}, {100, 110}}};
  EXPECT_EQ(scoreCandidate(4, box, ending), 4 - 10 - 1);
  const std::vector<Segment> alongTop{{{70, 102}, {130, 102}}};
  EXPECT_LT(scoreCandidate(4, box, alongTop), 4);
  EXPECT_EQ(scoreCandidate(4, box, {}), 4);
}

TEST(WayPointLabels, CandidateBoxes)
{
  const int W = 41, H = 15;  // odd sizes: the halves are integer halves
  EXPECT_EQ(labelCandidate(0, 10, 10, W, H).x, 10 - 20);
  EXPECT_EQ(labelCandidate(0, 10, 10, W, H).y, 10 - 15 - 2);
  EXPECT_EQ(labelCandidate(2, 10, 10, W, H).y, 10 - 7);
  EXPECT_EQ(labelCandidate(5, 10, 10, W, H).x, 10 - 41 - 2);
  EXPECT_EQ(labelCandidate(7, 10, 10, W, H).y, 10 - 15 - 2);
}

TEST(WayPointLabels, WideSpreadOrOutsideJapanLeavesNoPlacement)
{
  std::vector<WayPoint> wps{waypoint("A")};
  const std::vector<TrackInfo> wide{track({{0, 100}, {20001, 100}})};
  EXPECT_EQ(place(wps, wide), -1);
  const std::vector<TrackInfo> narrow{track({{0, 100}, {19000, 100}})};
  EXPECT_EQ(place(wps, narrow), 4);

  std::vector<WayPoint> abroad{waypoint("Paris", 48.85, 2.35)};
  TrackInfo t;
  Track p;
  setPosition(p, 48.85, 2.36);
  t.points = {p, p};
  const std::vector<TrackInfo> there{t};
  EXPECT_EQ(place(abroad, there), -1);
}

TEST(WayPointLabels, NoActiveTrackPointsOrNoName)
{
  std::vector<WayPoint> wps{waypoint("A"), waypoint("::graph only")};
  wps[0].pos = 3;
  const std::vector<TrackInfo> none;
  EXPECT_EQ(place(wps, none), -1);
  const std::vector<TrackInfo> tracks{track({{500, 500}, {600, 600}})};
  place(wps, tracks);
  EXPECT_EQ(wps[0].pos, 4);
  EXPECT_EQ(wps[1].pos, -1);
}

TEST(WayPointLabels, PaperModel)
{
  EXPECT_EQ(a3GroundSize(1), std::make_pair(3712.0, 5250.0));
  EXPECT_EQ(a3GroundSize(7), std::make_pair(3712.0, 5250.0));
  EXPECT_EQ(a3GroundSize(0), std::make_pair(2970.0, 4200.0));
  EXPECT_EQ(a3GroundSize(3), std::make_pair(7425.0, 10500.0));
  std::vector<WayPoint> wps{waypoint("A")};
  const std::vector<TrackInfo> tracks{track({{500, 500}, {600, 600}})};
  const auto m = calcWayPointPosition(wps, tracks, &tracks[0].points, 2, measure);
  ASSERT_TRUE(m);
  EXPECT_NEAR(m->printPointRect.width, 841.89, 0.01);
  EXPECT_DOUBLE_EQ(m->paperDistance_w, 4455.0);
  EXPECT_NEAR(m->compress_x, m->printPointRect.width / m->printPixelRect.width, 1e-12);
  EXPECT_GT(m->compress_x, 0.5);
}

TEST(WayPointLabels, ScreenOriginsByPosition)
{
  EXPECT_EQ(labelOrigin(4, 100, 200, 40, 10).x, 80);
  EXPECT_EQ(labelOrigin(4, 100, 200, 40, 10).y, -200 - 10 - 8);
  EXPECT_EQ(labelOrigin(-1, 100, 200, 40, 10).y, -218);
  EXPECT_EQ(labelOrigin(0, 100, 200, 40, 10).y, -192);
  EXPECT_EQ(labelOrigin(2, 100, 200, 40, 10).x, 108);
  EXPECT_EQ(labelOrigin(6, 100, 200, 40, 10).x, 52);
}
