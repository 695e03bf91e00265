// Do-nothing defaults for controller operations whose subsystem is not built yet.
// When a subsystem defines one of these in its own folder, its default here is removed.
#include "app/AppDelegate.h"

// Draw-loop hook points (see docs/ARCHITECTURE.md, "Application shell").
void AppDelegate::checkTrackElevation() {}
void AppDelegate::checkWayPointElevation() {}

bool AppDelegate::loadGPXData(const QByteArray&, bool) { return false; }
void AppDelegate::createNew() {}

void AppDelegate::calcTrackElevation(int) {}
void AppDelegate::requestElevation() {}

void AppDelegate::downloadElevation(const tw::Tile&) {}
bool AppDelegate::findElevation(const tw::Tile&) { return false; }
void AppDelegate::removeElevations() {}

void AppDelegate::showGraphIfNeeded() {}
void AppDelegate::updateTable() {}
