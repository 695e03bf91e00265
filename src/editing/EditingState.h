#pragma once
// What the controller keeps for editing: the undo history, the track menus and the state of
// the point and waypoint pop-ups.

#include <string>
#include <vector>

#include "document/Records.h"
#include "editing/TrackOperations.h"
#include "editing/UndoHistory.h"

namespace tw {

// Items of the point pop-up (selectPopup).
enum PointPopupItem : int {
  kPopupDeletePoint = 1,
  kPopupDeleteBefore = 2,
  kPopupDeleteAfter = 3,
  kPopupInsertPoint = 4,
  kPopupAddOne = 5,
  kPopupAddTen = 6,
};

// The waypoint dialog's fields.
struct WayPointValues {
  double lat = 0.0;
  double lon = 0.0;
  std::string name;
  float elev = kUnknownElevation;
};

struct EditingState {
  UndoHistory history;
  std::string undoTitle = "取り消し";
  std::string redoTitle = "やり直し";
  std::vector<TrackMenuItem> trackMenu;
  std::vector<TrackMenuItem> connectTrackMenu;
  double select_lat = 0.0;  // where a new waypoint will be created
  double select_lon = 0.0;
  bool pointPopupShown = false;
  bool wayPointPopupShown = false;
  bool createWayPointItem = false;  // items visible in the waypoint pop-up
  bool editWayPointItem = false;
  bool deleteWayPointItem = false;
  bool graphPointerShown = false;
};

}  // namespace tw
