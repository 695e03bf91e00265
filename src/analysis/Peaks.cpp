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
  w.peak_type = decide(points, i, w.x, w.y, w.elev);
  points[i] = w;
}

void PeakMarker::markInPlace(std::vector<Track>& points, std::size_t i)
{
  if (i >= points.size()) return;
  Track& p = points[i];
  const int32_t type = p.hasElevation() ? decide(points, i, p.x, p.y, p.elev) : 0;
  p.peak_type = type;
}

int32_t PeakMarker::decide(std::vector<Track>& points, std::size_t i, int32_t x, int32_t y, float elev)
{
  auto separation = [x, y](const Candidate& c) {
    return approxPixelDistance(static_cast<int64_t>(x) - c.x, static_cast<int64_t>(y) - c.y);
  };

  if (col_.index < peak_.index && separation(peak_) >= kResetSeparation) {
    col_.index = 0;
    lower_ = upper_ - threshold_;
  } else if (peak_.index < col_.index && separation(col_) >= kResetSeparation) {
    peak_.index = 0;
    upper_ = lower_ + threshold_;
  }

  if (elev > upper_) {
    const bool replacing = col_.index < peak_.index;
    if (replacing || separation(col_) >= kTurnSeparation) {
      if (replacing) points[peak_.index].peak_type = 0;
      peak_ = {i, x, y};
      upper_ = elev;
      return 1;
    }
  } else if (elev < lower_) {
    const bool replacing = peak_.index < col_.index;
    if (replacing || separation(peak_) >= kTurnSeparation) {
      if (replacing) points[col_.index].peak_type = 0;
      col_ = {i, x, y};
      lower_ = elev;
      return 2;
    }
  }
  return 0;
}

void markPeaks(std::vector<Track>& points, int32_t stable)
{
  if (points.empty()) return;
  PeakMarker marker(points.front(), stable);
  for (std::size_t i = 0; i < points.size(); ++i) marker.markInPlace(points, i);
}

}  // namespace tw
