#include <gtest/gtest.h>

#include "graph/GraphScale.h"

namespace {

using tw::AxisLabel;

TEST(GraphScale, ElevationAxis)
{
  struct Case {
    float min, max;
    int ph, headroom;
    int start, end, step;
  } cases[] = {
      {1210, 1980, 198, 0, 1100, 2000, 100},  // 1210 − 1200 < 25: one band lower
      {1240, 1980, 198, 0, 1200, 2000, 100},
      {3800, 0, 198, 0, 0, 1100, 200},        // no elevation seen; s = 18: every 200 m
      {3800, 0, 198, 24, 0, 1100, 200},       // and no headroom without elevations
      {20, 80, 198, 0, 0, 100, 100},          // below 100 nothing is lowered
      {100, 3000, 198, 0, 0, 3100, 400},      // s = 6.4: step trunc(20 / s) × 100 + 100
      {500, 900, 198, 24, 400, 972, 100},     // headroom: trunc(900 + 24 × 100 / 33)
      {0, 500, -30, 0, 0, 600, 100000100},    // no plot height: finite step, no division by zero
      {-50, -20, 198, 0, 0, 100, 100},        // below sea level only: still an axis
  };
  for (const Case& c : cases) {
    const tw::ElevAxis a = tw::elevationAxis(c.min, c.max, c.ph, c.headroom);
    EXPECT_EQ(a.start_elev, c.start) << c.min << "/" << c.max;
    EXPECT_EQ(a.end_elev, c.end) << c.min << "/" << c.max;
    EXPECT_EQ(a.label_step, c.step) << c.min << "/" << c.max;
  }
}

TEST(GraphScale, ElevationLabelsStopWhenCrowdedAndEndOnTheTop)
{
  // 400–972 in 198 points: s = 34.6; 972 would stand at (972 − 400) / 100 = 5 steps, on 900.
  const tw::ElevAxis a = tw::elevationAxis(500, 900, 198, 24);
  const std::vector<AxisLabel> labels = tw::elevationLabels(a);
  ASSERT_EQ(labels.size(), 6u);
  EXPECT_EQ(labels[0].value, 400);
  EXPECT_EQ(labels[0].offset, 0);
  EXPECT_EQ(labels[4].offset, 138);
  EXPECT_EQ(labels[5].value, 900);
  // The grid stops below the top, thinned to label steps on request.
  EXPECT_EQ(tw::elevationGrid(a, false).size(), 6u);
  const tw::ElevAxis coarse = tw::elevationAxis(100, 3000, 198, 0);
  EXPECT_EQ(tw::elevationGrid(coarse, true).size(), 8u);  // 0, 400, …, 2800
  EXPECT_EQ(tw::elevationLabels(coarse).back().value, 3100);  // 20 points above 2800
}

TEST(GraphScale, DistanceAxis)
{
  struct Case {
    double dist;
    int pw;
    double spacing;
    int64_t u, L;
    bool sparse;
    const char* firstLabel;
  } cases[] = {
      {8400, 600, 10, 1000, 1000, false, "1km"},     // p = 7.1 per 100 m → 71 per km
      {200, 885, 10, 100, 100, false, "0.1km"},
      {0, 885, 10, 100, 100, false, "0.1km"},         // no distance: 1 km plotted
      {50000, 885, 10, 1000, 5000, false, "5km"},     // p = 17.7: n = 3000, step 5 km
      {8400, 600, 15, 1000, 1000, false, "1km"},      // print spacing
      {300000, 885, 10, 5000, 50000, false, "50km"},  // p = 2.95 per km → thinned by five
      {2.1e7, 885, 10, 1000, 5000000, true, "5000km"},
      {9000, 85, 10, 5000, 1000, false, "1km"},      // thinned past the label step
  };
  for (const Case& c : cases) {
    const tw::DistAxis a = tw::distanceAxis(c.dist, c.pw, c.spacing);
    EXPECT_EQ(a.u, c.u) << c.dist;
    EXPECT_EQ(a.L, c.L) << c.dist;
    EXPECT_EQ(a.sparse, c.sparse) << c.dist;
    const auto labels = tw::distanceLabels(a);
    ASSERT_FALSE(labels.empty()) << c.dist;
    EXPECT_EQ(tw::distanceLabelText(labels[0].value, a.L), c.firstLabel) << c.dist;
  }
  // 8.4 km: kilometre labels at trunc(k × 71.4), every grid line is a label line.
  const tw::DistAxis km = tw::distanceAxis(8400, 600, 10);
  EXPECT_EQ(tw::distanceLabels(km).size(), 8u);
  EXPECT_EQ(tw::distanceLabels(km)[2].offset, 214);
  for (const auto& g : tw::distanceGrid(km)) EXPECT_TRUE(g.major);
  // Labels between grid units keep their place (not v / u in integers, which stacks them).
  EXPECT_EQ(tw::distanceLabels(tw::distanceAxis(9000, 85, 10))[0].offset, 9);
  // Sparse: only label lines, never millions of units.
  EXPECT_LE(tw::distanceGrid(tw::distanceAxis(2.1e7, 885, 10)).size(), 5u);
}

TEST(GraphScale, Bands)
{
  const std::pair<double, int> elev[] = {{499, 0}, {500, 1}, {1499, 2}, {2500, 5}, {2999, 5}, {3000, 6}, {9000, 6}, {-100, 0}};
  for (auto [e, b] : elev) EXPECT_EQ(tw::elevationBand(e), b) << e;
  const std::pair<double, int> dist[] = {{5000, 0}, {5001, 1}, {10000, 1}, {10001, 2}, {30001, 6}, {90000, 6}};
  for (auto [d, b] : dist) EXPECT_EQ(tw::distanceBand(d), b) << d;
}

TEST(GraphScale, WayPointMarksOncePerPassage)
{
  tw::WayPointMarker m;
  struct Step {
    double dist, x;
    int wp;
    bool marked;
  } steps[] = {
      {0, 50, 0, true},
      {10, 51, 0, false},     // the next point of the same waypoint
      {150, 60, 0, false},    // 100 m on but only 10 points
      {150, 85, 0, true},     // 100 m and 32 points on: passed again
      {160, 86, 1, true},     // another waypoint at once
      {170, 87, 0, true},
  };
  for (const Step& s : steps) EXPECT_EQ(m.mark(s.dist, s.x, s.wp), s.marked) << s.dist << "," << s.x;
}

TEST(GraphScale, WayPointLabels)
{
  const tw::GRect plot{50, 20, 885, 198};
  // Above the plot: moved under its mark (bottom = below − height).
  EXPECT_EQ(tw::placeWayPointLabel({100, 210, 40, 16}, 198, plot), (tw::GRect{100, 182, 40, 16}));
  // Off the left edge: clamped, height unchanged.
  EXPECT_EQ(tw::placeWayPointLabel({30, 100, 40, 16}, 88, plot), (tw::GRect{50, 100, 40, 16}));
  // Meeting an earlier label: under the mark, never below the plot's bottom.
  const tw::GRect earlier{90, 100, 60, 16};
  EXPECT_EQ(tw::avoidWayPointLabels({100, 105, 40, 16}, 95, plot, {&earlier}), (tw::GRect{100, 79, 40, 16}));
  EXPECT_EQ(tw::avoidWayPointLabels({100, 105, 40, 16}, 25, plot, {nullptr, &earlier}), (tw::GRect{100, 20, 40, 16}));
  EXPECT_EQ(tw::avoidWayPointLabels({200, 105, 40, 16}, 95, plot, {&earlier}), (tw::GRect{200, 105, 40, 16}));
}

TEST(GraphScale, PointerSampleAndWedge)
{
  EXPECT_EQ(tw::pointerSampleIndex(50, 100, 1000, 10, 100), 50);
  EXPECT_EQ(tw::pointerSampleIndex(100, 100, 1020, 10, 100), 99);  // two beyond the last: snapped
  EXPECT_EQ(tw::pointerSampleIndex(100, 100, 1030, 10, 100), -1);  // three beyond: nothing
  EXPECT_EQ(tw::pointerSampleIndex(10, 0, 1000, 10, 100), -1);     // no view width
  EXPECT_EQ(tw::pointerSampleIndex(10, 100, 1000, 0, 100), -1);    // no span
  EXPECT_EQ(tw::pointerSampleIndex(10, 100, 1000, 10, 0), -1);     // no samples

  struct Wedge {
    double gradient;
    bool cycling;
    int cls;
  } wedges[] = {{10, false, 0}, {10, true, 1}, {40, false, 2}, {40, true, 4}, {-40, false, 2},
                {50, false, 3}, {60, false, 4}, {5, true, 0}, {9, true, 1}, {-10000, false, 4}};
  for (const Wedge& w : wedges) EXPECT_EQ(tw::wedgeClass(w.gradient, w.cycling), w.cls) << w.gradient;
  EXPECT_EQ(tw::wedgeHeights(10, 100).right, 10);
  EXPECT_EQ(tw::wedgeHeights(10, 100).left, 0);
  EXPECT_EQ(tw::wedgeHeights(-40, 100).left, 40);
  EXPECT_EQ(tw::wedgeHeights(0, 100).left + tw::wedgeHeights(0, 100).right, 0);
}

TEST(GraphScale, PanelFrames)
{
  struct Case {
    tw::GRect r;
    bool minimize;
    tw::GRect graph;
  } cases[] = {
      {{10, 10, 100, 40}, false, {10, 10, 150, 60}},   // resize limits
      {{-5, -5, 400, 200}, false, {0, 0, 400, 200}},   // kept inside
      {{900, 700, 400, 200}, false, {600, 400, 400, 200}},
      {{0, 0, 1500, 900}, false, {0, 0, 1000, 600}},   // larger than the base
      {{10.7, 0, 300.9, 22}, true, {10, 0, 300, 22}},  // minimised keeps its 22 points
  };
  for (const Case& c : cases) {
    const tw::PanelFrames f = tw::placeGraphView(c.r, 1000, 600, c.minimize);
    EXPECT_EQ(f.graph, c.graph) << c.r.x;
    EXPECT_EQ(f.pointer.w, c.minimize ? 0 : c.graph.w - 65);
  }
  EXPECT_EQ(tw::maximizedFrames(1000.5, 600).pointer, (tw::GRect{50, 20, 935, 548}));
  EXPECT_EQ(tw::minimizedFrames({12.5, 300, 950, 250}).graph, (tw::GRect{12, 0, 950, 22}));
}

TEST(GraphScale, InformationLineFallBacks)
{
  const std::vector<double> widths = {500, 400, 300, 250, 100};
  EXPECT_EQ(tw::fittingVariant(widths, 600), 0u);
  EXPECT_EQ(tw::fittingVariant(widths, 450), 1u);  // the point count goes first
  EXPECT_EQ(tw::fittingVariant(widths, 120), 4u);  // then only the distance
  EXPECT_EQ(tw::fittingVariant(widths, 50), 5u);   // then nothing
}

}  // namespace
