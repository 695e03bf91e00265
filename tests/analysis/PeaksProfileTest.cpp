// Peak/col marks, ascent and descent from turn to turn, the profile samples and their gradients,
// the measured and the print section.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <tuple>

#include "analysis/InfoFields.h"
#include "analysis/Peaks.h"
#include "analysis/Profile.h"
#include "analysis/Rests.h"
#include "analysis/TrackInfoStats.h"
#include "TrackBuilder.h"

using namespace tw;

namespace {

// Points `step` metres east of each other at elevations f(0), f(1), …, marked (over a stale
// mark left in the middle).
std::vector<Track> marked(int n, double step, int stable, const std::function<float(int)>& f)
{
  twtest::TrackBuilder b;
  for (int i = 0; i < n; ++i) b.add(i == 0 ? 0 : step, 0, f(i));
  auto pts = b.build();
  pts[n / 2].peak_type = 1;
  markPeaks(pts, stable);
  return pts;
}

TrackStats profile(const std::vector<Track>& pts, std::vector<PosInfo>& pos, Section sec = {})
{
  TrackStats st;
  calcTrackProfile(pts, sec.end > 0 ? sec : Section{0, static_cast<int>(pts.size())}, st, pos);
  return st;
}

float dip(int i) { return 100.0f + 5.0f * static_cast<float>(i <= 8 ? i : i <= 13 ? 16 - i : i - 10); }  // 40 up, 25 down, 50 up

}  // namespace

TEST(MarkPeaks, TurnsAndTheAscentBetweenThem)
{
  const struct { const char* what; std::vector<Track> pts; int peaks, cols; float up, down; } cases[] = {
      {"climb with 5 m bumps", marked(50, 20, 0, [](int i) { return 100.0f + 2.0f * i + (i % 4 == 2 ? 5.0f : 0.0f); }), 1, 0, 98, 0},
      {"25 m dip, computed elevations", marked(24, 30, 0, dip), 2, 1, 90, 25},
      {"25 m dip, measured elevations", marked(24, 30, 1, dip), 1, 0, 65, 0},
      {"rise within 100 pixels of the start", marked(4, 10, 0, [](int i) { return 100.0f + 5.0f * i; }), 0, 0, 15, 0},
      {"the same rise farther away", marked(4, 25, 0, [](int i) { return 100.0f + 5.0f * i; }), 1, 0, 15, 0},
      {"unknown elevations", marked(10, 30, 1, [](int) { return kUnknownElevation; }), 0, 0, 0, 0},
      {"no mark, descending", marked(3, 20, 0, [](int i) { return std::array{104.0f, 101.0f, 100.2f}[i]; }), 0, 0, 0, 3.8f},
      // Not below trunc(100.7): climbing, but the 0.4 m lost is no negative ascent.
      {"no mark, nearly flat", marked(3, 20, 0, [](int i) { return std::array{100.7f, 101.0f, 100.3f}[i]; }), 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    int peaks = 0, cols = 0;
    for (const Track& p : c.pts) (p.peak_type == 1 ? peaks : cols) += p.peak_type != 0;
    std::vector<PosInfo> pos;
    const TrackStats st = profile(c.pts, pos);
    EXPECT_EQ((std::array{peaks, cols, st.peak_count}), (std::array{c.peaks, c.cols, c.peaks})) << c.what;
    EXPECT_NEAR(st.total_up, c.up, 1e-4) << c.what;
    EXPECT_NEAR(st.total_down, c.down, 1e-4) << c.what;
  }
}

TEST(Profile, SamplesAndTheirGradients)
{
  std::vector<Track> two(2);  // the step: every metre below 1000 m, else every 10 m
  std::vector<PosInfo> pos;
  for (auto [dist, span, samples] : {std::tuple{999.9f, 1.0, 1000u}, {1000.0f, 10.0, 101u}}) {
    two[1].seg_dist = dist;
    const double got = profile(two, pos).span;
    EXPECT_EQ(std::tuple(got, pos.size()), std::tuple(span, samples)) << dist;
  }

  // 20 % up for 200 m, then 10 % down: every sample's ±20 m window stays on its side of the top.
  auto pts = marked(41, 10, 0, [](int i) { return i <= 20 ? 100.0f + 2.0f * i : 160.0f - i; });
  ASSERT_EQ(pts[20].peak_type, 1);
  profile(pts, pos);
  for (std::size_t k = 0; k < pos.size(); ++k)
    EXPECT_NEAR(pos[k].gradient, pos[k].point_index <= 20 ? 20.0f : -10.0f, 0.3f) << k;

  std::vector<PosInfo> s(10);  // a segment of 3 samples, shorter than the window
  for (int k = 0; k < 10; ++k) s[k].elev = k < 3 ? 10.0f * k : k == 6 ? kUnknownElevation : 20.0f;
  calcGradients(s, {2, 9}, 10.0);  // s[4]'s window [2, 6] ends on an unknown elevation
  EXPECT_EQ(std::tuple(s[1].gradient, s[4].gradient), std::tuple(100.0f, kUnknownGradient));
}

TEST(Profile, SectionsOutsideEmptyOrAbsurd)
{
  auto pts = marked(10, 50, 0, [](int i) { return 100.0f + i; });
  std::vector<PosInfo> pos;
  TrackStats st = profile(pts, pos, Section{3, 7});
  EXPECT_NEAR(st.total_dist, pts[6].dist - pts[3].dist, 1e-3);
  EXPECT_EQ(std::tuple(st.min_elev, pos.front().point_index), std::tuple(103.0f, 3));
  EXPECT_TRUE(profile(pts, pos, Section{8, 4}).total_dist == 0.0f && pos.empty());  // inverted: empty
  pts.assign(4, Track{});  // steps of millions of kilometres, infinite and NaN
  std::tie(pts[1].seg_dist, pts[2].seg_dist, pts[3].seg_dist) =
      std::tuple(5.0e9f, std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN());
  st = profile(pts, pos);
  EXPECT_EQ(std::tuple(pos.size(), st.total_dist), std::tuple(kMaxProfileSamples, 5.0e9f));
  pts.resize(1);
  profile(pts, pos);
  EXPECT_EQ(pos.at(0).gradient, kUnknownGradient);
}

TEST(Section, InsideRuleAndPrintRange)
{
  for (auto [s, inside] : {std::pair{Section{0, 20}, true}, {Section{19, 20}, true}, {Section{0, 21}, false},
                           {Section{-1, 5}, false}, {Section{0, 0}, false}, {Section{5, 3}, false}})
    EXPECT_EQ(sectionInside(s, 20), inside) << s.start << ".." << s.end;
  std::vector<Track> pts(15);
  for (int i = 0; i < 15; ++i) pts[i].x = 100 * i;
  const RectF pixel{125, -2.5, 125, 5}, points{0, 0, 500, 20};  // ×4: x 500..1000, points 5..9
  const Section s = calcTrackRange(pts, pixel, points, RectF{400, 0, 100, 20}, true);  // the graph hides point 9
  EXPECT_EQ(std::tuple(s.start, s.end), std::tuple(4, 9));
  EXPECT_EQ(calcTrackRange(pts, RectF{1e4, 1e4, 10, 10}, points, RectF{}, true).end, 0);  // nothing on the map
}

// Track information: gradient classes, slope distance, the time split, the dialog's texts
// without figures. (golden/texts.txt holds the full texts of two tracks.)
TEST(TrackInfo, GradientClasses)
{
  // Rates, then the average, steepest climb and descent: up, down, gentle/steep up, gentle/steep
  // down, average up/down, max, min.
  const std::tuple<bool, std::vector<float>, std::array<int, 10>> cases[] = {
      {false, {5, 14.9f, 15, 29.9f, 30, 45, -5, -15, -30, -40, 4.9f, -4.9f, kUnknownGradient}, {50, 33, 33, 33, 25, 50, 23, -22, 45, -40}},
      {true, {2, 3.9f, 4, 7.9f, 8, -2, -4, -8}, {62, 37, 40, 20, 33, 33, 5, -4, 8, -8}},
      {false, {10, 0, 0}, {33, 0, 0, 0, 0, 0, 0, 0, 10, 0}},  // one climbing sample gives no average
  };
  for (const auto& [cycling, gradients, want] : cases) {
    std::vector<PosInfo> pos(gradients.size());
    for (std::size_t k = 0; k < pos.size(); ++k) pos[k].gradient = gradients[k];
    TrackStats s;
    calcSlopeAndGradientStats(std::vector<Track>(2), Section{0, 2}, pos, cycling, s);
    EXPECT_EQ((std::array{s.up_rate, s.down_rate, s.easy_up_rate, s.hard_up_rate, s.easy_down_rate, s.hard_down_rate,
                          s.ave_up_gradient, s.ave_down_gradient, s.max_gradient, s.min_gradient}), want);
  }
}

TEST(TrackInfo, SlopeDistanceWithUnknownElevations)
{
  twtest::TrackBuilder b;
  auto pts = b.add(0, 0, 100).add(300, 0, 140).add(100, 0, kUnknownElevation).add(100, 0, 140).build();
  TrackStats st;
  calcSlopeAndGradientStats(pts, Section{0, 4}, {}, false, st);
  EXPECT_NEAR(st.total_distance, std::hypot(pts[1].seg_dist, 40.0f) + pts[2].seg_dist + pts[3].seg_dist, 1e-2);
  pts[0].elev = kUnknownElevation;  // the reference never becomes known
  calcSlopeAndGradientStats(pts, Section{0, 4}, {}, false, st);
  EXPECT_NEAR(st.total_distance, pts[3].dist, 1e-2);
}

TEST(TrackInfo, TimeSplit)
{
  // A minute apart: climb 2 × 100 m, rest (3, 0, 4), descend 2 × 150 m.
  std::vector<Track> pts(7);
  for (int i = 0; i < 7; ++i) {
    pts[i].seg_dist = std::array{0, 100, 100, 5, 5, 150, 150}[i];
    pts[i].time = twtest::TrackBuilder::start() + std::chrono::minutes(i);
  }
  pts[3].time.reset();  // borrows its predecessor's
  const std::vector<int> states = {1, 1, 3, 0, 4, 2, 2};
  TrackStats st;
  calcTimeStats(pts, Section{0, 7}, states, st);
  EXPECT_EQ((std::array{st.total_time, st.rest_time, st.walk_time}), (std::array{360, 120, 240}));
  // Up 200 m in 120 s (the rest start after a climb climbs), down 300 m in 120 s, km/h.
  EXPECT_EQ((std::array{st.up_avg_speed, st.down_avg_speed, st.avg_speed}), (std::array{6.0f, 9.0f, 7.5f}));
  TrackStats stale;  // states of another track shape are not used
  calcTimeStats(pts, Section{0, 7}, std::vector<int>(6, 1), stale);
  EXPECT_EQ(stale.total_time, 0);
}

TEST(TrackInfo, TextsWithoutFigures)
{
  const InfoFields zero = formatInfoFields(TrackStats{}, false);
  EXPECT_FALSE(zero.totalTimeField.has_value());
  EXPECT_EQ(zero.normalUpField + "|" + zero.speedField, "0% (0.00km)|---");  // no climbing distance: normal is 0, not 100
  EXPECT_EQ(calcDegree(-10000), 0);
}
