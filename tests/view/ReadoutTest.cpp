#include <gtest/gtest.h>

#include <chrono>

#include "view/Readout.h"

using namespace tw;

TEST(Readout, CoordinateFormats)
{
  EXPECT_EQ(coordinateText(1, 35.681236, 139.767125), "35.681236, 139.767125");
  EXPECT_EQ(coordinateText(0, 35.681236, 139.767125), "");
  EXPECT_EQ(coordinateText(2, 35.5, 139.25), "35度30分0.00秒 139度15分0.00秒");
  const Dms d = splitDms(35.681236);
  EXPECT_EQ(d.d, 35);
  EXPECT_EQ(d.m, 40);
  EXPECT_NEAR(d.s, 52.45, 0.01);
}

TEST(Readout, FirstLine)
{
  ReadoutOptions o;
  EXPECT_EQ(readoutLine(o, 35.5, 139.25, 1234.5), "35.500000, 139.250000, 1234.50m");
  EXPECT_EQ(readoutLine(o, 35.5, 139.25, kUnknownElevation), "35.500000, 139.250000");
  o.show_coord = 0;
  EXPECT_EQ(readoutLine(o, 35.5, 139.25, 12.0), "  12.00m");
  o.show_elev = false;
  EXPECT_EQ(readoutLine(o, 35.5, 139.25, 12.0), "");
  o = {};
  EXPECT_EQ(readoutLine(o, 48.85, 2.35, 35), "");  // outside Japan
  o.show_info = false;
  EXPECT_EQ(readoutLine(o, 35.5, 139.25, 12.0), "");
}

TEST(Readout, TimeInJapan)
{
  using namespace std::chrono;
  const TimePoint t = sys_days{2024y / 5 / 3} + 20h + 15min + 7s + 900ms;
  EXPECT_EQ(jpTimeText(t), "2024-05-04 05:15:07");
}

TEST(Readout, NextPointerSkipsRepeatedPixels)
{
  std::vector<Track> pts(4);
  pts[0].x = 10, pts[0].y = 10;
  pts[1].x = 10, pts[1].y = 10;
  pts[2].x = 13, pts[2].y = 6;
  pts[3].x = 20, pts[3].y = 6;
  EXPECT_EQ(nextPointer(pts, 0).x, 3);
  EXPECT_EQ(nextPointer(pts, 0).y, -4);
  EXPECT_EQ(nextPointer(pts, 3).x, 7);  // the last point looks back
  EXPECT_EQ(nextPointer(pts, 4).x, 0);
  EXPECT_EQ(nextPointer(pts, -1).x, 0);
  std::vector<Track> same(3);
  EXPECT_EQ(nextPointer(same, 0).x, 0);
  EXPECT_EQ(nextPointer(std::vector<Track>(1), 0).x, 0);
}

TEST(Readout, ElevationSource)
{
  std::vector<Track> pts(3);
  pts[0].elev = 100;
  pts[2].elev = 300;
  EXPECT_EQ(readoutElevation(14, 2, &pts, 50), kUnknownElevation);
  EXPECT_EQ(readoutElevation(15, 2, &pts, 50), 300);
  EXPECT_EQ(readoutElevation(15, 0, &pts, 50), 50);  // the first point reads the DEM
  EXPECT_EQ(readoutElevation(15, 5, &pts, 50), 50);
  EXPECT_EQ(readoutElevation(15, 1, nullptr, 50), 50);
}
