// The analysis commands of the controller: thin glue over the core passes of src/analysis.
#include <QMutexLocker>

#include "analysis/Profile.h"
#include "analysis/Rests.h"
#include "analysis/TrackInfoStats.h"
#include "app/AppDelegate.h"

tw::Section AppDelegate::measuredSection() const
{
  const auto* pts = doc.routes();
  return tw::chooseSection(graph_type, part_start, part_end, range_start, range_end, pts ? pts->size() : 0);
}

void AppDelegate::recalcDistance()
{
  if (auto* pts = routes()) tw::recalcDistance(*pts);
}

void AppDelegate::calcSpeed()
{
  if (auto* t = doc.activeTrack()) tw::calcSpeed(t->points, t->valid_time, doc.states);
}

void AppDelegate::checkRest()
{
  if (auto* t = doc.activeTrack()) tw::checkRest(t->points, t->valid_time, doc.states);
}

void AppDelegate::calcTrackData()
{
  {
    QMutexLocker guard(&lock);
    doc.positions.clear();
  }
  stats.resetMeasured();
  span = stats.span;
  tw::TrackInfo* t = doc.activeTrack();
  if (!t || t->points.empty()) return;
  // While a point is dragged the old speeds stay until the drop, which keeps dragging fast.
  if (!isDragged()) calcSpeed();
  calcTrackElevation(doc.active_track);  // the DEM fill, then the peak/col marks
  QMutexLocker guard(&lock);
  tw::calcTrackProfile(t->points, measuredSection(), stats, doc.positions);
  span = stats.span;
}

void AppDelegate::calcTrackRange(const tw::RectF& printPixelRect, const tw::RectF& printPointRect,
                                 const tw::RectF& graphRect, bool normal)
{
  const auto* pts = routes();
  if (mode != tw::Mode::Print || !pts || pts->empty()) return;
  const tw::Section s = tw::calcTrackRange(*pts, printPixelRect, printPointRect, graphRect, normal);
  range_start = s.start;
  range_end = s.end;
}

void AppDelegate::calcTrackInfo()
{
  tw::TrackInfo* t = doc.activeTrack();
  if (!t) {
    stats.resetInfo();
    return;
  }
  // tw::calcTrackInfo in steps, so that the lock is held only while the samples are read.
  stats.resetInfo();
  const tw::Section section = measuredSection();
  if (t->points.size() < 2 || !tw::sectionInside(section, t->points.size())) return;
  {
    QMutexLocker guard(&lock);
    tw::calcSlopeAndGradientStats(t->points, section, doc.positions, cycling, stats);
  }
  checkRest();
  tw::calcTimeStats(t->points, section, doc.states, stats);
}

void AppDelegate::updateGraph()
{
  calcTrackData();
  // The graph panel shows in base and edit modes while its switch is on.
  if (derived.show_graph && tw::baseOrEdit(mode)) {
    checkConnectWayPoint();
    clearGraphPointer();
    redrawGraphLayers();
  }
  if (config.isOn(tw::key::show_rest) && !isDragged()) calcTrackInfo();
  redrawAllLayers();
  updateTable();
}

void AppDelegate::showRest()
{
  config.setInt(tw::key::show_rest, config.isOn(tw::key::show_rest) ? 0 : 1);
  if (derived.show_list == 1) updateTable();
  redrawBasicLayers();
}

int AppDelegate::calcDegree(int gradient) { return tw::calcDegree(gradient); }

tw::InfoFields AppDelegate::infoFields() const { return tw::formatInfoFields(stats, cycling); }

bool AppDelegate::applyTrackInfo(const std::string& name, int timeAdjustTag)
{
  tw::TrackInfo* t = doc.activeTrack();
  if (!t) return true;
  if (!tw::isValidTrackName(name)) {
    boxes().alertMessage(QStringLiteral("エラー"), QStringLiteral("名前に]]>は使えません"));
    return false;
  }
  const bool rename = name != t->name;
  if (!rename && timeAdjustTag == tw::kTimeKeep) return true;
  backupData(11);
  t = doc.activeTrack();  // the snapshot leaves the track in place; re-read for clarity
  if (rename) {
    t->name = name;
    doc.modify = true;
  }
  if (timeAdjustTag != tw::kTimeKeep) {
    if (!tw::adjustTrackTimes(t->points, timeAdjustTag)) stats.route_time = false;
    doc.modify = true;
  }
  return true;
}
