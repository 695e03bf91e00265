#include "view/StrokeRaster.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)
// kSetLanes[m]: the positions of the set bits of m in ascending order, one per byte;
// kSetCount[m]: how many there are.
const std::array<uint64_t, 256> kSetLanes = [] {
  std::array<uint64_t, 256> t{};
  for (unsigned m = 0; m < 256; ++m) {
    uint8_t lanes[8] = {};
    unsigned n = 0;
    for (unsigned i = 0; i < 8; ++i)
      if (m >> i & 1) lanes[n++] = static_cast<uint8_t>(i);
    std::memcpy(&t[m], lanes, sizeof lanes);
  }
  return t;
}();
const std::array<uint8_t, 256> kSetCount = [] {
  std::array<uint8_t, 256> t{};
  for (unsigned m = 0; m < 256; ++m) t[m] = static_cast<uint8_t>(std::popcount(m));
  return t;
}();

// A segment's constants, one per lane.
struct Lanes {
  __m128 ax, ux, uy, dx, len, outer, inner2;
};

// The values of an eight-pixel run of a box row that do not depend on the row, pixel centre px
// from the segment's start: px·ux, px·uy and the squared x distances to both ends.
struct Run {
  __m128 pxUx[2], pxUy[2], exA2[2], exB2[2];
};

Run runAt(int x, const Lanes& l)
{
  Run r;
  for (int k = 0; k < 2; ++k) {
    const __m128 xs = _mm_cvtepi32_ps(_mm_setr_epi32(x, x + 1, x + 2, x + 3));
    const __m128 px = _mm_sub_ps(_mm_add_ps(xs, _mm_set1_ps(0.5f)), l.ax);
    const __m128 exB = _mm_sub_ps(px, l.dx);
    r.pxUx[k] = _mm_mul_ps(px, l.ux);
    r.pxUy[k] = _mm_mul_ps(px, l.uy);
    r.exA2[k] = _mm_mul_ps(px, px);
    r.exB2[k] = _mm_mul_ps(exB, exB);
    x += 4;
  }
  return r;
}

inline __m128 select(__m128 mask, __m128 a, __m128 b)
{
  return _mm_or_ps(_mm_and_ps(mask, a), _mm_andnot_ps(mask, b));
}

// Pixels x..x1 of one box row of a segment with round ends at both points, eight at a time;
// `first` holds the run at x. Each lane does the scalar loop's float operations on the same
// values, so the coverage is the same to the bit. Where the scalar loop skips a pixel (`outer`
// or more from the body or an end) the lane's coverage comes out at most 0 without a test, for
// the ends because the rounded square root of the rounded outer² is outer again, and the
// saturating packs turn it into 0. Returns where the scalar loop takes over: past x1, or near
// the row's end.
int roundRow(uint8_t* row, int x, int x1, int w, uint32_t rowStart, float py, float dy, const Lanes& l,
             const Run& first, uint32_t*& fresh)
{
  const __m128 one = _mm_set1_ps(1.0f), half = _mm_set1_ps(0.5f), k255 = _mm_set1_ps(255.0f);
  const __m128 sign = _mm_set1_ps(-0.0f), zero = _mm_setzero_ps();
  const float pyEnd = py - dy;
  const __m128 eyA2 = _mm_set1_ps(py * py), eyB2 = _mm_set1_ps(pyEnd * pyEnd);
  const __m128 pyUx = _mm_set1_ps(py * _mm_cvtss_f32(l.ux)), pyUy = _mm_set1_ps(py * _mm_cvtss_f32(l.uy));
  auto cover = [&](const Run& r, int k) {
    const __m128 s = _mm_add_ps(r.pxUx[k], pyUy);
    const __m128 q = _mm_andnot_ps(sign, _mm_sub_ps(r.pxUy[k], pyUx));
    const __m128 after = _mm_cmpge_ps(s, zero);  // not before the start
    const __m128 body = _mm_and_ps(after, _mm_cmple_ps(s, l.len));
    const __m128 d2 = _mm_add_ps(select(after, r.exB2[k], r.exA2[k]), select(after, eyB2, eyA2));
    const __m128 end = select(_mm_cmple_ps(d2, l.inner2), one, _mm_sub_ps(l.outer, _mm_sqrt_ps(d2)));
    const __m128 cov = _mm_min_ps(select(body, _mm_sub_ps(l.outer, q), end), one);
    return _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(cov, k255), half));
  };
  const __m128i none = _mm_setzero_si128();
  for (bool atFirst = true; x <= x1 && x + 8 <= w; x += 8, atFirst = false) {
    const Run r = atFirst ? first : runAt(x, l);
    const __m128i v16 = _mm_packs_epi32(cover(r, 0), cover(r, 1));
    const __m128i want = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(&kLeadingBytes[std::min(8, x1 - x + 1)]));
    const __m128i v = _mm_and_si128(_mm_packus_epi16(v16, v16), want);
    const __m128i old = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + x));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(row + x), _mm_max_epu8(old, v));
    // Pixels touched for the first time, written left to right without a branch per pixel.
    const unsigned added = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_andnot_si128(_mm_cmpeq_epi8(v, none), _mm_cmpeq_epi8(old, none)))) & 0xff;
    const __m128i at = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(&kSetLanes[added])), none);
    const __m128i base = _mm_set1_epi32(static_cast<int>(rowStart + static_cast<uint32_t>(x)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(fresh), _mm_add_epi32(base, _mm_unpacklo_epi16(at, none)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(fresh + 4), _mm_add_epi32(base, _mm_unpackhi_epi16(at, none)));
    fresh += kSetCount[added];
  }
  return x;
}
#endif

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
  const bool roundEnds = !flatA && !flatB;
#if defined(__SSE2__)
  const Lanes sv{_mm_set1_ps(a.x), _mm_set1_ps(ux),    _mm_set1_ps(uy),    _mm_set1_ps(dx),
                 _mm_set1_ps(len), _mm_set1_ps(outer), _mm_set1_ps(inner2)};
#endif
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
    // Room for every pixel of the box and one spare run, so first touches need no capacity checks.
    const size_t room = nTouched_ + static_cast<size_t>(x1 - x0 + 1) * static_cast<size_t>(y1 - y0 + 1) + 8;
    if (touched_.size() < room) touched_.resize(std::max(room, 2 * touched_.size()));
    uint32_t* fresh = touched_.data() + nTouched_;
#if defined(__SSE2__)
    const bool vector = roundEnds && x0 + 8 <= w_;
    const Run first = vector ? runAt(x0, sv) : Run{};
#endif
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
      int x = x0;
#if defined(__SSE2__)
      if (vector) x = roundRow(row, x, x1, w_, rowStart, py, dy, sv, first, fresh);
#endif
      for (; x <= x1; ++x) {
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
#if defined(__SSE2__)
  // The same integer blend on the four channels at once: per coverage value the source
  // channels (b, g, r, a as the bytes lie in memory) and four times 255 − source alpha;
  // x / 255 is (x + 1 + (x >> 8)) >> 8 for every x the blend can produce (up to 255 · 255 + 127),
  // and packing with unsigned saturation is the min with 255.
  alignas(16) uint16_t lanes[256][8];
  for (size_t m = 0; m < 256; ++m) {
    const auto inv = static_cast<uint16_t>(255 - src[m].sa);
    const uint16_t t[8] = {static_cast<uint16_t>(src[m].b), static_cast<uint16_t>(src[m].g),
                           static_cast<uint16_t>(src[m].r), static_cast<uint16_t>(src[m].sa), inv, inv, inv, inv};
    std::memcpy(lanes[m], t, sizeof t);
  }
  const __m128i none = _mm_setzero_si128(), k127 = _mm_set1_epi16(127), k1 = _mm_set1_epi16(1);
  auto blend = [&](uint32_t& dst, uint8_t m) __attribute__((always_inline)) {
    const __m128i t = _mm_load_si128(reinterpret_cast<const __m128i*>(lanes[m]));
    const __m128i dc = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(dst)), none);
    const __m128i x = _mm_add_epi16(_mm_mullo_epi16(dc, _mm_unpackhi_epi64(t, t)), k127);
    const __m128i q = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, k1), _mm_srli_epi16(x, 8)), 8);
    const __m128i sum = _mm_add_epi16(q, t);
    dst = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(sum, sum)));
  };
#else
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
#endif
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
