#include <gtest/gtest.h>

#include <cmath>

#include "print/PrintGeometry.h"

namespace {

using tw::DRect;

struct SheetCase {
  tw::PrintSettings s;
  tw::SizeD paperSize, paperDistance, printDistance;
  double pointW, pointH;
};

TEST(PrintGeometry, SheetsFromPaperScaleAndMargins)
{
  const SheetCase cases[] = {
      // A4 portrait 1:25,000, 5 mm margins.
      {{1, 0, 3, 1, 0, false, 5, 5, 5, 5}, {210, 297}, {5250, 7425}, {5000, 7175}, 595.28, 841.89},
      // A3 landscape 1:12,500: 420 × 125 / 10 and 297 × 125 / 10 in integers.
      {{3, 1, 1, 1, 0, false, 5, 5, 5, 5}, {420, 297}, {5250, 3712}, {5125, 3587}, 1190.55, 841.89},
      // Convenience store: 10 mm off each side, margins ignored.
      {{1, 0, 3, 1, 0, true, 5, 7, 9, 11}, {200, 287}, {5000, 7175}, {5000, 7175}, 566.93, 813.54},
      // B5 1:10,000 and B4 landscape 1:15,000 with uneven margins.
      {{0, 0, 0, 1, 0, false, 10, 0, 2, 3}, {182, 257}, {1820, 2570}, {1770, 2470}, 515.91, 728.50},
      {{2, 1, 2, 1, 0, false, 0, 0, 50, 0}, {364, 257}, {5460, 3855}, {4710, 3855}, 1031.81, 728.50},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.s.paper);
    const auto g = tw::paperGeometry(c.s);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->paperSize, c.paperSize);
    EXPECT_EQ(g->paperDistance, c.paperDistance);
    EXPECT_EQ(g->printDistance, c.printDistance);
    EXPECT_NEAR(g->paperPointRect.width, c.pointW, 0.01);
    EXPECT_NEAR(g->paperPointRect.height, c.pointH, 0.01);
    EXPECT_EQ(tw::calcPrintSize(c.s.paper, c.s.direction, c.s.scale, c.s.conveni, c.s.top, c.s.bottom, c.s.left,
                                c.s.right),
              c.printDistance);
  }
}

TEST(PrintGeometry, MarginsPlaceThePrintableAreaInPoints)
{
  const auto g = tw::paperGeometry({1, 0, 3, 1, 0, false, 10, 20, 5, 15});
  ASSERT_TRUE(g);
  const double mm = tw::kPointsPerMm;
  EXPECT_NEAR(g->printPointRect.x, 5 * mm, 1e-3);
  EXPECT_NEAR(g->printPointRect.y, 20 * mm, 1e-3);  // the bottom margin: y runs upward
  EXPECT_NEAR(g->printPointRect.width, 190 * mm, 1e-3);
  EXPECT_NEAR(g->printPointRect.height, 267 * mm, 1e-3);
}

TEST(PrintGeometry, PaperWithoutEntryLeavesGeometryAlone)
{
  EXPECT_FALSE(tw::paperGeometry({4, 0, 3, 1, 0, false, 5, 5, 5, 5}));
  EXPECT_EQ(tw::calcPrintSize(4, 0, 3, false, 5, 5, 5, 5), (tw::SizeD{0, 0}));
  EXPECT_EQ(tw::calcPrintSize(-1, 0, 3, false, 5, 5, 5, 5), (tw::SizeD{0, 0}));
  // Any scale index outside 0..3 counts as 1:12,500.
  EXPECT_EQ(tw::calcPrintSize(1, 0, 7, false, 0, 0, 0, 0), (tw::SizeD{2625, 3712}));
}

TEST(PrintGeometry, PixelRectsAreTheGroundSizeAroundTheCentre)
{
  const auto g = tw::paperGeometry({1, 0, 3, 1, 0, false, 5, 5, 5, 5});
  const tw::LatLon c{35.6, 139.2};
  const auto fine = tw::calcPrintRect(c, *g, false);
  const auto coarse = tw::calcPrintRect(c, *g, true);
  // 5000 m across at zoom 17 near 35.6° N: the spherical estimate is within 0.2 % (ellipsoid).
  EXPECT_NEAR(fine.printPixelRect.width, 5000 * fine.x_rate / 100, 1e-9);
  EXPECT_NEAR(fine.printPixelRect.width, 5000 / (156543.03392 * std::cos(35.6 * tw::kPi / 180) / 131072), 10);
  EXPECT_NEAR(fine.printPixelRect.x + fine.printPixelRect.width / 2, tw::pixelFromLon(17, c.lon), 1e-6);
  EXPECT_NEAR(fine.paperPixelRect.y + fine.paperPixelRect.height / 2, tw::pixelFromLat(17, c.lat), 1e-6);
  EXPECT_DOUBLE_EQ(coarse.printPixelRect.x, fine.printPixelRect.x / 2);
  EXPECT_DOUBLE_EQ(coarse.printPixelRect.height, fine.printPixelRect.height / 2);
  EXPECT_DOUBLE_EQ(coarse.y_rate, fine.y_rate / 2);
  // The area's corners map onto the printable area's corners (y flips).
  const tw::DPoint ll = tw::pixelToPoint(fine.printPixelRect.x, fine.printPixelRect.y + fine.printPixelRect.height,
                                         fine.printPixelRect, g->printPointRect);
  EXPECT_NEAR(ll.x, g->printPointRect.x, 1e-3);
  EXPECT_NEAR(ll.y, g->printPointRect.y, 1e-3);
}

TEST(PrintGeometry, DisplayRectsFollowTheVisibleArea)
{
  const auto g = tw::paperGeometry({1, 0, 3, 1, 0, false, 5, 5, 5, 5});
  const DRect paper{1000, 2000, 210, 297};
  const auto d = tw::calcPrintDispRect(paper, {900, 1900, 600, 500}, 2, 2, *g);
  EXPECT_DOUBLE_EQ(d.paperDispRect.x, 200);
  EXPECT_DOUBLE_EQ(d.paperDispRect.y, (2400 - 2000 - 297) * 2);
  EXPECT_DOUBLE_EQ(d.printDispRect.x, 210);
  EXPECT_DOUBLE_EQ(d.printDispRect.width, 400);
}

TEST(PrintGeometry, GraphFrameDefaultsAndLimits)
{
  const DRect area{14, 14, 567, 813};
  EXPECT_EQ(tw::defaultGraphRect({}, area).width, 453);
  const DRect d = tw::defaultGraphRect({500, 0, 100, 50}, area);  // passes the right edge
  EXPECT_EQ(d.x, 57);
  EXPECT_EQ(d.height, 200);
  const DRect g{100, 100, 300, 200};
  struct Case {
    int handle;
    double dx, dy;
    DRect want;
  } cases[] = {
      {1, 50, 0, {150, 100, 250, 200}},   {1, 200, 0, {250, 100, 150, 200}},  // left: at least 150 wide
      {1, -300, 0, {0, 100, 400, 200}},                                        // left: not past x 0
      {2, -500, 0, {100, 100, 150, 200}}, {2, 900, 0, {100, 100, 467, 200}},    // right: 150 .. area
      {3, 0, -500, {100, 100, 300, 50}},  {3, 0, 900, {100, 100, 300, 713}},
      {4, 0, 190, {100, 250, 300, 50}},   {4, 0, -150, {100, 0, 300, 300}},
  };
  for (const auto& c : cases) {
    const DRect r = tw::resizeGraph(g, c.handle, c.dx, c.dy, area);
    EXPECT_EQ(r.x, c.want.x) << c.handle << " " << c.dx << " " << c.dy;
    EXPECT_EQ(r.y, c.want.y) << c.handle << " " << c.dx << " " << c.dy;
    EXPECT_EQ(r.width, c.want.width) << c.handle << " " << c.dx << " " << c.dy;
    EXPECT_EQ(r.height, c.want.height) << c.handle << " " << c.dx << " " << c.dy;
  }
  EXPECT_EQ(tw::moveGraph(g, 1000, -1000, area).x, 267);
  EXPECT_EQ(tw::moveGraph(g, 1000, -1000, area).y, 0);
  EXPECT_EQ(tw::moveGraph(g, 0.5, 0.5, area).x, 100);
  // Handles on screen: bottom first, then top, left, right; 16 × zoom clamped to 6..16.
  const DRect screen{0, 0, 100, 40};
  EXPECT_EQ(tw::graphHandleAt(screen, {50, 2}, 1), 4);
  EXPECT_EQ(tw::graphHandleAt(screen, {50, 39}, 1), 3);
  EXPECT_EQ(tw::graphHandleAt(screen, {0, 20}, 1), 1);
  EXPECT_EQ(tw::graphHandleAt(screen, {99, 20}, 1), 2);
  EXPECT_EQ(tw::graphHandleAt(screen, {50, 20}, 1), 0);
  EXPECT_EQ(tw::graphHandleAt(screen, {0, 23}, 0.1), 0);  // 6-point squares at small zoom
}

TEST(PrintGeometry, LayerTables)
{
  EXPECT_EQ(tw::scaleBarMetres(0), 200);
  EXPECT_EQ(tw::scaleBarMetres(3), 500);
  EXPECT_NEAR(tw::calcPoint(tw::scaleBarMetres(3), 3) / tw::kPointsPerMm, 20.0, 1e-9);
  EXPECT_EQ(tw::northSpacingMetres(2), 500);
  EXPECT_EQ(tw::northSpacingMetres(4), 0);
  EXPECT_EQ(tw::latlonStepSeconds(1), 15);
  EXPECT_EQ(tw::latlonStepSeconds(4), 0);
  EXPECT_EQ(tw::dmsLabel(35 * 3600 + 7 * 60), "35\u00b007'00\"");
  EXPECT_EQ(tw::checkAreaCentre({10, 139}).lat, 35.855499);
  EXPECT_EQ(tw::checkAreaCentre({35, 139}).lat, 35);
}

}  // namespace
