// Projection, distances, the inside-Japan box, segment tests, and the document's names.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "document/DocumentState.h"
#include "document/Geodesy.h"

using namespace tw;

TEST(Projection, EndsInversesAndSaturation)
{
  EXPECT_EQ(pixelFromLon(18, 180.0), 67108864.0);
  EXPECT_EQ(lonFromPixel(18, 67108864.0), 180.0);
  for (int z = 6; z <= 18; ++z) {
    const double s = std::ldexp(1.0, z + 7);
    EXPECT_EQ(pixelFromLon(z, -180.0), 0.0);
    EXPECT_DOUBLE_EQ(lonFromPixel(z, pixelFromLon(z, 139.7)), 139.7);
    EXPECT_NEAR(pixelFromLat(z, 0.0), s, 1e-6);
    EXPECT_NEAR(pixelFromLat(z, 85.0511), 0.0, s * 1e-5);  // the projection's limit, rounded
    EXPECT_NEAR(latFromPixel(z, pixelFromLat(z, 35.6581)), 35.6581, 1e-9);
  }
  // Stored zoom-18 pixels saturate instead of overflowing.
  constexpr int32_t lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
  EXPECT_EQ((std::array{pixel18FromLat(90.0), pixel18FromLat(-90.0), pixel18FromLon(1e308), pixel18FromLon(std::nan(""))}),
            (std::array{lo, hi, hi, 0}));
  EXPECT_EQ(pixel18FromLon(139.0), static_cast<int32_t>(pixelFromLon(18, 139.0)));
}

TEST(Hubeny, ReferenceValuesPerEllipsoid)
{
  // From the same formula evaluated independently in Python's double arithmetic.
  EXPECT_NEAR(calcDistHubeny(35.0, 135.0, 36.0, 136.0, 0), 143307.69992480156, 1e-6);
  EXPECT_NEAR(calcDistHubeny(35.0, 135.0, 36.0, 136.0, 1), 143323.6601105467, 1e-6);
  EXPECT_NEAR(calcDistHubeny(35.0, 135.0, 36.0, 136.0, 2), 143323.6601116367, 1e-6);
  EXPECT_NEAR(calcDistHubeny(35.6581, 139.7017, 35.3606, 138.7274), 94349.53433208495, 1e-6);
  EXPECT_EQ(calcDistHubeny(35.0, 135.0, 35.0, 135.001), calcDistHubeny(35.0, 135.001, 35.0, 135.0));
  EXPECT_EQ(calcDistHubeny(35.0, 135.0, 36.0, 135.0, 3) + calcDistHubeny(35.0, 135.0, 36.0, 135.0, -1), 0.0);  // no such ellipsoid
}

TEST(Geodesy, JapanBoxDeclinationAndPrintScale)
{
  const struct {
    double lat, lon;
    bool inside;
  } box[] = {{20.42527777, 153.98638888, true}, {45.55777777, 122.93361111, true}, {20.42527776, 140.0, false},
             {45.55777778, 140.0, false},       {35.0, 153.98638889, false},       {37.5, 122.0, false}};
  for (const auto& b : box) EXPECT_EQ(checkLat(b.lat, b.lon), b.inside) << b.lat << "," << b.lon;
  EXPECT_EQ(calcMagneticNorth(37, 138), 8.2637);
  EXPECT_NEAR(calcMagneticNorth(35, 135), 7.93612, 1e-4);
  EXPECT_NEAR(calcPoint(200, 0), 56.69, 0.01);
  EXPECT_EQ(calcPoint(500, 7), calcPoint(500, 1));
}

TEST(SegmentTests, OnlineAndIntersectionWithTheir32BitProducts)
{
  const struct { IPoint a, b, p; bool on; } online3[] = {
      {{0, 0}, {10, 10}, {0, 0}, true},    {{0, 0}, {10, 10}, {10, 10}, true}, {{0, 0}, {10, 10}, {5, 5}, true},
      {{0, 0}, {10, 10}, {11, 11}, false}, {{0, 0}, {10, 10}, {-1, -1}, false}, {{0, 0}, {10, 10}, {5, 6}, false},
      {{0, 0}, {0, 0}, {0, 0}, true},      {{0, 0}, {0, 0}, {1, 0}, false},
      // |a|² = 4.9e9 wraps and the dot product turns negative in 32 bits: the midpoint of a
      // 70000-pixel segment is not "on" it. Label placement works on short zoom-14 segments.
      {{0, 0}, {70000, 0}, {35000, 0}, false}, {{0, 0}, {30000, 0}, {15000, 0}, true},
      {{33000000, 16000000}, {33000100, 16000100}, {33000050, 16000050}, true},
  };
  for (const auto& c : online3) EXPECT_EQ(online(c.a, c.b, c.p), c.on) << c.p.x << "," << c.p.y;
  EXPECT_TRUE(online({0, 0}, {4, 0}, {9, 0}, {2, 0}));

  const struct { IPoint a, b, c, d; bool crosses; } cross[] = {
      {{0, 0}, {10, 10}, {0, 10}, {10, 0}, true},
      {{0, 0}, {10, 10}, {10, 10}, {20, 0}, false},  // shared end
      {{0, 0}, {10, 0}, {5, 0}, {5, 10}, false},     // T touch
      {{0, 0}, {10, 0}, {0, 5}, {10, 5}, false},     // parallel
      {{33000000, 16000000}, {33000100, 16000100}, {33000000, 16000100}, {33000100, 16000000}, true},
      // Each orientation term wraps in 32 bits before the 64-bit product: 2.5e9 turns negative.
      {{0, 0}, {50000, 50000}, {0, 40000}, {50000, 0}, false},
      {{0, 0}, {5000, 5000}, {0, 4000}, {5000, 0}, true},
  };
  for (const auto& c : cross) EXPECT_EQ(intersection(c.a, c.b, c.c, c.d), c.crosses) << c.b.x << "," << c.d.y;
}

TEST(SegmentTests, DistanceLineAndOctagonalNorm)
{
  EXPECT_EQ((std::array{distanceLine({3, 4}, {0, 0}, {0, 0}), distanceLine({-3, 4}, {0, 0}, {10, 0}),
                        distanceLine({13, 4}, {0, 0}, {10, 0}), distanceLine({5, 4}, {0, 0}, {10, 0})}),
            (std::array{5.0f, 5.0f, 5.0f, 4.0f}));
  // Zoom-18 pixels: the foot must be formed from 1 − t in doubles (784.072693 otherwise).
  EXPECT_EQ(distanceLine({59423337, 26503971}, {59427593, 26505127}, {59419489, 26501274}), 782.351562f);
  EXPECT_EQ(approxPixelDistance(10, 0), 2460);
  EXPECT_EQ(approxPixelDistance(-3, 4), 246 * 4 + 102 * 3);
}

TEST(WayPointNames, MapAndGraphParts)
{
  const char* cases[][3] = {{"A::B", "A", "B"}, {"::B", "", "B"}, {"A::", "A", ""}, {"A::B::C", "A", "B::C"},
                            {"山頂", "山頂", "山頂"}};
  for (const auto& c : cases) {
    WayPoint w;
    w.name = c[0];
    EXPECT_EQ(w.getMapName() + "|" + w.getGraphName(), std::string(c[1]) + "|" + c[2]) << c[0];
  }
}

TEST(Document, TitlesBaseNameAndDeleteAll)
{
  DocumentState d;
  EXPECT_EQ(d.windowTitle() + d.getFileBaseName(), "Tarnwickmap");
  d.tracks.resize(2);
  d.active_track = 1, d.select = 2, d.filename = "route.gpx", d.tracks[1].name = "day1";
  EXPECT_EQ(d.windowTitle() + " " + d.getFileBaseName(), "route.gpx(day1) route");
  EXPECT_EQ(trackMenuTitle(0, "") + trackMenuTitle(2, "day3"), "トラック1トラック3(day3)");
  ASSERT_EQ(d.routes(), &d.tracks[1].points);
  d.deleteAllTracks();
  EXPECT_TRUE(!d.routes() && d.select == -1 && d.filename.empty() && d.isStableElevation() == 0);
}

TEST(Document, PosInfoLookup)
{
  std::vector<PosInfo> ps(10);
  for (int i = 0; i < 10; ++i) ps[i].point_index = i;
  // 10 samples every 10 m; columns: x, view width, total distance, span, expected index.
  const double cases[][5] = {
      {50, 100, 100, 10, 5},   {99.9, 100, 100, 10, 9},  // truncated
      {100, 100, 110, 10, 9},  {100, 100, 120, 10, 9},   // n + 1 and n + 2 give the last sample
      {100, 100, 130, 10, -1}, {-1, 100, 100, 10, -1},  {101, 100, 100, 10, -1},
      {0, 0, 100, 10, 0},      {1, 0, 100, 10, -1},      // no pointer view: only x = 0
      {50, 100, 100, 0, -1},                             // no span: infinite index
  };
  for (const auto& c : cases)
    EXPECT_EQ(posInfoAt(ps, c[0], c[1], c[2], c[3]).point_index, c[4]) << c[0] << " " << c[1] << " " << c[2];
  EXPECT_EQ(posInfoAt({}, 0, 100, 100, 10).point_index, -1);
}
