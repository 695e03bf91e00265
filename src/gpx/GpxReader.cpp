#include "gpx/GpxReader.h"

#include <cmath>
#include <string>

#include "document/Geodesy.h"
#include "gpx/GpxElementStream.h"
#include "gpx/GpxText.h"

namespace tw {

bool checkValidTime(const std::vector<Track>& points)
{
  const int64_t n = static_cast<int64_t>(points.size());
  int64_t k = 0;
  const Track* first = nullptr;
  const Track* last = nullptr;
  for (const auto& p : points) {
    if (!p.time) continue;
    ++k;
    if (!first) first = &p;
    last = &p;
  }
  if (k < 1 || k < n * 80 / 100) return false;
  const float span = static_cast<float>(std::chrono::duration<double>(*last->time - *first->time).count());
  return span > 10.0f;
}

bool isUsableCoordinate(double lat, double lon)
{
  return std::isfinite(lat) && std::isfinite(lon) && std::fabs(lat) < 90.0 && std::fabs(lon) <= 180.0;
}

namespace {

// The scan as a push machine over the element sequence: the look-ahead of a wpt or trkpt is the
// state between that element and the next wpt, trk or trkpt.
class Scanner : public GpxElementSink {
 public:
  explicit Scanner(GpxData& out) : out_(out) {}

  void element(const GpxElement& e) override
  {
    if (mode_ != Mode::Main) {
      if (e.tag != GpxTag::Wpt && e.tag != GpxTag::Trk && e.tag != GpxTag::Trkpt) {
        lookAhead(e);
        return;
      }
      endLookAhead();
    }
    switch (e.tag) {
      case GpxTag::Wpt: startWayPoint(e); break;
      case GpxTag::Trkpt: startPoint(e); break;
      case GpxTag::Trk:
        if (!points_.empty()) finishTrack();
        points_.clear();
        name_ = std::string();
        named_ = true;
        break;
      case GpxTag::Name:
        name_ = trimWhitespace(e.text);
        named_ = true;
        break;
      default: break;
    }
  }

  void finish()
  {
    if (mode_ != Mode::Main) endLookAhead();
    if (!points_.empty()) finishTrack();
  }

 private:
  enum class Mode { Main, WayPoint, Point };

  static bool coordinates(const GpxElement& e, double& lat, double& lon)
  {
    if (!e.has_lat || !e.has_lon || e.lat.empty() || e.lon.empty()) return false;
    lat = leadingDouble(e.lat);
    lon = leadingDouble(e.lon);
    return isUsableCoordinate(lat, lon);
  }

  void startWayPoint(const GpxElement& e)
  {
    double lat, lon;
    if (!coordinates(e, lat, lon)) return;
    wp_ = WayPoint();
    wp_.setPosition(lat, lon);
    mode_ = Mode::WayPoint;
  }

  void startPoint(const GpxElement& e)
  {
    double lat, lon;
    if (!coordinates(e, lat, lon)) return;
    pt_ = Track();
    setPosition(pt_, lat, lon);
    if (!checkLat(lat, lon)) out_.outside = true;
    mode_ = Mode::Point;
  }

  void lookAhead(const GpxElement& e)
  {
    if (mode_ == Mode::WayPoint) {
      if (e.tag == GpxTag::Name) wp_.name = trimWhitespace(e.text);
      else if (e.tag == GpxTag::Ele) wp_.elev = elevationFromText(e.text);
    } else {
      if (e.tag == GpxTag::Ele) pt_.elev = elevationFromText(e.text);
      else if (e.tag == GpxTag::Time) pt_.time = parseGpxTime(e.text);
    }
  }

  void endLookAhead()
  {
    if (mode_ == Mode::WayPoint) {
      if (wp_.elev == kUnknownElevation) out_.invalid_wp = true;
      out_.waypoints.push_back(std::move(wp_));
    } else {
      if (!points_.empty()) {
        const Track& prev = points_.back();
        pt_.seg_dist = static_cast<float>(calcDistHubeny(prev.lat, prev.lon, pt_.lat, pt_.lon));
        pt_.dist = prev.dist + pt_.seg_dist;
      }
      points_.push_back(pt_);
    }
    mode_ = Mode::Main;
  }

  void finishTrack()
  {
    TrackInfo t;
    t.points = std::move(points_);
    points_ = {};
    t.name = name_;
    t.valid_time = checkValidTime(t.points);
    t.stable = 1;
    out_.tracks.push_back(std::move(t));
    out_.name_present.push_back(named_);
  }

  GpxData& out_;
  Mode mode_ = Mode::Main;
  WayPoint wp_;
  Track pt_;
  std::vector<Track> points_;
  std::string name_;
  bool named_ = false;
};

}  // namespace

GpxReadResult parseGPX(std::string_view bytes)
{
  GpxReadResult result;
  if (!isValidUtf8(bytes)) {
    result.error = GpxReadError::NotUtf8;
    return result;
  }
  Scanner scanner(result.data);
  if (streamGpxElements(bytes, scanner) != GpxStreamStatus::Ok) {
    result.data = GpxData();
    result.error = GpxReadError::NotWellFormed;
    return result;
  }
  scanner.finish();
  return result;
}

}  // namespace tw
