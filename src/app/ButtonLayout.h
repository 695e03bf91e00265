#pragma once
// Which tool buttons show in which slot, with which image, for the current mode (the window's
// updateButton). No Qt: the window maps the buttons to its widgets.

#include <string_view>
#include <vector>

#include "document/Modes.h"

namespace tw {

enum class ToolButton {
  Base, Area, Prn, Edit,                 // the mode buttons, slots 0–3
  Input, Track, WayPoint, Back, Clear,   // edit tools
  Setup, Pdf, Print, Table, Graph, Range
};

struct ButtonSlot {
  ToolButton button = ToolButton::Base;
  int slot = 0;
  std::string_view image;
  bool operator==(const ButtonSlot&) const = default;
};

struct ButtonInputs {
  Mode mode = Mode::Base;
  EditMode edit_mode = EditMode::Input;
  int show_list = 0;
  int show_graph = 0;
  int print_graph = 0;
  int graph_type = 0;
  bool activeTrack = false;      // the active track exists
  bool activeHasPoints = false;  // and has points
};

struct ButtonLayout {
  std::vector<ButtonSlot> shown;  // every other tool button is hidden
  bool graphViewShown = false;
};

ButtonLayout buttonLayout(const ButtonInputs& in);

}  // namespace tw
