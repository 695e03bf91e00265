#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "view/StrokeRaster.h"

using namespace tw;

TEST(StrokeRaster, HorizontalLineCoversItsWidthWithFlatEnds)
{
  CoverageCanvas c(40, 30);
  const FPoint line[] = {{5, 10}, {20, 10}};
  c.strokePolyline(line, 2, 3);
  for (int x = 5; x < 20; ++x) {
    EXPECT_EQ((std::array{c.at(x, 7), c.at(x, 9), c.at(x, 10), c.at(x, 12)}), (std::array<uint8_t, 4>{0, 255, 255, 0})) << x;
    EXPECT_NEAR(c.at(x, 8), 128, 1) << x;
    EXPECT_NEAR(c.at(x, 11), 128, 1) << x;
  }
  EXPECT_EQ(c.at(4, 10) + c.at(20, 10), 0);  // flat caps: nothing before the first point or after the last
}

TEST(StrokeRaster, RoundJoinFillsTheOuterCorner)
{
  CoverageCanvas c(40, 40);
  const FPoint bend[] = {{5, 20}, {20, 20}, {20, 5}};
  c.strokePolyline(bend, 3, 5);
  // Pixel just outside both straight edges at the corner's outside: inside the round join.
  EXPECT_GT(c.at(21, 21), 200);
  // Beyond the disk of the join (a miter would reach it).
  EXPECT_EQ(c.at(22, 22), 0);
}

TEST(StrokeRaster, OverlapsInOneStrokeBlendOnce)
{
  CoverageCanvas c(30, 20);
  const FPoint back[] = {{2, 10}, {25, 10}, {3, 10}, {24, 10}};
  c.strokePolyline(back, 4, 3);
  std::vector<uint32_t> px(30 * 20, 0xffffffffu);  // opaque white
  c.compositeOver(px.data(), 30, 255, 0, 0, 0.9f);
  const uint32_t p = px[10 * 30 + 12];
  EXPECT_EQ(p >> 16, 0xffffu);
  EXPECT_NEAR(static_cast<int>((p >> 8) & 0xff), 25, 1);  // 10 % of the white left
  EXPECT_NEAR(static_cast<int>(p & 0xff), 25, 1);
  // The mask is cleared: a second composite changes nothing.
  c.compositeOver(px.data(), 30, 0, 0, 255, 1.0f);
  EXPECT_EQ(px[10 * 30 + 12], p);
}

TEST(StrokeRaster, OverTransparentKeepsPremultipliedColour)
{
  CoverageCanvas c(10, 10);
  const FPoint line[] = {{0, 5}, {10, 5}};
  c.strokePolyline(line, 2, 3);
  std::vector<uint32_t> px(100, 0);
  c.compositeOver(px.data(), 10, 0, 0, 255, 0.9f);
  EXPECT_EQ(px[5 * 10 + 5] & 0xffff00ffu, 0xe60000e6u);  // alpha 230, blue 230, no red
}

TEST(StrokeRaster, OffCanvasAndDegenerateInput)
{
  CoverageCanvas c(10, 10);
  const FPoint far[] = {{-5000, -5000}, {-4000, -4990}, {20000, 3}, {20000, 3}};
  c.strokePolyline(far, 4, 3);
  const FPoint one[] = {{5, 5}};
  c.strokePolyline(one, 1, 3);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(c.at(x, y), 0);
  CoverageCanvas empty(0, 0);
  empty.strokePolyline(far, 4, 3);
  empty.compositeOver(nullptr, 0, 0, 0, 0, 1);
}

TEST(StrokeRaster, LongSegmentsCrossingTheCanvas)
{
  CoverageCanvas c(20, 20);
  const FPoint diagonal[] = {{-1000, -1000}, {1000, 1000}};
  c.strokePolyline(diagonal, 2, 3);
  EXPECT_EQ((std::array{c.at(10, 10), c.at(0, 0), c.at(19, 19), c.at(15, 5), c.at(14, 10)}),
            (std::array<uint8_t, 5>{255, 255, 255, 0, 0}));
  CoverageCanvas v(20, 20);
  const FPoint vertical[] = {{10, -50000}, {10, 50000}};
  v.strokePolyline(vertical, 2, 3);
  for (int y = 0; y < 20; ++y) EXPECT_EQ(v.at(9, y), 255) << y;
}
