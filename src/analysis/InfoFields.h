#pragma once
// The texts of the track information dialog, and the changes its OK button applies.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/TrackStats.h"
#include "document/Records.h"

namespace tw {

struct InfoFields {
  std::string distanceField, totalField, peaksField;
  std::string upRateField, flatRateField, downRateField;
  std::string totalUpField, totalDownField, maxDiffField, maxElevField, minElevField, aveElevField;
  std::string aveUpField, aveDownField, maxGradField, minGradField;
  std::string easyUpField, normalUpField, hardUpField, easyDownField, normalDownField, hardDownField;
  std::optional<std::string> totalTimeField;  // absent: the field keeps its previous text
  std::string restTimeField, walkTimeField;
  std::string speedField, upSpeedField, downSpeedField;
  std::string updownHeader;

  // (outlet name, text) in the dialog's order; an absent total time shows "---".
  std::vector<std::pair<std::string, std::string>> rows() const;
};

InfoFields formatInfoFields(const TrackStats& stats, bool cycling);

// The dialog's label of a row (its outlet name), as the dialog and `tarnwick-cli info` show it.
const char* infoFieldLabel(const std::string& outlet);

// "登り/下り (...)" heading over the gradient class rows.
std::string updownHeaderText(bool cycling);

// Tags of the time-adjust radio cells.
inline constexpr int kTimeKeep = 0;
inline constexpr int kTimeRemove = 1;
inline constexpr int kTimeMinus9h = 2;
inline constexpr int kTimePlus9h = 3;

// Shifts every time by ±9 hours (tags 3, 2) or removes them all (any other non-zero tag).
// Returns false when times were removed (route_time must be cleared); true otherwise.
bool adjustTrackTimes(std::vector<Track>& points, int tag);

// A track name must not end a GPX CDATA section.
bool isValidTrackName(const std::string& name);

}  // namespace tw
