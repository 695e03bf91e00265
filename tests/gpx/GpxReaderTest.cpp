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

}  // namespace

TEST(GpxReader, TracksSegmentsAndNames)
{
  // Segments merge into their track; points before any trk are named by the last name the
  // main scan met (here the metadata's); an empty trk adds nothing.
  auto d = read("<metadata><name> Plan </name></metadata>" + pt(35, 139) + "<trk></trk><trk><name>A</name><trkseg>" +
                pt(35, 139) + pt(35.001, 139) + "</trkseg><trkseg>" + pt(35.002, 139) + "</trkseg></trk><trk>" +
                pt(36, 138) + "</trk>");
  ASSERT_EQ(d.tracks.size(), 3u);
  EXPECT_EQ(d.tracks[0].name, "Plan");
  EXPECT_EQ(d.tracks[1].name, "A");
  ASSERT_EQ(d.tracks[1].points.size(), 3u);
  EXPECT_EQ(d.tracks[1].points[2].lat, 35.002);
  EXPECT_EQ(d.tracks[2].name, "");
  EXPECT_TRUE(d.name_present[2]);
  EXPECT_EQ(d.tracks[1].stable, 1);
  EXPECT_FALSE(read(pt(35, 139)).name_present[0]);
}

TEST(GpxReader, PointRecordFields)
{
  auto d = read("<trk>" + pt(35, 139, "<ele>100</ele><time>2019-05-03T01:02:03Z</time>") +
                pt(35, 139.001, "<ele>abc</ele>") + pt(35, 139.002) + "</trk>");
  const auto& p = d.tracks[0].points;
  ASSERT_EQ(p.size(), 3u);
  EXPECT_EQ(p[0].x, static_cast<int32_t>(pixelFromLon(18, 139.0)));
  EXPECT_EQ(p[0].y, static_cast<int32_t>(pixelFromLat(18, 35.0)));
  EXPECT_EQ(p[0].elev, 100.0f);
  EXPECT_EQ(p[0].dist, 0.0f);
  EXPECT_TRUE(p[0].time);
  EXPECT_EQ(p[1].elev, 0.0f);  // not a number reads as 0
  EXPECT_EQ(p[2].elev, kUnknownElevation);
  EXPECT_FALSE(p[1].time);
  EXPECT_EQ(p[1].seg_dist, static_cast<float>(calcDistHubeny(35.0, 139.0, 35.0, 139.001)));
  EXPECT_EQ(p[2].dist, p[1].seg_dist + p[2].seg_dist);
}

TEST(GpxReader, UnusableCoordinatesSkipThePointAndOutsideFlag)
{
  auto d = read("<trk><trkpt lat=\"35\"><ele>5</ele></trkpt><trkpt lat=\"\" lon=\"139\"/><trkpt lat=\"90\" lon=\"139\"/>"
                "<trkpt lat=\"-90.5\" lon=\"139\"/><trkpt lat=\"35\" lon=\"180.1\"/><trkpt lat=\"1e308\" lon=\"1e308\"/>"
                "<trkpt lat=\"35\" lon=\"1e999\"/>" +
                pt(35, 139) + "<trkpt lat=\"89.9\" lon=\"-180\"/></trk><wpt lat=\"95\" lon=\"0\"><name>x</name></wpt>");
  ASSERT_EQ(d.tracks.size(), 1u);
  ASSERT_EQ(d.tracks[0].points.size(), 2u);
  EXPECT_TRUE(std::isfinite(d.tracks[0].points[1].seg_dist));
  EXPECT_TRUE(d.outside);
  EXPECT_TRUE(d.waypoints.empty());
  EXPECT_FALSE(read("<trk>" + pt(24.4, 124.19) + "</trk>").outside);
  EXPECT_FALSE(read("<wpt lat=\"0\" lon=\"0\"/>").outside);  // waypoints do not count
}

TEST(GpxReader, WayPointsAndTheLookAhead)
{
  auto d = read("<wpt lat=\"35.5\" lon=\"139.25\"><ele>12.5</ele><name>\n   山頂::頂上\n</name><sym>x</sym></wpt>"
                "<wpt lat=\"35\" lon=\"139\"/>");
  ASSERT_EQ(d.waypoints.size(), 2u);
  EXPECT_EQ(d.waypoints[0].name, "山頂::頂上");
  EXPECT_EQ(d.waypoints[0].elev, 12.5f);
  EXPECT_EQ(d.waypoints[0].x, static_cast<int32_t>(pixelFromLon(18, 139.25)));
  EXPECT_EQ(d.waypoints[1].elev, kUnknownElevation);
  EXPECT_TRUE(d.invalid_wp);
  EXPECT_FALSE(read("<wpt lat=\"35\" lon=\"139\"><ele>1</ele></wpt>").invalid_wp);
  // Routes are not read, but a route's name and ele are taken by the waypoint before it.
  auto r = read("<wpt lat=\"35\" lon=\"139\"><name>W</name></wpt><rte><name>R</name><rtept lat=\"35\" lon=\"139\">"
                "<ele>42</ele></rtept></rte><trk><name>T</name>" + pt(35, 139, "<name>P</name>") + "</trk>");
  ASSERT_EQ(r.waypoints.size(), 1u);
  EXPECT_EQ(r.waypoints[0].name, "R");
  EXPECT_EQ(r.waypoints[0].elev, 42.0f);
  ASSERT_EQ(r.tracks.size(), 1u);
  EXPECT_EQ(r.tracks[0].name, "T");  // the point's look-ahead swallowed its name
  EXPECT_TRUE(read("<rte><name>R</name><rtept lat=\"35\" lon=\"139\"/></rte>").tracks.empty());
  // Namespaces play no part.
  auto n = parseGPX("<g:gpx xmlns:g=\"urn:x\"><g:wpt g:lat=\"35\" lon=\"139\"><g:name>N</g:name></g:wpt></g:gpx>");
  ASSERT_EQ(n.data.waypoints.size(), 1u);
  EXPECT_EQ(n.data.waypoints[0].name, "N");
}

TEST(GpxReader, ValidTimeRule)
{
  // n points; the first k − 1 timed a second apart and the last at `span` seconds.
  const std::tuple<int, int, double, bool> cases[] = {
      {10, 8, 11, true},  {10, 7, 11, false}, {10, 8, 10, false},  // more than 10 s
      {10, 8, 10.001, true}, {4, 3, 20, true}, {4, 2, 20, false},   // ⌊n × 80 / 100⌋ timed
      {1, 1, 0, false},   {0, 0, 0, false},   {2, 2, -5, false}};   // last minus first
  for (const auto& [n, k, span, valid] : cases) {
    std::vector<Track> t(n);
    for (int i = 0; i + 1 < k; ++i) t[i].time = TimePoint{std::chrono::seconds(i)};
    if (k > 0) t[n - 1].time = TimePoint{std::chrono::milliseconds(static_cast<long long>(span * 1000))};
    EXPECT_EQ(checkValidTime(t), valid) << n << " " << k << " " << span;
  }
}
