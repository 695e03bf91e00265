#pragma once
// The GSI DEM text tile: lines separated by "\n", 256 comma-separated cells per line, each a
// decimal number of metres or "e" where there is no data.

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace tw {

class Elevation;

enum class DemModel { DEM10B, DEM5A };

// One cell in centimetres: the single-precision value × 100, truncated toward zero, negative
// as 0. "e" (or anything starting with it) is −1 in DEM5A and 0 in DEM10B; a cell that is
// not a number reads 0, like the leading-number reading the tile format was made for.
int32_t parseDemCell(std::string_view cell, DemModel model);

// Cells of every line that has exactly 256 of them, in order. The tile is valid only when
// this gives exactly 65,536 values; returns whether it did (`out` is emptied otherwise).
bool parseDemText(std::string_view body, DemModel model, std::vector<int32_t>& out);

// The tile a DEM answer gives for key (x, y): the parsed body for status 200, a tile of no
// data (−1 in DEM5A, 0 m in DEM10B) for any other status; null when the body is malformed.
std::shared_ptr<Elevation> demTileFromAnswer(int32_t x, int32_t y, DemModel model, int status, std::string_view body);

}  // namespace tw
