#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "document/Geodesy.h"
#include "gpx/GpxReader.h"

using namespace tw;

namespace {

GpxData read(const std::string& body)
{
  auto r = parseGPX("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\">" + body + "</gpx>");
  EXPECT_TRUE(r.ok());
  return r.data;
}

std::string pt(double lat, double lon, const std::string& inner = "")
{
  return "<trkpt lat=\"" + std::to_string(lat) + "\" lon=\"" + std::to_string(lon) + "\">" + inner + "</trkpt>";
}

std::string timed(int second) { return "<time>2019-05-03T01:02:" + std::string(second < 10 ? "0" : "") + std::to_string(second) + "Z</time>"; }

}  // namespace

TEST(GpxReaderTracks, TwoTrkWithTwoSegmentsMergeSegments)
{
  auto d = read("<trk><name>A</name><trkseg>" + pt(35, 139) + pt(35.001, 139) + "</trkseg><trkseg>" +
                pt(35.002, 139) + "</trkseg></trk><trk><trkseg>" + pt(36, 138) + "</trkseg></trk>");
  ASSERT_EQ(d.tracks.size(), 2u);
  EXPECT_EQ(d.tracks[0].name, "A");
  ASSERT_EQ(d.tracks[0].points.size(), 3u);
  EXPECT_EQ(d.tracks[0].points[2].lat, 35.002);
  EXPECT_EQ(d.tracks[1].name, "");
  EXPECT_TRUE(d.name_present[1]);
  EXPECT_EQ(d.tracks[1].points.size(), 1u);
  EXPECT_EQ(d.tracks[0].stable, 1);
  EXPECT_FALSE(d.outside);
}

TEST(GpxReaderTracks, PointsBeforeAnyTrkAndEmptyTrk)
{
  // Named by the last name the main scan met (here the metadata's).
  auto d = read("<metadata><name> Plan </name></metadata>" + pt(35, 139) + "<trk></trk><trk><name>B</name>" +
                pt(35, 139.5) + "</trk>");
  ASSERT_EQ(d.tracks.size(), 2u);
  EXPECT_EQ(d.tracks[0].name, "Plan");
  EXPECT_EQ(d.tracks[1].name, "B");
  auto u = read(pt(35, 139));
  ASSERT_EQ(u.tracks.size(), 1u);
  EXPECT_FALSE(u.name_present[0]);
  EXPECT_EQ(u.tracks[0].name, "");
}

TEST(GpxReaderTracks, PointRecordFields)
{
  auto d = read("<trk>" + pt(35, 139, "<ele>100</ele>" + timed(3)) + pt(35, 139.001, "<ele>abc</ele>") + "</trk>");
  const auto& p = d.tracks[0].points;
  ASSERT_EQ(p.size(), 2u);
  EXPECT_EQ(p[0].x, static_cast<int32_t>(pixelFromLon(18, 139.0)));
  EXPECT_EQ(p[0].y, static_cast<int32_t>(pixelFromLat(18, 35.0)));
  EXPECT_EQ(p[0].elev, 100.0f);
  EXPECT_EQ(p[0].seg_dist, 0.0f);
  EXPECT_EQ(p[0].dist, 0.0f);
  ASSERT_TRUE(p[0].time);
  EXPECT_EQ(p[1].elev, 0.0f);  // not a number reads as 0
  EXPECT_FALSE(p[1].time);
  EXPECT_EQ(p[1].seg_dist, static_cast<float>(calcDistHubeny(35.0, 139.0, 35.0, 139.001)));
  EXPECT_EQ(p[1].dist, p[1].seg_dist);
  EXPECT_EQ(p[1].wp_index, -1);
  EXPECT_EQ(p[1].speed, -1);
  EXPECT_EQ(p[1].peak_type, 0);
}

TEST(GpxReaderTracks, ElevationBounds)
{
  auto d = read("<trk>" + pt(35, 139, "<ele>-5</ele>") + pt(35, 139, "<ele>0</ele>") + pt(35, 139, "<ele>3800</ele>") +
                pt(35, 139, "<ele>3800.5</ele>") + pt(35, 139) + pt(35, 139, "<ele>1e400</ele>") + "</trk>");
  const auto& p = d.tracks[0].points;
  ASSERT_EQ(p.size(), 6u);
  EXPECT_EQ(p[0].elev, -100.0f);
  EXPECT_EQ(p[1].elev, 0.0f);
  EXPECT_EQ(p[2].elev, 3800.0f);
  EXPECT_EQ(p[3].elev, -100.0f);
  EXPECT_EQ(p[4].elev, -100.0f);
  EXPECT_EQ(p[5].elev, -100.0f);
}

TEST(GpxReaderTracks, MissingOrEmptyCoordinatesSkipThePoint)
{
  auto d = read("<trk><trkpt lat=\"35\"><ele>5</ele></trkpt><trkpt lat=\"\" lon=\"139\"/>" + pt(35, 139) + "</trk>");
  ASSERT_EQ(d.tracks.size(), 1u);
  EXPECT_EQ(d.tracks[0].points.size(), 1u);
}

TEST(GpxReaderTracks, UnprojectableCoordinatesAreSkipped)
{
  auto d = read("<trk><trkpt lat=\"90\" lon=\"139\"/><trkpt lat=\"-90.5\" lon=\"139\"/><trkpt lat=\"35\" lon=\"180.1\"/>"
                "<trkpt lat=\"1e308\" lon=\"1e308\"/><trkpt lat=\"35\" lon=\"1e999\"/>" +
                pt(35, 139) + "<trkpt lat=\"89.9\" lon=\"-180\"/></trk><wpt lat=\"95\" lon=\"0\"><name>x</name></wpt>");
  ASSERT_EQ(d.tracks.size(), 1u);
  ASSERT_EQ(d.tracks[0].points.size(), 2u);
  EXPECT_TRUE(std::isfinite(d.tracks[0].points[1].seg_dist));
  EXPECT_TRUE(d.outside);
  EXPECT_TRUE(d.waypoints.empty());
}

TEST(GpxReaderTracks, OutsideJapanFlag)
{
  EXPECT_TRUE(read("<trk>" + pt(37.5, 122.0) + "</trk>").outside);
  EXPECT_FALSE(read("<trk>" + pt(24.4, 124.19) + "</trk>").outside);
  // Waypoints do not count.
  EXPECT_FALSE(read("<wpt lat=\"0\" lon=\"0\"/>").outside);
}

TEST(GpxReaderWayPoints, NameElevationAndInvalidFlag)
{
  auto d = read("<wpt lat=\"35.5\" lon=\"139.25\"><ele>12.5</ele><name>\n   山頂::頂上\n</name><sym>x</sym></wpt>"
                "<wpt lat=\"35\" lon=\"139\"/>");
  ASSERT_EQ(d.waypoints.size(), 2u);
  EXPECT_EQ(d.waypoints[0].name, "山頂::頂上");
  EXPECT_EQ(d.waypoints[0].elev, 12.5f);
  EXPECT_EQ(d.waypoints[0].x, static_cast<int32_t>(pixelFromLon(18, 139.25)));
  EXPECT_EQ(d.waypoints[1].name, "");
  EXPECT_EQ(d.waypoints[1].elev, -100.0f);
  EXPECT_TRUE(d.invalid_wp);
  EXPECT_FALSE(read("<wpt lat=\"35\" lon=\"139\"><ele>1</ele></wpt>").invalid_wp);
}

TEST(GpxReaderWayPoints, RouteAfterWayPointFeedsItsLookAhead)
{
  // The rte is not read, but its name and ele are taken by the preceding waypoint.
  auto d = read("<wpt lat=\"35\" lon=\"139\"><name>W</name></wpt><rte><name>R</name><rtept lat=\"35\" lon=\"139\">"
                "<ele>42</ele></rtept></rte><trk><name>T</name>" + pt(35, 139) + "</trk>");
  ASSERT_EQ(d.waypoints.size(), 1u);
  EXPECT_EQ(d.waypoints[0].name, "R");
  EXPECT_EQ(d.waypoints[0].elev, 42.0f);
  ASSERT_EQ(d.tracks.size(), 1u);
  EXPECT_EQ(d.tracks[0].name, "T");
  // A route alone is nothing.
  auto r = read("<rte><name>R</name><rtept lat=\"35\" lon=\"139\"/></rte>");
  EXPECT_TRUE(r.tracks.empty());
  EXPECT_TRUE(r.waypoints.empty());
}

TEST(GpxReaderWayPoints, PointLookAheadPassesOverNames)
{
  // A point's look-ahead swallows a following name, so it never names the track.
  auto d = read("<trk><name>T</name>" + pt(35, 139, "<name>P</name>") + "</trk><rte><name>R</name></rte>");
  ASSERT_EQ(d.tracks.size(), 1u);
  EXPECT_EQ(d.tracks[0].name, "T");
}

TEST(GpxReaderWayPoints, NameTextIncludesDescendantsAndCData)
{
  auto d = read("<wpt lat=\"35\" lon=\"139\"><name>a<b>b</b><![CDATA[c]]>&amp;<!-- no -->d</name></wpt>");
  EXPECT_EQ(d.waypoints[0].name, "abc&d");
}

TEST(GpxReaderTime, FormsAndValidity)
{
  auto d = read("<trk>" + pt(35, 139, "<time>2019-05-03T01:02:03Z</time>") +
                pt(35, 139, "<time>2019-05-03T01:02:03.250Z</time>") +
                pt(35, 139, "<time>2019-05-03T10:02:03+09:00</time>") + "</trk>");
  const auto& p = d.tracks[0].points;
  ASSERT_TRUE(p[0].time);
  ASSERT_TRUE(p[1].time);
  EXPECT_EQ((*p[1].time - *p[0].time).count(), 250);
  EXPECT_FALSE(p[2].time);
}

namespace {

std::vector<Track> track(int n, std::initializer_list<std::pair<int, double>> times)
{
  std::vector<Track> t(n);
  for (auto [i, s] : times) t[i].time = TimePoint{std::chrono::milliseconds(static_cast<long long>(s * 1000))};
  return t;
}

}  // namespace

TEST(GpxReaderTime, ValidTimeRule)
{
  // 10 points, 8 timed, 11 s: valid. 7 timed, or exactly 10 s: not.
  EXPECT_TRUE(checkValidTime(track(10, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {9, 11}})));
  EXPECT_FALSE(checkValidTime(track(10, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {9, 11}})));
  EXPECT_FALSE(checkValidTime(track(10, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {9, 10}})));
  EXPECT_TRUE(checkValidTime(track(10, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {9, 10.001}})));
  // ⌊4 × 80 / 100⌋ = 3.
  EXPECT_TRUE(checkValidTime(track(4, {{1, 0}, {2, 5}, {3, 20}})));
  EXPECT_FALSE(checkValidTime(track(4, {{1, 0}, {3, 20}})));
  // One point of one: no span. Empty: not valid.
  EXPECT_FALSE(checkValidTime(track(1, {{0, 0}})));
  EXPECT_FALSE(checkValidTime({}));
  // Out of order: the span is last minus first, so negative.
  EXPECT_FALSE(checkValidTime(track(2, {{0, 100}, {1, 0}})));
}

TEST(GpxReaderDocument, NonGpxXmlIsEmptyAndGarbageFails)
{
  auto r = parseGPX("<html><body>hello</body></html>");
  ASSERT_TRUE(r.ok());
  EXPECT_TRUE(r.data.tracks.empty());
  EXPECT_TRUE(r.data.waypoints.empty());
  EXPECT_EQ(parseGPX("").error, GpxReadError::NotWellFormed);
  EXPECT_EQ(parseGPX("not xml").error, GpxReadError::NotWellFormed);
  EXPECT_EQ(parseGPX("<gpx><trk>" + pt(35, 139)).error, GpxReadError::NotWellFormed);
  EXPECT_EQ(parseGPX(std::string("<gpx>\xff</gpx>")).error, GpxReadError::NotUtf8);
  EXPECT_EQ(parseGPX(std::string("<gpx>\0</gpx>", 12)).error, GpxReadError::NotWellFormed);
}

TEST(GpxReaderDocument, NamespacesAndVersionPlayNoPart)
{
  auto d = parseGPX("<g:gpx xmlns:g=\"urn:x\"><g:wpt g:lat=\"35\" lon=\"139\"><g:name>N</g:name></g:wpt></g:gpx>");
  ASSERT_TRUE(d.ok());
  ASSERT_EQ(d.data.waypoints.size(), 1u);
  EXPECT_EQ(d.data.waypoints[0].name, "N");
}
