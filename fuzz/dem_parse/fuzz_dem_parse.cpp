// libFuzzer target for the DEM text tile parser. Any bytes must parse or be refused without a
// fault; a tile is accepted exactly when 256 of its lines hold 256 cells each; every cell is a
// centimetre value of at least 0 (DEM10B) or −1 (DEM5A "no data"). Besides the raw input, its
// lines repeated until there are at least 256 are parsed, so short inputs of arbitrary cell
// texts (and mixes of good and bad lines) reach the whole-tile path.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "elevation/DemParse.h"
#include "elevation/Elevation.h"

namespace {

// Lines with exactly 255 commas, counted independently of the parser.
size_t fullLines(std::string_view body)
{
  size_t lines = 0;
  int commas = 0;
  for (char c : body) {
    if (c == '\n') {
      lines += commas == tw::kDemSide - 1;
      commas = 0;
    } else {
      commas += c == ',';
    }
  }
  return lines + (commas == tw::kDemSide - 1);
}

void check(std::string_view body, tw::DemModel m)
{
  const auto tile = tw::demTileFromAnswer(1, 2, m, 200, body);
  const bool ok = tile != nullptr;
  if (ok != (fullLines(body) == size_t(tw::kDemSide))) std::abort();
  if (!tile) return;
  if (tile->tiles.size() != tw::kDemCells) std::abort();
  const int32_t floor = m == tw::DemModel::DEM5A ? -1 : 0;
  for (int32_t v : tile->tiles)
    if (v < floor) std::abort();
  for (int i = -1; i <= tw::kDemSide; i += 37) {
    const float e = tile->getElevation(i, tw::kDemSide - 1 - i);
    if (!(e >= -1.0f)) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  check(bytes, tw::DemModel::DEM10B);
  check(bytes, tw::DemModel::DEM5A);
  for (size_t start = 0; start < bytes.size();) {
    const size_t comma = bytes.find_first_of(",\n", start);
    const size_t end = comma == std::string_view::npos ? bytes.size() : comma;
    const std::string_view cell = bytes.substr(start, end - start);
    if (tw::parseDemCell(cell, tw::DemModel::DEM10B) < 0 || tw::parseDemCell(cell, tw::DemModel::DEM5A) < -1)
      std::abort();
    start = end + 1;
  }
  if (size == 0 || size > 4096) return 0;
  std::string block(bytes);
  if (block.back() != '\n') block.push_back('\n');
  size_t lines = 0;
  for (char c : block) lines += c == '\n';
  std::string tile;
  for (size_t n = 0; n < size_t(tw::kDemSide); n += lines) tile += block;
  check(tile, data[0] & 1 ? tw::DemModel::DEM5A : tw::DemModel::DEM10B);
  return 0;
}
