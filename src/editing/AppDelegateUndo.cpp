// Controller glue of undo and redo.
#include "analysis/Metrics.h"
#include "app/AppDelegate.h"

namespace {

tw::MapCentre mapCentre(const tw::ViewportState& v) { return tw::MapCentre{v.lat, v.lon, v.zoom}; }

}  // namespace

void AppDelegate::backupData(int action)
{
  if (resetGraphSelection && tw::actionRenumbersPoints(action)) resetGraphSelection();
  if (editing.history.backupData(doc, mapCentre(view), action)) {
    updateUndoMenu();
    updateRedoMenu();
  }
}

void AppDelegate::deleteAllBackups()
{
  editing.history.deleteAllBackups();
  updateUndoMenu();
  updateRedoMenu();
}

namespace {

// Everything after a snapshot was put back into the document.
void afterRestore(AppDelegate& app, const tw::MapCentre& c)
{
  if (app.isInputMode()) app.trackMode();
  if (auto* r = app.routes()) tw::recalcDistance(*r);
  app.updateGraph();
  app.updateTable();
  app.updateTitle();
  app.updateTrackMenu();
  app.updatePosition(c.zoom, c.lat, c.lon);
}

}  // namespace

void AppDelegate::undo()
{
  if (!editing.history.canUndo()) return;
  if (resetGraphSelection) resetGraphSelection();
  auto c = editing.history.undo(doc, mapCentre(view));
  if (!c) return;
  for (const auto& t : doc.tracks) {
    if (t.stable == -1) {
      requestElevation();
      break;
    }
  }
  afterRestore(*this, *c);
  updateUndoMenu();
  updateRedoMenu();
}

void AppDelegate::redo()
{
  if (!editing.history.canRedo()) return;
  if (resetGraphSelection) resetGraphSelection();
  auto c = editing.history.redo(doc);
  if (!c) return;
  afterRestore(*this, *c);
  updateUndoMenu();
  updateRedoMenu();
}

void AppDelegate::updateUndoMenu()
{
  editing.undoTitle = editing.history.undoTitle();
  emit editMenusChanged();
}

void AppDelegate::updateRedoMenu()
{
  editing.redoTitle = editing.history.redoTitle();
  emit editMenusChanged();
}
