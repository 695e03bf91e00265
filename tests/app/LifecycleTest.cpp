// The controller's life: start values, the network watch, the draw tick, the transient
// message and the close/quit questions.
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "app/AppDelegate.h"

namespace {

const QString kNetTitle = QStringLiteral("エラー");
const QString kNetMess = QStringLiteral("ネットワークの異常が発生しました。\n接続を確認してください。");

class LifecycleTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  ScriptedMessageBoxes boxes;
  AppDelegate d{{&boxes, nullptr}};

  void SetUp() override
  {
    d.configStore = ConfigStore(dir.path() + QStringLiteral("/tarnwick.ini"));
    d.timer.stop();  // the tests drive the ticks themselves
    d.drawTimer.stop();
  }

  void addModifiedTrack()
  {
    tw::TrackInfo t;
    t.points.resize(3);
    d.doc.tracks.push_back(t);
    d.doc.active_track = 0;
    d.doc.modify = true;
  }
};

}  // namespace

TEST_F(LifecycleTest, StartValues)
{
  AppDelegate fresh({&boxes, nullptr});
  EXPECT_EQ(fresh.queue.maxThreadCount(), 5);
  EXPECT_EQ(fresh.mode, tw::Mode::Base);
  EXPECT_EQ(fresh.edit_mode, tw::EditMode::Input);
  EXPECT_EQ(fresh.track_mode, tw::TrackMode::All);
  EXPECT_EQ(fresh.derived.time_width, 120);
  EXPECT_EQ(fresh.doc.select, -1);
  EXPECT_TRUE(fresh.tileStore.net_ok);
  EXPECT_TRUE(fresh.net_status);
  EXPECT_FALSE(fresh.launched);
  EXPECT_EQ(fresh.span, 1.0);
  EXPECT_TRUE(fresh.timer.isActive());
  EXPECT_EQ(fresh.timer.interval(), 1000);
  EXPECT_TRUE(fresh.drawTimer.isActive());
  EXPECT_EQ(fresh.drawTimer.interval(), 100);
  // Colours come from the configuration after it is loaded.
  EXPECT_DOUBLE_EQ(fresh.derived.routeColor.r, 1.0);
  EXPECT_DOUBLE_EQ(fresh.derived.routeColor.a, 0.5);
  EXPECT_DOUBLE_EQ(fresh.derived.downColor.b, 1.0);
  EXPECT_DOUBLE_EQ(fresh.derived.wpColor.g, double(0.3f));
  EXPECT_DOUBLE_EQ(fresh.derived.wpColor.a, 1.0);
  // Every marker image is bundled.
  const auto& m = fresh.markers;
  for (const QImage* img : {&m.start_img, &m.end_img, &m.rest_img, &m.track_img, &m.track15_img, &m.active_img,
                            &m.active15_img, &m.peak_img, &m.peak15_img, &m.col_img, &m.col15_img, &m.wp_img,
                            &m.active_wp_img})
    EXPECT_FALSE(img->isNull());
  EXPECT_EQ(m.track_img.width(), 10);
  EXPECT_EQ(m.track15_img.width(), 8);
}

TEST_F(LifecycleTest, NetworkWatchAlertsOncePerFailureRun)
{
  d.tileStore.net_ok = false;
  for (int i = 0; i < 5; ++i) d.timerProc();
  ASSERT_EQ(boxes.count(QStringLiteral("alert")), 1);
  EXPECT_EQ(boxes.last()->title, kNetTitle);
  EXPECT_EQ(boxes.last()->mess, kNetMess);

  d.tileStore.net_ok = true;
  d.timerProc();
  d.timerProc();
  EXPECT_EQ(boxes.count(QStringLiteral("alert")), 1);

  d.tileStore.net_ok = false;
  d.timerProc();
  d.timerProc();
  EXPECT_EQ(boxes.count(QStringLiteral("alert")), 2);
}

namespace {
// An alert whose modal loop lets the 1 s timer fire again before it is dismissed.
class ReentrantBoxes : public ScriptedMessageBoxes {
 public:
  AppDelegate* d = nullptr;
  void alertMessage(const QString& title, const QString& mess) override
  {
    ScriptedMessageBoxes::alertMessage(title, mess);
    if (count(QStringLiteral("alert")) < 5) d->timerProc();
  }
};
}  // namespace

TEST_F(LifecycleTest, NetworkAlertDoesNotStackWhileOpen)
{
  ReentrantBoxes rb;
  AppDelegate r({&rb, nullptr});
  rb.d = &r;
  r.tileStore.net_ok = false;
  r.timerProc();
  EXPECT_EQ(rb.count(QStringLiteral("alert")), 1);
}

TEST_F(LifecycleTest, DrawTickClearsFlags)
{
  d.needsRedraw = true;
  d.map_needs_draw = true;
  d.drawProc();
  EXPECT_FALSE(d.needsRedraw);
  EXPECT_FALSE(d.map_needs_draw);

  d.map_needs_draw = true;
  d.graph_needs_draw = true;
  d.drawProc();
  EXPECT_FALSE(d.map_needs_draw);
  EXPECT_FALSE(d.graph_needs_draw);
}

TEST_F(LifecycleTest, SecondMessageRestartsThePeriod)
{
  QSignalSpy changed(&d, &AppDelegate::messageChanged);
  d.showMessage(QStringLiteral("ポイントを追加しました"), 5000);
  EXPECT_EQ(d.message, QStringLiteral("ポイントを追加しました"));
  QTest::qWait(400);
  const int leftOfFirst = d.messTimer.remainingTime();
  EXPECT_LT(leftOfFirst, 4700);
  d.showMessage(QStringLiteral("ポイントを削除しました"), 5000);
  EXPECT_EQ(d.message, QStringLiteral("ポイントを削除しました"));
  EXPECT_GT(d.messTimer.remainingTime(), leftOfFirst + 300);
  EXPECT_EQ(changed.count(), 2);

  // A short period really ends and clears the text.
  d.showMessage(QStringLiteral("x"), 30);
  QTRY_VERIFY_WITH_TIMEOUT(d.message.isEmpty(), 3000);
  EXPECT_FALSE(d.messTimer.isActive());
  EXPECT_TRUE(changed.last().at(0).toString().isEmpty());
}

TEST_F(LifecycleTest, CloseWithoutChangesDoesNotAsk)
{
  EXPECT_TRUE(d.windowShouldClose());
  // Only tracks count: unsaved waypoints alone close without a question.
  d.doc.waypoints.push_back(tw::WayPoint{});
  d.doc.modify = true;
  EXPECT_TRUE(d.windowShouldClose());
  EXPECT_TRUE(d.applicationShouldTerminate());
  EXPECT_EQ(boxes.count(QStringLiteral("exit")), 0);
}

TEST_F(LifecycleTest, CloseFlowCancelDiscardSave)
{
  addModifiedTrack();
  int saves = 0;
  bool saveSucceeds = false;
  d.saveCommand = [&] {
    ++saves;
    if (saveSucceeds) d.doc.modify = false;  // a cancelled save dialog leaves modify set
  };

  boxes.exitAnswers = {MessageBoxes::kExitCancel};
  EXPECT_FALSE(d.windowShouldClose());
  EXPECT_TRUE(d.doc.modify);
  EXPECT_EQ(d.doc.tracks.size(), 1u);
  ASSERT_EQ(boxes.count(QStringLiteral("exit")), 1);
  EXPECT_EQ(boxes.last()->title, QStringLiteral("保存確認"));
  EXPECT_EQ(boxes.last()->mess, QStringLiteral("データが保存されていません。保存しますか？"));

  boxes.exitAnswers = {MessageBoxes::kExitSave};
  EXPECT_FALSE(d.windowShouldClose());
  EXPECT_EQ(saves, 1);
  EXPECT_TRUE(d.doc.modify);

  saveSucceeds = true;
  boxes.exitAnswers = {MessageBoxes::kExitSave};
  EXPECT_TRUE(d.windowShouldClose());
  EXPECT_EQ(saves, 2);

  d.doc.modify = true;
  boxes.exitAnswers = {MessageBoxes::kExitDiscard};
  EXPECT_TRUE(d.windowShouldClose());
  EXPECT_FALSE(d.doc.modify);
}

TEST_F(LifecycleTest, QuitFlowKeepsModifyOnDiscard)
{
  addModifiedTrack();
  boxes.exitAnswers = {MessageBoxes::kExitCancel, MessageBoxes::kExitSave, MessageBoxes::kExitDiscard};
  EXPECT_FALSE(d.applicationShouldTerminate());
  EXPECT_FALSE(d.applicationShouldTerminate());  // no save command wired: nothing saved
  EXPECT_TRUE(d.applicationShouldTerminate());
  EXPECT_TRUE(d.doc.modify);
}

TEST_F(LifecycleTest, LaunchAppliesAFittingFrame)
{
  QSignalSpy frames(&d, &AppDelegate::frameRequested);
  d.screen = {0, 0, 1280, 800};
  d.config.setString("frame", "{{0, 0}, {1600, 900}}");
  d.applicationDidFinishLaunching();
  ASSERT_EQ(frames.count(), 1);
  EXPECT_EQ(frames.at(0).at(0).value<tw::FrameRect>(), (tw::FrameRect{50, 20, 1180, 750}));
  EXPECT_TRUE(d.launched);
}

// "保存する" runs the real save command: a cancelled save dialog keeps the window open.
TEST_F(LifecycleTest, CloseFlowThroughTheSaveCommand)
{
  AppDelegate fresh({&boxes, nullptr});  // the save command as wired by default
  tw::TrackInfo t;
  t.points.resize(2);
  fresh.doc.tracks.push_back(t);
  fresh.doc.active_track = 0;
  fresh.doc.modify = true;

  boxes.exitAnswers = {MessageBoxes::kExitSave};
  boxes.fileAnswers.clear();  // the save dialog is cancelled
  EXPECT_FALSE(fresh.windowShouldClose());
  EXPECT_TRUE(fresh.doc.modify);
  EXPECT_EQ(boxes.count(QStringLiteral("save")), 1);

  boxes.exitAnswers = {MessageBoxes::kExitSave};
  boxes.fileAnswers = {dir.path() + QStringLiteral("/saved.gpx")};
  EXPECT_TRUE(fresh.windowShouldClose());
  EXPECT_FALSE(fresh.doc.modify);
  EXPECT_TRUE(QFile::exists(dir.path() + QStringLiteral("/saved.gpx")));
}

TEST(MessageBoxLayout, TitleIsTheHeadingAndMessageTheInformativeText)
{
  const QString title = QStringLiteral("保存確認"), mess = QStringLiteral("データが保存されていません。\n保存しますか？");
  struct Case {
    BoxKind kind;
    QStringList buttons;  // and the answer of each below
    std::vector<int> answers;
  } cases[] = {
      {BoxKind::Alert, {QStringLiteral("OK")}, {MessageBoxes::kExitSave}},
      {BoxKind::Confirm,
       {QStringLiteral("OK"), QStringLiteral("キャンセル")},
       {MessageBoxes::kExitSave, MessageBoxes::kExitCancel}},
      {BoxKind::Exit,
       {QStringLiteral("保存する"), QStringLiteral("保存せずに終了する"), QStringLiteral("キャンセル")},
       {MessageBoxes::kExitSave, MessageBoxes::kExitDiscard, MessageBoxes::kExitCancel}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.buttons.join(QLatin1Char('/')).toStdString());
    auto box = buildMessageBox(c.kind, title, mess);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Tarnwick"));
    EXPECT_EQ(box->text(), title);
    EXPECT_EQ(box->informativeText(), mess);
    const auto* heading = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    ASSERT_NE(heading, nullptr);
    EXPECT_TRUE(heading->font().bold());
    EXPECT_EQ(box->buttons().size(), c.buttons.size());
    EXPECT_EQ(messageBoxAnswer(*box), MessageBoxes::kExitCancel);  // closed without a button
    for (int i = 0; i < c.buttons.size(); ++i) {
      auto fresh = buildMessageBox(c.kind, title, mess);
      QPushButton* button = nullptr;
      for (auto* b : fresh->findChildren<QPushButton*>())
        if (b->text() == c.buttons[i]) button = b;
      ASSERT_NE(button, nullptr) << c.buttons[i].toStdString();
      EXPECT_EQ(button == fresh->defaultButton(), i == 0);
      button->click();
      EXPECT_EQ(messageBoxAnswer(*fresh), c.answers[i]) << c.buttons[i].toStdString();
    }
  }
}
