#include <gtest/gtest.h>

#include "EditingFixtures.h"
#include "editing/TrackOperations.h"

using namespace tw;
using edittest::line;
using edittest::track;

namespace {

DocumentState threeTracks(int active)
{
  DocumentState doc;
  doc.tracks.push_back(track(line(3), "往路"));
  doc.tracks.push_back(track(line(4)));
  doc.tracks.push_back(track(line(5), "復路"));
  doc.active_track = active;
  doc.filename = "trip.gpx";
  return doc;
}

TEST(TrackOperations, TurnBackAppendsTheWayHome)
{
  auto pts = line(3, 0.001);
  const auto abc = pts;
  ASSERT_TRUE(turnBack(pts));
  ASSERT_EQ(pts.size(), 5u);
  EXPECT_EQ(pts[3].lon, abc[1].lon);
  EXPECT_EQ(pts[4].lon, abc[0].lon);
  EXPECT_EQ(pts[4].x, abc[0].x);
  EXPECT_TRUE(pts[2].time.has_value());
  EXPECT_FALSE(pts[3].time.has_value());
  EXPECT_FALSE(pts[4].time.has_value());
  EXPECT_FLOAT_EQ(pts[3].seg_dist, abc[2].seg_dist);
  EXPECT_FLOAT_EQ(pts[3].dist, abc[2].dist + pts[3].seg_dist);
  EXPECT_FLOAT_EQ(pts[4].dist, pts[3].dist + pts[4].seg_dist);
  EXPECT_NEAR(pts[4].dist, 2 * abc[2].dist, 0.01);

  std::vector<Track> one = line(1);
  EXPECT_FALSE(turnBack(one));
  EXPECT_EQ(one.size(), 1u);
}

TEST(TrackOperations, ReverseKeepsTimes)
{
  auto pts = line(4);
  reverseRoute(pts);
  EXPECT_EQ(*pts[0].time, edittest::at(30));
  EXPECT_EQ(*pts[3].time, edittest::at(0));
  EXPECT_GT(*pts[0].time, *pts[1].time);
}

TEST(TrackOperations, DivideAtFirstAndLastRow)
{
  DocumentState doc;
  doc.tracks.push_back(track(line(5)));
  doc.active_track = 0;
  ASSERT_TRUE(divideTrack(doc, 0));
  ASSERT_EQ(doc.tracks.size(), 2u);
  EXPECT_EQ(doc.active_track, 0);
  EXPECT_EQ(doc.tracks[0].points.size(), 1u);
  ASSERT_EQ(doc.tracks[1].points.size(), 5u);
  EXPECT_EQ(doc.tracks[1].points[0].seg_dist, 0.0f);
  EXPECT_FLOAT_EQ(doc.tracks[1].points[4].dist, doc.tracks[0].points.size() == 1 ? line(5)[4].dist : 0);
  EXPECT_EQ(doc.tracks[1].stable, 1);
  EXPECT_EQ(doc.tracks[1].name, "");

  DocumentState last;
  last.tracks.push_back(track(line(5), "x"));
  last.active_track = 0;
  ASSERT_TRUE(divideTrack(last, 4));
  EXPECT_EQ(last.tracks[0].points.size(), 5u);
  ASSERT_EQ(last.tracks[1].points.size(), 1u);
  EXPECT_EQ(last.tracks[1].points[0].dist, 0.0f);

  DocumentState mid;
  mid.tracks.push_back(track(line(5)));
  mid.active_track = 0;
  ASSERT_TRUE(divideTrack(mid, 2));
  EXPECT_EQ(mid.tracks[0].points.size(), 3u);
  EXPECT_EQ(mid.tracks[1].points.size(), 3u);
  EXPECT_EQ(mid.tracks[0].points[2].lon, mid.tracks[1].points[0].lon);  // shared point
  EXPECT_FLOAT_EQ(mid.tracks[1].points[2].dist, line(5)[4].dist - line(5)[2].dist);
  EXPECT_FALSE(divideTrack(mid, 3));
}

TEST(TrackOperations, DeleteTracks)
{
  auto doc = threeTracks(2);
  EXPECT_EQ(deleteTrackAtIndex(doc, 2), DeletedTrack::Active);
  EXPECT_EQ(doc.active_track, 1);
  EXPECT_EQ(doc.routes()->size(), 4u);

  auto before = threeTracks(2);
  EXPECT_EQ(deleteTrackAtIndex(before, 0), DeletedTrack::BeforeActive);
  EXPECT_EQ(before.active_track, 1);
  EXPECT_EQ(before.activeTrack()->name, "復路");

  auto middle = threeTracks(1);
  EXPECT_EQ(deleteTrackAtIndex(middle, 1), DeletedTrack::Active);
  EXPECT_EQ(middle.active_track, 1);
  EXPECT_EQ(middle.activeTrack()->name, "復路");

  DocumentState only;
  only.tracks.push_back(track(line(3)));
  only.active_track = 0;
  only.filename = "a.gpx";
  EXPECT_EQ(deleteTrackAtIndex(only, 0), DeletedTrack::Active);
  EXPECT_EQ(only.active_track, -1);
  EXPECT_EQ(only.routes(), nullptr);
  EXPECT_EQ(only.filename, "");

  EXPECT_EQ(deleteTrackAtIndex(only, 0), DeletedTrack::None);
  auto after = threeTracks(0);
  EXPECT_EQ(deleteTrackAtIndex(after, 2), DeletedTrack::AfterActive);
  EXPECT_EQ(after.active_track, 0);
}

TEST(TrackOperations, ConnectRenumbers)
{
  auto doc = threeTracks(0);
  ASSERT_TRUE(connectTrack(doc, 2));
  ASSERT_EQ(doc.tracks.size(), 2u);
  EXPECT_EQ(doc.active_track, 0);
  EXPECT_EQ(doc.routes()->size(), 8u);
  auto items = trackMenuItems(doc);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[1].title, "トラック2");
  EXPECT_FALSE(connectTrack(doc, 0));
  EXPECT_FALSE(connectTrack(doc, 5));

  auto later = threeTracks(2);
  ASSERT_TRUE(connectTrack(later, 0));
  EXPECT_EQ(later.active_track, 1);
  EXPECT_EQ(later.activeTrack()->name, "復路");
  EXPECT_EQ(later.routes()->size(), 8u);
}

TEST(TrackOperations, MenuTitles)
{
  auto doc = threeTracks(1);
  auto items = trackMenuItems(doc);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].title, "トラック1(往路)");
  EXPECT_EQ(items[1].title, "トラック2");
  EXPECT_TRUE(items[1].checked);
  EXPECT_FALSE(items[0].checked);
  EXPECT_EQ(items[2].index, 2);
  auto connect = connectMenuItems(doc);
  ASSERT_EQ(connect.size(), 2u);
  EXPECT_EQ(connect[0].index, 0);
  EXPECT_EQ(connect[1].title, "トラック3(復路)");
}

TEST(TrackOperations, AddEmptyTrack)
{
  auto doc = threeTracks(0);
  addEmptyTrack(doc);
  EXPECT_EQ(doc.active_track, 3);
  EXPECT_TRUE(doc.routes()->empty());
  EXPECT_EQ(doc.activeTrack()->stable, 0);
}

}  // namespace
