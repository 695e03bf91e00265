#include <gtest/gtest.h>

#include "view/InputRules.h"

using namespace tw;

TEST(InputRules, ClickToleranceIsTenPoints)
{
  EXPECT_TRUE(isClick({100, 100}, {108, 100}));
  EXPECT_TRUE(isClick({100, 100}, {105, 95}));
  EXPECT_TRUE(isClick({100, 100}, {110, 100}));
  EXPECT_FALSE(isClick({100, 100}, {111, 100}));
  EXPECT_FALSE(isClick({100, 100}, {106, 94}));
}

TEST(InputRules, ValidSelectNeedsASmallNonZeroMove)
{
  EXPECT_FALSE(isValidSelect({5, 5}, {5, 5}));
  EXPECT_TRUE(isValidSelect({5, 5}, {6, 6}));
  EXPECT_FALSE(isValidSelect({5, 5}, {7, 6}));
}

TEST(InputRules, PanKeepsThePixelUnderTheMouse)
{
  const ViewSize size{800, 600};
  const DRect fore{10000, 5000, 800, 600};
  const WindowPoint start{300, 200};
  const IPoint dp = dragPixel(fore, start);
  EXPECT_EQ(dp.x, 10300);
  EXPECT_EQ(dp.y, 5400);
  // Unmoved mouse: centre unchanged.
  IPoint c = panCentre(dp, start, size);
  EXPECT_EQ(c.x, 10400);
  EXPECT_EQ(c.y, 5300);
  // Mouse 20 right and 30 up: the map follows, the centre goes west and south.
  c = panCentre(dp, {320, 230}, size);
  EXPECT_EQ(c.x, 10380);
  EXPECT_EQ(c.y, 5330);
}

TEST(InputRules, WheelDeltas)
{
  WheelZoom w;
  EXPECT_EQ(w.onWheel(1.0, 1000.0), 1);
  WheelZoom w5;
  EXPECT_EQ(w5.onWheel(5.0, 1000.0), 2);
  WheelZoom w7;
  EXPECT_EQ(w7.onWheel(7.9, 1000.0), 3);
  WheelZoom wn;
  EXPECT_EQ(wn.onWheel(-3.0, 1000.0), -1);
  WheelZoom small;
  EXPECT_EQ(small.onWheel(0.6, 1000.0), 0);
  EXPECT_EQ(small.last_scroll, 0);  // no zoom, no pause
  EXPECT_EQ(small.onWheel(1.0, 1000.1), 1);
}

TEST(InputRules, WheelZoomsAtMostTwicePerSecond)
{
  WheelZoom w;
  EXPECT_EQ(w.onWheel(1.0, 1000.0), 1);
  EXPECT_EQ(w.onWheel(1.0, 1000.3), 0);
  EXPECT_EQ(w.onWheel(1.0, 1000.5), 1);
}

TEST(InputRules, TrackpadStepsFromTheLargestDelta)
{
  EXPECT_EQ(trackpadSteps(0), 0);
  EXPECT_EQ(trackpadSteps(2), 1);
  EXPECT_EQ(trackpadSteps(8), 2);
  EXPECT_EQ(trackpadSteps(-8), -2);
  EXPECT_EQ(trackpadSteps(31), 3);
  EXPECT_EQ(trackpadSteps(32), 4);
  EXPECT_EQ(trackpadSteps(64), 5 + (64 - 16) / 10);
}

TEST(InputRules, TrackpadActsOnTheFifthEvent)
{
  GestureZoom g;
  g.touchesBegan();
  EXPECT_EQ(g.onScroll(3, 10.0), 0);
  EXPECT_EQ(g.onScroll(-9, 10.01), 0);
  EXPECT_EQ(g.onScroll(4, 10.02), 0);
  EXPECT_EQ(g.onScroll(1, 10.03), 0);
  EXPECT_EQ(g.onScroll(1, 10.04), -2);
  EXPECT_EQ(g.onScroll(20, 10.05), 0);
  // A long pause after a long gesture starts the count again.
  for (int i = 0; i < 20; ++i) g.onScroll(1, 10.1);
  EXPECT_EQ(g.gesture, 26);
  g.max_delta = 0;
  for (int i = 0; i < 4; ++i) EXPECT_EQ(g.onScroll(4, 12.0 + i * 0.01), 0);
  EXPECT_EQ(g.onScroll(4, 12.05), 1);
}

TEST(InputRules, PinchActsOncePerGesture)
{
  GestureZoom g;
  EXPECT_EQ(g.onMagnify(0.2), 0);  // no touch seen yet
  g.touchesBegan();
  EXPECT_EQ(g.onMagnify(0.2), 1);
  EXPECT_EQ(g.onMagnify(0.3), 0);
  g.touchesBegan();
  EXPECT_EQ(g.onMagnify(-0.1), -1);
}

TEST(InputRules, MapKeys)
{
  EXPECT_EQ(mapKey(0, SpecialKey::Up), MapKey::MoveUp);
  EXPECT_EQ(mapKey(0, SpecialKey::ForwardDelete), MapKey::Delete);
  for (char32_t c : {U'+', U';', U'='}) EXPECT_EQ(mapKey(c, SpecialKey::None), MapKey::ZoomIn);
  for (char32_t c : {U'-', U'_'}) EXPECT_EQ(mapKey(c, SpecialKey::None), MapKey::ZoomOut);
  EXPECT_EQ(mapKey(0x7f, SpecialKey::None), MapKey::Delete);
  EXPECT_EQ(mapKey(U'd', SpecialKey::None), MapKey::Delete);
  EXPECT_EQ(mapKey(U't', SpecialKey::None), MapKey::ChangeMap);
  EXPECT_EQ(mapKey(U'x', SpecialKey::None), MapKey::None);
  EXPECT_EQ(mapKey(U'A', SpecialKey::None), MapKey::None);
}
