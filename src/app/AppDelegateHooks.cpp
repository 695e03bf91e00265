// Do-nothing defaults for controller operations whose subsystem is not built yet.
// When a subsystem defines one of these in its own folder, its default here is removed.
#include "app/AppDelegate.h"

void AppDelegate::showTrackList() {}
void AppDelegate::showWayPointList() {}



void AppDelegate::showGraphIfNeeded() {}
void AppDelegate::updateTable() {}
