// Do-nothing defaults for controller operations whose subsystem is not built yet.
// When a subsystem defines one of these in its own folder, its default here is removed.
#include "app/AppDelegate.h"

void AppDelegate::areaMode() {}
void AppDelegate::printMode() {}
void AppDelegate::releasePrint() {}
void AppDelegate::pageSetup() {}
void AppDelegate::outputPDF() {}
void AppDelegate::printMap() {}
