#include "cli/CliDocument.h"

#include <cstdio>

#include "gpx/GpxSummary.h"
#include "gpx/GpxWriter.h"

namespace twcli {

std::optional<tw::GpxData> readDocument(const std::string& path, ParseFailure wording)
{
  const auto bytes = tw::readFileBytes(path);
  if (!bytes) {
    std::fprintf(stderr, "tarnwick-cli: cannot read %s\n", path.c_str());
    return std::nullopt;
  }
  auto r = tw::parseGPX(*bytes);
  if (r.ok()) return std::move(r.data);
  if (wording == ParseFailure::Plain)
    std::fprintf(stderr, "tarnwick-cli: %s is not a readable GPX file\n", path.c_str());
  else
    std::fprintf(stderr, "tarnwick-cli: %s is not a readable GPX file (%s)\n", path.c_str(),
                 r.error == tw::GpxReadError::NotUtf8 ? "not UTF-8" : "not well-formed XML");
  return std::nullopt;
}

tw::TrackInfo* pickTrack(std::vector<tw::TrackInfo>& tracks, int number, const std::string& path)
{
  if (number < 1 || number > static_cast<int>(tracks.size())) {
    std::fprintf(stderr, "tarnwick-cli: %s has %zu track(s), no track %d\n", path.c_str(), tracks.size(), number);
    return nullptr;
  }
  return &tracks[static_cast<std::size_t>(number - 1)];
}

bool writeDocument(const std::string& path, const std::vector<tw::TrackInfo>& tracks,
                   const std::vector<tw::WayPoint>& waypoints, int active)
{
  if (tw::writeFileAtomically(path, tw::buildGPXText(tracks, waypoints, active, true))) return true;
  std::fprintf(stderr, "tarnwick-cli: cannot write %s\n", path.c_str());
  return false;
}

bool parseInt(const std::string& s, int& out)
{
  try {
    std::size_t used = 0;
    out = std::stoi(s, &used);
    return used == s.size();
  } catch (...) {
    return false;
  }
}

}  // namespace twcli
