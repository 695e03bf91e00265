// The settings file and the controller's load/save of it.
#include "app/ConfigStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <tuple>

#include "app/AppDelegate.h"
#include "support/TestPaths.h"

namespace {

const tw::FrameRect kScreen{0, 0, 1600, 900};

void writeRaw(const QString& path, const QByteArray& bytes)
{
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

QByteArray readRaw(const QString& path)
{
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class ConfigStoreTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  ScriptedMessageBoxes boxes;
  QString path() const { return dir.path() + QStringLiteral("/tarnwick.ini"); }
  // A controller started on the test's settings file.
  std::unique_ptr<AppDelegate> start()
  {
    auto d = std::make_unique<AppDelegate>(AppDelegate::Seams{&boxes, nullptr});
    d->timer.stop();
    d->drawTimer.stop();
    d->configStore = ConfigStore(path()), d->screen = kScreen;
    d->loadConfig();
    return d;
  }
};

}  // namespace

// The file a first run leaves, then a second run that switches peaks on: byte for byte what
// earlier versions wrote, so the users' files keep loading and keep their meaning.
TEST_F(ConfigStoreTest, FirstAndSecondRunWriteTheKnownFile)
{
  start()->saveConfig();
  auto second = start();
  second->showPeak();
  second->saveConfig();
  EXPECT_EQ(readRaw(path()), QByteArray::fromStdString(twtest::readFile(twtest::fixture("app/settings.ini"))));
}

TEST_F(ConfigStoreTest, ControllerRestoresWhatItSaved)
{
  {
    auto d = start();
    EXPECT_FALSE(ConfigStore(path()).read().config);  // nothing stored yet
    std::tie(d->view.lat, d->view.lon, d->view.zoom) = std::tuple(35.3606, 138.7274, 13);
    d->hideWayPoint();
    d->currentFrame = [] { return tw::FrameRect{30, 40, 1000, 700}; };
    d->applicationWillTerminate();
  }
  auto d = start();
  EXPECT_EQ(std::tuple(d->view.zoom, d->view.lat, d->config.isOn(tw::key::show_waypoint), d->derived.show_graph),
            std::tuple(13, double(35.3606f), false, 1));
  EXPECT_EQ(d->config.stringValue(tw::key::frame), "{{30, 40}, {1000, 700}}");

  // Quitting abroad keeps the stored centre.
  std::tie(d->view.lat, d->view.lon) = std::pair(48.85, 2.35);
  d->saveConfig();
  d->loadConfig();
  EXPECT_EQ(std::tuple(d->view.zoom, d->view.lon), std::tuple(13, double(138.7274f)));
}

// The value checks themselves are ConfigSchemaTest's; here the file's own reading of them.
TEST_F(ConfigStoreTest, HandEditedValuesAreCheckedNotTrusted)
{
  writeRaw(path(), "[config]\nzoom=19\nroute_width=wide\nshow_peak=1.0\nframe={{10, 10}, {800, 600}}\nunknown_key=3\n");
  auto stored = ConfigStore(path()).read();
  ASSERT_TRUE(stored.config);
  EXPECT_FALSE(stored.config->count("route_width") || stored.config->count("unknown_key"));
  auto d = start();
  EXPECT_EQ(d->view.zoom, 8);  // out of range
  EXPECT_TRUE(d->config.isOn(tw::key::show_peak));
  EXPECT_EQ(d->config.stringValue(tw::key::frame), "{{10, 10}, {800, 600}}");  // unquoted commas: one rectangle
  // A value nobody changed is written back exactly as it was stored.
  d->saveConfig();
  EXPECT_TRUE(readRaw(path()).contains("\nshow_peak=1.0\n"));
}

TEST_F(ConfigStoreTest, WriteReadRoundTripKeepsTypes)
{
  tw::Config c;
  tw::writeConfigDefaults(c, kScreen);
  c.setString(tw::key::wp_font_name, "IPAPゴシック");
  ConfigStore store(path());
  ASSERT_TRUE(store.write(c, tw::defaultTrackTable(), {"no:30", "name:200", "elev:60", "lat:70", "lon:80"}));
  EXPECT_FALSE(QFile::exists(path() + QStringLiteral(".new")));
  auto stored = store.read();
  ASSERT_TRUE(stored.config);
  EXPECT_EQ(stored.config->size(), c.size());
  for (const auto& [key, value] : c.entries()) EXPECT_EQ(stored.config->at(key), value) << key;
  EXPECT_EQ(stored.wp_table->at(1), "name:200");
}

TEST_F(ConfigStoreTest, DamagedFilesReadAsAFirstRunAndAreKeptAside)
{
  QByteArray junk("[config]\nzoom=12\n");
  junk.append('\0');
  junk.append("\xff\xfe garbage \x01\x02", 14);
  for (const QByteArray& bytes : {junk, QByteArray(ConfigStore::kMaxFileSize + 1, 'a')}) {
    writeRaw(path(), bytes);
    ConfigStore store(path());
    EXPECT_TRUE(!store.read().config && store.damaged());
    tw::Config c;
    tw::writeConfigDefaults(c, kScreen);
    ASSERT_TRUE(store.write(c, {}, {}));
    EXPECT_EQ(readRaw(path() + QStringLiteral(".damaged")), bytes);
    ConfigStore again(path());
    EXPECT_TRUE(again.read().config && !again.damaged());
  }
}

TEST_F(ConfigStoreTest, UnwritableLocationFailsTheWrite)
{
  writeRaw(dir.path() + QStringLiteral("/blocker"), "x");  // a regular file where the folder should be
  ConfigStore store(dir.path() + QStringLiteral("/blocker/tarnwick.ini"));
  tw::Config c;
  tw::writeConfigDefaults(c, kScreen);
  EXPECT_FALSE(store.write(c, {}, {}));
}
