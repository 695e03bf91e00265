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
  EXPECT_EQ(pts[4].x, abc[0].x);
  EXPECT_TRUE(pts[2].time.has_value());
  EXPECT_FALSE(pts[3].time.has_value());
  EXPECT_FALSE(pts[4].time.has_value());
  EXPECT_FLOAT_EQ(pts[3].dist, abc[2].dist + pts[3].seg_dist);
  EXPECT_NEAR(pts[4].dist, 2 * abc[2].dist, 0.01);
  std::vector<Track> one = line(1);
  EXPECT_FALSE(turnBack(one));

  reverseRoute(pts);  // times stay with their points
  EXPECT_EQ(*pts[2].time, edittest::at(20));
  EXPECT_FALSE(pts[0].time.has_value());
}

TEST(TrackOperations, DivideSharesThePointAndRestartsDistances)
{
  const struct {
    int row;
    size_t first, second;
  } rows[] = {{0, 1, 5}, {2, 3, 3}, {4, 5, 1}};
  for (const auto& r : rows) {
    DocumentState doc;
    doc.tracks.push_back(track(line(5), "x"));
    doc.active_track = 0;
    ASSERT_TRUE(divideTrack(doc, r.row));
    ASSERT_EQ(doc.tracks.size(), 2u);
    EXPECT_EQ(doc.active_track, 0);
    EXPECT_EQ(doc.tracks[0].points.size(), r.first) << r.row;
    ASSERT_EQ(doc.tracks[1].points.size(), r.second) << r.row;
    EXPECT_EQ(doc.tracks[0].points.back().lon, doc.tracks[1].points.front().lon);
    EXPECT_EQ(doc.tracks[1].points.front().dist, 0.0f);
    EXPECT_FLOAT_EQ(doc.tracks[1].points.back().dist, line(5)[4].dist - line(5)[r.row].dist);
    EXPECT_EQ(doc.tracks[1].name, "");
    EXPECT_EQ(doc.tracks[1].stable, 1);
    EXPECT_FALSE(divideTrack(doc, 5));
  }
}

TEST(TrackOperations, DeleteKeepsTheActiveTrack)
{
  const struct {
    int active, removed;
    DeletedTrack result;
    int activeAfter;
    const char* activeName;
  } rows[] = {
      {2, 2, DeletedTrack::Active, 1, ""},
      {2, 0, DeletedTrack::BeforeActive, 1, "復路"},
      {1, 1, DeletedTrack::Active, 1, "復路"},
      {0, 2, DeletedTrack::AfterActive, 0, "往路"},
  };
  for (const auto& r : rows) {
    auto doc = threeTracks(r.active);
    EXPECT_EQ(deleteTrackAtIndex(doc, r.removed), r.result) << r.active << r.removed;
    EXPECT_EQ(doc.active_track, r.activeAfter);
    EXPECT_EQ(doc.activeTrack()->name, r.activeName);
  }
  DocumentState only;
  only.tracks.push_back(track(line(3)));
  only.active_track = 0;
  only.filename = "a.gpx";
  EXPECT_EQ(deleteTrackAtIndex(only, 0), DeletedTrack::Active);
  EXPECT_EQ(only.routes(), nullptr);
  EXPECT_EQ(only.filename, "");
  EXPECT_EQ(deleteTrackAtIndex(only, 0), DeletedTrack::None);
}

TEST(TrackOperations, ConnectAndMenus)
{
  auto doc = threeTracks(1);
  auto items = trackMenuItems(doc);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].title, "トラック1(往路)");
  EXPECT_EQ(items[1].title, "トラック2");
  EXPECT_TRUE(items[1].checked);
  EXPECT_FALSE(items[0].checked);
  auto connect = connectMenuItems(doc);
  ASSERT_EQ(connect.size(), 2u);
  EXPECT_EQ(connect[1].title, "トラック3(復路)");
  EXPECT_EQ(connect[1].index, 2);

  // A track before the active one moves the active index down.
  ASSERT_TRUE(connectTrack(doc, 0));
  EXPECT_EQ(doc.active_track, 0);
  EXPECT_EQ(doc.routes()->size(), 7u);
  EXPECT_EQ(trackMenuItems(doc)[1].title, "トラック2(復路)");
  EXPECT_FALSE(connectTrack(doc, 0));  // the active track itself
  EXPECT_FALSE(connectTrack(doc, 5));

  addEmptyTrack(doc);
  EXPECT_EQ(doc.active_track, 2);
  EXPECT_TRUE(doc.routes()->empty());
  EXPECT_EQ(doc.activeTrack()->stable, 0);
}

}  // namespace
