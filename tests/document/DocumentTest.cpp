#include <gtest/gtest.h>

#include "document/DocumentState.h"

using namespace tw;

TEST(WayPointNames, MapAndGraphParts)
{
  auto parts = [](const char* n) {
    WayPoint w;
    w.name = n;
    return std::make_tuple(w.getMapName(), w.getGraphName(), w.getListName());
  };
  EXPECT_EQ(parts("A::B"), std::make_tuple("A", "B", "A::B"));
  EXPECT_EQ(parts("::B"), std::make_tuple("", "B", "::B"));
  EXPECT_EQ(parts("A::"), std::make_tuple("A", "", "A::"));
  EXPECT_EQ(parts("A::B::C"), std::make_tuple("A", "B::C", "A::B::C"));
  EXPECT_EQ(parts("山頂"), std::make_tuple("山頂", "山頂", "山頂"));
}

TEST(Document, TitleAndBaseName)
{
  DocumentState d;
  EXPECT_EQ(d.windowTitle(), "Tarnwick");
  EXPECT_EQ(d.getFileBaseName(), "map");
  d.tracks.emplace_back();
  d.active_track = 0;
  EXPECT_EQ(d.windowTitle(), "Tarnwick");
  d.filename = "route.gpx";
  d.tracks[0].name = "day1";
  EXPECT_EQ(d.windowTitle(), "route.gpx(day1)");
  EXPECT_EQ(d.getFileBaseName(), "route");
}

TEST(Document, DeleteAllTracksResetsActiveState)
{
  DocumentState d;
  d.tracks.resize(2);
  d.tracks[1].points.resize(3);
  d.active_track = 1;
  d.select = 2;
  d.filename = "a.gpx";
  ASSERT_EQ(d.routes(), &d.tracks[1].points);
  d.deleteAllTracks();
  EXPECT_EQ(d.routes(), nullptr);
  EXPECT_EQ(d.active_track, -1);
  EXPECT_EQ(d.select, -1);
  EXPECT_EQ(d.filename, "");
  EXPECT_EQ(d.isStableElevation(), 0);
}

TEST(Document, PosInfoLookup)
{
  std::vector<PosInfo> ps(10);
  for (int i = 0; i < 10; ++i) ps[i].point_index = i;
  // 10 samples every 10 m over 100 m, pointer view 100 wide.
  EXPECT_EQ(posInfoAt(ps, 50, 100, 100, 10).point_index, 5);
  EXPECT_EQ(posInfoAt(ps, 100, 100, 120, 10).point_index, 9);  // index 12 = n + 2: last sample
  EXPECT_EQ(posInfoAt(ps, 100, 100, 130, 10).point_index, -1);
  EXPECT_EQ(posInfoAt(ps, -1, 100, 100, 10).point_index, -1);
  EXPECT_EQ(posInfoAt(ps, 101, 100, 100, 10).point_index, -1);
  EXPECT_EQ(posInfoAt(ps, 100, 100, 110, 10).point_index, 9);  // n + 1
  EXPECT_EQ(posInfoAt(ps, 99.9, 100, 100, 10).point_index, 9);  // truncated
  // No pointer view: width 0.
  EXPECT_EQ(posInfoAt(ps, 0, 0, 100, 10).point_index, 0);
  EXPECT_EQ(posInfoAt(ps, 1, 0, 100, 10).point_index, -1);
  EXPECT_EQ(posInfoAt({}, 0, 100, 100, 10).point_index, -1);
  EXPECT_EQ(posInfoAt(ps, 50, 100, 100, 0).point_index, -1);  // no span: infinite index
}

TEST(Document, TrackMenuTitles)
{
  EXPECT_EQ(trackMenuTitle(0, ""), "トラック1");
  EXPECT_EQ(trackMenuTitle(2, "day3"), "トラック3(day3)");
}
