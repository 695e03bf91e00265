#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "view/StrokeRaster.h"

using namespace tw;

TEST(StrokeRaster, HorizontalLineCoversItsWidthWithFlatEnds)
{
  CoverageCanvas c(40, 30);
  const FPoint line[] = {{5, 10}, {20, 10}};
  c.strokePolyline(line, 2, 3);
  for (int x = 5; x < 20; ++x) {
    EXPECT_EQ(c.at(x, 9), 255) << x;
    EXPECT_EQ(c.at(x, 10), 255) << x;
    EXPECT_NEAR(c.at(x, 8), 128, 1) << x;
    EXPECT_NEAR(c.at(x, 11), 128, 1) << x;
    EXPECT_EQ(c.at(x, 7), 0) << x;
    EXPECT_EQ(c.at(x, 12), 0) << x;
  }
  // Flat caps: nothing before the first point or after the last.
  EXPECT_EQ(c.at(4, 10), 0);
  EXPECT_EQ(c.at(20, 10), 0);
}

TEST(StrokeRaster, RoundJoinFillsTheOuterCorner)
{
  CoverageCanvas c(40, 40);
  const FPoint bend[] = {{5, 20}, {20, 20}, {20, 5}};
  c.strokePolyline(bend, 3, 5);
  // Pixel just outside both straight edges at the corner's outside: inside the round join.
  EXPECT_GT(c.at(21, 21), 200);
  // Beyond the disk of the join (a miter would reach it).
  EXPECT_EQ(c.at(22, 22), 0);
}

TEST(StrokeRaster, OverlapsInOneStrokeBlendOnce)
{
  CoverageCanvas c(30, 20);
  const FPoint back[] = {{2, 10}, {25, 10}, {3, 10}, {24, 10}};
  c.strokePolyline(back, 4, 3);
  std::vector<uint32_t> px(30 * 20, 0xffffffffu);  // opaque white
  c.compositeOver(px.data(), 30, 255, 0, 0, 0.9f);
  const uint32_t p = px[10 * 30 + 12];
  EXPECT_EQ(p >> 24, 255u);
  EXPECT_EQ((p >> 16) & 0xff, 255u);
  EXPECT_NEAR(static_cast<int>((p >> 8) & 0xff), 25, 1);  // 10 % of the white left
  EXPECT_NEAR(static_cast<int>(p & 0xff), 25, 1);
  // The mask is cleared: a second composite changes nothing.
  c.compositeOver(px.data(), 30, 0, 0, 255, 1.0f);
  EXPECT_EQ(px[10 * 30 + 12], p);
}

TEST(StrokeRaster, OverTransparentKeepsPremultipliedColour)
{
  CoverageCanvas c(10, 10);
  const FPoint line[] = {{0, 5}, {10, 5}};
  c.strokePolyline(line, 2, 3);
  std::vector<uint32_t> px(100, 0);
  c.compositeOver(px.data(), 10, 0, 0, 255, 0.9f);
  const uint32_t p = px[5 * 10 + 5];
  EXPECT_EQ(p >> 24, 230u);
  EXPECT_EQ(p & 0xff, 230u);
  EXPECT_EQ((p >> 16) & 0xff, 0u);
}

TEST(StrokeRaster, OffCanvasAndDegenerateInput)
{
  CoverageCanvas c(10, 10);
  const FPoint far[] = {{-5000, -5000}, {-4000, -4990}, {20000, 3}, {20000, 3}};
  c.strokePolyline(far, 4, 3);
  const FPoint one[] = {{5, 5}};
  c.strokePolyline(one, 1, 3);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(c.at(x, y), 0);
  CoverageCanvas empty(0, 0);
  empty.strokePolyline(far, 4, 3);
  empty.compositeOver(nullptr, 0, 0, 0, 0, 1);
}

TEST(StrokeRaster, LongSegmentsCrossingTheCanvas)
{
  CoverageCanvas c(20, 20);
  const FPoint diagonal[] = {{-1000, -1000}, {1000, 1000}};
  c.strokePolyline(diagonal, 2, 3);
  EXPECT_EQ(c.at(10, 10), 255);
  EXPECT_EQ(c.at(0, 0), 255);
  EXPECT_EQ(c.at(19, 19), 255);
  EXPECT_EQ(c.at(15, 5), 0);
  EXPECT_EQ(c.at(14, 10), 0);
  CoverageCanvas v(20, 20);
  const FPoint vertical[] = {{10, -50000}, {10, 50000}};
  v.strokePolyline(vertical, 2, 3);
  for (int y = 0; y < 20; ++y) EXPECT_EQ(v.at(9, y), 255) << y;
}

namespace {

// One capsule's coverage of pixel (x, y), written out plainly: the mask must hold exactly the
// highest of these over a polyline's segments, however the canvas evaluates them.
uint8_t capsule(FPoint a, FPoint b, float hw, bool flatA, bool flatB, int x, int y)
{
  const float dx = b.x - a.x, dy = b.y - a.y;
  const float len = std::sqrt(dx * dx + dy * dy);
  if (!(len > 0)) return 0;
  const float ux = dx / len, uy = dy / len;
  const float outer = hw + 0.5f, inner = std::max(0.0f, hw - 0.5f);
  const float px = x + 0.5f - a.x, py = y + 0.5f - a.y;
  const float s = px * ux + py * uy;
  const float q = std::fabs(px * uy - py * ux);
  float cov = 0;
  if (s >= 0 && s <= len) {
    if (q < outer) cov = std::min(1.0f, outer - q);
  } else if ((s < 0 && flatA) || (s > len && flatB)) {
    const float along = s < 0 ? s + 0.5f : len - s + 0.5f;
    if (q < outer && along > 0) cov = std::min(1.0f, outer - q) * std::min(1.0f, along);
  } else {
    const float ex = s < 0 ? px : px - dx, ey = s < 0 ? py : py - dy;
    const float d2 = ex * ex + ey * ey;
    if (d2 < outer * outer) cov = d2 <= inner * inner ? 1.0f : std::min(1.0f, outer - std::sqrt(d2));
  }
  return static_cast<uint8_t>(cov * 255.0f + 0.5f);
}

std::vector<uint8_t> referenceMask(const std::vector<FPoint>& pts, float lineWidth, int w, int h)
{
  std::vector<uint8_t> mask(static_cast<size_t>(w) * h, 0);
  for (size_t i = 0; i + 1 < pts.size(); ++i)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        uint8_t& m = mask[static_cast<size_t>(y) * w + x];
        m = std::max(m, capsule(pts[i], pts[i + 1], lineWidth / 2, i == 0, i + 2 == pts.size(), x, y));
      }
  return mask;
}

// Source-over of one colour at alpha × coverage, channel by channel, on premultiplied ARGB.
uint32_t referenceBlend(uint32_t dst, uint8_t m, uint8_t r, uint8_t g, uint8_t b, float alpha)
{
  const uint32_t a255 = static_cast<uint32_t>(std::clamp(alpha, 0.0f, 1.0f) * 255.0f + 0.5f);
  const uint32_t sa = (a255 * m + 127) / 255;
  if (sa == 0) return dst;
  const uint32_t src[4] = {(b * sa + 127) / 255, (g * sa + 127) / 255, (r * sa + 127) / 255, sa};
  uint32_t out = 0;
  for (int k = 0; k < 4; ++k) {
    const uint32_t dc = (dst >> (8 * k)) & 0xff;
    out |= std::min<uint32_t>(255, src[k] + (dc * (255 - sa) + 127) / 255) << (8 * k);
  }
  return out;
}

// Random premultiplied pixels: every channel at most the alpha.
std::vector<uint32_t> randomLayer(std::mt19937& rng, size_t n)
{
  std::vector<uint32_t> px(n);
  for (uint32_t& p : px) {
    const uint32_t a = rng() % 256;
    p = a << 24 | (rng() % (a + 1)) << 16 | (rng() % (a + 1)) << 8 | rng() % (a + 1);
    if (rng() % 3 == 0) p = 0;
  }
  return px;
}

void expectSameStroke(const std::vector<FPoint>& pts, float lineWidth, int w, int h, int stride, std::mt19937& rng)
{
  CoverageCanvas c(w, h);
  c.strokePolyline(pts.data(), pts.size(), lineWidth);
  const std::vector<uint8_t> mask = referenceMask(pts, lineWidth, w, h);
  int differ = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (c.at(x, y) != mask[static_cast<size_t>(y) * w + x] && ++differ <= 5)
        ADD_FAILURE() << "width " << lineWidth << " pixel " << x << "," << y << ": " << int(c.at(x, y))
                      << " != " << int(mask[static_cast<size_t>(y) * w + x]);
  std::vector<uint32_t> layer = randomLayer(rng, static_cast<size_t>(stride) * h);
  std::vector<uint32_t> want = layer;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t& p = want[static_cast<size_t>(y) * stride + x];
      p = referenceBlend(p, mask[static_cast<size_t>(y) * w + x], 200, 30, 120, 0.9f);
    }
  c.compositeOver(layer.data(), stride, 200, 30, 120, 0.9f);
  EXPECT_EQ(layer, want) << "width " << lineWidth;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) ASSERT_EQ(c.at(x, y), 0);
}

}  // namespace

TEST(StrokeRaster, MatchesThePlainPerPixelFormula)
{
  // Short and long segments at fractional positions, some off the canvas edges and some of no
  // length, for line widths with and without a solid core; strokes small enough to composite
  // pixel by pixel and large enough to composite row by row, on a padded layer.
  std::mt19937 rng(11);
  constexpr int kW = 53, kH = 37;
  std::uniform_real_distribution<float> coord(-12.0f, kW + 12.0f), step(-9.0f, 9.0f);
  for (float lineWidth : {0.6f, 1.0f, 2.0f, 2.3f, 3.0f, 4.5f, 5.17f, 7.0f}) {
    for (int count : {2, 3, 12, 60}) {
      std::vector<FPoint> pts{{coord(rng), coord(rng) * kH / kW}};
      for (int i = 1; i < count; ++i) {
        const FPoint p = pts.back();
        const int kind = static_cast<int>(rng() % 8);
        if (kind == 0) pts.push_back(p);
        else if (kind == 1) pts.push_back({coord(rng), coord(rng) * kH / kW});
        else pts.push_back({p.x + step(rng), p.y + step(rng)});
      }
      expectSameStroke(pts, lineWidth, kW, kH, kW + (count % 2) * 3, rng);
    }
  }
  // Whole pixel positions two pixels apart, as the route layer's dense tracks at low zoom.
  std::vector<FPoint> walk{{20, 20}};
  for (int i = 0; i < 400; ++i) {
    const FPoint p = walk.back();
    walk.push_back({std::clamp(p.x + static_cast<float>(rng() % 5) - 2, 1.0f, kW - 1.0f),
                    std::clamp(p.y + static_cast<float>(rng() % 5) - 2, 1.0f, kH - 1.0f)});
  }
  expectSameStroke(walk, 3, kW, kH, kW, rng);
}
