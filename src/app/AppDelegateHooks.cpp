// Do-nothing defaults for controller operations whose subsystem is not built yet.
// When a subsystem defines one of these in its own folder, its default here is removed.
#include "app/AppDelegate.h"

void AppDelegate::showGraphIfNeeded() {}
void AppDelegate::showGraph() {}
void AppDelegate::showGraphRange() {}
void AppDelegate::resetGraph() {}
void AppDelegate::showTrackInfo() {}
void AppDelegate::displayGraphPointer(int) {}
