// The controller's life: timers and bundled images, the network watch, the transient message and the close/quit questions.
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "support/ControllerFixture.h"

namespace {

using LifecycleTest = twtest::ControllerFixture<>;

TEST(Lifecycle, StartsItsTimersAndBundlesItsImages)
{
  ScriptedMessageBoxes boxes;
  AppDelegate fresh({&boxes, nullptr});
  EXPECT_TRUE(fresh.timer.isActive() && fresh.drawTimer.isActive());
  const auto& m = fresh.markers;
  for (const QImage* img : {&m.start_img, &m.end_img, &m.rest_img, &m.track_img, &m.track15_img, &m.active_img, &m.active15_img,
                            &m.peak_img, &m.peak15_img, &m.col_img, &m.col15_img, &m.wp_img, &m.active_wp_img})
    EXPECT_FALSE(img->isNull());
}

TEST_F(LifecycleTest, NetworkWatchAlertsOncePerFailureRun)
{
  for (bool ok : {false, false, false, true, true, false, false}) {
    d.tileStore.net_ok = ok;
    d.timerProc();
  }
  ASSERT_EQ(boxes.count(QStringLiteral("alert")), 2);
  EXPECT_EQ(boxes.last()->title + boxes.last()->mess, QStringLiteral("エラーネットワークの異常が発生しました。\n接続を確認してください。"));
}

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

TEST(Lifecycle, NetworkAlertDoesNotStackWhileOpen)
{
  ReentrantBoxes rb;
  AppDelegate r({&rb, nullptr});
  rb.d = &r;
  r.tileStore.net_ok = false;
  r.timerProc();
  EXPECT_EQ(rb.count(QStringLiteral("alert")), 1);
}

TEST_F(LifecycleTest, EachMessageRestartsThePeriod)
{
  QSignalSpy changed(&d, &AppDelegate::messageChanged);
  d.showMessage(QStringLiteral("ポイントを追加しました"), 60000);
  d.showMessage(QStringLiteral("ポイントを削除しました"), 50);  // the long period must not hold it
  EXPECT_EQ(d.message, QStringLiteral("ポイントを削除しました"));
  EXPECT_LE(d.messTimer.remainingTime(), 50);
  QTRY_VERIFY_WITH_TIMEOUT(d.message.isEmpty(), 3000);
  EXPECT_TRUE(changed.count() == 3 && changed.last().at(0).toString().isEmpty());
}

TEST_F(LifecycleTest, CloseAndQuitQuestions)
{
  EXPECT_TRUE(d.windowShouldClose());  // nothing to lose: no question
  d.doc.waypoints.emplace_back();
  d.doc.modify = true;
  boxes.exitAnswers = {MessageBoxes::kExitCancel};
  EXPECT_FALSE(d.applicationShouldTerminate());  // unsaved waypoints alone are work to lose too
  EXPECT_EQ(boxes.count(QStringLiteral("exit")), 1);

  d.doc.tracks.emplace_back().points.resize(3);
  const struct {
    bool quit;  // applicationShouldTerminate, else windowShouldClose
    int answer;
    bool saveSucceeds;
    bool ends, modifyAfter;
  } rows[] = {
      {false, MessageBoxes::kExitCancel, false, false, true},
      {false, MessageBoxes::kExitSave, false, false, true},  // a cancelled save dialog keeps it open
      {false, MessageBoxes::kExitSave, true, true, false},
      {false, MessageBoxes::kExitDiscard, false, true, false},
      {true, MessageBoxes::kExitCancel, false, false, true},
      {true, MessageBoxes::kExitDiscard, false, true, true},  // quitting leaves the document alone
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << r.quit << " " << r.answer << " " << r.saveSucceeds);
    d.doc.modify = true;
    d.saveCommand = [&] { d.doc.modify = !r.saveSucceeds; };
    boxes.exitAnswers = {r.answer};
    EXPECT_EQ(r.quit ? d.applicationShouldTerminate() : d.windowShouldClose(), r.ends);
    EXPECT_EQ(d.doc.modify, r.modifyAfter);
  }
  EXPECT_EQ(boxes.last()->title + boxes.last()->mess, QStringLiteral("保存確認データが保存されていません。保存しますか？"));
}

TEST_F(LifecycleTest, LaunchAppliesAFittingFrame)
{
  QSignalSpy frames(&d, &AppDelegate::frameRequested);
  d.screen = {0, 0, 1280, 800};
  d.config.setString(tw::key::frame, "{{0, 0}, {1600, 900}}");
  d.applicationDidFinishLaunching();
  ASSERT_EQ(frames.count(), 1);
  EXPECT_EQ(frames.at(0).at(0).value<tw::FrameRect>(), (tw::FrameRect{50, 20, 1180, 750}));
}

TEST(MessageBoxLayout, TitleIsTheHeadingAndMessageTheInformativeText)
{
  const QString title = QStringLiteral("保存確認"), mess = QStringLiteral("データが保存されていません。\n保存しますか？");
  const struct {
    BoxKind kind;
    QStringList buttons;  // the default first
    std::vector<int> answers;
  } cases[] = {
      {BoxKind::Alert, {QStringLiteral("OK")}, {MessageBoxes::kExitSave}},
      {BoxKind::Confirm, {QStringLiteral("OK"), QStringLiteral("キャンセル")}, {MessageBoxes::kExitSave, MessageBoxes::kExitCancel}},
      {BoxKind::Exit,
       {QStringLiteral("保存する"), QStringLiteral("保存せずに終了する"), QStringLiteral("キャンセル")},
       {MessageBoxes::kExitSave, MessageBoxes::kExitDiscard, MessageBoxes::kExitCancel}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.buttons.join(QLatin1Char('/')).toStdString());
    auto box = buildMessageBox(c.kind, title, mess);
    EXPECT_EQ(box->windowTitle() + box->text() + box->informativeText(), QStringLiteral("Tarnwick") + title + mess);
    EXPECT_TRUE(box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->font().bold());
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

}  // namespace
