#pragma once
// How mouse, wheel, trackpad, pinch and key events on the map are classified.

#include <cstdint>

#include "document/Geodesy.h"
#include "view/Viewport.h"

namespace tw {

// A mouse-up more than this many points (L1) from the mouse-down ends a drag, not a click.
inline constexpr double kClickTolerance = 10.0;

bool isClick(WindowPoint down, WindowPoint up);

// True when the mouse moved since the previous move event, by less than 3 points (L1).
bool isValidSelect(WindowPoint prev, WindowPoint now);

// Global pixel under the mouse when a drag starts (window y upward).
IPoint dragPixel(const DRect& foreRect, WindowPoint mouse);
// Centre that keeps `drag_pixel` under the mouse during a pan.
IPoint panCentre(IPoint drag_pixel, WindowPoint mouse, ViewSize size);

// Mouse wheel: at most one zoom per 0.5 s; large deltas are halved.
class WheelZoom {
 public:
  double last_scroll = 0;
  // Zoom steps for one wheel event at time `now` (seconds); 0 for none.
  int onWheel(double deltaY, double now);
};

// Trackpad scrolling and pinch gestures.
class GestureZoom {
 public:
  bool track_pad = false;
  int32_t gesture = -1;
  int32_t max_delta = 0;
  double last_gesture = 0;

  void touchesBegan();
  // Zoom steps for one trackpad scroll event; 0 for none.
  int onScroll(double deltaY, double now);
  // Zoom steps for one magnify event: only the first of a gesture acts.
  int onMagnify(double magnification);
};

// Steps for the largest scroll delta of a trackpad gesture.
int trackpadSteps(int32_t max_delta);

enum class MapKey {
  None,
  MoveUp,
  MoveDown,
  MoveLeft,
  MoveRight,
  ZoomIn,
  ZoomOut,
  Insert,       // "a"
  AddWayPoint,  // "w"
  Delete,       // "d", backspace, delete
  PartStart,    // "s"
  PartEnd,      // "e"
  ResetGraph,   // "r"
  TrackInfo,    // "i"
  ChangeMap,    // "t"
};

// The action of a key by the first character it types; arrows and delete keys are passed as
// the flags because they type no printable character.
enum class SpecialKey { None, Up, Down, Left, Right, Backspace, ForwardDelete };
MapKey mapKey(char32_t ch, SpecialKey special);

}  // namespace tw
