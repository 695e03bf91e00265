#pragma once
// Operations on whole tracks of the document: menus, add, delete, connect, divide,
// reverse, turn back, step back. Pure document changes; the controller adds the questions,
// the undo snapshots and the refreshes.

#include <string>
#include <vector>

#include "document/DocumentState.h"

namespace tw {

struct TrackMenuItem {
  std::string title;
  int index = 0;  // the represented track
  bool checked = false;
};

// Every track, the active one ticked.
std::vector<TrackMenuItem> trackMenuItems(const DocumentState& doc);
// Every track except the active one.
std::vector<TrackMenuItem> connectMenuItems(const DocumentState& doc);

// An empty track appended and made active.
void addEmptyTrack(DocumentState& doc);

enum class DeletedTrack { None, Active, BeforeActive, AfterActive };
// Removes track i and keeps the active index on a sensible track; the file name is forgotten
// when no track remains.
DeletedTrack deleteTrackAtIndex(DocumentState& doc, int i);

// Appends copies of track k's points to the active track and removes track k.
// Distances of the joined track are left to the caller. False when k is invalid or active.
bool connectTrack(DocumentState& doc, int k);

// Splits the active track at point r: points r … last go to a new track at the end of the
// document (distances restarting at 0); the active track keeps points 0 … r.
bool divideTrack(DocumentState& doc, int r);

// Reverses the point order; records unchanged (distances left to the caller).
void reverseRoute(std::vector<Track>& points);

// Appends the way back: copies of points n−2 … 0 without times, distances continuing.
bool turnBack(std::vector<Track>& points);

}  // namespace tw
