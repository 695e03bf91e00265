#include "view/StrokeRaster.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace tw {

namespace {

// kLeadingBytes[n]: the first n bytes of eight set, whatever the byte order.
const std::array<uint64_t, 9> kLeadingBytes = [] {
  std::array<uint64_t, 9> m{};
  for (size_t n = 0; n <= 8; ++n) {
    uint8_t bytes[8] = {};
    std::fill(bytes, bytes + n, uint8_t{255});
    std::memcpy(&m[n], bytes, sizeof bytes);
  }
  return m;
}();

}  // namespace

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
  // Most segments of a long track lie off the canvas; the clipping below would drop them too.
  const float margin = hw + 1.5f;
  if (std::max(a.x, b.x) < -margin || std::min(a.x, b.x) > w_ + margin || std::max(a.y, b.y) < -margin ||
      std::min(a.y, b.y) > h_ + margin)
    return;
  const float dx = b.x - a.x, dy = b.y - a.y;
  const float len = std::sqrt(dx * dx + dy * dy);
  if (!(len > 0)) return;
  const float ux = dx / len, uy = dy / len;
  const float outer = hw + 0.5f, inner = std::max(0.0f, hw - 0.5f);
  const float outer2 = outer * outer, inner2 = inner * inner;
  // Only the part of the segment near the canvas, walked in short pieces so that a long
  // diagonal segment visits a thin band of pixels rather than its whole bounding box.
  float t0 = 0, t1 = len;
  // Clipping changes nothing for a segment well inside the canvas, the usual case.
  const bool inside = std::min(a.x, b.x) > 0 && std::min(a.y, b.y) > 0 && std::max(a.x, b.x) < w_ &&
                      std::max(a.y, b.y) < h_;
  if (!inside) {
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
    if (x0 > x1 || y0 > y1) continue;
    // Room for every pixel of the box, so first touches need no capacity checks.
    const size_t room = nTouched_ + static_cast<size_t>(x1 - x0 + 1) * static_cast<size_t>(y1 - y0 + 1);
    if (touched_.size() < room) touched_.resize(std::max(room, 2 * touched_.size()));
    uint32_t* fresh = touched_.data() + nTouched_;
    for (int y = y0; y <= y1; ++y) {
      const float py = y + 0.5f - a.y;
      uint8_t* row = &mask_[static_cast<size_t>(y) * w_];
      if (x1 - x0 < 8 && x0 + 8 <= w_) {  // a short row already saturated (dense tracks)
        uint64_t run;
        std::memcpy(&run, row + x0, sizeof run);
        const uint64_t want = kLeadingBytes[x1 - x0 + 1];
        if ((run & want) == want) continue;
      }
      const uint32_t rowStart = static_cast<uint32_t>(y) * static_cast<uint32_t>(w_);
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
          if (m == 0) *fresh++ = rowStart + static_cast<uint32_t>(x);
          m = v;
        }
      }
    }
    nTouched_ = static_cast<size_t>(fresh - touched_.data());
  }
}

void CoverageCanvas::compositeOver(uint32_t* pixels, int stride, uint8_t r, uint8_t g, uint8_t b, float alpha)
{
  const uint32_t a255 = static_cast<uint32_t>(std::clamp(alpha, 0.0f, 1.0f) * 255.0f + 0.5f);
  // The source depends only on the coverage value: premultiply it once per value, not per pixel.
  struct Source {
    uint32_t sa, r, g, b;
  };
  Source src[256];
  for (uint32_t m = 0; m < 256; ++m) {
    const uint32_t sa = (a255 * m + 127) / 255;  // source alpha with coverage
    src[m] = {sa, (r * sa + 127) / 255, (g * sa + 127) / 255, (b * sa + 127) / 255};
  }
  auto blend = [&](uint32_t& dst, uint8_t m) __attribute__((always_inline)) {
    const Source& s = src[m];
    if (s.sa == 0) return;
    const uint32_t inv = 255 - s.sa;
    auto ch = [&](int shift, uint32_t sc) {
      const uint32_t dc = (dst >> shift) & 0xff;
      return std::min<uint32_t>(255, sc + (dc * inv + 127) / 255);
    };
    dst = (ch(24, s.sa) << 24) | (ch(16, s.r) << 16) | (ch(8, s.g) << 8) | ch(0, s.b);
  };
  if (nTouched_ * 4 > mask_.size()) {
    // A long stroke over much of the canvas: row order is kinder to the caches than the
    // scattered order in which the pixels were first touched.
    for (int y = 0; y < h_; ++y) {
      uint8_t* row = &mask_[static_cast<size_t>(y) * w_];
      uint32_t* out = pixels + static_cast<size_t>(y) * stride;
      for (int x = 0; x < w_; ++x) {
        if (x + 8 <= w_) {  // untouched runs eight at a time
          uint64_t run;
          std::memcpy(&run, row + x, sizeof run);
          if (run == 0) {
            x += 7;
            continue;
          }
        }
        if (row[x] == 0) continue;
        blend(out[x], row[x]);
        row[x] = 0;
      }
    }
  } else {
    for (size_t i = 0; i < nTouched_; ++i) {
      const uint32_t idx = touched_[i];
      uint8_t& m = mask_[idx];
      const size_t at = stride == w_ ? idx
                                     : static_cast<size_t>(idx / static_cast<uint32_t>(w_)) * stride +
                                           idx % static_cast<uint32_t>(w_);
      blend(pixels[at], m);
      m = 0;
    }
  }
  nTouched_ = 0;
}

}  // namespace tw
