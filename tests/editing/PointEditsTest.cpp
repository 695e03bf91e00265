#include <gtest/gtest.h>

#include <cmath>

#include "EditingFixtures.h"
#include "editing/PointEdits.h"

using namespace tw;
using edittest::line;
using edittest::pix;

namespace {

WayPoint wpAt(int x, int y)
{
  WayPoint w;
  w.x = x;
  w.y = y;
  return w;
}

TEST(PointEdits, HitTests)
{
  EXPECT_EQ(hitRadius(18), 8);
  EXPECT_EQ(hitRadius(15), 64);
  std::vector<Track> pts{pix(1000, 1000), pix(1030, 1000), pix(970, 1000), pix(2000, 2000)};
  // At zoom 15 the radius is 64: points 1 and 2 are equally close; the first wins.
  EXPECT_EQ(nearestPoint(pts, 1000, 1000, 15), 0);
  EXPECT_EQ(nearestPoint(pts, 1015, 1000, 15), 0);  // D 14 against 14: strict, first wins
  EXPECT_EQ(nearestPoint(pts, 1016, 1000, 15), 1);
  EXPECT_EQ(nearestPoint(pts, 1500, 1500, 15), -1);
  EXPECT_EQ(nearestPoint(pts, 1000 + 64, 1000 - 200, 15), -1);
  // The radius bounds strictly: D = 8 (9 pixels away) misses at zoom 18.
  std::vector<Track> one{pix(0, 0)};
  EXPECT_EQ(hitDistance(0, 0, 9, 0), 8);
  EXPECT_EQ(nearestPoint(one, 9, 0, 18), -1);
  EXPECT_EQ(nearestPoint(one, 8, 0, 18), 0);
  std::vector<WayPoint> wps{wpAt(50, 50), wpAt(60, 50)};
  EXPECT_EQ(nearestWayPoint(wps, 58, 50, 18), 1);
  EXPECT_EQ(nearestWayPoint({}, 0, 0, 18), -1);
}

TEST(PointEdits, HoverValidity)
{
  EXPECT_FALSE(isHoverValid({10, 10}, {10, 10}));
  EXPECT_TRUE(isHoverValid({11, 11}, {10, 10}));
  EXPECT_TRUE(isHoverValid({12.9, 10}, {10, 10}));
  EXPECT_FALSE(isHoverValid({12, 11}, {10, 10}));
  EXPECT_FALSE(isHoverValid({13, 10}, {10, 10}));
}

TEST(PointEdits, AppendingOnTheSameSpotAddsOnePoint)
{
  std::vector<Track> pts;
  EXPECT_TRUE(appendTrackPoint(pts, 35.5f, 139.5f, kUnknownElevation));
  EXPECT_FALSE(appendTrackPoint(pts, 35.5f, 139.5f, kUnknownElevation));
  ASSERT_EQ(pts.size(), 1u);
  EXPECT_EQ(pts[0].dist, 0.0f);
  EXPECT_EQ(pts[0].wp_index, -1);
  EXPECT_FALSE(pts[0].time.has_value());
  EXPECT_EQ(pts[0].lat, static_cast<double>(35.5f));
  EXPECT_TRUE(appendTrackPoint(pts, 35.501f, 139.5f, 812.0f));
  ASSERT_EQ(pts.size(), 2u);
  EXPECT_GT(pts[1].seg_dist, 100.0f);
  EXPECT_EQ(pts[1].dist, pts[1].seg_dist);
  EXPECT_EQ(pts[1].elev, 812.0f);
  EXPECT_EQ(pts[1].x, pixel18FromLon(static_cast<double>(139.5f)));
}

TEST(PointEdits, MovingPointZeroShiftsLaterDistances)
{
  auto pts = line(5, 0.001);
  const float before = pts[4].dist;
  ASSERT_TRUE(movePoint(pts, 0, 35.0, 138.999, 500.0f));
  EXPECT_EQ(pts[0].seg_dist, 0.0f);
  EXPECT_EQ(pts[0].dist, 0.0f);
  EXPECT_TRUE(pts[0].time.has_value());
  EXPECT_EQ(pts[0].elev, 500.0f);
  EXPECT_NEAR(pts[1].seg_dist, 2 * line(5, 0.001)[1].seg_dist, 0.5);
  EXPECT_NEAR(pts[4].dist, before + line(5, 0.001)[1].seg_dist, 0.5);
  EXPECT_FLOAT_EQ(pts[4].dist, pts[3].dist + pts[4].seg_dist);

  ASSERT_TRUE(movePoint(pts, 4, 35.0, 139.004, kUnknownElevation));
  EXPECT_FALSE(movePoint(pts, 5, 35.0, 139.0, 0.0f));
}

TEST(PointEdits, InsertAndOffsetPoints)
{
  std::vector<Track> pts{pix(100, 200), pix(201, 301)};
  pts[0].time = edittest::at(0);
  ASSERT_TRUE(insertMidPoint(pts, 0, 10.0f));
  ASSERT_EQ(pts.size(), 3u);
  EXPECT_EQ(pts[1].x, 150);
  EXPECT_EQ(pts[1].y, 250);
  EXPECT_NEAR(pts[1].lon, lonFromPixel(18, 150), 1e-12);
  EXPECT_FALSE(pts[1].time.has_value());
  EXPECT_FALSE(insertMidPoint(pts, 2, 0.0f));

  auto chain = line(2, 0.001);
  chain[0].peak_type = 1;
  ASSERT_TRUE(addOffsetPoints(chain, 0, 10, 16));
  ASSERT_EQ(chain.size(), 12u);
  for (int k = 1; k <= 10; ++k) {
    EXPECT_NEAR(chain[k].x - chain[k - 1].x, 40, 1) << k;  // 10 pixels at zoom 16
    EXPECT_NEAR(chain[k].y - chain[k - 1].y, 40, 1) << k;
    EXPECT_EQ(chain[k].elev, kUnknownElevation);
    EXPECT_FALSE(chain[k].time.has_value());
  }
  EXPECT_EQ(chain[11].lon, line(2, 0.001)[1].lon);
}

TEST(PointEdits, RangeAndRowRemoval)
{
  auto pts = line(6);
  removeFirstPoints(pts, 0);
  EXPECT_EQ(pts.size(), 6u);
  removeFirstPoints(pts, 2);
  EXPECT_EQ(*pts[0].time, edittest::at(20));
  removeLastPoints(pts, 1);
  EXPECT_EQ(pts.size(), 3u);
  removeLastPoints(pts, 10);
  EXPECT_TRUE(pts.empty());

  std::vector<int> items{0, 1, 2, 3, 4, 5};
  removeRows(items, {4, 1, 4, 9, -1});
  EXPECT_EQ(items, (std::vector<int>{0, 2, 3, 5}));
}

TEST(PointEdits, AttachmentTies)
{
  // Two points equally close to one waypoint both keep it.
  std::vector<Track> pts{pix(0, 0), pix(100, 0), pix(120, 0), pix(500, 0)};
  std::vector<WayPoint> wps{wpAt(110, 0)};
  checkConnectWayPoint(pts, wps);
  EXPECT_EQ(pts[0].wp_index, -1);
  EXPECT_EQ(pts[1].wp_index, 0);
  EXPECT_EQ(pts[2].wp_index, 0);
  // A nearer later point takes it over; a farther one does not.
  std::vector<Track> p2{pix(100, 0), pix(108, 0), pix(130, 0)};
  checkConnectWayPoint(p2, wps);
  EXPECT_EQ(p2[0].wp_index, -1);
  EXPECT_EQ(p2[1].wp_index, 0);
  EXPECT_EQ(p2[2].wp_index, -1);
  // The nearest of two waypoints wins; the first one on a tie.
  std::vector<WayPoint> two{wpAt(10, 0), wpAt(-10, 0)};
  std::vector<Track> p3{pix(0, 0)};
  checkConnectWayPoint(p3, two);
  EXPECT_EQ(p3[0].wp_index, 0);
  // The radius: 156 pixels away attaches (D 149), 157 does not.
  for (const auto& [dx, want] : {std::pair{156, 0}, {-156, 0}, {157, -1}, {-157, -1}}) {
    std::vector<Track> p4{pix(1000, 1000)};
    checkConnectWayPoint(p4, {wpAt(1000 + dx, 1000)});
    EXPECT_EQ(p4[0].wp_index, want) << dx;
  }
}

TEST(PointEdits, ReattachmentAfterFiveHundredMetres)
{
  // Out and back past a waypoint: 1 km out, the same way home.
  auto out = line(11, 0.0011);  // about 100 m per step
  std::vector<Track> pts = out;
  // The way home runs about 5 m beside the way out.
  for (int k = 9; k >= 0; --k) pts.push_back(edittest::point(35.00005, out[k].lon));
  edittest::recalc(pts);
  std::vector<WayPoint> wps(1);
  wps[0].setPosition(35.0, 139.0 + 2 * 0.0011);  // on point 2 (and point 18 on the way back)
  checkConnectWayPoint(pts, wps);
  EXPECT_EQ(pts[2].wp_index, 0);
  EXPECT_EQ(pts[18].wp_index, 0);
  int attached = 0;
  for (const auto& p : pts) attached += p.wp_index == 0 ? 1 : 0;
  EXPECT_EQ(attached, 2);

  // Within 500 m the second pass stays unattached.
  auto shortOut = line(3, 0.0011);
  std::vector<Track> back = shortOut;
  back.push_back(edittest::point(35.00005, shortOut[1].lon));
  back.push_back(edittest::point(35.00005, shortOut[0].lon));
  edittest::recalc(back);
  std::vector<WayPoint> w1(1);
  w1[0].setPosition(35.0, 139.0 + 0.0011);
  checkConnectWayPoint(back, w1);
  EXPECT_EQ(back[1].wp_index, 0);
  EXPECT_EQ(back[3].wp_index, -1);
}

TEST(PointEdits, PopupPlacement)
{
  // Zoom 16: pixel 4000 → 1000. The button's top-left sits on the point (y up in the view).
  auto o = popupOrigin(4000, 8000, 16, 900.0, 1900.0, 800.0, 600.0, 120.0, 24.0);
  EXPECT_DOUBLE_EQ(o.x, 100.0);
  EXPECT_DOUBLE_EQ(o.y, 600.0 - 100.0 - 24.0);
  // Near the right edge it opens to the left of the point.
  o = popupOrigin(4000, 8000, 16, 250.5, 1900.0, 800.0, 600.0, 120.0, 24.0);
  EXPECT_DOUBLE_EQ(o.x, std::floor(749.5 - 120.0));
  // Near the bottom edge it stays inside.
  o = popupOrigin(4000, 8000, 16, 900.0, 1420.0, 800.0, 600.0, 120.0, 24.0);
  EXPECT_DOUBLE_EQ(o.y, 0.0);
}

}  // namespace
