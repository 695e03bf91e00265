#include "lists/ListFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

namespace tw {

namespace {

constexpr std::array<std::string_view, kListColumnCount> kIds = {"no", "time", "elev", "dist", "speed", "lat", "lon", "name"};

// Truncation toward zero that saturates instead of overflowing.
int32_t truncToInt(double v)
{
  if (std::isnan(v)) return 0;
  if (v >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v <= std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

void put2(char*& p, unsigned v)
{
  *p++ = static_cast<char>('0' + v / 10 % 10);
  *p++ = static_cast<char>('0' + v % 10);
}

// "yyyy/MM/dd<sep>HH:mm:ss" in UTC+9, or only "HH:mm:ss"; the length written.
size_t writeLocalTime(char* buf, TimePoint t, bool withDate, char sep)
{
  using namespace std::chrono;
  const auto local = floor<seconds>(t) + hours(9);
  const auto day = floor<days>(local);
  const hh_mm_ss hms{local - day};
  char* p = buf;
  if (withDate) {
    const year_month_day ymd{day};
    const int y = static_cast<int>(ymd.year());
    if (y < 0 || y > 9999) {
      p += std::snprintf(p, 16, "%d", y);
    } else {
      put2(p, static_cast<unsigned>(y / 100));
      put2(p, static_cast<unsigned>(y % 100));
    }
    *p++ = '/';
    put2(p, static_cast<unsigned>(ymd.month()));
    *p++ = '/';
    put2(p, static_cast<unsigned>(ymd.day()));
    *p++ = sep;
  }
  put2(p, static_cast<unsigned>(hms.hours().count()));
  *p++ = ':';
  put2(p, static_cast<unsigned>(hms.minutes().count()));
  *p++ = ':';
  put2(p, static_cast<unsigned>(hms.seconds().count()));
  return static_cast<size_t>(p - buf);
}

// printf's "%W.Pf" for finite values, without the locale.
void appendFixed(std::string& out, double v, int precision, size_t width = 0)
{
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, precision);
  const size_t n = static_cast<size_t>(r.ptr - buf);
  if (n < width) out.append(width - n, ' ');
  out.append(buf, n);
}

void appendInt(std::string& out, int64_t v)
{
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, r.ptr);
}

std::string fixedText(double v, int precision, size_t width, std::string_view unit)
{
  std::string s;
  appendFixed(s, v, precision, width);
  s += unit;
  return s;
}

// A name copied into one field: tabs and line breaks would start another field or row.
void appendField(std::string& out, std::string_view text)
{
  for (char ch : text) out += (ch == '\t' || ch == '\n' || ch == '\r') ? ' ' : ch;
}

double elevOrZero(float elev) { return elev == kUnknownElevation ? 0.0 : static_cast<double>(elev); }

}  // namespace

std::string_view columnId(ListColumn c) { return kIds[static_cast<size_t>(c)]; }

std::optional<ListColumn> columnFromId(std::string_view id)
{
  for (size_t i = 0; i < kIds.size(); ++i)
    if (kIds[i] == id) return static_cast<ListColumn>(i);
  return std::nullopt;
}

bool listHasColumn(int show_list, ListColumn c)
{
  switch (c) {
    case ListColumn::Time:
    case ListColumn::Dist:
    case ListColumn::Speed: return show_list == kTrackList;
    case ListColumn::Name: return show_list == kWayPointList;
    default: return show_list == kTrackList || show_list == kWayPointList;
  }
}

std::vector<LayoutColumn> parseLayout(int show_list, const std::vector<std::string>& layout)
{
  std::vector<LayoutColumn> out;
  for (const std::string& entry : layout) {
    const size_t colon = entry.find(':');
    if (colon == std::string::npos) continue;
    const auto c = columnFromId(std::string_view(entry).substr(0, colon));
    int width = 0;
    const char* end = entry.data() + entry.size();
    if (!c || !listHasColumn(show_list, *c) || std::from_chars(entry.data() + colon + 1, end, width).ptr != end) continue;
    out.push_back({*c, width});
  }
  return out;
}

std::vector<ListColumn> layoutColumns(int show_list, const std::vector<std::string>& layout)
{
  std::vector<ListColumn> out;
  for (const auto& l : parseLayout(show_list, layout)) out.push_back(l.column);
  return out;
}

std::string trackCellText(const Track& t, int row, ListColumn c, int time_width)
{
  switch (c) {
    case ListColumn::No: return std::to_string(row + 1);
    case ListColumn::Time: {
      if (!t.time) return {};
      char buf[40];
      return std::string(buf, writeLocalTime(buf, *t.time, time_width >= kLongTimeWidth, ' '));
    }
    case ListColumn::Elev: return t.elev == kUnknownElevation ? std::string() : fixedText(t.elev, 2, 5, "m");
    case ListColumn::Dist: return fixedText(t.dist / 1000.0f, 3, 6, "km");
    case ListColumn::Speed:
      return (t.speed < 0 || !t.time) ? std::string("---") : fixedText(t.speed / 1000.0, 1, 3, "km/h");
    case ListColumn::Lat: return fixedText(t.lat, 6, 8, "");
    case ListColumn::Lon: return fixedText(t.lon, 6, 8, "");
    case ListColumn::Name: return {};
  }
  return {};
}

std::string wayPointCellText(const WayPoint& w, int row, ListColumn c)
{
  switch (c) {
    case ListColumn::No: return std::to_string(row + 1);
    case ListColumn::Elev: return w.elev == kUnknownElevation ? std::string() : fixedText(w.elev, 2, 5, "m");
    case ListColumn::Lat: return fixedText(w.lat, 6, 8, "");
    case ListColumn::Lon: return fixedText(w.lon, 6, 8, "");
    case ListColumn::Name: return w.getListName();
    default: return {};
  }
}

CellStyle trackCellStyle(const Track& t, int row, ListColumn c, const ListStyleInputs& in)
{
  CellStyle s;
  if (in.show_peak && t.peak_type == 1) s.ink = CellInk::Red;
  if (in.show_peak && t.peak_type == 2) s.ink = CellInk::Blue;
  if (in.show_rest && in.states.size() == in.count && row >= 0 && static_cast<size_t>(row) < in.states.size()) {
    const int st = in.states[static_cast<size_t>(row)];
    if (st == 0 || st == 3 || st == 4) s.fill = CellFill::Rest;
  }
  if (c == ListColumn::No && in.graph_type == 1 && in.part_start <= row && row < in.part_end) s.fill = CellFill::Part;
  return s;
}

void appendTrackLine(std::string& out, const std::vector<Track>& points, size_t row, std::span<const ListColumn> columns)
{
  const Track& t = points[row];
  bool first = true;
  for (ListColumn c : columns) {
    if (!first) out += '\t';
    first = false;
    switch (c) {
      case ListColumn::No: appendInt(out, static_cast<int64_t>(row) + 1); break;
      case ListColumn::Time:
        if (t.time) {
          char buf[40];
          out.append(buf, writeLocalTime(buf, *t.time, true, '\t'));
        } else {
          out += '\t';  // both fields empty
        }
        break;
      case ListColumn::Elev: appendFixed(out, elevOrZero(t.elev), 2, 4); break;
      case ListColumn::Dist: appendInt(out, truncToInt(t.dist)); break;
      case ListColumn::Speed:
        if (row > 0 && t.time && points[row - 1].time) {
          const double dt = std::chrono::duration<double>(*t.time - *points[row - 1].time).count();
          if (dt > 0) appendInt(out, truncToInt(static_cast<double>(t.seg_dist) * 3600.0 / dt));
        }
        break;
      case ListColumn::Lat: appendFixed(out, t.lat, 6, 8); break;
      case ListColumn::Lon: appendFixed(out, t.lon, 6, 8); break;
      case ListColumn::Name: break;
    }
  }
  out += '\n';
}

void appendWayPointLine(std::string& out, const WayPoint& w, size_t row, std::span<const ListColumn> columns)
{
  bool first = true;
  for (ListColumn c : columns) {
    if (!first) out += '\t';
    first = false;
    switch (c) {
      case ListColumn::No: appendInt(out, static_cast<int64_t>(row) + 1); break;
      case ListColumn::Elev: appendFixed(out, elevOrZero(w.elev), 2, 4); break;
      case ListColumn::Lat: appendFixed(out, w.lat, 6, 8); break;
      case ListColumn::Lon: appendFixed(out, w.lon, 6, 8); break;
      case ListColumn::Name: appendField(out, w.name); break;
      default: break;
    }
  }
  out += '\n';
}

std::optional<PartRange> partFromStartKey(int row, int part_end, int count)
{
  if (part_end < 1 || part_end > count - 1) part_end = count;
  if (row < 0 || row >= part_end) return std::nullopt;
  return PartRange{row, part_end};
}

std::optional<PartRange> partFromEndKey(int row, int part_start, int count)
{
  if (part_start < 0 || part_start > count - 1) part_start = 0;
  if (row <= part_start || row >= count) return std::nullopt;
  return PartRange{part_start, std::min(row + 1, count)};
}

int nextList(int show_list, bool hasWayPoints)
{
  if (show_list == kNoList) return kTrackList;
  if (show_list == kTrackList && hasWayPoints) return kWayPointList;
  return kNoList;
}

std::optional<int> moveWayPointRow(std::vector<WayPoint>& waypoints, int row, bool up)
{
  const int n = static_cast<int>(waypoints.size());
  const int to = up ? row - 1 : row + 1;
  if (row < 0 || row >= n || to < 0 || to >= n) return std::nullopt;
  std::swap(waypoints[static_cast<size_t>(row)], waypoints[static_cast<size_t>(to)]);
  return to;
}

}  // namespace tw
