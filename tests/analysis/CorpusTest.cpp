// Every track of the shared corpus of real files goes through the whole analysis without a
// non-finite figure, and the figures agree with each other.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "analysis/InfoFields.h"
#include "analysis/TrackAnalysis.h"
#include "gpx/GpxReader.h"
#include "support/TestPaths.h"

using namespace tw;

namespace {

void expectSane(const TrackAnalysis& a, const TrackInfo& t, const std::string& where)
{
  const TrackStats& s = a.stats;
  for (double v : {double(s.total_dist), double(s.total_distance), double(s.total_up), double(s.total_down),
                   double(s.max_elev), double(s.min_elev), double(s.ave_elev), double(s.avg_speed),
                   double(s.up_avg_speed), double(s.down_avg_speed), s.span})
    EXPECT_TRUE(std::isfinite(v)) << where;
  EXPECT_GE(s.total_up, 0.0f) << where;
  EXPECT_GE(s.total_down, 0.0f) << where;
  EXPECT_GE(s.total_distance + 0.01f, s.total_dist) << where;
  EXPECT_LE(s.up_rate + s.down_rate, 100) << where;
  EXPECT_EQ(s.walk_time, s.total_time - s.rest_time) << where;
  if (!t.points.empty()) {
    if (t.points.size() >= 2) {
      EXPECT_EQ(a.states.size(), t.points.size()) << where;
    }
    EXPECT_EQ(a.positions.size(), static_cast<std::size_t>(std::floor(s.total_dist / s.span)) + 1) << where;
  }
  for (const auto& p : a.positions) {
    ASSERT_TRUE(std::isfinite(p.elev) && std::isfinite(p.gradient) && std::isfinite(p.up) && std::isfinite(p.down))
        << where;
  }
  for (const auto& [outlet, text] : formatInfoFields(s, false).rows()) {
    EXPECT_EQ(text.find("nan"), std::string::npos) << where << " " << outlet;
    EXPECT_EQ(text.find("inf"), std::string::npos) << where << " " << outlet;
  }
}

}  // namespace

TEST(Corpus, EveryTrackAnalysesToFiniteConsistentFigures)
{
  TW_REQUIRE_CORPUS();
  int tracks = 0;
  for (const auto& entry : std::filesystem::directory_iterator(twtest::corpusDir() + "/gpx")) {
    if (entry.path().extension() != ".gpx") continue;
    auto r = parseGPX(twtest::readFile(entry.path().string()));
    if (!r.ok()) continue;
    for (std::size_t i = 0; i < r.data.tracks.size(); ++i) {
      TrackInfo t = r.data.tracks[i];
      const std::string where = entry.path().filename().string() + " track " + std::to_string(i + 1);
      expectSane(analyzeTrack(t, false), t, where);
      expectSane(analyzeTrack(t, true), t, where + " cycling");
      ++tracks;
    }
  }
  EXPECT_GT(tracks, 20);
}

TEST(Corpus, SameTripFromTwoServicesAgrees)
{
  TW_REQUIRE_CORPUS();
  // One Kyoto Trail trip exported by Strava (one track) and Yamareco (four tracks): the same
  // points, so the horizontal distances and total times agree; elevations were recomputed.
  auto strava = parseGPX(twtest::readFile(twtest::corpusDir() + "/gpx/jp-strava-kyoto-trail-3days.gpx"));
  auto yamareco = parseGPX(twtest::readFile(twtest::corpusDir() + "/gpx/jp-yamareco-ios-kyoto-trail-3days.gpx"));
  ASSERT_TRUE(strava.ok() && yamareco.ok());
  ASSERT_EQ(strava.data.tracks.size(), 1u);
  TrackAnalysis whole = analyzeTrack(strava.data.tracks[0], false);
  double parts = 0.0;
  for (auto& t : yamareco.data.tracks) parts += analyzeTrack(t, false).stats.total_dist;
  EXPECT_GT(whole.stats.total_dist, 50000.0f);
  // The joined track also has the steps between the four parts.
  EXPECT_NEAR(whole.stats.total_dist, parts, 0.02 * parts);
  EXPECT_GT(whole.stats.rest_time, 14 * 3600);  // two nights inside one segment
}
