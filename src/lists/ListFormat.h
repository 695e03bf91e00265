#pragma once
// The point and waypoint lists without Qt: columns, cell texts, cell colours, the copied
// text of a row, and the small rules of the list's keys and table button.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/Records.h"

namespace tw {

// What the list pane shows (`show_list`).
inline constexpr int kNoList = 0;
inline constexpr int kTrackList = 1;
inline constexpr int kWayPointList = 2;

// Every column of the one table; each list shows some of them.
enum class ListColumn : int { No, Time, Elev, Dist, Speed, Lat, Lon, Name };
inline constexpr int kListColumnCount = 8;

std::string_view columnId(ListColumn c);
std::optional<ListColumn> columnFromId(std::string_view id);
bool listHasColumn(int show_list, ListColumn c);

// One entry of a layout ("id:width"), in display order.
struct LayoutColumn {
  ListColumn column = ListColumn::No;
  int width = 0;
};
// Entries that do not name a column of the list are left out.
std::vector<LayoutColumn> parseLayout(int show_list, const std::vector<std::string>& layout);
// The columns of a layout, for copying rows.
std::vector<ListColumn> layoutColumns(int show_list, const std::vector<std::string>& layout);

// The "time" column shows the date as well from this width on.
inline constexpr int kLongTimeWidth = 120;

std::string trackCellText(const Track& t, int row, ListColumn c, int time_width);
std::string wayPointCellText(const WayPoint& w, int row, ListColumn c);

// Colouring of the track-point list.
enum class CellInk { Black, Red, Blue };
enum class CellFill { None, Rest, Part };
struct CellStyle {
  CellInk ink = CellInk::Black;
  CellFill fill = CellFill::None;
  bool operator==(const CellStyle&) const = default;
};
struct ListStyleInputs {
  bool show_peak = false;
  bool show_rest = false;
  std::span<const int> states;  // used only with one entry per point
  size_t count = 0;             // points of the active track
  int graph_type = 0;
  int part_start = -1;
  int part_end = -1;
};
CellStyle trackCellStyle(const Track& t, int row, ListColumn c, const ListStyleInputs& in);

// One row as copied: the columns in order, tab-separated, ending in "\n". `points[row]` and
// the point before it (for the speed) are read.
void appendTrackLine(std::string& out, const std::vector<Track>& points, size_t row, std::span<const ListColumn> columns);
void appendWayPointLine(std::string& out, const WayPoint& w, size_t row, std::span<const ListColumn> columns);

// The graph part chosen with "s" (from the row to `part_end`) or "e" (from `part_start` to the
// row) in a list of `count` points; an invalid other end is repaired first. Nothing when the
// key changes nothing.
struct PartRange {
  int part_start = -1;
  int part_end = -1;
  bool operator==(const PartRange&) const = default;
};
std::optional<PartRange> partFromStartKey(int row, int part_end, int count);
std::optional<PartRange> partFromEndKey(int row, int part_start, int count);

// The table button: no list → points → waypoints (when there are any) → no list.
int nextList(int show_list, bool hasWayPoints);

// Moves waypoint `row` one place up or down; its new row, or nothing at either end.
std::optional<int> moveWayPointRow(std::vector<WayPoint>& waypoints, int row, bool up);

}  // namespace tw
