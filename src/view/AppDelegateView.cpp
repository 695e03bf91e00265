// The controller's viewport, layer and read-out operations.
#include <QFontMetricsF>
#include <QVariantAnimation>
#include <cmath>

#include "app/AppDelegate.h"
#include "graph/GraphView.h"
#include "view/InfoView.h"
#include "view/LayerViews.h"
#include "view/MapFonts.h"
#include "view/Readout.h"
#include "view/ViewCoords.h"
#include "view/Viewport.h"
#include "view/WayPointLabels.h"

namespace {
const QString kEditZoomMessage = QStringLiteral(
    "入力・編集作業は、1/25000図の表示時のみ可能です。\n操作を続ける場合は、スケールを戻してください。");

template <class W>
void mark(W* w)
{
  if (w) w->update();
}
}  // namespace

// ---- viewport ----

void AppDelegate::updatePosition(int zoom, double lat, double lon)
{
  if (!tw::isValidZoom(zoom)) return;
  if (mode != tw::Mode::Print && (zoom != view.zoom || slider.zoom != zoom)) {
    slider.updateZoom(zoom, false);
    mark(zoomView);
    mark(logoView);
  }
  tw::centreOnLatLon(view, zoom, lat, lon);
  updateLocation();
}

void AppDelegate::updatePixelPosition(int zoom, int x, int y)
{
  if (tw::centreOnPixel(view, zoom, x, y)) updateLocation();
}

void AppDelegate::moveRight()
{
  updatePixelPosition(view.zoom, static_cast<int>(view.center_x + tw::kArrowStep), static_cast<int>(view.center_y));
  displayLocation();
  redrawAllLayers();
}

void AppDelegate::moveLeft()
{
  updatePixelPosition(view.zoom, static_cast<int>(view.center_x - tw::kArrowStep), static_cast<int>(view.center_y));
  displayLocation();
  redrawAllLayers();
}

void AppDelegate::moveUp()
{
  updatePixelPosition(view.zoom, static_cast<int>(view.center_x), static_cast<int>(view.center_y - tw::kArrowStep));
  displayLocation();
  redrawAllLayers();
}

void AppDelegate::moveDown()
{
  updatePixelPosition(view.zoom, static_cast<int>(view.center_x), static_cast<int>(view.center_y + tw::kArrowStep));
  displayLocation();
  redrawAllLayers();
}

void AppDelegate::zoomIn()
{
  if (mode == tw::Mode::Print)
    updateZoom(slider.pos + 1);
  else
    updateZoom(static_cast<int>(slider.zoom + 1.0));
}

void AppDelegate::zoomOut()
{
  if (mode == tw::Mode::Print)
    updateZoom(slider.pos - 1);
  else
    updateZoom(static_cast<int>(slider.zoom - 1.0));
}

void AppDelegate::leaveEditingZoom()
{
  doc.select = tw::kNoIndex;
  hidePopupButton();
  showMessage(kEditZoomMessage, 5000);
}

void AppDelegate::updateZoom(int n)
{
  if (mode == tw::Mode::Print) {
    slider.updatePosition(n, true);
    view.print_y_zoom = slider.zoom;
    if (view.y_rate > 0) view.print_x_zoom = view.print_y_zoom * view.x_rate / view.y_rate;
    updatePosition(view.zoom, view.lat, view.lon);
    return;
  }
  if (n < slider.min_zoom || n > slider.max_zoom || n == view.zoom) return;
  const bool leaves = tw::leavesEditingZoom(view.zoom, n, mode);
  const QSizeF size = getMapViewSize();
  zoomAnimation(static_cast<float>(std::ldexp(1.0, n - view.zoom)), QPointF(size.width() / 2, size.height() / 2));
  updatePosition(n, view.lat, view.lon);
  displayLocation();
  if (leaves) leaveEditingZoom();
}

void AppDelegate::updateZoomPoint(tw::WindowPoint p, int delta)
{
  const QSizeF size = getMapViewSize();
  const tw::ViewSize vs{size.width(), size.height()};
  if (mode == tw::Mode::Print) {
    slider.updatePosition(slider.pos + delta, true);
    const double cx = vs.width / 2, cy = vs.height / 2;
    const double px = view.center_x - (cx - p.x) / view.print_x_zoom;
    const double py = view.center_y + (cy - p.y) / view.print_y_zoom;
    view.print_y_zoom = slider.zoom;
    if (view.y_rate > 0) view.print_x_zoom = view.print_y_zoom * view.x_rate / view.y_rate;
    const double nx = px + (cx - std::trunc(p.x)) / view.print_x_zoom;
    const double ny = py - (cy - std::trunc(p.y)) / view.print_y_zoom;
    updatePosition(view.zoom, tw::latFromPixel(view.zoom, ny), tw::lonFromPixel(view.zoom, nx));
    return;
  }
  const auto target = tw::zoomAboutPoint(view, vs, p, delta);
  if (!target) return;
  const bool leaves = tw::leavesEditingZoom(view.zoom, target->zoom, mode);
  zoomAnimation(target->scale, tw::toQt(p.x, p.y, vs.height));
  updatePosition(target->zoom, target->lat, target->lon);
  if (leaves) leaveEditingZoom();
}

void AppDelegate::zoomAnimation(float scale, QPointF anchor)
{
  if (mapView) mapView->beginZoom(anchor);
  if (routeView) routeView->beginZoom(anchor);
  view.animating = true;
  if (!zoomAnim) {
    zoomAnim = new QVariantAnimation(this);
    zoomAnim->setDuration(250);
    zoomAnim->setEasingCurve(QEasingCurve::InOutQuad);
    connect(zoomAnim, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
      if (mapView) mapView->setZoomScale(v.toDouble());
      if (routeView) routeView->setZoomScale(v.toDouble());
    });
    connect(zoomAnim, &QVariantAnimation::finished, this, &AppDelegate::animationDidStop);
  }
  zoomAnim->stop();
  zoomAnim->setStartValue(1.0);
  zoomAnim->setEndValue(static_cast<double>(scale));
  zoomAnim->start();
}

void AppDelegate::animationDidStop()
{
  view.animating = false;
  if (mapView) mapView->endZoom();
  if (routeView) routeView->endZoom();
  redrawAllLayers();
}

void AppDelegate::moveMapLayer(int x, int y)
{
  if (mapView) {
    mapView->setLayerPosition(QPoint(x, y));
    mapView->update();
  }
  if (doc.select >= 0 || doc.select_wp >= 0 || isInputMode()) redrawInfoLayer();
}

void AppDelegate::resetMapPosition(int margin)
{
  if (!mapView) return;
  if (infoView) infoView->updateMapPosition(mapView->layerPosition());
  mapView->setLayerPosition(QPoint(-margin, -margin));
}

void AppDelegate::updateLocation()
{
  const QSizeF size = getMapViewSize();
  if (mode == tw::Mode::Print) {
    // Print mode shows the map at a continuous scale; the print subsystem adds its area.
    const tw::Rates r = tw::calcRates(view.zoom, view.lat, view.lon);
    view.x_rate = r.x_rate;
    view.y_rate = r.y_rate;
    const double w = size.width() / view.print_x_zoom, h = size.height() / view.print_y_zoom;
    view.foreRect = {view.center_x - w / 2, view.center_y - h / 2, w, h};
    if (printLocationDone()) return;  // the print tiles are requested once
  } else {
    tw::updateScreenRects(view, {size.width(), size.height()});
  }
  planTiles();
  needsRedraw = true;
}

void AppDelegate::updateLayer()
{
  const QSizeF size = getMapViewSize();
  tw::gridSize(view, {size.width(), size.height()});
  const QRect bounds(QPoint(0, 0), size.toSize());
  for (QWidget* w : std::initializer_list<QWidget*>{mapView, routeView, infoView})
    if (w && w->geometry() != bounds) w->setGeometry(bounds);
  if (graphView) {
    // Kept inside the base view, compared in the y-up frame of the window.
    const QRect g = graphView->geometry();
    tw::DRect f{static_cast<double>(g.x()), size.height() - g.y() - g.height(), static_cast<double>(g.width()),
                static_cast<double>(g.height())};
    if (tw::keepInside(f, {size.width(), size.height()}))
      graphView->setGeometry(tw::toQt(f.x, f.y, f.width, f.height, size.height()).toRect());
  }
}

void AppDelegate::frameDidChange()
{
  if (!launched) {
    updateLayer();
    return;
  }
  view.center_x = view.center_y = 0;
  updateLayer();
  updatePosition(view.zoom, view.lat, view.lon);
}

QSizeF AppDelegate::getMapViewSize() const { return baseView ? QSizeF(baseView->size()) : QSizeF(0, 0); }

QRectF AppDelegate::getZoomViewRect() const { return zoomView ? QRectF(zoomView->geometry()) : QRectF(); }

// ---- redraw family: requests only; the layers paint later ----

void AppDelegate::redrawAllLayers()
{
  if (!view.animating) {
    if (mapView) mapView->requestRedraw();
    if (routeView) routeView->requestRedraw();
  }
  mark(graphView);
  mark(pointerView);
  mark(scaleView);
  mark(zoomView);
  mark(logoView);
  mark(infoView);
}

void AppDelegate::redrawBasicLayers()
{
  if (!view.animating) {
    if (mapView) mapView->requestRedraw();
    if (routeView) routeView->requestRedraw();
  }
  mark(scaleView);
  mark(infoView);
}

void AppDelegate::redrawMapLayer()
{
  if (!view.animating && mapView) mapView->requestRedraw();
}

void AppDelegate::redrawRouteLayer()
{
  if (routeView) routeView->requestRedraw();
  mark(infoView);
}

void AppDelegate::redrawGraphLayers()
{
  graphNeedsDraw = true;
  mark(graphView);
  mark(pointerView);
  mark(infoView);
}

void AppDelegate::redrawScaleLayer()
{
  mark(scaleView);
  mark(logoView);
}

void AppDelegate::redrawInfoLayer() { mark(infoView); }

void AppDelegate::requestRedraw() { needsRedraw = true; }

// ---- tracks on screen ----

void AppDelegate::showRoute()
{
  // Leaving print mode first belongs to the print subsystem.
  mode = tw::Mode::Edit;
  if (graphView) graphView->show();
  updateButton();
  const auto* r = routes();
  if (r && !r->empty()) updatePosition(15, r->front().lat, r->front().lon);
  redrawAllLayers();
}

tw::RouteInput AppDelegate::routeInput(std::vector<int>& rows, const std::vector<int>& states) const
{
  tw::RouteInput in;
  in.tracks = &doc.tracks;
  in.active_track = doc.active_track;
  in.track_mode = track_mode;
  in.invalid_track = doc.invalid_track;
  in.down_width = config.contains(tw::key::down_width) ? config.intValue(tw::key::down_width) : 4;
  in.zoom = view.zoom;
  in.mode = mode;
  in.track_tool = isTrackMode();
  in.input_tool = isInputMode();
  in.show_peak = config.isOn(tw::key::show_peak);
  in.show_rest = config.isOn(tw::key::show_rest);
  in.show_list = derived.show_list;
  in.mouse_on_map = isMouseOnMap();
  if (derived.show_list == 1 && selectedListRows) rows = selectedListRows();
  in.selected_rows = &rows;
  in.graph_type = graph_type;
  in.part_start = part_start;
  in.part_end = part_end;
  in.states = &states;
  return in;
}

void AppDelegate::calcWayPointPosition()
{
  const std::string name = config.stringValue(tw::key::wp_font_name);
  const int size = config.contains(tw::key::wp_font_size) ? config.intValue(tw::key::wp_font_size) : 18;
  const QFontMetricsF fm(tw::mapFont(name.empty() ? QStringLiteral("HiraMaruPro-W4") : QString::fromStdString(name), size));
  const auto measure = [&fm](const std::string& text) {
    const QSizeF s = fm.size(Qt::TextSingleLine, QString::fromStdString(text));
    return std::make_pair(s.width(), s.height());
  };
  const int scale = config.contains(tw::key::scale) ? config.intValue(tw::key::scale) : 3;
  tw::calcWayPointPosition(doc.waypoints, doc.tracks, routes(), scale, measure);
}

// ---- read-out ----

void AppDelegate::displayLocation()
{
  if (!infoView || !infoView->mouse_known) return;
  const QSizeF s = getMapViewSize();
  const tw::DPoint g = tw::windowToGlobal(view, {s.width(), s.height()}, infoView->mp);
  const double lat = tw::latFromPixel(view.zoom, g.y), lon = tw::lonFromPixel(view.zoom, g.x);
  double dem = tw::kUnknownElevation;
  if (view.zoom >= 15) dem = elevationAt ? elevationAt(lat, lon) : getElevation(lat, lon);
  displayLocation(lat, lon, tw::readoutElevation(view.zoom, doc.select, routes(), dem));
}

void AppDelegate::displayLocation(double lat, double lon, double elev)
{
  if (!infoView) return;
  if (mode == tw::Mode::Print) lat = lon = -1.0, elev = tw::kUnknownElevation;
  infoView->lat = lat;
  infoView->lon = lon;
  infoView->elev = static_cast<float>(elev);
  redrawInfoLayer();
}

QPointF AppDelegate::getTrackPointer()
{
  if (infoView) infoView->pos = -1;
  const auto* r = routes();
  if (!r) return {};
  int index = doc.select;
  if (isMouseOnTrack() && derived.show_list == 1) {
    const std::vector<int> rows = selectedListRows ? selectedListRows() : std::vector<int>{};
    if (rows.size() != 1) return {};
    index = rows.front();
  }
  QPointF result;
  if (tw::baseOrEdit(mode) && index >= 0 && index < static_cast<int>(r->size())) {
    if (isTrackMode() && view.zoom >= 15) return {};
    QMutexLocker locker(&lock);
    const int s = 18 - view.zoom;
    const tw::Track& t = (*r)[static_cast<size_t>(index)];
    result = QPointF(t.x >> s, t.y >> s);
  }
  // The graph pointer, when it is on the plot, takes over with its sample's place.
  tw::PosInfo sample;
  if (graphPointerSample(*this, sample, nullptr)) {
    result = QPointF(tw::pixelFromLon(view.zoom, sample.lon), tw::pixelFromLat(view.zoom, sample.lat));
    if (infoView) {
      const float dem = getElevation(sample.lat, sample.lon);
      infoView->lat = sample.lat;
      infoView->lon = sample.lon;
      infoView->elev = dem == tw::kUnknownElevation ? sample.elev : dem;
      infoView->pos = sample.point_index;
    }
  }
  return result;
}

tw::IPoint AppDelegate::getNextPointer()
{
  const auto* r = routes();
  if (!r || !tw::baseOrEdit(mode)) return {};
  int index = doc.select;
  if (isMouseOnTrack() && derived.show_list == 1) {
    const std::vector<int> rows = selectedListRows ? selectedListRows() : std::vector<int>{};
    if (rows.size() != 1) return {};
    index = rows.front();
  }
  if (index >= 0 && index < static_cast<int>(r->size())) return tw::nextPointer(*r, index);
  tw::PosInfo sample, next;
  if (graphPointerSample(*this, sample, &next) && next.point_index >= 0)
    return {tw::pixel18FromLon(next.lon) - tw::pixel18FromLon(sample.lon),
            tw::pixel18FromLat(next.lat) - tw::pixel18FromLat(sample.lat)};
  return {};
}

tw::WindowPoint AppDelegate::getMousePoint() const { return infoView ? infoView->mp : tw::WindowPoint{}; }

bool AppDelegate::isMouseOnMap() const { return infoView && infoView->mouse_inside; }

bool AppDelegate::isMouseOnTrack() const
{
  return listView && derived.show_list != 0 && listView->isVisible() && listView->underMouse();
}

bool AppDelegate::isDragged() { return infoView && infoView->dragged; }
