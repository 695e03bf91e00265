#include "elevation/DemParse.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "elevation/Elevation.h"

namespace tw {

int32_t parseDemCell(std::string_view cell, DemModel model)
{
  const char* p = cell.data();
  const char* end = p + cell.size();
  if (p != end && *p == 'e') return model == DemModel::DEM5A ? -1 : 0;
  while (p != end && (*p == ' ' || *p == '\t')) ++p;
  if (p != end && *p == '+') ++p;
  float f = 0.0f;
  const auto r = std::from_chars(p, end, f);
  if (r.ec != std::errc{} || !std::isfinite(f)) return 0;
  const float v = f * 100.0f;  // single precision, as the tiles are specified
  if (!(v > 0.0f)) return 0;
  // Saturate instead of overflowing on absurd values; no real elevation comes near.
  if (v >= 2147483520.0f) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(v);
}

bool parseDemText(std::string_view body, DemModel model, std::vector<int32_t>& out)
{
  out.clear();
  out.reserve(kDemCells);
  const char* p = body.data();
  const char* const end = p + body.size();
  while (p < end) {
    const char* nl = static_cast<const char*>(std::memchr(p, '\n', std::size_t(end - p)));
    const char* lineEnd = nl ? nl : end;
    // Count cells first: a line with any other count is skipped whole.
    int commas = 0;
    for (const char* q = p; q < lineEnd; ++q) commas += *q == ',';
    if (commas == kDemSide - 1) {
      if (out.size() + kDemSide > kDemCells) {  // more than 256 good lines: invalid anyway
        out.clear();
        return false;
      }
      const char* cell = p;
      for (const char* q = p;; ++q) {
        if (q == lineEnd || *q == ',') {
          out.push_back(parseDemCell(std::string_view(cell, std::size_t(q - cell)), model));
          if (q == lineEnd) break;
          cell = q + 1;
        }
      }
    }
    p = lineEnd + 1;
  }
  if (out.size() != kDemCells) {
    out.clear();
    return false;
  }
  return true;
}

std::shared_ptr<Elevation> demTileFromAnswer(int32_t x, int32_t y, DemModel model, int status, std::string_view body)
{
  auto e = std::make_shared<Elevation>();
  e->x = x;
  e->y = y;
  if (status == 200) {
    if (!parseDemText(body, model, e->tiles)) return nullptr;
  } else {
    // No tile there (the sea): DEM10B reads 0 m, DEM5A offers the DEM10B fallback.
    e->tiles.assign(kDemCells, model == DemModel::DEM5A ? -1 : 0);
  }
  return e;
}

}  // namespace tw
