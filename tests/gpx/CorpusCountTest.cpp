// Every corpus file loads, and what the reader finds matches an independent count.
//
// The expected objects were produced by tests/gpx/independent_counts.py (Python's ElementTree
// over the plain trk > trkseg > trkpt and wpt > ele structure, a separate implementation of the
// GPX subset) and agree with it line for line, except where the reader's look-ahead rule
// differs by design; those lines are marked.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "gpx/GpxReader.h"
#include "gpx/GpxSummary.h"
#include "support/TestPaths.h"

using namespace tw;

namespace {

const std::map<std::string, std::string> kExpected = {
    {"georust-garmin_with_extensions.gpx",
     R"({"tracks": [{"name": "2019-05-01 06:31:11 Tag", "points": 3540, "timed": 3540, "valid_time": true, "stable": 1}], "waypoints": 0, "waypoints_without_elev": 0, "outside": true})"},
    {"georust-outdooractive-export.gpx",
     R"({"tracks": [{"name": "Kilimanjaro - Machame Route", "points": 9, "timed": 0, "valid_time": false, "stable": 1}], "waypoints": 0, "waypoints_without_elev": 0, "outside": true})"},
    {"georust-strava_route_example.gpx",
     R"({"tracks": [{"name": "Afternoon Run", "points": 113, "timed": 0, "valid_time": false, "stable": 1}], "waypoints": 0, "waypoints_without_elev": 0, "outside": true})"},
    {"gpsbabel-GC7FA4-groundspeak.gpx",
     R"({"tracks": [], "waypoints": 1, "waypoints_without_elev": 1, "outside": false})"},
    {"gpsbabel-basecamp.gpx",
     R"({"tracks": [{"name": "Hwy 119 to Hwy 72", "points": 2, "timed": 0, "valid_time": false, "stable": 1}], "waypoints": 2, "waypoints_without_elev": 2, "outside": true})"},
    {"gpsbabel-garminconnect.gpx",
     R"({"tracks": [{"name": "Boulder Cycling", "points": 68, "timed": 68, "valid_time": true, "stable": 1}], "waypoints": 0, "waypoints_without_elev": 0, "outside": true})"},
    {"gpsbabel-gpx_subsecond-sample.gpx",
     R"({"tracks": [{"name": "", "points": 5, "timed": 1, "valid_time": false, "stable": 1}], "waypoints": 0, "waypoints_without_elev": 0, "outside": true})"},
    {"gpsbabel-gpxpassthrough11.gpx",  // the last wpt takes the ele of the rtept after it
     R"({"tracks": [{"name": "meridian", "points": 3, "timed": 3, "valid_time": true, "stable": 1}], "waypoints": 3, "waypoints_without_elev": 1, "outside": true})"},
    {"gpxgo-iso8859-1encoded.gpx",
     R"({"tracks": [], "waypoints": 8, "waypoints_without_elev": 8, "outside": false})"},
    {"gpxpy-gpx-with-node-with-comments.gpx",
     R"({"tracks": [{"name": "2014-05-06_132925", "points": 1, "timed": 1, "valid_time": false, "stable": 1}], "waypoints": 0, "waypoints_without_elev": 0, "outside": true})"},
    {"gpxpy-gpx1.0_with_all_fields.gpx",  // the last wpt takes the ele of the rtept after it
     R"({"tracks": [{"name": "example name t", "points": 1, "timed": 0, "valid_time": false, "stable": 1}], "waypoints": 2, "waypoints_without_elev": 0, "outside": true})"},
    {"gpxpy-korita-zbevnica.gpx",
     R"({"tracks": [{"name": "03-OCT-10 #2", "points": 358, "timed": 0, "valid_time": false, "stable": 1}, {"name": "ACTIVE LOG", "points": 176, "timed": 176, "valid_time": true, "stable": 1}, {"name": "ACTIVE LOG #2", "points": 337, "timed": 337, "valid_time": true, "stable": 1}], "waypoints": 2, "waypoints_without_elev": 2, "outside": true})"},
    {"gpxpy-route.gpx",
     R"({"tracks": [], "waypoints": 0, "waypoints_without_elev": 0, "outside": false})"},
    {"gpxpy-track-with-empty-segment.gpx",
     R"({"tracks": [{"name": "2013-07-06T14:59:00Z", "points": 9, "timed": 9, "valid_time": true, "stable": 1}], "waypoints": 0, "waypoints_without_elev": 0, "outside": true})"},
    {"gpxpy-track-with-less-sec-time.gpx",
     R"({"tracks": [{"name": "", "points": 2, "timed": 0, "valid_time": false, "stable": 1}], "waypoints": 0, "waypoints_without_elev": 0, "outside": true})"},
    {"gpxpy-unicode_with_bom.gpx",
     R"({"tracks": [], "waypoints": 1, "waypoints_without_elev": 1, "outside": false})"},
    {"gpxstudio-with_routes.gpx",
     R"({"tracks": [], "waypoints": 0, "waypoints_without_elev": 0, "outside": false})"},
    {"gpxstudio-with_tracks_and_segments.gpx",
     R"({"tracks": [{"name": "track 1", "points": 50, "timed": 50, "valid_time": true, "stable": 1}, {"name": "track 2", "points": 29, "timed": 29, "valid_time": true, "stable": 1}], "waypoints": 0, "waypoints_without_elev": 0, "outside": true})"},
    {"jp-strava-kyoto-trail-3days.gpx",
     R"({"tracks": [{"name": "京都一周トレイル2泊3日", "points": 2509, "timed": 2509, "valid_time": true, "stable": 1}], "waypoints": 0, "waypoints_without_elev": 0, "outside": false})"},
    {"jp-yamap-azumaya-name-entities-emoji.gpx",
     R"({"tracks": [{"name": "晴れ山へ٩( 'ω' )و🌞", "points": 480, "timed": 480, "valid_time": true, "stable": 1}], "waypoints": 0, "waypoints_without_elev": 0, "outside": false})"},
    {"jp-yamap-fuji-gotemba-3782m.gpx",
     R"({"tracks": [{"name": "三度目にして登頂！", "points": 1018, "timed": 1018, "valid_time": true, "stable": 1}], "waypoints": 0, "waypoints_without_elev": 0, "outside": false})"},
    {"jp-yamap-karasawa-3days-overnight-gaps.gpx",
     R"({"tracks": [{"name": "涸沢の紅葉🍁朝焼け☀️-2019-10-07~09", "points": 1413, "timed": 1413, "valid_time": true, "stable": 1}], "waypoints": 0, "waypoints_without_elev": 0, "outside": false})"},
    {"jp-yamap-omoto-ishigaki-24N.gpx",
     R"({"tracks": [{"name": "於茂登岳 沖縄県最高峰ハントハイク", "points": 235, "timed": 235, "valid_time": true, "stable": 1}], "waypoints": 0, "waypoints_without_elev": 0, "outside": false})"},
    {"jp-yamap-osorakan-33pts.gpx",
     R"({"tracks": [{"name": "恐羅漢山", "points": 33, "timed": 33, "valid_time": true, "stable": 1}], "waypoints": 0, "waypoints_without_elev": 0, "outside": false})"},
    {"jp-yamap-shokanbetsu-ele-zero-dropouts.gpx",
     R"({"tracks": [{"name": "日本二百名山８３座目　暑寒別岳", "points": 1502, "timed": 1502, "valid_time": true, "stable": 1}], "waypoints": 0, "waypoints_without_elev": 0, "outside": false})"},
    {"jp-yamareco-ios-kyoto-trail-3days.gpx",
     R"({"tracks": [{"name": "track", "points": 906, "timed": 906, "valid_time": true, "stable": 1}, {"name": "track", "points": 984, "timed": 984, "valid_time": true, "stable": 1}, {"name": "track", "points": 3, "timed": 3, "valid_time": true, "stable": 1}, {"name": "track", "points": 616, "timed": 616, "valid_time": true, "stable": 1}], "waypoints": 0, "waypoints_without_elev": 0, "outside": false})"},
    {"togeojson-blue_hills.gpx",
     R"({"tracks": [{"name": "BIG LOOP", "points": 309, "timed": 309, "valid_time": true, "stable": 1}, {"name": "BUCK HILL", "points": 498, "timed": 498, "valid_time": true, "stable": 1}, {"name": "SHORT LOOP", "points": 436, "timed": 436, "valid_time": true, "stable": 1}], "waypoints": 46, "waypoints_without_elev": 5, "outside": true})"},
    {"togeojson-multitrackgpx.gpx",
     R"({"tracks": [{"name": "Tag 1", "points": 38, "timed": 38, "valid_time": true, "stable": 1}, {"name": "Tag 2", "points": 65, "timed": 65, "valid_time": true, "stable": 1}, {"name": "Tag 3", "points": 14, "timed": 14, "valid_time": true, "stable": 1}], "waypoints": 0, "waypoints_without_elev": 0, "outside": true})"},
    {"togeojson-osm.gpx",
     R"({"tracks": [{"name": "dc.zip", "points": 60, "timed": 60, "valid_time": false, "stable": 1}, {"name": "GPS_20090913_001033.gpx", "points": 115, "timed": 115, "valid_time": true, "stable": 1}, {"name": "", "points": 245, "timed": 0, "valid_time": false, "stable": 1}], "waypoints": 0, "waypoints_without_elev": 0, "outside": true})"},
};

}  // namespace

TEST(CorpusCount, EveryFileMatchesTheIndependentCount)
{
  TW_REQUIRE_CORPUS();
  size_t seen = 0;
  for (const auto& e : std::filesystem::directory_iterator(twtest::corpusDir() + "/gpx")) {
    const std::string name = e.path().filename().string();
    const auto it = kExpected.find(name);
    ASSERT_NE(it, kExpected.end()) << name << " is new in the corpus: add its independent count";
    const auto r = parseGPX(twtest::readFile(e.path()));
    ASSERT_TRUE(r.ok()) << name;
    EXPECT_EQ(countJson(r.data), it->second) << name;
    ++seen;
  }
  EXPECT_EQ(seen, kExpected.size());
}

TEST(CorpusCount, JsonShapeForUnnamedAndEscapedNames)
{
  auto r = parseGPX("<gpx><trkpt lat=\"35\" lon=\"139\"/><trk><name>a\"b\\c</name><trkpt lat=\"35\" lon=\"139\"/></trk>"
                    "<wpt lat=\"1\" lon=\"2\"/></gpx>");
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(countJson(r.data),
            R"({"tracks": [{"name": null, "points": 1, "timed": 0, "valid_time": false, "stable": 1}, )"
            R"({"name": "a\"b\\c", "points": 1, "timed": 0, "valid_time": false, "stable": 1}], )"
            R"("waypoints": 1, "waypoints_without_elev": 1, "outside": false})");
  EXPECT_EQ(jsonString("\x01\n"), "\"\\u0001\\n\"");
}
