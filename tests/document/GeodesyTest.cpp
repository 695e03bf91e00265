#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "document/Geodesy.h"

using namespace tw;

TEST(Projection, LongitudeEndsAndInverse)
{
  EXPECT_EQ(pixelFromLon(18, 180.0), 67108864.0);
  for (int z = 6; z <= 18; ++z) {
    EXPECT_EQ(pixelFromLon(z, -180.0), 0.0);
    EXPECT_DOUBLE_EQ(lonFromPixel(z, pixelFromLon(z, 139.7)), 139.7);
  }
  EXPECT_EQ(lonFromPixel(18, 67108864.0), 180.0);
}

TEST(Projection, LatitudeExtremesAndInverse)
{
  for (int z = 6; z <= 18; ++z) {
    const double s = std::ldexp(1.0, z + 7);
    EXPECT_NEAR(pixelFromLat(z, 0.0), s, 1e-6);
    EXPECT_NEAR(pixelFromLat(z, 85.0511), 0.0, s * 1e-5);  // 85.0511 is the limit rounded
    EXPECT_NEAR(latFromPixel(z, pixelFromLat(z, 35.6581)), 35.6581, 1e-9);
  }
  EXPECT_LT(pixelFromLat(10, 86.0), 0.0);
}

TEST(Projection, StoredPixelsSaturateInsteadOfOverflowing)
{
  EXPECT_EQ(pixel18FromLat(90.0), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(pixel18FromLat(-90.0), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(pixel18FromLon(1e308), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(pixel18FromLon(std::nan("")), 0);
  EXPECT_EQ(pixel18FromLon(139.0), static_cast<int32_t>(pixelFromLon(18, 139.0)));
}

TEST(Hubeny, ValuesSymmetryAndEllipsoids)
{
  EXPECT_EQ(calcDistHubeny(35.0, 135.0, 35.0, 135.0), 0.0);
  const double d = calcDistHubeny(35.0, 135.0, 35.0, 135.001);
  EXPECT_NEAR(d, 91.3, 0.05);
  EXPECT_EQ(d, calcDistHubeny(35.0, 135.001, 35.0, 135.0));
  EXPECT_EQ(calcDistHubeny(35.0, 135.0, 35.0, 135.001, 2), d);
  EXPECT_NE(calcDistHubeny(35.0, 135.0, 35.1, 135.001, 0), calcDistHubeny(35.0, 135.0, 35.1, 135.001, 1));
  EXPECT_EQ(calcDistHubeny(35.0, 135.0, 36.0, 135.0, 3), 0.0);
  EXPECT_EQ(calcDistHubeny(35.0, 135.0, 36.0, 135.0, -1), 0.0);
}

TEST(Hubeny, ReferenceValuesPerEllipsoid)
{
  // From the same formula evaluated independently in Python's double arithmetic.
  EXPECT_NEAR(calcDistHubeny(35.0, 135.0, 36.0, 136.0, 0), 143307.69992480156, 1e-6);
  EXPECT_NEAR(calcDistHubeny(35.0, 135.0, 36.0, 136.0, 1), 143323.6601105467, 1e-6);
  EXPECT_NEAR(calcDistHubeny(35.0, 135.0, 36.0, 136.0, 2), 143323.6601116367, 1e-6);
  EXPECT_NEAR(calcDistHubeny(35.6581, 139.7017, 35.3606, 138.7274), 94349.53433208495, 1e-6);
  // Stored as a float by track points.
  const float f = static_cast<float>(calcDistHubeny(35.0, 135.0, 35.0, 135.001));
  EXPECT_NEAR(f, 91.29, 0.01);
}

TEST(InsideJapan, InclusiveBounds)
{
  EXPECT_TRUE(checkLat(20.42527777, 153.98638888));
  EXPECT_TRUE(checkLat(45.55777777, 122.93361111));
  EXPECT_FALSE(checkLat(20.42527776, 140.0));
  EXPECT_FALSE(checkLat(45.55777778, 140.0));
  EXPECT_FALSE(checkLat(35.0, 153.98638889));
  EXPECT_FALSE(checkLat(37.5, 122.0));  // west of the box, e.g. Korea's or Taiwan's longitude
  EXPECT_FALSE(checkLat(24.0, 121.0));
}

TEST(Declination, ReferencePoints)
{
  EXPECT_EQ(calcMagneticNorth(37, 138), 8.2637);
  EXPECT_NEAR(calcMagneticNorth(35, 135), 7.93612, 1e-4);
}

TEST(PrintScale, MetresToPoints)
{
  EXPECT_NEAR(calcPoint(200, 0), 56.69, 0.01);
  EXPECT_NEAR(calcPoint(500, 3), 56.69, 0.01);
  EXPECT_EQ(calcPoint(500, 7), calcPoint(500, 1));
}

TEST(SegmentTests, Online)
{
  const IPoint a{0, 0}, b{10, 10};
  EXPECT_TRUE(online(a, b, a));
  EXPECT_TRUE(online(a, b, b));
  EXPECT_TRUE(online(a, b, {5, 5}));
  EXPECT_FALSE(online(a, b, {11, 11}));
  EXPECT_FALSE(online(a, b, {-1, -1}));
  EXPECT_FALSE(online(a, b, {5, 6}));
  EXPECT_TRUE(online(a, a, a));
  EXPECT_FALSE(online(a, a, {1, 0}));
  EXPECT_TRUE(online({0, 0}, {4, 0}, {9, 0}, {2, 0}));
}

TEST(SegmentTests, ThirtyTwoBitProductsWrap)
{
  // |a|² = 4.9e9 wraps to 605032704 and the dot product 2.45e9 turns negative in 32 bits:
  // the midpoint of a 70000-pixel segment is not "on" it. Label placement works on zoom-14
  // pixels, where segments are far shorter.
  EXPECT_FALSE(online({0, 0}, {70000, 0}, {35000, 0}));
  EXPECT_TRUE(online({0, 0}, {30000, 0}, {15000, 0}));
  // Large coordinates themselves are fine as long as the differences are small.
  EXPECT_TRUE(online({33000000, 16000000}, {33000100, 16000100}, {33000050, 16000050}));
  EXPECT_TRUE(intersection({33000000, 16000000}, {33000100, 16000100}, {33000000, 16000100}, {33000100, 16000000}));
  // Each orientation term wraps in 32 bits before the 64-bit product: t2 = 2.5e9 turns
  // negative, so these crossing segments do not count as crossing.
  EXPECT_FALSE(intersection({0, 0}, {50000, 50000}, {0, 40000}, {50000, 0}));
  EXPECT_TRUE(intersection({0, 0}, {5000, 5000}, {0, 4000}, {5000, 0}));
}

TEST(SegmentTests, IntersectionIsProperCrossingOnly)
{
  EXPECT_TRUE(intersection({0, 0}, {10, 10}, {0, 10}, {10, 0}));
  EXPECT_FALSE(intersection({0, 0}, {10, 10}, {10, 10}, {20, 0}));  // shared end
  EXPECT_FALSE(intersection({0, 0}, {10, 0}, {5, 0}, {5, 10}));     // T touch
  EXPECT_FALSE(intersection({0, 0}, {10, 0}, {0, 5}, {10, 5}));     // parallel
}

TEST(SegmentTests, DistanceLine)
{
  EXPECT_FLOAT_EQ(distanceLine({3, 4}, {0, 0}, {0, 0}), 5.0f);
  EXPECT_FLOAT_EQ(distanceLine({-3, 4}, {0, 0}, {10, 0}), 5.0f);
  EXPECT_FLOAT_EQ(distanceLine({13, 4}, {0, 0}, {10, 0}), 5.0f);
  EXPECT_FLOAT_EQ(distanceLine({5, 4}, {0, 0}, {10, 0}), 4.0f);
  // Zoom-18 pixels: the foot must be formed from 1 − t in doubles (784.072693 otherwise).
  EXPECT_EQ(distanceLine({59423337, 26503971}, {59427593, 26505127}, {59419489, 26501274}), 782.351562f);
}

TEST(ApproxPixelDistance, OctagonalNorm)
{
  EXPECT_EQ(approxPixelDistance(10, 0), 2460);
  EXPECT_EQ(approxPixelDistance(-3, 4), 246 * 4 + 102 * 3);
}
