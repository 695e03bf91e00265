// Pointer, wheel, gesture and key rules; the read-out's texts.
#include <gtest/gtest.h>

#include <chrono>

#include "view/InputRules.h"
#include "view/Readout.h"

using namespace tw;

TEST(InputRules, ClickToleranceSelectMovesAndPanning)
{
  // Mouse-up offsets from a mouse-down: a click up to 10 points (L1).
  const std::tuple<double, double, bool> clicks[] = {{8, 0, true}, {5, -5, true}, {10, 0, true}, {11, 0, false}, {6, -6, false}};
  for (const auto& [dx, dy, click] : clicks) EXPECT_EQ(isClick({100, 100}, {100 + dx, 100 + dy}), click) << dx << "," << dy;
  EXPECT_FALSE(isValidSelect({5, 5}, {5, 5}));
  EXPECT_TRUE(isValidSelect({5, 5}, {6, 6}));
  EXPECT_FALSE(isValidSelect({5, 5}, {7, 6}));

  const IPoint dp = dragPixel({10000, 5000, 800, 600}, {300, 200});
  EXPECT_EQ(dp.x, 10300);
  EXPECT_EQ(dp.y, 5400);
  EXPECT_EQ(panCentre(dp, {300, 200}, {800, 600}).x, 10400);  // unmoved: the centre stays
  EXPECT_EQ(panCentre(dp, {300, 200}, {800, 600}).y, 5300);
  // Mouse 20 right and 30 up (y-up window): the centre goes west and south.
  EXPECT_EQ(panCentre(dp, {320, 230}, {800, 600}).x, 10380);
  EXPECT_EQ(panCentre(dp, {320, 230}, {800, 600}).y, 5330);
}

TEST(InputRules, WheelZoomsAtMostTwicePerSecondHalvingLargeDeltas)
{
  const std::pair<double, int> deltas[] = {{1.0, 1}, {5.0, 2}, {7.9, 3}, {-3.0, -1}, {0.6, 0}};
  for (const auto& [delta, steps] : deltas) EXPECT_EQ(WheelZoom().onWheel(delta, 1000.0), steps) << delta;
  WheelZoom w;
  EXPECT_EQ(w.onWheel(0.6, 999.9), 0);  // no zoom, no pause
  EXPECT_EQ(w.onWheel(1.0, 1000.0), 1);
  EXPECT_EQ(w.onWheel(1.0, 1000.3), 0);
  EXPECT_EQ(w.onWheel(1.0, 1000.5), 1);
}

TEST(InputRules, TrackpadAndPinchGestures)
{
  const std::pair<int, int> steps[] = {{0, 0}, {2, 1}, {8, 2}, {-8, -2}, {31, 3}, {32, 4}, {64, 5 + (64 - 16) / 10}};
  for (const auto& [delta, n] : steps) EXPECT_EQ(trackpadSteps(delta), n) << delta;
  // The fifth scroll event acts, with the largest delta so far.
  GestureZoom g;
  g.touchesBegan();
  for (double d : {3, -9, 4, 1}) EXPECT_EQ(g.onScroll(d, 10.0), 0);
  EXPECT_EQ(g.onScroll(1, 10.04), -2);
  EXPECT_EQ(g.onScroll(20, 10.05), 0);
  // A long pause after a long gesture starts the count again.
  for (int i = 0; i < 20; ++i) g.onScroll(1, 10.1);
  g.max_delta = 0;
  for (int i = 0; i < 4; ++i) EXPECT_EQ(g.onScroll(4, 12.0 + i * 0.01), 0);
  EXPECT_EQ(g.onScroll(4, 12.05), 1);
  // A pinch zooms once per gesture, and not before a touch began.
  GestureZoom pinch;
  EXPECT_EQ(pinch.onMagnify(0.2), 0);
  pinch.touchesBegan();
  EXPECT_EQ(pinch.onMagnify(0.2), 1);
  EXPECT_EQ(pinch.onMagnify(0.3), 0);
  pinch.touchesBegan();
  EXPECT_EQ(pinch.onMagnify(-0.1), -1);
}

TEST(InputRules, MapKeys)
{
  EXPECT_EQ(mapKey(0, SpecialKey::Up), MapKey::MoveUp);
  EXPECT_EQ(mapKey(0, SpecialKey::ForwardDelete), MapKey::Delete);
  const std::pair<char32_t, MapKey> keys[] = {{U'+', MapKey::ZoomIn},  {U';', MapKey::ZoomIn},    {U'=', MapKey::ZoomIn},
                                              {U'-', MapKey::ZoomOut}, {U'_', MapKey::ZoomOut},   {0x7f, MapKey::Delete},
                                              {U'd', MapKey::Delete},  {U't', MapKey::ChangeMap}, {U'x', MapKey::None},
                                              {U'A', MapKey::None}};
  for (const auto& [ch, key] : keys) EXPECT_EQ(mapKey(ch, SpecialKey::None), key) << static_cast<int>(ch);
}

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
