#pragma once
// Reading and writing the GPX files of the subcommands. Each failure prints its one line to
// stderr and leaves the exit status (1) to the caller.

#include <optional>
#include <string>
#include <vector>

#include "gpx/GpxReader.h"

namespace twcli {

// Whether a parse failure names its cause ("not UTF-8", "not well-formed XML").
enum class ParseFailure { WithCause, Plain };

// The file at `path` read as GPX; nullopt after "cannot read" or "is not a readable GPX file".
std::optional<tw::GpxData> readDocument(const std::string& path, ParseFailure wording = ParseFailure::WithCause);

// Track `number` (from 1) of the document read from `path`; nullptr after "has N track(s), no track K".
tw::TrackInfo* pickTrack(std::vector<tw::TrackInfo>& tracks, int number, const std::string& path);

// Every track and waypoint with `active` as the active track, replacing `path` atomically;
// false after "cannot write".
bool writeDocument(const std::string& path, const std::vector<tw::TrackInfo>& tracks,
                   const std::vector<tw::WayPoint>& waypoints, int active);

// The whole of `s` read as an int (as std::stoi reads it) into `out`; false otherwise.
bool parseInt(const std::string& s, int& out);

}  // namespace twcli
