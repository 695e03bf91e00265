// The controller's GPX flow with scripted boxes: when it asks, replace and append, the error and
// warning boxes, the open and save commands and the new-document command. What the reader and
// the writer make of the text is theirs to test.
#include <gtest/gtest.h>

#include <tuple>

#include "support/ControllerFixture.h"
#include "support/TestPaths.h"

namespace {

// Also remembers the names proposed by the save panel.
class Boxes : public ScriptedMessageBoxes {
 public:
  QStringList proposed;
  QString saveFileName(const QString& title, const QString& dir, const QString& name, const QString& filters) override
  {
    proposed << name;
    return ScriptedMessageBoxes::saveFileName(title, dir, name, filters);
  }
};

QByteArray gpx(const std::string& body) { return QByteArray::fromStdString("<gpx version=\"1.1\">" + body + "</gpx>"); }

const std::string kTrackA = "<trk><name>A</name><trkpt lat=\"35.0\" lon=\"139.0\"/><trkpt lat=\"35.001\" lon=\"139.0\"/></trk>";
const std::string kTrackB = "<trk><name>B</name><trkpt lat=\"36.0\" lon=\"138.0\"/></trk>";
const std::string kWayPoint = "<wpt lat=\"35.5\" lon=\"139.5\"><name>W</name></wpt>";

class GpxControllerTest : public twtest::ControllerFixture<Boxes> {
 protected:
  QString path(const char* name) const { return dir.path() + QLatin1Char('/') + QLatin1String(name); }
};

}  // namespace

TEST_F(GpxControllerTest, ReplacingAsksForChangedOrSeveralTracksAndReportsBrokenOrForeignData)
{
  ASSERT_TRUE(d.loadGPXData(gpx(kWayPoint + kTrackA + kTrackB), false));
  boxes.confirmAnswers = {false, true};
  ASSERT_FALSE(d.loadGPXData(gpx(kTrackB), false));  // two tracks: asks; declined, nothing changed
  EXPECT_EQ(boxes.last()->title, QStringLiteral("GPX読み込み確認"));
  EXPECT_EQ(d.doc.tracks.size(), 2u);
  EXPECT_TRUE(d.loadGPXData(gpx(kTrackB), false));
  EXPECT_TRUE(d.doc.waypoints.empty());
  EXPECT_TRUE(d.loadGPXData(gpx(kTrackA), false));  // one unchanged track: no question
  EXPECT_EQ(boxes.count("confirm"), 2);
  d.doc.modify = true;
  boxes.confirmAnswers = {true};
  d.setFileName(QStringLiteral("a.gpx"));
  EXPECT_FALSE(d.loadGPXData("<gpx><trk>", false));
  EXPECT_EQ(boxes.count("confirm"), 3);
  EXPECT_EQ(boxes.last()->title + boxes.last()->mess, QStringLiteral("エラーGPXデータの読み込みに失敗しました。\nファイルが壊れている可能性があります。"));
  EXPECT_TRUE(d.doc.isEmpty() && d.doc.filename.empty());  // replace mode empties first

  ASSERT_TRUE(d.loadGPXData(gpx("<trk><trkpt lat=\"48.8\" lon=\"2.3\"/></trk>"), false));
  EXPECT_EQ(boxes.last()->title + boxes.last()->mess,
            QStringLiteral("警告海外のデータが含まれます。\n海外データは、OpenStreetMapのみの表示で、印刷や標高取得機能が使えません。"));
  EXPECT_EQ(d.derived.map_type, tw::MapType::OSM);
  ASSERT_TRUE(d.loadGPXData(gpx(kTrackA), false));
  EXPECT_FALSE(d.doc.outside);
}

TEST_F(GpxControllerTest, AppendActivatesTheFirstNewTrackWithOneUndoStep)
{
  ASSERT_TRUE(d.loadGPXData(gpx(kTrackA), true));  // to an empty document: no undo step
  EXPECT_EQ(d.editing.history.count(), 0);
  d.setFileName(QStringLiteral("a.gpx"));
  ASSERT_TRUE(d.loadGPXData(gpx(kTrackB + kWayPoint), true));
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(std::tuple(d.doc.active_track, d.doc.filename, d.view.lat), std::tuple(1, std::string("a.gpx"), 36.0));  // centred on it
  ASSERT_TRUE(d.loadGPXData(gpx(kWayPoint), true));  // only waypoints: the active track stays
  EXPECT_EQ(d.doc.active_track, 1);
  d.undo();
  d.undo();
  EXPECT_TRUE(d.doc.tracks.size() == 1u && d.doc.waypoints.empty());
  EXPECT_FALSE(d.loadGPXData("<gpx", true));  // a broken append leaves the document as it was
  EXPECT_EQ(d.doc.tracks.size(), 1u);
}

TEST_F(GpxControllerTest, OpenAppendAndSaveCommands)
{
  const QString file = QString::fromStdString(twtest::fixture("gpx/golden/two-tracks.in.gpx"));
  d.launched = true, d.mode = tw::Mode::Edit;
  boxes.fileAnswers = {file, file};
  d.loadGPX();
  EXPECT_EQ(boxes.shown.at(0).title, QStringLiteral("GPXファイル読み込み"));
  EXPECT_EQ(d.doc.filename, "two-tracks.in.gpx");
  EXPECT_TRUE(d.mode == tw::Mode::Base && d.edit_mode == tw::EditMode::Track);  // shown in base mode, track tool
  d.loadAppend();
  EXPECT_EQ(d.doc.tracks.size(), 4u);
  d.loadGPX();  // cancelled
  EXPECT_EQ(d.doc.tracks.size(), 4u);

  d.doc.modify = true;
  boxes.fileAnswers = {path("out"), path("out.gpx"), path("no/such/dir/x.gpx")};
  d.saveGPX();
  EXPECT_EQ(boxes.proposed.last(), QStringLiteral("two-tracks.in.gpx"));
  EXPECT_EQ(boxes.last()->title, QStringLiteral("GPXファイル保存"));
  EXPECT_TRUE(d.doc.filename == "out.gpx" && !d.doc.modify);
  boxes.confirmAnswers = {true};
  d.loadGPX();
  EXPECT_EQ(d.doc.tracks.size(), 4u);
  d.doc.modify = true;
  d.saveGPX();  // a failed write is said, and keeps the document unsaved under its old name
  EXPECT_EQ(boxes.last()->mess, QStringLiteral("ファイルを保存できませんでした。"));
  EXPECT_TRUE(d.doc.modify && d.doc.filename == "out.gpx");
  d.deleteAllTracks();
  d.saveGPX();
  EXPECT_EQ(boxes.proposed.last(), QStringLiteral("tracks.gpx"));
}

TEST_F(GpxControllerTest, SaveSelectedTrackAsksAndWritesOnlyThatTrack)
{
  ASSERT_TRUE(d.loadGPXData(gpx(kWayPoint + kTrackA + kTrackB), false));
  d.doc.active_track = 1, d.doc.modify = true;
  boxes.confirmAnswers = {false, true};
  d.saveSelectTrack();
  EXPECT_EQ(boxes.last()->mess, QStringLiteral("選択されているルートのみ保存します。よろしいですか。"));
  boxes.fileAnswers = {path("b")};
  d.saveSelectTrack();
  EXPECT_EQ(boxes.proposed, QStringList{QStringLiteral("B.gpx")});  // asked once only
  EXPECT_TRUE(d.doc.modify);
  const std::string text = twtest::readFile(path("b.gpx").toStdString());
  EXPECT_NE(text.find("<number>2</number>"), std::string::npos);
  EXPECT_EQ(text.find("<number>1</number>"), std::string::npos);
}

TEST_F(GpxControllerTest, CreateNewAsksOnlyForUnsavedContentAndShowsTracks)
{
  ASSERT_TRUE(d.loadGPXData(gpx(kWayPoint), false));
  d.track_mode = tw::TrackMode::Hidden;
  d.createNew();
  EXPECT_TRUE(boxes.count("confirm") == 0 && d.track_mode == tw::TrackMode::All);
  ASSERT_TRUE(d.loadGPXData(gpx(kWayPoint), false));
  d.doc.modify = true;
  boxes.confirmAnswers = {false, true};
  d.createNew();
  EXPECT_EQ(boxes.last()->title, QStringLiteral("新規作成の確認"));
  EXPECT_EQ(d.doc.waypoints.size(), 1u);
  d.createNew();
  EXPECT_TRUE(d.doc.waypoints.empty());
  EXPECT_GE(d.editing.history.count(), 1);
}
