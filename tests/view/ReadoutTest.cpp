#include <gtest/gtest.h>

#include <chrono>

#include "view/Readout.h"

using namespace tw;

TEST(Readout, CoordinatesFirstLineAndTime)
{
  EXPECT_EQ(coordinateText(2, 35.5, 139.25), "35度30分0.00秒 139度15分0.00秒");
  EXPECT_NEAR(splitDms(35.681236).s, 52.45, 0.01);
  // Coordinate format, elevation switch, info switch, position, elevation → first line.
  const std::tuple<int, bool, bool, double, double, double, const char*> lines[] = {
      {1, true, true, 35.5, 139.25, 1234.5, "35.500000, 139.250000, 1234.50m"},
      {1, true, true, 35.5, 139.25, kUnknownElevation, "35.500000, 139.250000"},
      {0, true, true, 35.5, 139.25, 12.0, "  12.00m"},
      {0, false, true, 35.5, 139.25, 12.0, ""},
      {1, true, true, 48.85, 2.35, 35.0, ""},  // outside Japan
      {1, true, false, 35.5, 139.25, 12.0, ""},
  };
  for (const auto& [coord, elev, info, lat, lon, e, text] : lines)
    EXPECT_EQ(readoutLine({info, coord, elev}, lat, lon, e), text) << text;
  using namespace std::chrono;
  EXPECT_EQ(jpTimeText(sys_days{2024y / 5 / 3} + 20h + 15min + 7s + 900ms), "2024-05-04 05:15:07");
}

TEST(Readout, NextPointerSkipsRepeatedPixelsAndElevationSource)
{
  std::vector<Track> pts(4);
  pts[2].x = 3, pts[2].y = -4;
  pts[3].x = 10, pts[3].y = -4;
  EXPECT_EQ(nextPointer(pts, 0).x, 3);
  EXPECT_EQ(nextPointer(pts, 0).y, -4);
  EXPECT_EQ(nextPointer(pts, 3).x, 7);  // the last point looks back
  EXPECT_EQ(nextPointer(pts, 4).x, 0);
  EXPECT_EQ(nextPointer(std::vector<Track>(3), 0).x, 0);

  pts[2].elev = 300;
  EXPECT_EQ(readoutElevation(14, 2, &pts, 50), kUnknownElevation);  // none below zoom 15
  EXPECT_EQ(readoutElevation(15, 2, &pts, 50), 300);
  EXPECT_EQ(readoutElevation(15, 0, &pts, 50), 50);  // the first point reads the DEM
  EXPECT_EQ(readoutElevation(15, 5, &pts, 50), 50);
  EXPECT_EQ(readoutElevation(15, 1, nullptr, 50), 50);
}
