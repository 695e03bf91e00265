// Do-nothing defaults for controller operations whose subsystem is not built yet.
// When a subsystem defines one of these in its own folder, its default here is removed.
#include "app/AppDelegate.h"

// Draw-loop hook points (see docs/ARCHITECTURE.md, "Application shell").

void AppDelegate::showTrackList() {}
void AppDelegate::showWayPointList() {}



void AppDelegate::showGraphIfNeeded() {}
void AppDelegate::updateTable() {}
