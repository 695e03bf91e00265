// Thinning real tracks of the shared corpus, analysed the way the app analyses them.
#include <gtest/gtest.h>

#include <filesystem>

#include "analysis/Metrics.h"
#include "analysis/Peaks.h"
#include "analysis/Rests.h"
#include "editing/Thinout.h"
#include "gpx/GpxReader.h"
#include "support/TestPaths.h"

using namespace tw;

namespace {

std::vector<int> rests(std::vector<Track>& pts, bool valid_time)
{
  std::vector<int> states;
  checkRest(pts, valid_time, states);
  return states;
}

TEST(ThinoutCorpus, RealTracksKeepEndsOrderAndCount)
{
  TW_REQUIRE_CORPUS();
  int thinned = 0;
  for (const auto& e : std::filesystem::directory_iterator(twtest::corpusDir() + "/gpx")) {
    if (e.path().extension() != ".gpx") continue;
    auto r = parseGPX(twtest::readFile(e.path().string()));
    if (!r.ok()) continue;
    for (auto& t : r.data.tracks) {
      const int n = static_cast<int>(t.points.size());
      if (n < kThinoutMinimumPoints + 10) continue;
      SCOPED_TRACE(e.path().filename().string());
      recalcDistance(t.points);
      markPeaks(t.points, t.stable);
      const Track first = t.points.front(), last = t.points.back();
      const int target = std::max(kThinoutMinimumPoints, n / 5);
      const bool valid = t.valid_time;
      auto res = thinoutPoints(t.points, target, [valid](std::vector<Track>& p) { return rests(p, valid); });
      EXPECT_TRUE(res.changed);
      EXPECT_EQ(static_cast<int>(t.points.size()), target);
      EXPECT_EQ(t.points.front().lat, first.lat);
      EXPECT_EQ(t.points.back().lat, last.lat);
      // Kept points stay in their order: timed points never go back in time.
      std::optional<TimePoint> prev;
      bool ordered = true;
      for (const auto& p : t.points) {
        if (p.time && prev && *p.time < *prev) ordered = false;
        if (p.time) prev = p.time;
      }
      if (t.valid_time) {
        EXPECT_TRUE(ordered);
      }
      ++thinned;
    }
  }
  EXPECT_GT(thinned, 5);
}

}  // namespace
