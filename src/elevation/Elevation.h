#pragma once
// One cached DEM tile and the list a DEM cache keeps them in.

#include <cstdint>
#include <memory>
#include <vector>

namespace tw {

inline constexpr int kDemZoom = 14;
inline constexpr int kDemSide = 256;
inline constexpr std::size_t kDemCells = std::size_t(kDemSide) * kDemSide;
// Metres read for a tile that is not cached, and the cell value of DEM5A "no data".
inline constexpr float kDemNotCached = -100.0f;
inline constexpr float kDem5ANoData = -1.0f;

class Elevation {
 public:
  int32_t x = 0;  // tile column at zoom 14
  int32_t y = 0;  // tile row at zoom 14
  // Row-major, row 0 north, column 0 west; centimetres, −1 for a DEM5A cell without data.
  std::vector<int32_t> tiles;

  bool isComplete() const { return tiles.size() == kDemCells; }

  // Metres at column c, row r; −1.0 outside the grid, for an incomplete tile, or for a DEM5A
  // cell without data.
  float getElevation(int c, int r) const
  {
    if (c < 0 || c >= kDemSide || r < 0 || r >= kDemSide || !isComplete()) return kDem5ANoData;
    const int32_t v = tiles[std::size_t(r) * kDemSide + c];
    if (v < 0) return float(v);
    return float(v) / 100.0f;
  }
};

// A DEM cache: DEM10B or DEM5A (the DemStore's, or the batch fill's own).
using ElevationList = std::vector<std::shared_ptr<const Elevation>>;

}  // namespace tw
