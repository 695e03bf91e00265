#pragma once
// The controller's modes and the map kind. Core planners (tiles, route drawing) take them as
// inputs, so they live here, below every subsystem.

#include <cstdint>

namespace tw {

// What the window is for: browsing, editing, choosing the print area, the print preview.
enum class Mode : int32_t { Base = 0, Edit = 1, Area = 2, Print = 3 };

// The tool of edit mode.
enum class EditMode : int32_t { Input = 0, Track = 1, WayPoint = 2 };

// Which tracks are drawn.
enum class TrackMode : int32_t { Hidden = 0, Active = 1, All = 2 };

// The map kind. Its number is what the settings store under `map_type`.
enum class MapType : int32_t { Standard = 0, Pale = 1, Photo = 2, OSM = 3 };

// Base or edit mode: the document can be opened, saved and changed.
constexpr bool baseOrEdit(Mode m) { return m == Mode::Base || m == Mode::Edit; }

}  // namespace tw
