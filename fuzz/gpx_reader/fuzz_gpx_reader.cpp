// libFuzzer target for the GPX reader: any bytes must parse or fail cleanly, and whatever
// parses must survive a write and read back to the same tracks, points and waypoints.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "gpx/GpxReader.h"
#include "gpx/GpxSummary.h"
#include "gpx/GpxWriter.h"
#include "gpx/LinkPatterns.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const tw::GpxReadResult first = tw::parseGPX(bytes);
  tw::matchLink(bytes.substr(0, 512));
  if (!first.ok()) return 0;
  (void)tw::countJson(first.data);
  const std::string text = tw::buildGPXText(first.data.tracks, first.data.waypoints, 0, true);
  const tw::GpxReadResult second = tw::parseGPX(text);
  if (!second.ok()) std::abort();
  if (second.data.tracks.size() != first.data.tracks.size()) std::abort();
  if (second.data.waypoints.size() != first.data.waypoints.size()) std::abort();
  for (size_t i = 0; i < first.data.tracks.size(); ++i) {
    if (second.data.tracks[i].points.size() != first.data.tracks[i].points.size()) std::abort();
    if (second.data.tracks[i].name != first.data.tracks[i].name) std::abort();
  }
  for (size_t i = 0; i < first.data.waypoints.size(); ++i)
    if (second.data.waypoints[i].name != first.data.waypoints[i].name) std::abort();
  return 0;
}
