// The View menu's display switches. Each lives only in `config`, so what is drawn is what the
// next launch reads.
#include "app/AppDelegate.h"

namespace {
namespace key = tw::key;

// Waypoint styles are two bits (mark, name); nothing else may reach the settings.
void flipStyleBit(tw::Config& c, std::string_view k, int32_t bit) { c.setInt(k, (c.intValue(k) ^ bit) & 3); }
void flip(tw::Config& c, std::string_view k) { c.setInt(k, c.intValue(k) != 1 ? 1 : 0); }
}  // namespace

void AppDelegate::showInfo()
{
  flip(config, key::information);
  redrawInfoLayer();
}

void AppDelegate::hideInfo()
{
  config.setInt(key::information, 0);
  redrawInfoLayer();
}

namespace {
void setCoord(AppDelegate& d, int32_t kind)
{
  d.config.setInt(key::show_coord, kind);
  d.redrawInfoLayer();
}
}  // namespace

void AppDelegate::hideCoord() { setCoord(*this, 0); }
void AppDelegate::showCoordDecimal() { setCoord(*this, 1); }
void AppDelegate::showCoordDegree() { setCoord(*this, 2); }

void AppDelegate::showElevation()
{
  flip(config, key::show_elev);
  redrawInfoLayer();
}

void AppDelegate::showTime()
{
  flip(config, key::show_time);
  redrawInfoLayer();
}

void AppDelegate::showWayPoint()
{
  flip(config, key::show_waypoint);
  redrawAllLayers();
}

void AppDelegate::hideWayPoint()
{
  config.setInt(key::show_waypoint, 0);
  redrawAllLayers();
}

void AppDelegate::showWayPointWithMark()
{
  flipStyleBit(config, key::waypoint_type, 1);
  redrawAllLayers();
}

void AppDelegate::showWayPointWithName()
{
  flipStyleBit(config, key::waypoint_type, 2);
  redrawAllLayers();
}

void AppDelegate::showPeak()
{
  config.setInt(key::show_peak, config.isOn(key::show_peak) ? 0 : 1);
  if (derived.show_list == 1) updateTable();
  redrawBasicLayers();
}
