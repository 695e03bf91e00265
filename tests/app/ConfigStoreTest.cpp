// The settings file and the controller's load/save of it.
#include "app/ConfigStore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/AppDelegate.h"

namespace {

const tw::FrameRect kScreen{0, 0, 1600, 900};

void writeRaw(const QString& path, const QByteArray& bytes)
{
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QByteArray readRaw(const QString& path)
{
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class ConfigStoreTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString path() const { return dir.path() + QStringLiteral("/tarnwick.ini"); }
};

}  // namespace

TEST_F(ConfigStoreTest, MissingFileIsFirstRun)
{
  ConfigStore store(path());
  auto stored = store.read();
  EXPECT_FALSE(stored.config);
  EXPECT_FALSE(stored.track_table);
  EXPECT_FALSE(store.damaged());
}

TEST_F(ConfigStoreTest, WriteReadRoundTripKeepsTypesAndOrder)
{
  tw::Config c;
  tw::writeConfigDefaults(c, kScreen);
  c.setString("wp_font_name", "IPAPゴシック");
  c.setInt("zoom", 14);
  ConfigStore store(path());
  ASSERT_TRUE(store.write(c, tw::defaultTrackTable(), {"no:30", "name:200", "elev:60", "lat:70", "lon:80"}));
  EXPECT_FALSE(QFile::exists(path() + QStringLiteral(".new")));

  auto stored = store.read();
  ASSERT_TRUE(stored.config);
  const auto& dict = *stored.config;
  EXPECT_EQ(dict.size(), c.size());
  for (const auto& [key, value] : c.entries()) {
    ASSERT_TRUE(dict.count(key)) << key;
    EXPECT_EQ(dict.at(key), value) << key;
  }
  EXPECT_EQ(*stored.track_table, tw::defaultTrackTable());
  EXPECT_EQ(stored.wp_table->at(1), "name:200");
}

TEST_F(ConfigStoreTest, HandEditedValuesAreCheckedNotTrusted)
{
  writeRaw(path(),
           "[config]\n"
           "zoom=19\n"
           "latitude=45.6\n"
           "contour=0\n"
           "road_depth=30\n"
           "route_width=wide\n"
           "frame={{10, 10}, {800, 600}}\n"
           "unknown_key=3\n"
           "[General]\n"
           "track_table=no:30, elev:60, time:60, dist:60, speed:60, lat:70\n");
  ConfigStore store(path());
  auto stored = store.read();
  ASSERT_TRUE(stored.config);
  EXPECT_FALSE(stored.config->count("route_width"));
  EXPECT_FALSE(stored.config->count("unknown_key"));
  tw::Config c;
  tw::DerivedConfig d;
  tw::ViewportState v;
  tw::loadConfig(stored, kScreen, c, d, v);
  EXPECT_EQ(v.zoom, 8);
  EXPECT_DOUBLE_EQ(v.lat, double(35.8555f));
  EXPECT_EQ(d.contour_color, (std::array<uint8_t, 3>{200, 160, 60}));
  EXPECT_EQ(d.road_color, (std::array<uint8_t, 3>{70, 70, 70}));
  EXPECT_EQ(c.intValue("route_width"), 4);
  EXPECT_EQ(c.stringValue("frame"), "{{10, 10}, {800, 600}}");  // unquoted commas still read as one rectangle
  EXPECT_EQ(d.track_table, tw::defaultTrackTable());
}

TEST_F(ConfigStoreTest, CorruptFileIsFirstRunAndKeptAside)
{
  QByteArray junk("[config]\nzoom=12\n");
  junk.append('\0');
  junk.append("\xff\xfe garbage \x01\x02", 14);
  writeRaw(path(), junk);
  ConfigStore store(path());
  auto stored = store.read();
  EXPECT_TRUE(store.damaged());
  EXPECT_FALSE(stored.config);

  tw::Config c;
  tw::writeConfigDefaults(c, kScreen);
  ASSERT_TRUE(store.write(c, {}, {}));
  EXPECT_EQ(readRaw(path() + QStringLiteral(".damaged")), junk);
  ConfigStore again(path());
  auto reread = again.read();
  EXPECT_FALSE(again.damaged());
  ASSERT_TRUE(reread.config);
  EXPECT_EQ(tw::toInt32(reread.config->at("zoom")), 8);
}

TEST_F(ConfigStoreTest, OversizedFileIsFirstRun)
{
  writeRaw(path(), QByteArray(ConfigStore::kMaxFileSize + 1, 'a'));
  ConfigStore store(path());
  EXPECT_FALSE(store.read().config);
  EXPECT_TRUE(store.damaged());
}

TEST_F(ConfigStoreTest, UnwritableLocationLeavesNoFile)
{
  // A regular file where the folder should be.
  writeRaw(dir.path() + QStringLiteral("/blocker"), "x");
  ConfigStore store(dir.path() + QStringLiteral("/blocker/tarnwick.ini"));
  tw::Config c;
  tw::writeConfigDefaults(c, kScreen);
  EXPECT_FALSE(store.write(c, {}, {}));
}

TEST_F(ConfigStoreTest, EnvironmentMovesTheFile)
{
  // The test main points TARNWICK_CONFIG_DIR at a temporary folder.
  const QString env = qEnvironmentVariable("TARNWICK_CONFIG_DIR");
  ASSERT_FALSE(env.isEmpty());
  EXPECT_EQ(ConfigStore::defaultPath(), env + QStringLiteral("/tarnwick.ini"));
}

// The controller: first run, then a quit that persists, then a second start that restores.
TEST_F(ConfigStoreTest, ControllerRestoresWhatItSaved)
{
  ScriptedMessageBoxes boxes;
  {
    AppDelegate d({&boxes, nullptr});
    d.configStore = ConfigStore(path());
    d.screen = kScreen;
    d.loadConfig();
    EXPECT_EQ(d.derived.show_graph, 0);  // first run keeps the initialiser's value
    EXPECT_EQ(d.view.zoom, 8);
    d.view.lat = 35.3606;
    d.view.lon = 138.7274;
    d.view.zoom = 13;
    d.config.setInt("show_waypoint", 0);
    d.currentFrame = [] { return tw::FrameRect{30, 40, 1000, 700}; };
    d.applicationWillTerminate();
  }
  AppDelegate d({&boxes, nullptr});
  d.configStore = ConfigStore(path());
  d.screen = kScreen;
  d.loadConfig();
  EXPECT_EQ(d.view.zoom, 13);
  EXPECT_DOUBLE_EQ(d.view.lat, double(35.3606f));
  EXPECT_EQ(d.config.intValue("show_waypoint"), 0);
  EXPECT_EQ(d.derived.show_graph, 1);
  EXPECT_EQ(d.config.stringValue("frame"), "{{30, 40}, {1000, 700}}");
  EXPECT_EQ(d.derived.track_table, tw::defaultTrackTable());

  // Quitting abroad keeps the stored centre.
  d.view.lat = 48.85;
  d.view.lon = 2.35;
  d.view.zoom = 10;
  d.saveConfig();
  d.loadConfig();
  EXPECT_EQ(d.view.zoom, 13);
  EXPECT_DOUBLE_EQ(d.view.lon, double(138.7274f));
}
