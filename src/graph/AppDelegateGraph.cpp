// The controller's graph section: the panel's commands, the pointer from the lists and the
// map, the part keys, the PNG export and the graph switches of the View menu.
#include <QImage>
#include <QPainter>

#include "app/AppDelegate.h"
#include "graph/GraphView.h"
#include "graph/InfoPanel.h"

namespace key = tw::key;

namespace {
GraphView* panel(AppDelegate& d) { return qobject_cast<GraphView*>(d.graphView); }
}  // namespace

tw::GraphModel AppDelegate::graphModel() const
{
  tw::GraphModel m;
  if (const auto* r = doc.routes()) {
    m = tw::buildGraphModel(*r, measuredSection(), stats, doc.states, doc.waypoints);
    m.stable = doc.isStableElevation();
  }
  m.outside = doc.outside;
  m.invalid_track = doc.invalid_track;
  m.graph_type = graph_type;
  m.cycling = cycling;
  m.graphTrackInfo = graphTrackInfo;
  m.graphWayPoint = graphWayPoint;
  tw::applyGraphSwitches(m, config);
  return m;
}

void AppDelegate::showGraphIfNeeded()
{
  if (mode == tw::Mode::Area || mode == tw::Mode::Print) return;
  if (GraphView* g = panel(*this)) g->initGraphView();
  if (derived.show_graph) updateButton();  // the button layout shows the panel
  updateGraph();
}

void AppDelegate::showGraph()
{
  if (mode == tw::Mode::Print) {
    print_graph = print_graph ? 0 : 1;
    select_graph = print_graph != 0;  // a graph just put on the sheet is ready to be placed
    updateButton();
    redrawAllLayers();
    return;
  }
  const bool shown = graphView && graphView->isVisible();
  derived.show_graph = shown ? 0 : 1;
  config.setInt(key::show_graph, derived.show_graph);
  if (!shown)
    showGraphIfNeeded();
  else
    updateButton();
}

void AppDelegate::showGraphRange()
{
  if (graph_type == 0 || graph_type == 1) {
    graph_type = 2;
  } else {
    graph_type = part_start > 0 ? 1 : 0;
    calcTrackData();
  }
  graphNeedsDraw = true;
  updateButton();
  redrawAllLayers();
}

void AppDelegate::resetGraph()
{
  graph_type = 0;
  part_start = part_end = range_start = range_end = -1;
  updateGraph();
}

void AppDelegate::displayGraphPointer(int index)
{
  const auto* r = routes();
  auto* pv = qobject_cast<PointerView*>(pointerView);
  if (!r || !pv || index < 0 || index >= static_cast<int>(r->size()) || !(stats.total_dist > 0)) return;
  const tw::Section s = measuredSection();
  double base = 0;
  if ((graph_type == 1 || graph_type == 2) && s.start >= 0 && s.start < static_cast<int>(r->size()))
    base = (*r)[static_cast<std::size_t>(s.start)].dist;
  pv->pointer_x = ((*r)[static_cast<std::size_t>(index)].dist - base) * pv->width() / stats.total_dist;
  // Only the pointer layer: the profile stays cached.
  pv->update();
  redrawInfoLayer();
}

void AppDelegate::clearGraphPointer()
{
  if (auto* pv = qobject_cast<PointerView*>(pointerView)) pv->pointer_x = -1;
}

bool graphPointerSample(AppDelegate& d, tw::PosInfo& sample, tw::PosInfo* next)
{
  auto* pv = qobject_cast<PointerView*>(d.pointerView);
  if (!pv || !tw::baseOrEdit(d.mode) || pv->pointer_x < 0 || pv->pointer_x > pv->width() || pv->width() <= 0 ||
      !(d.stats.span > 0))
    return false;
  const double raw = pv->pointer_x / pv->width() * d.stats.total_dist / d.stats.span;
  QMutexLocker locker(&d.lock);
  const auto n = static_cast<double>(d.doc.positions.size());
  if (!(raw >= 0 && raw < n)) return false;
  const auto i = static_cast<std::size_t>(raw);
  sample = d.doc.positions[i];
  if (next) {
    *next = tw::PosInfo{};
    next->point_index = -1;
    if (i + 1 < d.doc.positions.size()) *next = d.doc.positions[i + 1];
  }
  return true;
}

void AppDelegate::displayGraphWayPointer(int index)
{
  const auto* r = routes();
  if (!r) return;
  for (std::size_t i = 0; i < r->size(); ++i)
    if ((*r)[i].wp_index == index) return displayGraphPointer(static_cast<int>(i));
}

void AppDelegate::graphPartKey(bool start)
{
  const auto* r = routes();
  auto* pv = qobject_cast<PointerView*>(pointerView);
  if (!r || !pv || !pv->active || pv->pointer_x < 0) return;
  tw::PosInfo sample;
  {
    QMutexLocker locker(&lock);
    sample = tw::posInfoAt(doc.positions, pv->pointer_x, pv->width(), stats.total_dist, stats.span);
  }
  if (sample.point_index < 1) return;
  const int count = static_cast<int>(r->size());
  if (start)
    part_start = sample.point_index;
  else
    part_end = std::min(sample.point_index + 1, count);
  if (part_start < 0 || part_start >= count) part_start = 0;
  if (part_end < 1 || part_end > count) part_end = count;
  graph_type = 1;
  updateGraph();
}

bool AppDelegate::writeGraphPNG(const QString& path)
{
  const QSize size = graphView ? graphView->size() : QSize(950, 250);
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    tw::drawGraphPDF(p, QRectF(0, 0, size.width(), size.height()), false, graphModel());
  }
  return image.convertToFormat(QImage::Format_Grayscale8).save(path, "PNG");
}

bool AppDelegate::outputGraph()
{
  const QString path =
      boxes().saveFileName(QStringLiteral("標高グラフ：PNGファイル保存"), QString(), QStringLiteral("graph.png"),
                           QStringLiteral("PNG (*.png)"));
  if (path.isEmpty()) return false;
  return writeGraphPNG(path);
}

namespace {
void redrawGraph(AppDelegate& d)
{
  d.graphNeedsDraw = true;
  d.redrawGraphLayers();
}
}  // namespace

void AppDelegate::showGraphWayPoint()
{
  config.setInt(key::show_graph_wp, config.intValue(key::show_graph_wp) != 1 ? 1 : 0);
  updateGraph();
}

void AppDelegate::showGraphWithMark()
{
  config.setInt(key::graph_wp_type, (config.intValue(key::graph_wp_type) ^ 1) & 3);
  updateGraph();
}

void AppDelegate::showGraphWithName()
{
  config.setInt(key::graph_wp_type, (config.intValue(key::graph_wp_type) ^ 2) & 3);
  updateGraph();
}

void AppDelegate::showGraphWithAll()
{
  config.setInt(key::show_graph_wp, 1);
  redrawGraph(*this);
}

void AppDelegate::toggleGraphTrackInfo() { graphTrackInfo = graphTrackInfo ? 0 : 1; }

void AppDelegate::toggleGraphWayPoint() { graphWayPoint = graphWayPoint ? 0 : 1; }

void AppDelegate::showTrackInfo()
{
  if (!doc.activeTrack()) return;
  calcTrackData();
  calcTrackInfo();
  {
    InfoPanel panel(*this, baseView ? baseView->window() : nullptr);
    if (runInfoPanel)
      runInfoPanel(panel);
    else
      panel.exec();
  }
  updateTrackMenu();
  updateTitle();
  updateGraph();
}
