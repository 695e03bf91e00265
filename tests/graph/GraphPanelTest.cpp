// The graph panel, its pointer, the PNG export and the track information dialog in the main
// window, driven as the user drives them: mouse on the panel, keys on the map, menu items.
#include <gtest/gtest.h>

#include <QApplication>
#include <QAbstractButton>
#include <QButtonGroup>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "graph/GraphView.h"
#include "graph/InfoPanel.h"

namespace {

class GraphPanel : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  ScriptedMessageBoxes boxes;
  AppDelegate d{{&boxes, nullptr}};
  std::unique_ptr<MainWindow> window;
  double clock = 1000;

  void SetUp() override
  {
    d.configStore = ConfigStore(dir.path() + QStringLiteral("/tarnwick.ini"));
    d.timer.stop();
    d.drawTimer.stop();
    window = std::make_unique<MainWindow>(d);
    window->setTransient(true);
    window->resize(1200, 800);
    ASSERT_TRUE(d.openFile(QStringLiteral(TW_SAMPLE)));
    window->show();
    d.applicationDidFinishLaunching();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    // A first run keeps the panel hidden until the user asks for it.
    ASSERT_FALSE(graph()->isVisible());
    window->action(QStringLiteral("showGraph"))->trigger();
    pointer()->now = [this] { return clock; };
  }
  GraphView* graph() { return qobject_cast<GraphView*>(d.graphView); }
  PointerView* pointer() { return qobject_cast<PointerView*>(d.pointerView); }
  void keyOnMap(char c) { QTest::keyClick(window->baseView()->layer(MapLayer::Overlay), c); }
  QPoint graphPoint(const QPoint& local) { return graph()->mapTo(window->baseView(), local); }
};

TEST_F(GraphPanel, ShownAtTheBottomAndTheTitleBarButtonsWork)
{
  GraphView* g = graph();
  ASSERT_TRUE(g && g->isVisible());
  const QWidget* base = window->baseView();
  EXPECT_EQ(g->geometry(), QRect((base->width() - 950) / 2, base->height() - 250, 950, 250));
  EXPECT_EQ(pointer()->geometry(), QRect(50, 32, 885, 198));
  // The warning icon shows while the elevations are not the DEM's, and asks for a recalculation.
  int asked = 0;
  d.runDemPanel = [&] { return ++asked, 0; };
  QTest::mouseClick(g, Qt::LeftButton, {}, QPoint(154, 11));
  EXPECT_EQ(asked, 0);
  d.doc.activeTrack()->stable = 1;
  d.updateGraph();
  g->repaint();
  QTest::mouseClick(g, Qt::LeftButton, {}, QPoint(154, 11));
  EXPECT_EQ(asked, 1);
  // Resizing by the grip stops at 150 × 60, keeping the top edge.
  const int top = g->y();
  QTest::mousePress(g, Qt::LeftButton, {}, QPoint(945, 245));
  QTest::mouseMove(g, QPoint(100, 300));
  QMouseEvent move(QEvent::MouseMove, QPointF(-900, 80), g->mapToGlobal(QPointF(-900, 80)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(g, &move);
  QTest::mouseRelease(g, Qt::LeftButton, {}, QPoint(-900, 80));
  EXPECT_EQ(g->size(), QSize(150, 60));
  EXPECT_EQ(g->y(), top);
  // Maximise and back, minimise and back.
  QTest::mouseClick(g, Qt::LeftButton, {}, QPoint(55, 11));
  EXPECT_EQ(g->geometry(), base->rect());
  QTest::mouseClick(g, Qt::LeftButton, {}, QPoint(55, 11));
  EXPECT_EQ(g->size(), QSize(150, 60));
  QTest::mouseClick(g, Qt::LeftButton, {}, QPoint(34, 11));
  EXPECT_EQ(g->height(), 22);
  EXPECT_EQ(g->y(), base->height() - 22);
  EXPECT_FALSE(pointer()->isVisible());
  QTest::mouseClick(g, Qt::LeftButton, {}, QPoint(34, 11));
  EXPECT_EQ(g->size(), QSize(150, 60));
  // Close: hidden, and the switch is stored off; the menu item brings it back.
  QTest::mouseClick(g, Qt::LeftButton, {}, QPoint(13, 11));
  EXPECT_FALSE(g->isVisible());
  EXPECT_EQ(d.config.intValue(tw::key::show_graph), 0);
  window->action(QStringLiteral("showGraph"))->trigger();
  EXPECT_TRUE(g->isVisible());
  EXPECT_EQ(d.config.intValue(tw::key::show_graph), 1);
}

TEST_F(GraphPanel, PointerMovesTheMapOnlyThePointerIsRedrawnAndAClickHoldsItForASecond)
{
  GraphView* g = graph();
  PointerView* p = pointer();
  QApplication::processEvents();
  const int draws = g->profileDraws();
  ASSERT_GE(draws, 1);
  const double lat0 = d.view.lat;
  QTest::mouseMove(p, QPoint(400, 100));
  EXPECT_EQ(p->pointer_x, 400);
  EXPECT_NE(d.view.lat, lat0);  // the map follows
  QApplication::processEvents();
  EXPECT_EQ(g->profileDraws(), draws);  // the profile stays cached
  EXPECT_TRUE(pointerReadout(d, 400, p->width()).text.startsWith(QStringLiteral("標高: ")));
  // The map's track pointer follows the graph pointer.
  EXPECT_GT(d.getTrackPointer().x(), 0);
  EXPECT_NE(d.getNextPointer().x | d.getNextPointer().y, 0);

  QTest::mouseClick(p, Qt::LeftButton, {}, QPoint(200, 100));
  const double lat1 = d.view.lat;
  EXPECT_NE(lat1, lat0);
  clock += 0.9;
  QTest::mouseMove(p, QPoint(600, 100));
  EXPECT_EQ(p->pointer_x, 200);  // within a second of the click: ignored
  EXPECT_EQ(d.view.lat, lat1);
  clock += 0.2;
  QTest::mouseMove(p, QPoint(610, 100));
  EXPECT_EQ(p->pointer_x, 610);

  // "s" and "e" over the pointer choose a part; "r" returns to the whole track.
  const auto n = static_cast<int>(d.routes()->size());
  QTest::mouseMove(p, QPoint(200, 100));
  keyOnMap('s');
  EXPECT_EQ(d.graph_type, 1);
  EXPECT_GT(d.part_start, 0);
  EXPECT_EQ(d.part_end, n);  // repaired to the end
  QTest::mouseMove(p, QPoint(800, 100));
  keyOnMap('e');
  EXPECT_LT(d.part_end, n);
  EXPECT_GT(d.part_end, d.part_start);
  keyOnMap('r');
  EXPECT_EQ(d.graph_type, 0);
  EXPECT_EQ(d.part_start, -1);
  // Leaving the plot clears the pointer.
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(p, &leave);
  EXPECT_EQ(p->pointer_x, -1);
  EXPECT_EQ(d.getTrackPointer(), QPointF());
}

TEST_F(GraphPanel, PngExportIsTheGreyPrintRenderingOfThePanelsSize)
{
  const QString path = dir.path() + QStringLiteral("/g.png");
  boxes.fileAnswers.push_back(path);
  window->action(QStringLiteral("outputGraph"))->trigger();
  ASSERT_NE(boxes.last(), nullptr);
  EXPECT_EQ(boxes.last()->title, QStringLiteral("標高グラフ：PNGファイル保存"));
  const QImage img(path);
  EXPECT_EQ(img.size(), graph()->size());
  EXPECT_EQ(img.format(), QImage::Format_Grayscale8);
  EXPECT_EQ(qGray(img.pixel(0, 125)), 0);   // frame
  EXPECT_EQ(qGray(img.pixel(50, 125)), 0);  // the plot's left edge
  EXPECT_EQ(qGray(img.pixel(25, 240)), 255);
}

TEST_F(GraphPanel, TrackInformationDialogShowsWhatTheCommandLineShowsAndRenamesWithUndo)
{
  QStringList lines;
  QString title;
  d.runInfoPanel = [&](InfoPanel& panel) {
    title = panel.windowTitle();
    for (const auto& [outlet, text] : d.infoFields().rows())
      lines << QString::fromUtf8(tw::infoFieldLabel(outlet)) + QStringLiteral(": ") +
                   panel.field(QString::fromStdString(outlet));
    panel.nameField->setText(QStringLiteral("高尾"));
    panel.timeAdjustRadio->button(0)->setChecked(true);
    panel.dialogOK();
  };
  keyOnMap('i');
  EXPECT_EQ(title, QStringLiteral("トラック情報"));
  ASSERT_EQ(lines.size(), 29);
  QProcess cli;
  cli.start(QStringLiteral(TW_CLI), {QStringLiteral("info"), QStringLiteral(TW_SAMPLE)});
  ASSERT_TRUE(cli.waitForFinished(30000));
  const QString out = QString::fromUtf8(cli.readAllStandardOutput());
  for (const QString& l : lines) EXPECT_TRUE(out.contains(l + QLatin1Char('\n'))) << l.toStdString();

  EXPECT_EQ(d.doc.activeTrack()->name, "高尾");
  window->action(QStringLiteral("undo"))->trigger();
  EXPECT_NE(d.doc.activeTrack()->name, "高尾");
}

TEST(GraphDrawing, InformationLineFallsBackAsThePanelNarrows)
{
  tw::GraphModel m;
  m.points.resize(370);
  m.total_dist = 8279;
  const std::vector<QString> v = tw::graphInfoVariants(m);
  EXPECT_EQ(tw::graphInfoLine(m, 950, 150), v[0]);
  EXPECT_EQ(tw::graphInfoLine(m, 500, 150), v[1]);  // the count goes first
  EXPECT_EQ(tw::graphInfoLine(m, 420, 150), v[2]);
  EXPECT_EQ(tw::graphInfoLine(m, 370, 150), v[3]);  // " 標高: " instead of " 累積標高: "
  EXPECT_EQ(tw::graphInfoLine(m, 300, 150), QStringLiteral(" 距離:  8.279km"));  // then only the distance
  EXPECT_EQ(tw::graphInfoLine(m, 200, 150), QString());
}

TEST(GraphDrawing, DegenerateTracksDrawWithoutFault)
{
  auto track = [](std::vector<float> elevs, float step) {
    std::vector<tw::Track> pts(elevs.size());
    for (std::size_t i = 0; i < pts.size(); ++i) pts[i].elev = elevs[i], pts[i].seg_dist = i ? step : 0;
    return pts;
  };
  const std::vector<std::vector<tw::Track>> cases = {
      {}, track({500}, 0), track({-100, -100, -100}, 50), track({300, -100, 400}, 50), track({300, 310}, 0)};
  for (const auto& pts : cases) {
    tw::TrackStats st;
    st.total_dist = pts.empty() ? 0 : pts.back().seg_dist * float(pts.size() - 1);
    st.max_elev = pts.size() > 1 && pts.back().elev > 0 ? 400 : 0;
    st.min_elev = st.max_elev > 0 ? 300 : 3800;
    tw::GraphModel m = tw::buildGraphModel(pts, {0, int(pts.size())}, st, {}, {});
    for (QSize size : {QSize(950, 250), QSize(150, 60), QSize(150, 22), QSize(1, 1)}) {
      QImage img(size, QImage::Format_ARGB32_Premultiplied);
      QPainter p(&img);
      const tw::GraphScreenInfo info = tw::drawGraphScreen(p, size.width(), size.height(), m, {});
      EXPECT_GT(info.elev.end_elev, info.elev.start_elev);
      tw::drawGraphPDF(p, QRectF(QPointF(0, 0), size), true, m);
      tw::drawGraphPDF(p, QRectF(QPointF(0, 0), size), false, m);
    }
  }
}

TEST_F(GraphPanel, ReadOutSaysUnknownForMissingValuesAndNothingBeyondTheEnd)
{
  const int w = pointer()->width();
  d.doc.invalid_track = true;
  {
    QMutexLocker locker(&d.lock);
    for (auto& s : d.doc.positions) s.elev = tw::kUnknownElevation, s.gradient = tw::kUnknownGradient;
  }
  const PointerReadout r = pointerReadout(d, w / 2.0, w);
  EXPECT_TRUE(r.text.contains(QStringLiteral("標高: 未取得"))) << r.text.toStdString();
  EXPECT_EQ(r.text.count(QStringLiteral("不明")), 3);
  EXPECT_GE(pointerReadout(d, w, w).sample, 0);          // the end snaps to the last sample
  EXPECT_EQ(pointerReadout(d, w * 1.5, w).sample, -1);   // beyond it: nothing
}

}  // namespace
