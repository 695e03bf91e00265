// The print modes on the main window through its menus, against a loopback tile server: the
// area mode first, the preview composed from print tiles, the PDF, leaving; the guards; the
// area dragged with the mouse; the settings dialog's refusals and what OK changes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>

#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "net/QtHttpClient.h"
#include "print/SetupPanel.h"
#include "support/LoopbackControllerFixture.h"
#include "support/LoopbackHttpServer.h"
#include "support/TestPaths.h"
#include "tiles/WebPages.h"
#include "view/InfoView.h"
#include "view/LayerViews.h"

namespace {

const QColor kTileColour(200, 230, 200);

class PrintAppTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    ASSERT_TRUE(server.start());
    server.setFallbackBody(twtest::pngTile(kTileColour));
    setenv("TARNWICK_GSI_BASE", server.baseUrl().c_str(), 1);
    d = std::make_unique<AppDelegate>(AppDelegate::Seams{&boxes, &http});
    d->configStore = ConfigStore(dir.path() + QStringLiteral("/tarnwick.ini"));
    window = std::make_unique<MainWindow>(*d);
    window->setTransient(true);
    window->resize(800, 600);
    tw::TrackInfo t;
    for (int i = 0; i < 10; ++i) {
      tw::Track p;
      tw::setPosition(p, 35.62 + i * 0.002, 139.24 + i * 0.002);
      t.points.push_back(p);
    }
    d->doc.tracks.push_back(t);
    d->doc.active_track = 0;
    d->config.setInt(tw::key::quality, 0);  // zoom-16 print tiles: fewer to fetch
    window->show();
    d->applicationDidFinishLaunching();
    d->updatePosition(14, 35.63, 139.25);
  }
  void TearDown() override
  {
    d->stopDownloads();
    d->queue.waitForDone(20000);
    window.reset();
    d.reset();
    server.stop();
    unsetenv("TARNWICK_GSI_BASE");
  }
  void menu(const char* command) { window->action(QString::fromLatin1(command))->trigger(); }
  void mouse(QEvent::Type type, QPointF at)
  {
    QWidget* to = d->infoView;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, to->mapToGlobal(at), button, type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(to, &e);
  }

  QTemporaryDir dir;
  twtest::LoopbackHttpServer server;
  ScriptedMessageBoxes boxes;
  QtHttpClient http;
  std::unique_ptr<AppDelegate> d;
  std::unique_ptr<MainWindow> window;
};

TEST_F(PrintAppTest, PrintPassesThroughTheAreaThenPreviewsAndWritesThePdf)
{
  menu("printMode");
  EXPECT_EQ(d->mode, tw::Mode::Area);  // the first press shows the area
  EXPECT_EQ(d->view.zoom, 13);
  EXPECT_NEAR(d->printPos.lat, 35.63, 1e-9);
  EXPECT_EQ(d->paper.printDistance, (tw::SizeD{5000, 7175}));
  menu("printMode");
  ASSERT_EQ(d->mode, tw::Mode::Print);
  EXPECT_EQ(d->view.zoom, 16);  // quality 0
  EXPECT_EQ(d->view.org_zoom, 13);

  // The preview: grey around a sheet whose printable area fills with the arriving tiles.
  QImage shot;
  auto tiles = [&] {
    int n = 0;
    for (int y = 0; y < shot.height(); y += 2)
      for (int x = 0; x < shot.width(); x += 2) n += shot.pixelColor(x, y) == kTileColour;
    return n;
  };
  ASSERT_TRUE(QTest::qWaitFor([&] {
    d->drawProc();
    shot = d->mapView->grab().toImage();
    return tiles() * 4 > shot.height() * shot.height() * 0.65;  // about 0.7 of the sheet
  }, 20000));
  EXPECT_EQ(shot.pixelColor(2, 2), QColor(179, 179, 179));
  EXPECT_EQ(shot.pixelColor(shot.width() - 3, shot.height() / 2), QColor(179, 179, 179));

  const QString pdf = dir.path() + QStringLiteral("/map.pdf");
  boxes.fileAnswers.push_back(pdf);
  menu("outputPDF");
  ASSERT_EQ(boxes.last()->kind, "save");
  EXPECT_EQ(boxes.last()->title, QStringLiteral("PDFファイル保存"));
  EXPECT_EQ(twtest::readFile(pdf.toStdString()).rfind("%PDF-", 0), 0u);
  EXPECT_NEAR(d->prevPrintRect.width, d->printPixelRect.width * 2, 1e-9);  // remembered in zoom-17 pixels

  menu("baseMode");
  EXPECT_EQ(d->mode, tw::Mode::Base);
  EXPECT_EQ(d->view.zoom, 13);
}

TEST_F(PrintAppTest, PrintedGraphFrameIsResizedByItsHandleWithinLimits)
{
  menu("printMode");
  menu("printMode");
  ASSERT_EQ(d->mode, tw::Mode::Print);
  d->print_graph = 1;
  const double H = d->infoView->height();
  const double fx = d->printDispRect.width / d->paper.printPointRect.width;
  const tw::DRect g = d->graphRect;
  // The right edge's middle on screen (Qt's y runs down).
  const QPointF right(d->printDispRect.x + (g.x + g.width) * fx - 1,
                      H - (d->printDispRect.y + (g.y + g.height / 2) * d->printDispRect.height / d->paper.printPointRect.height));
  mouse(QEvent::MouseButtonPress, right);
  ASSERT_TRUE(d->select_graph);
  mouse(QEvent::MouseButtonRelease, right);
  QMouseEvent hover(QEvent::MouseMove, right, d->infoView->mapToGlobal(right), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(d->infoView, &hover);
  ASSERT_EQ(d->selectResize, 2);
  mouse(QEvent::MouseButtonPress, right);
  mouse(QEvent::MouseMove, right - QPointF(20, 0));
  EXPECT_NEAR(d->graphRect.width, g.width - 20 / fx, 1e-6);
  mouse(QEvent::MouseMove, right - QPointF(1000, 0));
  EXPECT_EQ(d->graphRect.width, 150);  // never narrower
  EXPECT_EQ(d->graphRect.x, g.x);
  mouse(QEvent::MouseButtonRelease, right - QPointF(1000, 0));
}

TEST_F(PrintAppTest, DataAbroadAndDistantAreasAreGuarded)
{
  d->doc.outside = true;
  menu("areaMode");
  EXPECT_EQ(d->mode, tw::Mode::Base);
  ASSERT_EQ(boxes.count("alert"), 1);
  EXPECT_EQ(boxes.last()->mess, QStringLiteral("海外のデータが含まれているため、印刷範囲指定はできません。"));
  d->doc.outside = false;

  d->printPos = {34.0, 135.0};  // far from the map
  boxes.confirmAnswers.push_back(false);
  menu("areaMode");
  ASSERT_EQ(boxes.count("confirm"), 1);
  EXPECT_EQ(boxes.last()->mess,
            QStringLiteral("前回の印刷範囲から、20km以上離れています。\n今の中心位置を印刷範囲の中心としますか。"));
  EXPECT_EQ(d->printPos.lat, 34.0);  // refused: the old area stays
  EXPECT_EQ(d->mode, tw::Mode::Area);
}

TEST_F(PrintAppTest, TheSelectedAreaFollowsTheMouse)
{
  menu("areaMode");
  ASSERT_TRUE(d->selectArea);
  const QPointF centre(d->infoView->width() / 2.0, d->infoView->height() / 2.0);
  mouse(QEvent::MouseButtonPress, centre);  // a click inside toggles the selection
  mouse(QEvent::MouseButtonRelease, centre);
  EXPECT_FALSE(d->selectArea);
  mouse(QEvent::MouseButtonPress, centre);
  EXPECT_TRUE(d->selectArea);
  const double x = tw::pixelFromLon(13, d->printPos.lon), y = tw::pixelFromLat(13, d->printPos.lat);
  const tw::DRect fore = d->view.foreRect;
  mouse(QEvent::MouseMove, centre + QPointF(64, 32));
  mouse(QEvent::MouseButtonRelease, centre + QPointF(64, 32));
  EXPECT_NEAR(tw::pixelFromLon(13, d->printPos.lon), x + 64, 1e-6);
  EXPECT_NEAR(tw::pixelFromLat(13, d->printPos.lat), y + 32, 1e-6);  // Qt's y runs down like map pixels
  EXPECT_EQ(d->view.foreRect.x, fore.x);  // the map stays
  EXPECT_NE(d->infoView->firstLine().indexOf(QStringLiteral("(横: 5.00km 縦: 7.17km)")), -1) << d->infoView->firstLine().toStdString();
  mouse(QEvent::MouseButtonPress, {5, 5});  // outside: deselected
  EXPECT_FALSE(d->selectArea);
}

TEST_F(PrintAppTest, SettingsDialogRefusesMarginsAndAppliesThePaper)
{
  menu("areaMode");
  const tw::DRect oldGraph = d->graphRect;
  int runs = 0;
  d->runSetupPanel = [&] {
    ++runs;
    SetupPanel panel(d->config, boxes);
    panel.leftField->setText(QStringLiteral("51"));
    panel.dialogOk();
    EXPECT_EQ(boxes.last()->mess, QStringLiteral("余白に設定できる値は、0〜50mmです。"));
    EXPECT_NE(panel.result(), QDialog::Accepted);
    EXPECT_EQ(d->config.intValue(tw::key::left_margin), 5);  // nothing stored
    panel.conveniCheck->setChecked(true);  // forces every margin to 5
    EXPECT_EQ(panel.leftField->text(), QStringLiteral("5"));
    EXPECT_FALSE(panel.leftField->isEnabled());
    panel.paperCombo->setCurrentIndex(3);
    EXPECT_EQ(panel.paperField->text(), QStringLiteral("297mm×420mm"));
    EXPECT_EQ(panel.areaField->text(), QStringLiteral("7.17km × 10.25km"));
    QUrl opened;
    panel.openURL = [&](const QUrl& u) { opened = u; };
    panel.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Help)->click();
    EXPECT_EQ(opened.toString().toStdString(), tw::setupHelpPage());
    panel.dialogOk();
    return panel.result() == QDialog::Accepted;
  };
  menu("pageSetup");
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(d->config.intValue(tw::key::paper), 3);
  EXPECT_EQ(d->config.intValue(tw::key::conveni), 1);
  EXPECT_EQ(d->paper.paperSize, (tw::SizeD{287, 410}));
  EXPECT_NE(d->graphRect.width, oldGraph.width);  // a new paper resets the printed graph's frame
  EXPECT_NE(twtest::readFile((dir.path() + QStringLiteral("/tarnwick.ini")).toStdString()).find("paper=3"),
            std::string::npos);
}

}  // namespace
