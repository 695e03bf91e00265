// The analysis commands of the controller, for their wiring: the refresh of the chosen section,
// the rest switch and the track information dialog's OK.
#include <gtest/gtest.h>

#include <tuple>

#include "TrackBuilder.h"
#include "analysis/Peaks.h"
#include "support/ControllerFixture.h"

using AnalysisController = twtest::ControllerFixture<>;

TEST_F(AnalysisController, UpdateGraphMeasuresTheChosenSection)
{
  d.config.setInt(tw::key::show_rest, 1);
  d.updateGraph();  // nothing to measure: the reset values, and the start span
  EXPECT_EQ(std::tuple(d.stats.min_elev, d.span), std::tuple(3800.0f, 1.0));
  twtest::TrackBuilder b;  // a point a minute, 100 m apart: up 30 m each for 20 points, then down
  for (int i = 0; i < 40; ++i) b.add(i == 0 ? 0 : 100, 0, 500.0f + 30.0f * static_cast<float>(i < 20 ? i : 39 - i), i * 60.0);
  tw::TrackInfo& t = addActiveTrack(tw::TrackInfo{});
  t.points = b.build(), t.valid_time = true;
  tw::markPeaks(t.points, 1);  // the marks otherwise come from the elevation fill
  d.updateGraph();
  EXPECT_NEAR(d.stats.total_up, 570.0, 0.01);
  EXPECT_EQ(std::tuple(d.doc.states.size(), d.stats.total_time), std::tuple(40u, 39 * 60));
  std::tie(d.graph_type, d.part_start, d.part_end) = std::tuple(1, 0, 10);
  d.updateGraph();
  EXPECT_EQ(std::tuple(d.span, d.stats.total_time), std::tuple(1.0, 9 * 60));
  d.doc.states.clear();
  d.showRest();  // rests only while they are shown
  d.updateGraph();
  EXPECT_TRUE(d.config.intValue("show_rest") == 0 && d.doc.states.empty());
}

TEST_F(AnalysisController, DialogOkRenamesShiftsAndRefusesCdataEnd)
{
  twtest::TrackBuilder b;
  auto& pts = addActiveTrack(tw::TrackInfo{}).points = b.add(0, 0, 500, 0).add(10, 0, 500, 10).add(10, 0, 500, 20).add(10, 0, 500).build();
  const auto before = *pts[2].time;
  EXPECT_FALSE(d.applyTrackInfo("bad]]>name", tw::kTimeKeep));
  EXPECT_EQ(boxes.shown.at(0).title + boxes.shown.at(0).mess, QStringLiteral("エラー名前に]]>は使えません"));
  EXPECT_TRUE(d.applyTrackInfo("", tw::kTimeKeep) && !d.doc.modify);
  EXPECT_TRUE(d.applyTrackInfo("丘", tw::kTimePlus9h));
  EXPECT_EQ(std::tuple(d.doc.tracks[0].name, *pts[2].time - before), std::tuple(std::string("丘"), std::chrono::milliseconds(std::chrono::hours(9))));
  EXPECT_TRUE(!pts[3].time && d.doc.modify);
  EXPECT_TRUE(d.applyTrackInfo("丘", tw::kTimeMinus9h));
  EXPECT_EQ(*pts[2].time, before);
  d.calcTrackData();
  ASSERT_TRUE(d.stats.route_time);
  EXPECT_TRUE(d.applyTrackInfo("丘", tw::kTimeRemove));
  EXPECT_FALSE(d.stats.route_time || pts[2].time);
}
