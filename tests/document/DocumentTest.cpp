#include <gtest/gtest.h>

#include "document/DocumentState.h"

using namespace tw;

TEST(WayPointNames, MapAndGraphParts)
{
  const char* cases[][3] = {{"A::B", "A", "B"}, {"::B", "", "B"}, {"A::", "A", ""}, {"A::B::C", "A", "B::C"},
                            {"山頂", "山頂", "山頂"}};
  for (const auto& c : cases) {
    WayPoint w;
    w.name = c[0];
    EXPECT_EQ(w.getMapName(), c[1]) << c[0];
    EXPECT_EQ(w.getGraphName(), c[2]) << c[0];
  }
}

TEST(Document, TitlesBaseNameAndDeleteAll)
{
  DocumentState d;
  EXPECT_EQ(d.windowTitle(), "Tarnwick");
  EXPECT_EQ(d.getFileBaseName(), "map");
  d.tracks.resize(2);
  d.active_track = 1;
  d.select = 2;
  d.filename = "route.gpx";
  d.tracks[1].name = "day1";
  EXPECT_EQ(d.windowTitle(), "route.gpx(day1)");
  EXPECT_EQ(d.getFileBaseName(), "route");
  EXPECT_EQ(trackMenuTitle(0, ""), "トラック1");
  EXPECT_EQ(trackMenuTitle(2, "day3"), "トラック3(day3)");
  ASSERT_EQ(d.routes(), &d.tracks[1].points);
  d.deleteAllTracks();
  EXPECT_EQ(d.routes(), nullptr);
  EXPECT_EQ(d.select, -1);
  EXPECT_EQ(d.filename, "");
  EXPECT_EQ(d.isStableElevation(), 0);
}

TEST(Document, PosInfoLookup)
{
  std::vector<PosInfo> ps(10);
  for (int i = 0; i < 10; ++i) ps[i].point_index = i;
  // 10 samples every 10 m; columns: x, view width, total distance, span, expected index.
  const double cases[][5] = {
      {50, 100, 100, 10, 5},   {99.9, 100, 100, 10, 9},  // truncated
      {100, 100, 110, 10, 9},  {100, 100, 120, 10, 9},   // n + 1 and n + 2 give the last sample
      {100, 100, 130, 10, -1}, {-1, 100, 100, 10, -1},  {101, 100, 100, 10, -1},
      {0, 0, 100, 10, 0},      {1, 0, 100, 10, -1},      // no pointer view: only x = 0
      {50, 100, 100, 0, -1},                             // no span: infinite index
  };
  for (const auto& c : cases)
    EXPECT_EQ(posInfoAt(ps, c[0], c[1], c[2], c[3]).point_index, c[4]) << c[0] << " " << c[1] << " " << c[2];
  EXPECT_EQ(posInfoAt({}, 0, 100, 100, 10).point_index, -1);
}
