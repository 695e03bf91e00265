#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>

#include "EditingFixtures.h"
#include "editing/PointEdits.h"
#include "editing/TrackOperations.h"

using namespace tw;
using edittest::line;
using edittest::pix;
using edittest::track;

namespace {

WayPoint wpAt(int x, int y)
{
  WayPoint w;
  w.x = x, w.y = y;
  return w;
}

TEST(PointEdits, HitTests)
{
  EXPECT_EQ(std::tuple(hitRadius(18), hitRadius(15)), std::tuple(8, 64));
  std::vector<Track> pts{pix(1000, 1000), pix(1030, 1000), pix(970, 1000), pix(2000, 2000)};
  // At zoom 15 the radius is 64: points 1 and 2 are equally close; the first wins.
  // At (1015, 1000) D is 14 against 14: strict, the first wins.
  EXPECT_EQ((std::array{nearestPoint(pts, 1000, 1000, 15), nearestPoint(pts, 1015, 1000, 15), nearestPoint(pts, 1016, 1000, 15),
                        nearestPoint(pts, 1500, 1500, 15), nearestPoint(pts, 1064, 800, 15)}),
            (std::array{0, 0, 1, -1, -1}));
  // The radius bounds strictly: D = 8 (9 pixels away) misses at zoom 18.
  std::vector<Track> one{pix(0, 0)};
  EXPECT_EQ(hitDistance(0, 0, 9, 0), 8);
  EXPECT_EQ(std::tuple(nearestPoint(one, 9, 0, 18), nearestPoint(one, 8, 0, 18)), std::tuple(-1, 0));
  EXPECT_EQ(std::tuple(nearestWayPoint({wpAt(50, 50), wpAt(60, 50)}, 58, 50, 18), nearestWayPoint({}, 0, 0, 18)), std::tuple(1, -1));
}

TEST(PointEdits, HoverValidity)
{
  for (auto [x, y, valid] : {std::tuple{10.0, 10.0, false}, {11.0, 11.0, true}, {12.9, 10.0, true}, {12.0, 11.0, false}, {13.0, 10.0, false}})
    EXPECT_EQ(isHoverValid({x, y}, {10, 10}), valid) << x << "," << y;
}

TEST(PointEdits, AppendingOnTheSameSpotAddsOnePoint)
{
  std::vector<Track> pts;
  EXPECT_TRUE(appendTrackPoint(pts, 35.5f, 139.5f, kUnknownElevation));
  EXPECT_FALSE(appendTrackPoint(pts, 35.5f, 139.5f, kUnknownElevation));
  ASSERT_EQ(pts.size(), 1u);
  EXPECT_TRUE(pts[0].dist == 0.0f && pts[0].wp_index == -1 && !pts[0].time && pts[0].lat == double(35.5f));
  EXPECT_TRUE(appendTrackPoint(pts, 35.501f, 139.5f, 812.0f));
  ASSERT_EQ(pts.size(), 2u);
  EXPECT_GT(pts[1].seg_dist, 100.0f);
  EXPECT_TRUE(pts[1].dist == pts[1].seg_dist && pts[1].elev == 812.0f && pts[1].x == pixel18FromLon(double(139.5f)));
}

TEST(PointEdits, MovingPointZeroShiftsLaterDistances)
{
  auto pts = line(5, 0.001);
  const float before = pts[4].dist;
  ASSERT_TRUE(movePoint(pts, 0, 35.0, 138.999, 500.0f));
  EXPECT_TRUE(pts[0].seg_dist == 0.0f && pts[0].dist == 0.0f && pts[0].time && pts[0].elev == 500.0f);
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
  EXPECT_EQ(std::tuple(pts[1].x, pts[1].y, pts[1].time.has_value()), std::tuple(150, 250, false));
  EXPECT_NEAR(pts[1].lon, lonFromPixel(18, 150), 1e-12);
  EXPECT_FALSE(insertMidPoint(pts, 2, 0.0f));

  auto chain = line(2, 0.001);
  chain[0].peak_type = 1;
  ASSERT_TRUE(addOffsetPoints(chain, 0, 10, 16));
  ASSERT_EQ(chain.size(), 12u);
  for (int k = 1; k <= 10; ++k) {
    EXPECT_NEAR(chain[k].x - chain[k - 1].x, 40, 1) << k;  // 10 pixels at zoom 16
    EXPECT_NEAR(chain[k].y - chain[k - 1].y, 40, 1) << k;
    EXPECT_TRUE(chain[k].elev == kUnknownElevation && !chain[k].time) << k;
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
  const auto attached = [](const std::vector<Track>& p) {
    std::vector<int> v;
    for (const Track& t : p) v.push_back(t.wp_index);
    return v;
  };
  checkConnectWayPoint(pts, wps);
  EXPECT_EQ(attached(pts), (std::vector<int>{-1, 0, 0, -1}));
  // A nearer later point takes it over; a farther one does not.
  std::vector<Track> p2{pix(100, 0), pix(108, 0), pix(130, 0)};
  checkConnectWayPoint(p2, wps);
  EXPECT_EQ(attached(p2), (std::vector<int>{-1, 0, -1}));
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
  tw::recalcDistance(pts);
  std::vector<WayPoint> wps(1);
  wps[0].setPosition(35.0, 139.0 + 2 * 0.0011);  // on point 2 (and point 18 on the way back)
  checkConnectWayPoint(pts, wps);
  std::vector<size_t> attached;
  for (size_t i = 0; i < pts.size(); ++i)
    if (pts[i].wp_index == 0) attached.push_back(i);
  EXPECT_EQ(attached, (std::vector<size_t>{2, 18}));

  // Within 500 m the second pass stays unattached.
  auto shortOut = line(3, 0.0011);
  std::vector<Track> back = shortOut;
  back.push_back(edittest::point(35.00005, shortOut[1].lon));
  back.push_back(edittest::point(35.00005, shortOut[0].lon));
  tw::recalcDistance(back);
  std::vector<WayPoint> w1(1);
  w1[0].setPosition(35.0, 139.0 + 0.0011);
  checkConnectWayPoint(back, w1);
  EXPECT_EQ(std::tuple(back[1].wp_index, back[3].wp_index), std::tuple(0, -1));
}

TEST(PointEdits, PopupPlacement)
{
  // Zoom 16: pixel 4000 → 1000. The button's top-left sits on the point (y up in the view).
  auto o = popupOrigin(4000, 8000, 16, 900.0, 1900.0, 800.0, 600.0, 120.0, 24.0);
  EXPECT_EQ(std::tuple(o.x, o.y), std::tuple(100.0, 600.0 - 100.0 - 24.0));
  // Near the right edge it opens to the left of the point.
  o = popupOrigin(4000, 8000, 16, 250.5, 1900.0, 800.0, 600.0, 120.0, 24.0);
  EXPECT_DOUBLE_EQ(o.x, std::floor(749.5 - 120.0));
  // Near the bottom edge it stays inside.
  o = popupOrigin(4000, 8000, 16, 900.0, 1420.0, 800.0, 600.0, 120.0, 24.0);
  EXPECT_DOUBLE_EQ(o.y, 0.0);
}

DocumentState threeTracks(int active)
{
  DocumentState doc;
  doc.tracks.push_back(track(line(3), "往路"));
  doc.tracks.push_back(track(line(4)));
  doc.tracks.push_back(track(line(5), "復路"));
  doc.active_track = active, doc.filename = "trip.gpx";
  return doc;
}

TEST(TrackOperations, TurnBackAppendsTheWayHome)
{
  auto pts = line(3, 0.001);
  const auto abc = pts;
  ASSERT_TRUE(turnBack(pts));
  ASSERT_EQ(pts.size(), 5u);
  EXPECT_EQ(std::tuple(pts[3].lon, pts[4].x), std::tuple(abc[1].lon, abc[0].x));
  EXPECT_TRUE(pts[2].time && !pts[3].time && !pts[4].time);
  EXPECT_FLOAT_EQ(pts[3].dist, abc[2].dist + pts[3].seg_dist);
  EXPECT_NEAR(pts[4].dist, 2 * abc[2].dist, 0.01);
  std::vector<Track> one = line(1);
  EXPECT_FALSE(turnBack(one));

  reverseRoute(pts);  // times stay with their points
  EXPECT_TRUE(*pts[2].time == edittest::at(20) && !pts[0].time);
}

TEST(TrackOperations, DivideSharesThePointAndRestartsDistances)
{
  const struct { int row; size_t first, second; } rows[] = {{0, 1, 5}, {2, 3, 3}, {4, 5, 1}};
  for (const auto& r : rows) {
    DocumentState doc;
    doc.tracks.push_back(track(line(5), "x"));
    doc.active_track = 0;
    ASSERT_TRUE(divideTrack(doc, r.row));
    ASSERT_EQ(doc.tracks.size(), 2u);
    EXPECT_EQ(std::tuple(doc.active_track, doc.tracks[0].points.size(), doc.tracks[1].points.size()),
              std::tuple(0, r.first, r.second)) << r.row;
    EXPECT_EQ(doc.tracks[0].points.back().lon, doc.tracks[1].points.front().lon);
    EXPECT_EQ(doc.tracks[1].points.front().dist, 0.0f);
    EXPECT_FLOAT_EQ(doc.tracks[1].points.back().dist, line(5)[4].dist - line(5)[r.row].dist);
    EXPECT_TRUE(doc.tracks[1].name.empty() && doc.tracks[1].stable == 1);
    EXPECT_FALSE(divideTrack(doc, 5));
  }
}

TEST(TrackOperations, DeleteKeepsTheActiveTrack)
{
  const struct { int active, removed; DeletedTrack result; int activeAfter; const char* activeName; } rows[] = {
      {2, 2, DeletedTrack::Active, 1, ""},
      {2, 0, DeletedTrack::BeforeActive, 1, "復路"},
      {1, 1, DeletedTrack::Active, 1, "復路"},
      {0, 2, DeletedTrack::AfterActive, 0, "往路"},
  };
  for (const auto& r : rows) {
    auto doc = threeTracks(r.active);
    EXPECT_EQ(deleteTrackAtIndex(doc, r.removed), r.result) << r.active << r.removed;
    EXPECT_EQ(std::tuple(doc.active_track, doc.activeTrack()->name), std::tuple(r.activeAfter, std::string(r.activeName)));
  }
  DocumentState only;
  only.tracks.push_back(track(line(3)));
  only.active_track = 0, only.filename = "a.gpx";
  EXPECT_EQ(deleteTrackAtIndex(only, 0), DeletedTrack::Active);
  EXPECT_TRUE(!only.routes() && only.filename.empty());
  EXPECT_EQ(deleteTrackAtIndex(only, 0), DeletedTrack::None);
}

TEST(TrackOperations, ConnectAndMenus)
{
  auto doc = threeTracks(1);
  auto items = trackMenuItems(doc);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].title + items[1].title, "トラック1(往路)トラック2");
  EXPECT_TRUE(items[1].checked && !items[0].checked);
  auto connect = connectMenuItems(doc);
  ASSERT_EQ(connect.size(), 2u);
  EXPECT_EQ(std::tuple(connect[1].title, connect[1].index), std::tuple(std::string("トラック3(復路)"), 2));

  // A track before the active one moves the active index down.
  ASSERT_TRUE(connectTrack(doc, 0));
  EXPECT_EQ(std::tuple(doc.active_track, doc.routes()->size()), std::tuple(0, 7ul));
  EXPECT_EQ(trackMenuItems(doc)[1].title, "トラック2(復路)");
  EXPECT_FALSE(connectTrack(doc, 0) || connectTrack(doc, 5));  // the active track itself, none

  addEmptyTrack(doc);
  EXPECT_TRUE(doc.active_track == 2 && doc.routes()->empty() && doc.activeTrack()->stable == 0);
}

}  // namespace
