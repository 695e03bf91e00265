#include "analysis/Peaks.h"

#include "document/Geodesy.h"

namespace tw {

namespace {

// About 101 and 100 zoom-18 pixels on the approximate separation scale.
constexpr int64_t kResetSeparation = 25856;
constexpr int64_t kTurnSeparation = 25600;

}  // namespace

PeakMarker::PeakMarker(const Track& first, int32_t stable)
    : threshold_(stable != 0 ? 30.0f : 10.0f),
      upper_(first.elev + 10.0f),
      lower_(first.elev - 10.0f),
      peak_{0, first.x, first.y},
      col_{0, first.x, first.y}
{
}

void PeakMarker::mark(std::vector<Track>& points, std::size_t i, Track w)
{
  if (i >= points.size()) return;
  if (!w.hasElevation()) {
    points[i].peak_type = 0;
    return;
  }
  auto separation = [&w](const Candidate& c) {
    return approxPixelDistance(static_cast<int64_t>(w.x) - c.x, static_cast<int64_t>(w.y) - c.y);
  };
  w.peak_type = 0;

  if (col_.index < peak_.index && separation(peak_) >= kResetSeparation) {
    col_.index = 0;
    lower_ = upper_ - threshold_;
  } else if (peak_.index < col_.index && separation(col_) >= kResetSeparation) {
    peak_.index = 0;
    upper_ = lower_ + threshold_;
  }

  if (w.elev > upper_) {
    const bool replacing = col_.index < peak_.index;
    if (replacing || separation(col_) >= kTurnSeparation) {
      if (replacing) points[peak_.index].peak_type = 0;
      peak_ = {i, w.x, w.y};
      w.peak_type = 1;
      upper_ = w.elev;
    }
  } else if (w.elev < lower_) {
    const bool replacing = peak_.index < col_.index;
    if (replacing || separation(peak_) >= kTurnSeparation) {
      if (replacing) points[col_.index].peak_type = 0;
      col_ = {i, w.x, w.y};
      w.peak_type = 2;
      lower_ = w.elev;
    }
  }
  points[i] = w;
}

void markPeaks(std::vector<Track>& points, int32_t stable)
{
  if (points.empty()) return;
  PeakMarker marker(points.front(), stable);
  for (std::size_t i = 0; i < points.size(); ++i) {
    Track w = points[i];
    w.peak_type = 0;
    marker.mark(points, i, w);
  }
}

}  // namespace tw
