// The View menu's display switches. Each stored value is the one the next launch reads.
#include "app/AppDelegate.h"

namespace {
// Waypoint styles are two bits (mark, name); nothing else may reach the settings.
int32_t flipStyleBit(int32_t type, int32_t bit) { return (type ^ bit) & 3; }
int32_t flipped(int32_t v) { return v != 1 ? 1 : 0; }
}  // namespace

void AppDelegate::showInfo()
{
  derived.show_info = flipped(derived.show_info);
  config.setInt(tw::key::information, derived.show_info);
  redrawInfoLayer();
}

void AppDelegate::hideInfo()
{
  derived.show_info = 0;
  config.setInt(tw::key::information, 0);
  redrawInfoLayer();
}

namespace {
void setCoord(AppDelegate& d, int32_t kind)
{
  d.derived.show_coord = kind;
  d.config.setInt(tw::key::show_coord, kind);
  d.redrawInfoLayer();
}
}  // namespace

void AppDelegate::hideCoord() { setCoord(*this, 0); }
void AppDelegate::showCoordDecimal() { setCoord(*this, 1); }
void AppDelegate::showCoordDegree() { setCoord(*this, 2); }

void AppDelegate::showElevation()
{
  derived.show_elev = flipped(derived.show_elev);
  config.setInt(tw::key::show_elev, derived.show_elev);
  redrawInfoLayer();
}

void AppDelegate::showTime()
{
  derived.show_time = flipped(derived.show_time);
  config.setInt(tw::key::show_time, derived.show_time);
  redrawInfoLayer();
}

void AppDelegate::showWayPoint()
{
  derived.show_wp = flipped(derived.show_wp);
  config.setInt(tw::key::show_waypoint, derived.show_wp);
  redrawAllLayers();
}

void AppDelegate::hideWayPoint()
{
  derived.show_wp = 0;
  config.setInt(tw::key::show_waypoint, 0);
  redrawAllLayers();
}

void AppDelegate::showWayPointWithMark()
{
  derived.wp_type = flipStyleBit(derived.wp_type, 1);
  config.setInt(tw::key::waypoint_type, derived.wp_type);
  redrawAllLayers();
}

void AppDelegate::showWayPointWithName()
{
  derived.wp_type = flipStyleBit(derived.wp_type, 2);
  config.setInt(tw::key::waypoint_type, derived.wp_type);
  redrawAllLayers();
}

void AppDelegate::showPeak()
{
  derived.show_peak = derived.show_peak ? 0 : 1;
  config.setInt(tw::key::show_peak, derived.show_peak);
  if (derived.show_list == 1) updateTable();
  redrawBasicLayers();
}
