// Cell texts, colours, copied rows and the list keys' rules, each as a table.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <tuple>
#include <vector>

#include "lists/ListFormat.h"

namespace {

using tw::ListColumn;
using namespace std::chrono;

// 2024-11-02 23:59:58 UTC is 08:59:58 on 11-03 in Japan.
tw::TimePoint at(int seconds, int ms = 0)
{
  return tw::TimePoint(sys_days{year{2024} / 11 / 2}) + hours(23) + minutes(59) + std::chrono::seconds(58 + seconds) +
         milliseconds(ms);
}

tw::Track point(double lat, double lon, float elev, float dist, float seg, std::optional<tw::TimePoint> t, int speed)
{
  tw::Track p;
  std::tie(p.lat, p.lon, p.elev, p.dist, p.seg_dist, p.time, p.speed) = std::tuple(lat, lon, elev, dist, seg, t, speed);
  return p;
}

const std::vector<tw::Track> kPoints = {
    point(35.6323, 139.2699, 191.5f, 0.0f, 0.0f, at(0), -1),
    point(35.632244, 139.269646, tw::kUnknownElevation, 1234.5f, 23.5f, at(1, 500), 2500),
    point(35.632205, 139.269379, 5.5f, 1258.0f, 23.5f, std::nullopt, 2100),
    point(35.632159, 139.269116, 200.0f, 1282.0f, 24.0f, at(31), 3000),
};

}  // namespace

TEST(ListCells, TrackPointTexts)
{
  const struct { int row; ListColumn column; int time_width; const char* text; } rows[] = {
      {0, ListColumn::No, 60, "1"},
      {0, ListColumn::Time, 120, "2024/11/03 08:59:58"},
      {0, ListColumn::Time, 119, "08:59:58"},  // narrower than 120: the time only
      {2, ListColumn::Time, 120, ""},          // no time
      {0, ListColumn::Elev, 60, "191.50m"},
      {1, ListColumn::Elev, 60, ""},
      {2, ListColumn::Elev, 60, " 5.50m"},
      {1, ListColumn::Dist, 60, " 1.235km"},   // single-precision division, as the record holds it
      {0, ListColumn::Speed, 60, "---"},       // no speed
      {2, ListColumn::Speed, 60, "---"},       // a speed but no time
      {1, ListColumn::Speed, 60, "2.5km/h"},
      {1, ListColumn::Lat, 60, "35.632244"},
      {1, ListColumn::Lon, 60, "139.269646"},
  };
  for (const auto& r : rows)
    EXPECT_EQ(tw::trackCellText(kPoints[r.row], r.row, r.column, r.time_width), r.text)
        << r.row << " " << tw::columnId(r.column);
}

TEST(ListCells, WayPointTexts)
{
  tw::WayPoint w;
  w.setPosition(35.6251, 139.2436);
  w.name = "高尾山::山頂";
  const auto cells = [&] {
    return tw::wayPointCellText(w, 4, ListColumn::No) + "|" + tw::wayPointCellText(w, 4, ListColumn::Name) + "|" +
           tw::wayPointCellText(w, 4, ListColumn::Elev);
  };
  EXPECT_EQ(cells(), "5|高尾山::山頂|");
  w.elev = 599.0f;
  EXPECT_EQ(cells(), "5|高尾山::山頂|599.00m");
}

TEST(ListCells, CopiedRows)
{
  const auto track = tw::layoutColumns(tw::kTrackList, {"no:30", "elev:60", "time:60", "dist:60", "speed:60",
                                                        "lat:70", "lon:80", "name:90", "bogus:10"});
  ASSERT_EQ(track.size(), 7u);  // the waypoint-only and unknown entries are left out
  std::string out;
  for (size_t row = 0; row < kPoints.size(); ++row) tw::appendTrackLine(out, kPoints, row, track);
  // Speed from the point's own segment and times (23.5 m in 1.5 s); a point without a time
  // gives one tab for both time fields and no speed, nor does the point after it.
  EXPECT_EQ(out,
            "1\t191.50\t2024/11/03\t08:59:58\t0\t\t35.632300\t139.269900\n"
            "2\t0.00\t2024/11/03\t08:59:59\t1234\t56400\t35.632244\t139.269646\n"
            "3\t5.50\t\t\t1258\t\t35.632205\t139.269379\n"
            "4\t200.00\t2024/11/03\t09:00:29\t1282\t\t35.632159\t139.269116\n");

  tw::WayPoint w;
  w.setPosition(35.6251, 139.2436);
  w.name = "山頂\t(tab)\r\n二行目";  // a tab or line break would start another field or row
  out.clear();
  tw::appendWayPointLine(out, w, 0, tw::layoutColumns(tw::kWayPointList, {"lat:70", "name:120", "no:30", "elev:60"}));
  EXPECT_EQ(out, "35.625100\t山頂 (tab)  二行目\t1\t0.00\n");
}

TEST(ListCells, Colours)
{
  tw::Track peak = kPoints[0], col = kPoints[0];
  peak.peak_type = 1;
  col.peak_type = 2;
  const std::vector<int> states = {1, 3, 0, 4};
  const std::vector<int> stale = {1, 3, 0};
  const auto in = [](bool peaks, bool rests, const std::vector<int>& st, int graph_type = 0) {
    tw::ListStyleInputs i;
    i.states = st;  // a view of the caller's states
    std::tie(i.show_peak, i.show_rest, i.count, i.graph_type, i.part_start, i.part_end) = std::tuple(peaks, rests, 4, graph_type, 1, 3);
    return i;
  };
  using tw::CellFill, tw::CellInk;
  const struct {
    const tw::Track* t;
    int row;
    ListColumn column;
    tw::ListStyleInputs in;
    tw::CellStyle want;
  } rows[] = {
      {&peak, 0, ListColumn::Elev, in(true, false, states), {CellInk::Red, CellFill::None}},
      {&col, 0, ListColumn::Elev, in(true, false, states), {CellInk::Blue, CellFill::None}},
      {&peak, 0, ListColumn::Elev, in(false, false, states), {}},
      {&col, 1, ListColumn::Lat, in(false, true, states), {CellInk::Black, CellFill::Rest}},
      {&col, 0, ListColumn::Lat, in(false, true, states), {}},
      // States that do not match the point count are never used.
      {&col, 1, ListColumn::Lat, in(false, true, stale), {}},
      {&col, 2, ListColumn::Lat, in(false, false, states), {}},
      // The selected part (rows 1 and 2) marks the number cell only, over a rest.
      {&col, 2, ListColumn::No, in(false, true, states, 1), {CellInk::Black, CellFill::Part}},
      {&col, 2, ListColumn::Lat, in(false, true, states, 1), {CellInk::Black, CellFill::Rest}},
      {&col, 3, ListColumn::No, in(false, false, states, 1), {}},
      {&col, 2, ListColumn::No, in(false, false, states, 0), {}},
  };
  for (const auto& r : rows) EXPECT_EQ(tw::trackCellStyle(*r.t, r.row, r.column, r.in), r.want) << r.row;
}

TEST(ListKeys, GraphPartFromStartAndEnd)
{
  using P = std::optional<tw::PartRange>;
  // "s": an end below 1 or past the last point becomes the point count.
  EXPECT_EQ((std::array{tw::partFromStartKey(3, -1, 10), tw::partFromStartKey(3, 12, 10), tw::partFromStartKey(3, 6, 10),
                        tw::partFromStartKey(6, 6, 10)}), (std::array{P{{3, 10}}, P{{3, 10}}, P{{3, 6}}, P{}}));
  // "e": a start that is negative or past the last point becomes 0; before the start nothing changes.
  EXPECT_EQ((std::array{tw::partFromEndKey(5, -1, 10), tw::partFromEndKey(9, 2, 10), tw::partFromEndKey(1, 4, 10),
                        tw::partFromEndKey(4, 4, 10)}), (std::array{P{{0, 6}}, P{{2, 10}}, P{}, P{}}));
}

TEST(ListKeys, TableButtonAndWayPointOrder)
{
  EXPECT_EQ((std::array{tw::nextList(tw::kNoList, false), tw::nextList(tw::kTrackList, true), tw::nextList(tw::kTrackList, false),
                        tw::nextList(tw::kWayPointList, true)}),
            (std::array{tw::kTrackList, tw::kWayPointList, tw::kNoList, tw::kNoList}));

  std::vector<tw::WayPoint> w(3);
  for (int i = 0; i < 3; ++i) w[static_cast<size_t>(i)].name = std::to_string(i);
  EXPECT_FALSE(tw::moveWayPointRow(w, 0, true) || tw::moveWayPointRow(w, 2, false));
  EXPECT_EQ(tw::moveWayPointRow(w, 1, false), 2);
  EXPECT_EQ(w[1].name + w[2].name, "21");
}
