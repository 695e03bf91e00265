// The controller's GPX flow: confirmation, replace and append, error and warning boxes,
// open/append/save commands and the new-document command, with scripted boxes.
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "support/ControllerFixture.h"
#include "support/TestPaths.h"

namespace {

const QString kLoadConfirmMess = QStringLiteral(
    "現在の全てのデータ（トラック＆ウェイポイント）が削除されますが、よろしいですか？\nこの操作は、取り消しできません。");
const QString kLoadErrorMess = QStringLiteral("GPXデータの読み込みに失敗しました。\nファイルが壊れている可能性があります。");
const QString kOutsideMess = QStringLiteral(
    "海外のデータが含まれます。\n海外データは、OpenStreetMapのみの表示で、印刷や標高取得機能が使えません。");

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

QByteArray gpx(const std::string& body)
{
  return QByteArray::fromStdString("<?xml version=\"1.0\" encoding=\"UTF-8\"?><gpx version=\"1.1\">" + body + "</gpx>");
}

const std::string kTrackA = "<trk><name>A</name><trkpt lat=\"35.0\" lon=\"139.0\"/><trkpt lat=\"35.001\" lon=\"139.0\"/></trk>";
const std::string kTrackB = "<trk><name>B</name><trkpt lat=\"36.0\" lon=\"138.0\"/></trk>";
const std::string kWayPoint = "<wpt lat=\"35.5\" lon=\"139.5\"><name>W</name></wpt>";

class GpxControllerTest : public twtest::ControllerFixture<Boxes> {
 protected:
  QString path(const char* name) const { return dir.path() + QLatin1Char('/') + QLatin1String(name); }
};

}  // namespace

TEST_F(GpxControllerTest, ReplaceLoadMakesTheFirstTrackActive)
{
  ASSERT_TRUE(d.loadGPXData(gpx(kWayPoint + kTrackA + kTrackB), false));
  EXPECT_TRUE(boxes.shown.empty());
  ASSERT_EQ(d.doc.tracks.size(), 2u);
  EXPECT_EQ(d.doc.active_track, 0);
  EXPECT_EQ(d.routes(), &d.doc.tracks[0].points);
  EXPECT_EQ(d.doc.waypoints.size(), 1u);
  EXPECT_TRUE(d.doc.invalid_wp);
  EXPECT_FALSE(d.doc.modify);
  EXPECT_FALSE(d.doc.outside);
}

TEST_F(GpxControllerTest, ReplacingChangedOrSeveralTracksAsksFirst)
{
  ASSERT_TRUE(d.loadGPXData(gpx(kTrackA), false));
  EXPECT_TRUE(d.loadGPXData(gpx(kTrackB), false));  // one unchanged track: no question
  EXPECT_EQ(boxes.count("confirm"), 0);
  d.doc.modify = true;
  boxes.confirmAnswers = {false};
  EXPECT_FALSE(d.loadGPXData(gpx(kTrackA + kTrackB), false));
  ASSERT_EQ(boxes.count("confirm"), 1);
  EXPECT_EQ(boxes.last()->title, QStringLiteral("GPX読み込み確認"));
  EXPECT_EQ(boxes.last()->mess, kLoadConfirmMess);
  EXPECT_EQ(d.doc.tracks.at(0).name, "B");  // declined: nothing changed
  EXPECT_TRUE(d.doc.modify);
  boxes.confirmAnswers = {true};
  EXPECT_TRUE(d.loadGPXData(gpx(kTrackA + kTrackB), false));
  EXPECT_EQ(d.doc.tracks.size(), 2u);
  EXPECT_FALSE(d.doc.modify);
  // Two tracks, unchanged: asks again.
  boxes.confirmAnswers = {false};
  EXPECT_FALSE(d.loadGPXData(gpx(kTrackA), false));
  EXPECT_EQ(boxes.count("confirm"), 3);
}

TEST_F(GpxControllerTest, BrokenTextShowsTheErrorAndEmptiesInReplaceMode)
{
  ASSERT_TRUE(d.loadGPXData(gpx(kTrackA), false));
  d.setFileName(QStringLiteral("a.gpx"));
  for (const QByteArray& bad : {QByteArray(), QByteArray("<gpx><trk>"), QByteArray("\xff\xfe<gpx/>")}) {
    boxes.shown.clear();
    EXPECT_FALSE(d.loadGPXData(bad, false));
    ASSERT_EQ(boxes.count("alert"), 1);
    EXPECT_EQ(boxes.last()->title, QStringLiteral("エラー"));
    EXPECT_EQ(boxes.last()->mess, kLoadErrorMess);
    EXPECT_TRUE(d.doc.isEmpty());
    EXPECT_EQ(d.doc.filename, "");
  }
  // Well-formed but not GPX: silently empty.
  boxes.shown.clear();
  ASSERT_TRUE(d.loadGPXData(gpx(kTrackA), false));
  EXPECT_TRUE(d.loadGPXData("<html/>", false));
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_TRUE(d.doc.isEmpty());
  EXPECT_EQ(d.doc.active_track, -1);
}

TEST_F(GpxControllerTest, AppendAddsAfterTheOldTracksWithOneUndoStep)
{
  ASSERT_TRUE(d.loadGPXData(gpx(kTrackA), false));
  d.setFileName(QStringLiteral("a.gpx"));
  ASSERT_TRUE(d.loadGPXData(gpx(kTrackB + kWayPoint), true));
  EXPECT_TRUE(boxes.shown.empty());
  ASSERT_EQ(d.doc.tracks.size(), 2u);
  EXPECT_EQ(d.doc.active_track, 1);
  EXPECT_EQ(d.doc.filename, "a.gpx");
  EXPECT_EQ(d.view.lat, 36.0);  // centred on the first new point
  EXPECT_EQ(d.editing.history.count(), 1);
  d.undo();
  EXPECT_EQ(d.doc.tracks.size(), 1u);
  EXPECT_TRUE(d.doc.waypoints.empty());
  // A broken append leaves the document as it was (the undo step is taken first).
  ASSERT_TRUE(d.loadGPXData(gpx(kTrackA), false));
  EXPECT_FALSE(d.loadGPXData("<gpx", true));
  EXPECT_EQ(d.doc.tracks.size(), 1u);
}

TEST_F(GpxControllerTest, AppendToAnEmptyDocumentActivatesTheFirstNewTrack)
{
  ASSERT_TRUE(d.loadGPXData(gpx(kTrackA + kTrackB), true));
  EXPECT_EQ(d.doc.active_track, 0);
  EXPECT_EQ(d.editing.history.count(), 0);
  // Appending only waypoints keeps the active track.
  ASSERT_TRUE(d.loadGPXData(gpx(kWayPoint), true));
  EXPECT_EQ(d.doc.active_track, 0);
}

TEST_F(GpxControllerTest, PointsOutsideJapanWarnAndSwitchToOpenStreetMap)
{
  ASSERT_TRUE(d.loadGPXData(gpx("<trk><trkpt lat=\"48.8\" lon=\"2.3\"/></trk>"), false));
  ASSERT_EQ(boxes.count("alert"), 1);
  EXPECT_EQ(boxes.last()->title, QStringLiteral("警告"));
  EXPECT_EQ(boxes.last()->mess, kOutsideMess);
  EXPECT_TRUE(d.doc.outside);
  EXPECT_EQ(d.derived.map_type, tw::MapType::OSM);
  ASSERT_TRUE(d.loadGPXData(gpx(kTrackA), false));
  EXPECT_FALSE(d.doc.outside);
}

TEST_F(GpxControllerTest, OpenAndAppendCommands)
{
  const QString file = QString::fromStdString(twtest::fixture("gpx/golden/two-tracks.in.gpx"));
  boxes.fileAnswers = {file};
  d.loadGPX();
  ASSERT_EQ(boxes.shown.at(0).kind, QStringLiteral("open"));
  EXPECT_EQ(boxes.shown.at(0).title, QStringLiteral("GPXファイル読み込み"));
  EXPECT_EQ(d.doc.filename, "two-tracks.in.gpx");
  EXPECT_EQ(d.doc.tracks.size(), 2u);
  boxes.fileAnswers = {file};
  d.loadAppend();
  EXPECT_EQ(d.doc.tracks.size(), 4u);
  EXPECT_EQ(d.doc.filename, "two-tracks.in.gpx");
  const size_t before = boxes.shown.size();
  d.loadGPX();  // cancelled
  EXPECT_EQ(boxes.shown.size(), before + 1);
  EXPECT_EQ(d.doc.tracks.size(), 4u);
  boxes.fileAnswers = {path("missing.gpx")};
  boxes.confirmAnswers = {true};
  d.loadGPX();
  EXPECT_EQ(boxes.last()->mess, kLoadErrorMess);
  EXPECT_EQ(d.doc.filename, "");
}

TEST_F(GpxControllerTest, SaveWritesAllTracksAndClearsModify)
{
  ASSERT_TRUE(d.loadGPXData(gpx(kWayPoint + kTrackA + kTrackB), false));
  d.doc.modify = true;
  boxes.fileAnswers = {path("out")};
  d.saveGPX();
  EXPECT_EQ(boxes.proposed, QStringList{QStringLiteral("tracks.gpx")});
  EXPECT_EQ(boxes.last()->title, QStringLiteral("GPXファイル保存"));
  EXPECT_EQ(d.doc.filename, "out.gpx");
  EXPECT_FALSE(d.doc.modify);
  const std::string text = twtest::readFile(path("out.gpx").toStdString());
  EXPECT_NE(text.find("<number>2</number>"), std::string::npos);
  // The written file reads back to the same tracks.
  boxes.fileAnswers = {path("out.gpx")};
  d.loadGPX();
  EXPECT_EQ(d.doc.tracks.size(), 2u);
  EXPECT_EQ(d.doc.waypoints.size(), 1u);
  // A failed write is silent; the name changes, modify stays.
  d.doc.modify = true;
  const size_t shown = boxes.shown.size();
  boxes.fileAnswers = {path("no/such/dir/x.gpx")};
  d.saveGPX();
  EXPECT_EQ(boxes.proposed.last(), QStringLiteral("out.gpx"));
  EXPECT_EQ(boxes.shown.size(), shown + 1);  // the panel only
  EXPECT_TRUE(d.doc.modify);
  EXPECT_EQ(d.doc.filename, "x.gpx");
  EXPECT_EQ(twtest::readFile(path("out.gpx").toStdString()), text);
}

TEST_F(GpxControllerTest, TheCloseQuestionSavesThroughTheSaveCommand)
{
  ASSERT_TRUE(d.loadGPXData(gpx(kTrackA), false));
  d.doc.modify = true;
  boxes.exitAnswers = {MessageBoxes::kExitSave, MessageBoxes::kExitSave};
  d.windowShouldClose();  // save panel cancelled: stays open
  EXPECT_TRUE(d.doc.modify);
  boxes.fileAnswers = {path("closing.gpx")};
  EXPECT_TRUE(d.windowShouldClose());
  EXPECT_FALSE(d.doc.modify);
  EXPECT_FALSE(twtest::readFile(path("closing.gpx").toStdString()).empty());
}

TEST_F(GpxControllerTest, SaveSelectedTrackOnly)
{
  ASSERT_TRUE(d.loadGPXData(gpx(kWayPoint + kTrackA + kTrackB), false));
  d.doc.active_track = 1;
  d.doc.modify = true;
  boxes.confirmAnswers = {false};
  d.saveSelectTrack();
  EXPECT_EQ(boxes.count("save"), 0);
  boxes.confirmAnswers = {true};
  boxes.fileAnswers = {path("b.gpx")};
  d.saveSelectTrack();
  EXPECT_EQ(boxes.shown.back().kind, QStringLiteral("save"));
  EXPECT_EQ(boxes.shown.at(boxes.shown.size() - 2).title, QStringLiteral("確認"));
  EXPECT_EQ(boxes.shown.at(boxes.shown.size() - 2).mess, QStringLiteral("選択されているルートのみ保存します。よろしいですか。"));
  EXPECT_EQ(boxes.proposed, QStringList{QStringLiteral("B.gpx")});
  EXPECT_TRUE(d.doc.modify);
  EXPECT_EQ(d.doc.filename, "");
  const std::string text = twtest::readFile(path("b.gpx").toStdString());
  EXPECT_NE(text.find("<number>2</number>"), std::string::npos);
  EXPECT_EQ(text.find("<number>1</number>"), std::string::npos);
  EXPECT_NE(text.find("<wpt"), std::string::npos);
}

TEST_F(GpxControllerTest, CreateNewAsksOnlyForUnsavedContent)
{
  ASSERT_TRUE(d.loadGPXData(gpx(kTrackA), false));
  d.createNew();
  EXPECT_EQ(boxes.count("confirm"), 0);
  EXPECT_TRUE(d.doc.waypoints.empty());
  ASSERT_TRUE(d.loadGPXData(gpx(kWayPoint), false));
  d.doc.modify = true;
  boxes.confirmAnswers = {false};
  d.createNew();
  ASSERT_EQ(boxes.count("confirm"), 1);
  EXPECT_EQ(boxes.last()->title, QStringLiteral("新規作成の確認"));
  EXPECT_EQ(boxes.last()->mess, QStringLiteral("現在のデータ（トラック＆ウェイポイント）が削除されますが、よろしいですか？"));
  EXPECT_EQ(d.doc.waypoints.size(), 1u);
  d.createNew();  // accepted
  EXPECT_TRUE(d.doc.waypoints.empty());
  EXPECT_TRUE(d.doc.modify);  // not touched
  EXPECT_GE(d.editing.history.count(), 1);
}

TEST_F(GpxControllerTest, AfterLaunchTheLoadedTrackIsShownInBaseMode)
{
  d.launched = true;
  d.mode = tw::Mode::Edit;
  d.edit_mode = tw::EditMode::Input;
  ASSERT_TRUE(d.loadGPXData(gpx(kTrackA), false));
  EXPECT_EQ(d.edit_mode, tw::EditMode::Track);
  EXPECT_EQ(d.mode, tw::Mode::Base);
  ASSERT_TRUE(d.loadGPXData(gpx(kWayPoint), false));
  EXPECT_EQ(d.edit_mode, tw::EditMode::WayPoint);
}

TEST_F(GpxControllerTest, TitleFollowsFileNameAndActiveTrack)
{
  QSignalSpy titles(&d, &AppDelegate::titleChanged);
  ASSERT_TRUE(d.loadGPXData(gpx(kTrackA), false));
  d.setFileName(QStringLiteral("route.gpx"));
  EXPECT_EQ(titles.last().at(0).toString(), QStringLiteral("route.gpx(A)"));
  const qsizetype n = titles.count();
  d.deleteAllTracks();  // forgets the name without retitling
  EXPECT_EQ(titles.count(), n);
  EXPECT_EQ(d.doc.filename, "");
  d.updateTitle();
  EXPECT_EQ(titles.last().at(0).toString(), QStringLiteral("Tarnwick"));
}

TEST_F(GpxControllerTest, CreateNewShowsTracksAgain)
{
  d.track_mode = tw::TrackMode::Hidden;
  d.createNew();
  EXPECT_EQ(d.track_mode, tw::TrackMode::All);
}

TEST_F(GpxControllerTest, AcceptableObject)
{
  EXPECT_TRUE(d.acceptableObject(QStringLiteral("/Users/a/Walk.gpx")));
  EXPECT_FALSE(d.acceptableObject(QStringLiteral("/Users/a/Walk.GPX")));
}
