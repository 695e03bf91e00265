// Peak/col marks, the measuring pass (range, ascent and descent, samples) and sample gradients.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "analysis/Peaks.h"
#include "analysis/Profile.h"
#include "TrackBuilder.h"

using namespace tw;
using twtest::TrackBuilder;

namespace {

std::vector<int> marks(const std::vector<Track>& pts)
{
  std::vector<int> m;
  for (const auto& p : pts) m.push_back(p.peak_type);
  return m;
}

int countMarks(const std::vector<Track>& pts, int type)
{
  int n = 0;
  for (const auto& p : pts) n += p.peak_type == type;
  return n;
}

TrackStats profile(const std::vector<Track>& pts, std::vector<PosInfo>* out = nullptr)
{
  TrackStats st;
  std::vector<PosInfo> pos;
  calcTrackProfile(pts, Section{0, static_cast<int>(pts.size())}, st, pos);
  if (out) *out = pos;
  return st;
}

}  // namespace

TEST(MarkPeaks, SteadyClimbWithBumpsHasOnePeakAtTheTop)
{
  // 20 m steps east; +2 m per step with a 5 m bump on every fourth point.
  TrackBuilder b;
  for (int i = 0; i < 50; ++i) b.add(i == 0 ? 0 : 20, 0, 100.0f + 2.0f * i + (i % 4 == 2 ? 5.0f : 0.0f), {});
  auto pts = b.build();
  markPeaks(pts, 0);
  EXPECT_EQ(countMarks(pts, 1), 1);
  EXPECT_EQ(countMarks(pts, 2), 0);
  EXPECT_EQ(pts.back().peak_type, 1);

  TrackStats st = profile(pts);
  EXPECT_FLOAT_EQ(st.total_up, 98.0f);  // top − start, not the sum of the bumps
  EXPECT_FLOAT_EQ(st.total_down, 0.0f);
  EXPECT_EQ(st.peak_count, 1);
  EXPECT_FLOAT_EQ(st.max_elev, 198.0f);
  EXPECT_FLOAT_EQ(st.min_elev, 100.0f);
}

TEST(MarkPeaks, RiseWithinHundredPixelsOfTheColIsNotMarked)
{
  // At 35.36°N one zoom-18 pixel is about 0.49 m: 3 steps of 10 m stay within 100 pixels.
  TrackBuilder near;
  near.add(0, 0, 100, {}).add(10, 0, 105, {}).add(10, 0, 111, {}).add(10, 0, 115, {});
  auto a = near.build();
  markPeaks(a, 0);
  EXPECT_EQ(marks(a), (std::vector<int>{0, 0, 0, 0}));

  // The same rise spread over 3 × 25 m (about 150 pixels) is marked.
  TrackBuilder far;
  far.add(0, 0, 100, {}).add(25, 0, 105, {}).add(25, 0, 111, {}).add(25, 0, 115, {});
  auto c = far.build();
  markPeaks(c, 0);
  EXPECT_EQ(c[3].peak_type, 1);
}

TEST(MarkPeaks, MeasuredElevationsUseTheLargerThreshold)
{
  // Up 40 m, down 20 m, up again: a 20 m dip is a col at 10 m but not at 30 m.
  TrackBuilder b;
  b.add(0, 0, 100, {});
  for (int i = 1; i <= 8; ++i) b.add(30, 0, 100.0f + 5.0f * i, {});   // to 140
  for (int i = 1; i <= 4; ++i) b.add(30, 0, 140.0f - 5.0f * i, {});   // to 120
  for (int i = 1; i <= 8; ++i) b.add(30, 0, 120.0f + 5.0f * i, {});   // to 160
  auto walked = b.build();
  auto measured = walked;
  markPeaks(walked, 0);
  markPeaks(measured, 1);
  EXPECT_EQ(countMarks(walked, 2), 1);
  EXPECT_EQ(walked[12].peak_type, 2);
  EXPECT_EQ(walked[8].peak_type, 1);
  EXPECT_EQ(countMarks(measured, 2), 0);
  EXPECT_EQ(countMarks(measured, 1), 1);
  EXPECT_EQ(measured.back().peak_type, 1);

  TrackStats st = profile(walked);
  EXPECT_FLOAT_EQ(st.total_up, 40.0f + 40.0f);
  EXPECT_FLOAT_EQ(st.total_down, 20.0f);
}

TEST(MarkPeaks, UnknownElevationsTakeNoPartAndLoseStaleMarks)
{
  TrackBuilder b;
  for (int i = 0; i < 10; ++i) b.add(i == 0 ? 0 : 30, 0, kUnknownElevation, {});
  auto pts = b.build();
  pts[4].peak_type = 1;  // left over from before the elevations were thrown away
  markPeaks(pts, 1);
  EXPECT_EQ(countMarks(pts, 1) + countMarks(pts, 2), 0);

  TrackStats st = profile(pts);
  EXPECT_EQ(st.total_up, 0.0f);
  EXPECT_EQ(st.total_down, 0.0f);
  EXPECT_EQ(st.peak_count, 0);
}

TEST(MarkPeaks, PointByPointWithAFill)
{
  // The seam of the elevation fill: the marker sees each point right after it was filled.
  TrackBuilder b;
  for (int i = 0; i < 30; ++i) b.add(i == 0 ? 0 : 30, 0, kUnknownElevation, {});
  auto pts = b.build();
  PeakMarker marker(pts.front(), 0);
  for (std::size_t i = 0; i < pts.size(); ++i) {
    Track w = pts[i];
    w.peak_type = 0;
    if (i != 7) w.elev = 100.0f + 3.0f * static_cast<float>(i <= 14 ? i : 28 - static_cast<int>(i));
    marker.mark(pts, i, w);
  }
  EXPECT_EQ(pts[7].elev, kUnknownElevation);
  EXPECT_EQ(pts[14].peak_type, 1);
  EXPECT_EQ(countMarks(pts, 1), 1);
}

TEST(Profile, SectionWithoutMarksBothWays)
{
  TrackBuilder up;
  up.add(0, 0, 100.7f, {}).add(20, 0, 103, {}).add(20, 0, 104, {});
  TrackStats a = profile(up.build());
  EXPECT_FLOAT_EQ(a.total_up, 104.0f - 100.7f);
  EXPECT_FLOAT_EQ(a.total_down, 0.0f);

  TrackBuilder down;
  down.add(0, 0, 104, {}).add(20, 0, 101, {}).add(20, 0, 100.2f, {});
  TrackStats d = profile(down.build());
  EXPECT_FLOAT_EQ(d.total_up, 0.0f);
  EXPECT_FLOAT_EQ(d.total_down, 104.0f - 100.2f);

  // Last 100.3 is not below trunc(100.7) = 100, so the section counts as climbing; the 0.4 m it
  // lost is not booked as a negative ascent.
  TrackBuilder flat;
  flat.add(0, 0, 100.7f, {}).add(20, 0, 101, {}).add(20, 0, 100.3f, {});
  TrackStats f = profile(flat.build());
  EXPECT_FLOAT_EQ(f.total_up, 0.0f);
  EXPECT_FLOAT_EQ(f.total_down, 0.0f);
}

TEST(Profile, SpanAtNineHundredAndExactlyThousandMetres)
{
  std::vector<Track> pts(2);
  pts[1].seg_dist = 900.0f;
  pts[1].dist = 900.0f;
  std::vector<PosInfo> pos;
  TrackStats st = profile(pts, &pos);
  EXPECT_EQ(st.span, 1.0);
  EXPECT_EQ(st.total_dist, 900.0f);
  EXPECT_EQ(pos.size(), 901u);

  pts[1].seg_dist = 1000.0f;
  pts[1].dist = 1000.0f;
  st = profile(pts, &pos);
  EXPECT_EQ(st.span, 10.0);
  EXPECT_EQ(pos.size(), 101u);
  EXPECT_FLOAT_EQ(pos.back().dist, 1000.0f);
}

TEST(Profile, SamplesInterpolateBetweenPoints)
{
  TrackBuilder b;
  b.add(0, 0, 100, {}).add(500, 0, 150, {}).add(700, 0, 80, {});
  auto pts = b.build();
  markPeaks(pts, 0);
  std::vector<PosInfo> pos;
  TrackStats st = profile(pts, &pos);
  ASSERT_EQ(st.span, 10.0);
  ASSERT_EQ(pos.size(), static_cast<std::size_t>(std::floor(st.total_dist / 10.0)) + 1);
  const float f = 250.0f / pts[1].seg_dist;
  EXPECT_NEAR(pos[25].elev, 100.0f + 50.0f * f, 1e-3);
  EXPECT_NEAR(pos[25].lon, pts[0].lon + (pts[1].lon - pts[0].lon) * f, 1e-9);
  EXPECT_EQ(pos[25].point_index, 1);
  EXPECT_EQ(pos[0].point_index, 0);
  EXPECT_FLOAT_EQ(st.total_up, 50.0f);
  EXPECT_FLOAT_EQ(st.total_down, 70.0f);
  EXPECT_NEAR(pos.back().down, 70.0f, 1.5f);
  for (std::size_t k = 1; k < pos.size(); ++k) EXPECT_GE(pos[k].up, pos[k - 1].up);
}

TEST(Profile, GradientWindowStopsAtTheTurn)
{
  // 20 % up for 200 m, then 10 % down for 200 m: sampled every 1 m, window ±20 m.
  TrackBuilder b;
  b.add(0, 0, 100, {});
  for (int i = 1; i <= 20; ++i) b.add(10, 0, 100.0f + 2.0f * i, {});
  for (int i = 1; i <= 20; ++i) b.add(10, 0, 140.0f - 1.0f * i, {});
  auto pts = b.build();
  markPeaks(pts, 0);
  ASSERT_EQ(pts[20].peak_type, 1);
  std::vector<PosInfo> pos;
  TrackStats st = profile(pts, &pos);
  ASSERT_EQ(st.span, 1.0);
  std::size_t peak = 0;
  while (pos[peak + 1].point_index <= 20) ++peak;
  for (std::size_t k = peak - 15; k <= peak; ++k) EXPECT_NEAR(pos[k].gradient, 20.0f, 0.3f) << k;
  for (std::size_t k = peak + 1; k < peak + 15; ++k) EXPECT_NEAR(pos[k].gradient, -10.0f, 0.3f) << k;
  EXPECT_NEAR(pos[0].gradient, 20.0f, 0.3f);  // the first samples use [0, 2N]
  EXPECT_NEAR(pos.back().gradient, -10.0f, 0.3f);
}

TEST(Profile, ShortSegmentBetweenTurnsUsesTheWholeSegment)
{
  std::vector<PosInfo> pos(10);
  for (int k = 0; k < 10; ++k) pos[k].elev = static_cast<float>(k < 3 ? 10 * k : 20);
  calcGradients(pos, {2, 9}, 10.0);
  EXPECT_FLOAT_EQ(pos[1].gradient, 100.0f);  // [0, 2]: 20 m over 20 m
  EXPECT_FLOAT_EQ(pos[5].gradient, 0.0f);
  pos[6].elev = kUnknownElevation;
  calcGradients(pos, {2, 9}, 10.0);
  EXPECT_EQ(pos[6].gradient, kUnknownGradient);
  EXPECT_EQ(pos[4].gradient, kUnknownGradient);  // its window [2, 6] ends on an unknown sample
}

TEST(Profile, SectionsInsideOutsideAndEmpty)
{
  TrackBuilder b;
  for (int i = 0; i < 10; ++i) b.add(i == 0 ? 0 : 50, 0, 100.0f + i, {});
  auto pts = b.build();
  TrackStats st;
  std::vector<PosInfo> pos;
  calcTrackProfile(pts, Section{3, 7}, st, pos);
  EXPECT_NEAR(st.total_dist, pts[6].dist - pts[3].dist, 1e-3);
  EXPECT_FLOAT_EQ(st.max_elev, 106.0f);
  EXPECT_FLOAT_EQ(st.min_elev, 103.0f);
  EXPECT_EQ(pos.front().point_index, 3);

  for (Section bad : {Section{0, 0}, Section{0, 11}, Section{-1, 4}, Section{8, 4}}) {
    calcTrackProfile(pts, bad, st, pos);
    EXPECT_TRUE(pos.empty());
    EXPECT_EQ(st.total_dist, 0.0f);
    EXPECT_EQ(st.min_elev, 3800.0f);
  }

  std::vector<Track> none;
  calcTrackProfile(none, Section{0, 0}, st, pos);
  EXPECT_TRUE(pos.empty());
  EXPECT_EQ(st.max_elev, 0.0f);
  EXPECT_EQ(st.total_up, 0.0f);
  EXPECT_EQ(st.peak_count, 0);

  std::vector<Track> one(1);
  one[0].elev = 300.0f;
  calcTrackProfile(one, Section{0, 1}, st, pos);
  ASSERT_EQ(pos.size(), 1u);
  EXPECT_EQ(pos[0].gradient, kUnknownGradient);
  EXPECT_EQ(st.max_elev, 300.0f);
}

TEST(Profile, AbsurdStepsAreBounded)
{
  std::vector<Track> pts(4);
  pts[1].seg_dist = 5.0e9f;  // millions of kilometres
  pts[2].seg_dist = std::numeric_limits<float>::infinity();
  pts[3].seg_dist = std::numeric_limits<float>::quiet_NaN();
  for (auto& p : pts) p.elev = 100.0f;
  std::vector<PosInfo> pos;
  TrackStats st = profile(pts, &pos);
  EXPECT_LE(pos.size(), kMaxProfileSamples);
  EXPECT_TRUE(std::isfinite(st.total_dist));
  for (std::size_t k = 0; k < pos.size(); k += 100000) EXPECT_TRUE(std::isfinite(pos[k].gradient));
}
