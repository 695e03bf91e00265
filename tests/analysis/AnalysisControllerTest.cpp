// The analysis commands on the controller: the measured section, the statistics refresh and
// the track information dialog's OK.
#include <gtest/gtest.h>

#include "TrackBuilder.h"
#include "analysis/Peaks.h"
#include "analysis/Rests.h"
#include "support/ControllerFixture.h"

namespace {

// 40 points 10 s apart: up 30 m per 100 m for 20 points, then down.
tw::TrackInfo hill()
{
  twtest::TrackBuilder b;
  for (int i = 0; i < 40; ++i)
    b.add(i == 0 ? 0 : 100, 0, 500.0f + 30.0f * static_cast<float>(i < 20 ? i : 39 - i), i * 60.0);
  tw::TrackInfo t;
  t.points = b.build();
  t.valid_time = true;
  t.stable = 1;
  t.name = "hill";
  return t;
}

class AnalysisController : public twtest::ControllerFixture<> {
 protected:
  void loadHill()
  {
    // The marks come from the elevation fill's pass; set them here so this test does not
    // depend on the DEM caches.
    tw::markPeaks(addActiveTrack(hill()).points, 1);
  }
};

}  // namespace

TEST_F(AnalysisController, EmptyDocumentKeepsResetValues)
{
  d.stats.total_up = 12.0f;
  d.calcTrackData();
  d.calcTrackInfo();
  EXPECT_EQ(d.stats.total_up, 0.0f);
  EXPECT_EQ(d.stats.min_elev, 3800.0f);
  EXPECT_EQ(d.span, 1.0);
  EXPECT_TRUE(d.doc.positions.empty());
  d.checkRest();
  EXPECT_TRUE(d.doc.states.empty());
}

TEST_F(AnalysisController, WholeTrackThenChosenPart)
{
  loadHill();
  d.calcTrackData();
  EXPECT_NEAR(d.stats.total_dist, 3900.0, 2.0);
  EXPECT_EQ(d.span, 10.0);
  EXPECT_NEAR(d.stats.total_up, 570.0, 0.01);
  EXPECT_NEAR(d.stats.total_down, 570.0, 0.01);
  EXPECT_TRUE(d.stats.route_time);
  EXPECT_FALSE(d.doc.positions.empty());
  d.calcTrackInfo();
  EXPECT_EQ(d.doc.states.size(), 40u);
  EXPECT_EQ(d.stats.total_time, 39 * 60);

  d.graph_type = 1;
  d.part_start = 0;
  d.part_end = 10;
  d.calcTrackData();
  d.calcTrackInfo();
  EXPECT_NEAR(d.stats.total_dist, 900.0, 1.0);
  EXPECT_EQ(d.span, 1.0);
  EXPECT_EQ(d.stats.total_time, 9 * 60);

  d.part_end = 99;  // outside the points: nothing is measured
  d.calcTrackData();
  EXPECT_TRUE(d.doc.positions.empty());
  EXPECT_EQ(d.stats.total_dist, 0.0f);
}

TEST_F(AnalysisController, PrintSectionOnlyInPrintMode)
{
  loadHill();
  const tw::RectF everywhere{0, 0, 1 << 28, 1 << 28};
  d.range_start = d.range_end = -1;
  d.calcTrackRange(everywhere, tw::RectF{0, 0, 100, 100}, tw::RectF{}, false);
  EXPECT_EQ(d.range_end, -1);
  d.mode = 3;
  d.calcTrackRange(everywhere, tw::RectF{0, 0, 100, 100}, tw::RectF{}, false);
  EXPECT_EQ(d.range_start, 0);
  EXPECT_EQ(d.range_end, 40);
}

TEST_F(AnalysisController, UpdateGraphRunsRestsWhenShown)
{
  loadHill();
  d.derived.show_rest = 1;
  d.updateGraph();
  EXPECT_EQ(d.doc.states.size(), 40u);
  EXPECT_GT(d.stats.up_rate, 0);

  d.doc.states.clear();
  d.derived.show_rest = 0;
  d.updateGraph();
  EXPECT_TRUE(d.doc.states.empty());
}

TEST_F(AnalysisController, DialogOkRenamesShiftsAndRefusesCdataEnd)
{
  loadHill();
  EXPECT_FALSE(d.applyTrackInfo("bad]]>name", tw::kTimeKeep));
  ASSERT_FALSE(boxes.shown.empty());
  EXPECT_EQ(boxes.shown.back().title, QStringLiteral("エラー"));
  EXPECT_EQ(boxes.shown.back().mess, QStringLiteral("名前に]]>は使えません"));
  EXPECT_EQ(d.doc.tracks[0].name, "hill");
  EXPECT_FALSE(d.doc.modify);

  EXPECT_TRUE(d.applyTrackInfo("hill", tw::kTimeKeep));
  EXPECT_FALSE(d.doc.modify);

  const auto before = *d.doc.tracks[0].points[5].time;
  EXPECT_TRUE(d.applyTrackInfo("丘", tw::kTimePlus9h));
  EXPECT_EQ(d.doc.tracks[0].name, "丘");
  EXPECT_EQ(*d.doc.tracks[0].points[5].time - before, std::chrono::hours(9));
  EXPECT_TRUE(d.doc.modify);

  d.calcTrackData();
  ASSERT_TRUE(d.stats.route_time);
  EXPECT_TRUE(d.applyTrackInfo("丘", tw::kTimeRemove));
  EXPECT_FALSE(d.stats.route_time);
  d.calcTrackInfo();
  EXPECT_EQ(d.infoFields().restTimeField, "---");
  EXPECT_EQ(AppDelegate::calcDegree(100), 45);
}

TEST_F(AnalysisController, ShowRestFlipsAndStoresTheSwitch)
{
  d.derived.show_rest = 1;
  d.showRest();
  EXPECT_EQ(d.derived.show_rest, 0);
  EXPECT_EQ(d.config.intValue("show_rest"), 0);
  d.showRest();
  EXPECT_EQ(d.derived.show_rest, 1);
  EXPECT_EQ(d.config.intValue("show_rest"), 1);
}
