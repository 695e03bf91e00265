#include "view/StrokeRaster.h"

#include <algorithm>
#include <cmath>

namespace tw {

CoverageCanvas::CoverageCanvas(int width, int height)
    : w_(std::max(0, width)), h_(std::max(0, height)), mask_(static_cast<size_t>(w_) * h_, 0)
{
}

void CoverageCanvas::strokePolyline(const FPoint* pts, size_t count, float lineWidth)
{
  if (count < 2 || w_ == 0 || h_ == 0) return;
  const float hw = lineWidth / 2;
  for (size_t i = 0; i + 1 < count; ++i) segment(pts[i], pts[i + 1], hw, i == 0, i + 2 == count);
}

void CoverageCanvas::segment(FPoint a, FPoint b, float hw, bool flatA, bool flatB)
{
  const float dx = b.x - a.x, dy = b.y - a.y;
  const float len = std::sqrt(dx * dx + dy * dy);
  if (!(len > 0)) return;
  const float ux = dx / len, uy = dy / len;
  const float outer = hw + 0.5f, inner = std::max(0.0f, hw - 0.5f);
  const float outer2 = outer * outer, inner2 = inner * inner;
  // Only the part of the segment near the canvas, walked in short pieces so that a long
  // diagonal segment visits a thin band of pixels rather than its whole bounding box.
  float t0 = 0, t1 = len;
  {
    const float lo[2] = {-outer - 1, -outer - 1}, hi[2] = {w_ + outer + 1, h_ + outer + 1};
    const float o[2] = {a.x, a.y}, u[2] = {ux, uy};
    for (int k = 0; k < 2; ++k) {
      if (u[k] == 0) {
        if (o[k] < lo[k] || o[k] > hi[k]) return;
        continue;
      }
      float e0 = (lo[k] - o[k]) / u[k], e1 = (hi[k] - o[k]) / u[k];
      if (e0 > e1) std::swap(e0, e1);
      t0 = std::max(t0, e0);
      t1 = std::min(t1, e1);
    }
    if (t0 > t1) return;
  }
  constexpr float kPiece = 8.0f;
  for (float ts = t0; ts <= t1; ts += kPiece) {
    const float te = std::min(t1, ts + kPiece);
    const float p0x = a.x + ux * ts, p0y = a.y + uy * ts, p1x = a.x + ux * te, p1y = a.y + uy * te;
    // Pixels whose centre lies within `outer` of this piece.
    const int x0 = std::max(0, static_cast<int>(std::ceil(std::min(p0x, p1x) - outer - 0.5f)));
    const int x1 = std::min(w_ - 1, static_cast<int>(std::floor(std::max(p0x, p1x) + outer - 0.5f)));
    const int y0 = std::max(0, static_cast<int>(std::ceil(std::min(p0y, p1y) - outer - 0.5f)));
    const int y1 = std::min(h_ - 1, static_cast<int>(std::floor(std::max(p0y, p1y) + outer - 0.5f)));
    for (int y = y0; y <= y1; ++y) {
      const float py = y + 0.5f - a.y;
      uint8_t* row = &mask_[static_cast<size_t>(y) * w_];
      for (int x = x0; x <= x1; ++x) {
        uint8_t& m = row[x];
        if (m == 255) continue;  // dense tracks saturate most pixels early
        const float px = x + 0.5f - a.x;
        const float s = px * ux + py * uy;             // along the segment from a
        float cov;
        if (s >= 0 && s <= len) {
          const float q = std::fabs(px * uy - py * ux);  // across it
          if (q >= outer) continue;
          cov = std::min(1.0f, outer - q);
        } else if ((s < 0 && flatA) || (s > len && flatB)) {
          const float q = std::fabs(px * uy - py * ux);
          const float along = s < 0 ? s + 0.5f : len - s + 0.5f;
          if (q >= outer || along <= 0) continue;
          cov = std::min(1.0f, outer - q) * std::min(1.0f, along);
        } else {
          const float ex = s < 0 ? px : px - dx, ey = s < 0 ? py : py - dy;
          const float d2 = ex * ex + ey * ey;
          if (d2 >= outer2) continue;
          cov = d2 <= inner2 ? 1.0f : std::min(1.0f, outer - std::sqrt(d2));
        }
        const uint8_t v = static_cast<uint8_t>(cov * 255.0f + 0.5f);
        if (v > m) {
          if (m == 0) touched_.push_back(static_cast<uint32_t>(y) * static_cast<uint32_t>(w_) + static_cast<uint32_t>(x));
          m = v;
        }
      }
    }
  }
}

void CoverageCanvas::compositeOver(uint32_t* pixels, int stride, uint8_t r, uint8_t g, uint8_t b, float alpha)
{
  const uint32_t a255 = static_cast<uint32_t>(std::clamp(alpha, 0.0f, 1.0f) * 255.0f + 0.5f);
  for (uint32_t idx : touched_) {
    uint8_t& m = mask_[idx];
    const uint32_t sa = (a255 * m + 127) / 255;  // source alpha with coverage
    m = 0;
    if (sa == 0) continue;
    const uint32_t y = idx / static_cast<uint32_t>(w_), x = idx % static_cast<uint32_t>(w_);
    uint32_t& dst = pixels[static_cast<size_t>(y) * stride + x];
    const uint32_t inv = 255 - sa;
    auto ch = [&](int shift, uint32_t src) {
      const uint32_t dc = (dst >> shift) & 0xff;
      const uint32_t sc = (src * sa + 127) / 255;
      return std::min<uint32_t>(255, sc + (dc * inv + 127) / 255);
    };
    dst = (ch(24, 255) << 24) | (ch(16, r) << 16) | (ch(8, g) << 8) | ch(0, b);
  }
  touched_.clear();
}

}  // namespace tw
