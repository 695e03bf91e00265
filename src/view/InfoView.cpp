#include "view/InfoView.h"

#include <QClipboard>
#include <QDateTime>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QMutexLocker>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QPainterPath>
#include <QUrl>
#include <cmath>

#include "app/AppDelegate.h"
#include "gpx/LinkPatterns.h"
#include "view/LayerViews.h"
#include "view/MapFonts.h"
#include "view/Readout.h"
#include "view/ViewCoords.h"

namespace {

constexpr qint64 kMaxDropBytes = 256LL * 1024 * 1024;
constexpr int kLineHeight = 18;

double nowSeconds() { return QDateTime::currentMSecsSinceEpoch() / 1000.0; }

tw::SpecialKey specialKey(int key)
{
  switch (key) {
    case Qt::Key_Up: return tw::SpecialKey::Up;
    case Qt::Key_Down: return tw::SpecialKey::Down;
    case Qt::Key_Left: return tw::SpecialKey::Left;
    case Qt::Key_Right: return tw::SpecialKey::Right;
    case Qt::Key_Backspace: return tw::SpecialKey::Backspace;
    case Qt::Key_Delete: return tw::SpecialKey::ForwardDelete;
    default: return tw::SpecialKey::None;
  }
}

}  // namespace

InfoView::InfoView(AppDelegate* d, QWidget* parent) : QWidget(parent), d_(d)
{
  setMouseTracking(true);
  setAcceptDrops(true);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_AcceptTouchEvents);
  pointer_img_ = namedImage(QStringLiteral("pointer24"));
  arrow_img_ = namedImage(QStringLiteral("arrow24"));
  connect(d, &AppDelegate::messageChanged, this, qOverload<>(&QWidget::update));
}

InfoView::~InfoView()
{
  if (d_->infoView == this) d_->infoView = nullptr;
}

tw::WindowPoint InfoView::windowPoint(QPointF p) const { return tw::fromQt(p, height()); }

bool InfoView::overGraph(tw::WindowPoint p) const
{
  const QWidget* g = d_->graphView;
  if (!g || !g->isVisible()) return false;
  return g->geometry().contains(tw::toQt(p.x, p.y, height()).toPoint());
}

tw::LatLon InfoView::latLonAt(tw::WindowPoint p) const
{
  const QSizeF s = d_->getMapViewSize();
  const tw::DPoint g = tw::windowToGlobal(d_->view, {s.width(), s.height()}, p);
  return {tw::latFromPixel(d_->view.zoom, g.y), tw::lonFromPixel(d_->view.zoom, g.x)};
}

void InfoView::updateMapPosition(QPoint shift)
{
  if (!dragged || d_->mode == tw::Mode::Area) return;
  map_dx += shift.x();
  map_dy += shift.y();
}

void InfoView::resetDragPosition()
{
  if (!dragged || d_->mode == tw::Mode::Area) return;
  drag_mouse = mp;
  drag_center = {d_->view.center_x, d_->view.center_y};
  drag_pixel = tw::dragPixel(d_->view.foreRect, mp);
  map_dx = map_dy = 0;
}

// ---- drawing ----

QString InfoView::firstLine() const
{
  const tw::Config& c = d_->config;
  if (d_->mode == tw::Mode::Area) {
    // The print centre and the ground size of the printable area.
    if (!d_->selectArea || !c.isOn(tw::key::information)) return {};
    const tw::LatLon& pos = d_->printPos;
    QString where;
    if (c.intValue(tw::key::show_coord) == 1) {
      where = QString::asprintf("%9.6f, %9.6f", pos.lat, pos.lon);
    } else if (c.intValue(tw::key::show_coord) == 2) {
      const tw::Dms a = tw::splitDms(pos.lat), o = tw::splitDms(pos.lon);
      where = QString::asprintf("北緯%d度%d分%4.2f秒 東経%d度%d分%4.2f秒", a.d, a.m, double(a.s), o.d, o.m, double(o.s));
    }
    return QString::asprintf("%s (横:%5.2fkm 縦:%5.2fkm)", where.toUtf8().constData(),
                             d_->paper.printDistance.width / 1000, d_->paper.printDistance.height / 1000);
  }
  tw::ReadoutOptions o;
  o.show_info = c.isOn(tw::key::information);
  o.show_coord = c.intValue(tw::key::show_coord);
  o.show_elev = c.isOn(tw::key::show_elev);
  return QString::fromStdString(tw::readoutLine(o, lat, lon, elev));
}

QString InfoView::timeLine() const
{
  if (!d_->config.isOn(tw::key::information) || !d_->config.isOn(tw::key::show_time)) return {};
  const auto* routes = d_->doc.routes();
  if (!routes) return {};
  int index = pos;
  const int sel = d_->doc.select;
  if (sel >= 0 && sel < static_cast<int>(routes->size())) index = sel;
  if (index < 0 || index >= static_cast<int>(routes->size())) return {};
  const auto& t = (*routes)[static_cast<size_t>(index)].time;
  return t ? QString::fromStdString(tw::jpTimeText(*t)) : QString();
}

void InfoView::drawLine(QPainter& p, int index, const QString& text)
{
  if (text.isEmpty()) return;
  const QFontMetricsF fm(p.font());
  const double w = fm.horizontalAdvance(text) + 20;
  const QRect r = QRectF((width() - w) / 2, index * kLineHeight, w, kLineHeight).toAlignedRect();
  p.setPen(Qt::white);
  p.drawText(r.translated(-1, 1), Qt::AlignCenter, text);
  p.drawText(r.translated(1, -1), Qt::AlignCenter, text);
  p.setPen(Qt::black);
  p.drawText(r, Qt::AlignCenter, text);
}

void InfoView::paintEvent(QPaintEvent*)
{
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::SmoothPixmapTransform, true);
  p.setFont(tw::mapFont(QStringLiteral("HiraMaruPro-W4"), 16));
  const tw::DRect& fore = d_->view.foreRect;
  const int zoom = d_->view.zoom;

  // The track pointer arrow.
  const QPointF tp = d_->getTrackPointer();
  const tw::IPoint next = d_->getNextPointer();
  if (tp.x() > 0 && (next.x != 0 || next.y != 0)) {
    const QPointF c(tp.x() - fore.x, tp.y() - fore.y);
    p.drawImage(QRectF(c.x() - 12, c.y() - 12, 24, 24), pointer_img_);
    p.save();
    p.translate(c);
    // The arrow image points east; y runs down on the screen and in map pixels alike.
    p.rotate(std::atan2(next.y, next.x) * 180.0 / tw::kPi);
    p.drawImage(QRectF(-12, -12, 24, 24), arrow_img_);
    p.restore();
  }

  // Selected track point and waypoint.
  const auto* routes = d_->doc.routes();
  const int sel = d_->doc.select;
  if (routes && sel >= 0 && sel < static_cast<int>(routes->size())) {
    const tw::Track& t = (*routes)[static_cast<size_t>(sel)];
    lat = t.lat;
    lon = t.lon;
    elev = t.elev;
    if (d_->isTrackMode() && zoom >= 15) {
      const QImage& im = zoom == 15 ? d_->markers.active15_img : d_->markers.active_img;
      const int s = 18 - zoom;
      if (!im.isNull()) p.drawImage(QRectF((t.x >> s) - fore.x - 8, (t.y >> s) - fore.y - 8, 16, 16), im);
    }
  }
  const int wsel = d_->doc.select_wp;
  if (wsel >= 0 && wsel < static_cast<int>(d_->doc.waypoints.size()) && !d_->markers.active_wp_img.isNull()) {
    const tw::WayPoint& w = d_->doc.waypoints[static_cast<size_t>(wsel)];
    const int s = 18 - zoom;
    p.drawImage(QRectF((w.x >> s) - fore.x - 8, (w.y >> s) - fore.y - 8, 16, 16), d_->markers.active_wp_img);
  }

  drawLine(p, 0, firstLine());
  drawLine(p, 1, timeLine());

  // Rubber band of the input tool, from the last point to the mouse.
  if (d_->isInputMode() && zoom >= 15 && routes && !routes->empty() && mouse_known) {
    const tw::Track& last = routes->back();
    const int s = 18 - zoom;
    QPen pen(QColor::fromRgbF(0, 0.5, 0, 0.7), 3, Qt::CustomDashLine, Qt::RoundCap, Qt::RoundJoin);
    pen.setDashPattern({10.0 / 3, 10.0 / 3});  // Qt dashes are in pen widths
    p.setPen(pen);
    p.drawLine(QPointF((last.x >> s) - fore.x, (last.y >> s) - fore.y), tw::toQt(mp.x, mp.y, height()));
  }

  if (!d_->message.isEmpty()) {
    const QFontMetricsF fm(p.font());
    const QSizeF ts = fm.size(0, d_->message);
    const QSizeF box(ts.width() + 20, ts.height() + 20);
    const QRectF r((width() - box.width()) / 2, (height() - box.height()) / 2, box.width(), box.height());
    QPainterPath path;
    path.addRoundedRect(r, 6, 6);
    p.fillPath(path, QColor::fromRgbF(0, 0, 0, 0.75));
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, d_->message);
  }
  if (dragging) {
    p.setPen(QPen(QColor(60, 120, 220), 3));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(1, 1, -2, -2));
  }
}

// ---- mouse ----

void InfoView::mousePressEvent(QMouseEvent* e)
{
  mouse_inside = true;
  if (e->button() == Qt::LeftButton) mouseDown(windowPoint(e->position()));
}

void InfoView::mouseMoveEvent(QMouseEvent* e)
{
  mouse_inside = rect().contains(e->position().toPoint());
  if (e->buttons() & Qt::LeftButton)
    mouseDragged(windowPoint(e->position()));
  else
    mouseMoved(windowPoint(e->position()));
}

void InfoView::mouseReleaseEvent(QMouseEvent* e)
{
  if (e->button() == Qt::RightButton) {
    rightMouseUp(windowPoint(e->position()));
    return;
  }
  if (e->button() != Qt::LeftButton) return;
  const bool dbl = doubleClickPending_;
  doubleClickPending_ = false;
  mouseUp(windowPoint(e->position()), dbl);
}

void InfoView::mouseDoubleClickEvent(QMouseEvent* e)
{
  if (e->button() == Qt::LeftButton) doubleClickPending_ = true;
}

void InfoView::enterEvent(QEnterEvent*)
{
  mouse_inside = true;
  setFocus();  // the overlay takes the keys back, from the graph or the lists
}

void InfoView::leaveEvent(QEvent*) { mouse_inside = false; }

void InfoView::mouseMoved(tw::WindowPoint p)
{
  mp = p;
  mouse_known = true;
  if (overGraph(p) || !d_->isMouseOnMap()) {
    d_->doc.select = tw::kNoIndex;
    lat = lon = -1;
    elev = tw::kUnknownElevation;
    mouse_known = false;
    d_->redrawInfoLayer();
    return;
  }
  const int zoom = d_->view.zoom;
  if (d_->mode == tw::Mode::Base || (d_->mode == tw::Mode::Edit && zoom >= 15)) {
    const tw::LatLon ll = latLonAt(p);
    const int32_t x = tw::pixel18FromLon(ll.lon), y = tw::pixel18FromLat(ll.lat);
    const bool valid = tw::isValidSelect(prev_mp, p);
    if (d_->mode == tw::Mode::Base || d_->isTrackMode())
      d_->displayNearPoint(x, y, valid);
    else if (d_->isWayPointMode())
      d_->displayNearWayPoint(x, y, valid);
  }
  d_->printMouseMoved(p);
  prev_mp = mp;
  d_->displayLocation();
}

void InfoView::mouseDown(tw::WindowPoint p)
{
  mp = p;
  backup = false;
  if (overGraph(p)) return;
  // Area and print modes select the area or the printed graph first.
  if (d_->printMouseDown(p)) return;
  drag_center = {d_->view.center_x, d_->view.center_y};
  drag_pixel = tw::dragPixel(d_->view.foreRect, p);
  d_->hidePopupButton();
  drag_mouse = p;
  map_dx = map_dy = 0;
  origin = {d_->view.foreRect.x, d_->view.foreRect.y};
}

void InfoView::mouseDragged(tw::WindowPoint p)
{
  mp = p;
  if (overGraph(p)) return;
  d_->hidePopupButton();
  processing = true;
  QMutexLocker locker(&d_->lock);
  dragged = true;
  const int zoom = d_->view.zoom;
  if (d_->isTrackMode() && d_->doc.select >= 0 && zoom >= 15) {
    const tw::LatLon ll = latLonAt(p);
    d_->dragTrackPoint(ll.lat, ll.lon, !backup);
    backup = true;
    return;
  }
  if (d_->isWayPointMode() && d_->doc.select_wp >= 0 && zoom >= 15) {
    const tw::LatLon ll = latLonAt(p);
    d_->dragWayPoint(ll.lat, ll.lon, !backup);
    backup = true;
    return;
  }
  if (d_->printMouseDragged(p)) return;  // the printed graph, or print mode's fixed sheet
  const QSizeF s = d_->getMapViewSize();
  const tw::IPoint c = tw::panCentre(drag_pixel, p, {s.width(), s.height()});
  d_->updatePixelPosition(zoom, c.x, c.y);
  d_->moveMapLayer(static_cast<int>(drag_center.x - c.x) - map_dx, static_cast<int>(c.y - drag_center.y) - map_dy);
}

void InfoView::mouseUp(tw::WindowPoint p, bool doubleClick)
{
  mp = p;
  if (overGraph(p)) return;
  if (doubleClick) {
    if (d_->doc.select_wp >= 0) {
      d_->hidePopupButton();
      d_->editWayPoint();
    } else {
      d_->updateZoomPoint(p, 1);
    }
    return;
  }
  d_->redrawInfoLayer();
  // A drag that edited is over before anything is recomputed: the speeds and statistics it
  // skipped are due now. A pan changed nothing, so it keeps the cheap update that long tracks
  // can afford on every release.
  const bool wasDragged = dragged;
  if (backup) dragged = false;
  if (wasDragged) d_->updateGraph();
  dragged = false;
  if (wasDragged) {
    if (d_->isWayPointMode()) d_->calcWayPointPosition();
    d_->redrawAllLayers();
    if (!tw::isClick(drag_mouse, p)) return;
  }
  const int zoom = d_->view.zoom;
  const tw::LatLon ll = latLonAt(p);
  if (d_->isInputMode() && zoom >= 15) d_->addTrackPoint(static_cast<float>(ll.lat), static_cast<float>(ll.lon));
  if ((d_->isTrackMode() || d_->isWayPointMode()) && zoom >= 15) {
    const int32_t x = tw::pixel18FromLon(ll.lon), y = tw::pixel18FromLat(ll.lat);
    if (d_->isTrackMode()) {
      d_->displayNearPoint(x, y);
      if (d_->doc.select >= 0 && !wasDragged) d_->showPopupButton();
    } else {
      d_->displayNearWayPoint(x, y);
      d_->showWayPointButton(ll.lon, ll.lat);
    }
  }
}

void InfoView::rightMouseUp(tw::WindowPoint p)
{
  if (!d_->isWayPointMode() || d_->view.zoom < 15 || overGraph(p)) return;
  const tw::LatLon ll = latLonAt(p);
  d_->showWayPointButton(ll.lon, ll.lat);
}

// ---- wheel, trackpad and pinch ----

void InfoView::wheelEvent(QWheelEvent* e)
{
  const tw::WindowPoint p = windowPoint(e->position());
  if (e->phase() == Qt::ScrollBegin) gesture.touchesBegan();
  const bool trackpad = e->phase() != Qt::NoScrollPhase || !e->pixelDelta().isNull();
  int steps = 0;
  if (trackpad && gesture.track_pad) {
    // Trackpads report pixels; a wheel notch is 120 eighths of a degree.
    const double dy = !e->pixelDelta().isNull() ? e->pixelDelta().y() : e->angleDelta().y() / 120.0;
    steps = gesture.onScroll(dy, nowSeconds());
  } else {
    if (d_->view.animating || overGraph(p)) return;
    steps = wheel.onWheel(e->angleDelta().y() / 120.0, nowSeconds());
  }
  if (steps != 0) d_->updateZoomPoint(p, steps);
  e->accept();
}

bool InfoView::event(QEvent* e)
{
  if (e->type() == QEvent::NativeGesture) {
    auto* g = static_cast<QNativeGestureEvent*>(e);
    if (g->gestureType() == Qt::BeginNativeGesture) gesture.touchesBegan();
    if (g->gestureType() == Qt::ZoomNativeGesture) {
      const int steps = gesture.onMagnify(g->value());
      if (steps != 0) d_->updateZoomPoint(windowPoint(g->position()), steps);
    }
    return true;
  }
  if (e->type() == QEvent::TouchBegin) gesture.touchesBegan();
  return QWidget::event(e);
}

// ---- keys ----

void InfoView::keyPressEvent(QKeyEvent* e)
{
  // A pasted route link is imported like one sent through a text service.
  if (e->matches(QKeySequence::Paste)) {
    d_->doString(QGuiApplication::clipboard()->text());
    e->accept();
    return;
  }
  const QString text = e->text();
  const char32_t ch = text.isEmpty() ? 0 : text.toUcs4().value(0);
  const tw::MapKey key = tw::mapKey(ch, specialKey(e->key()));
  const tw::LatLon ll = latLonAt(mp);
  switch (key) {
    case tw::MapKey::MoveUp: d_->moveUp(); break;
    case tw::MapKey::MoveDown: d_->moveDown(); break;
    case tw::MapKey::MoveLeft: d_->moveLeft(); break;
    case tw::MapKey::MoveRight: d_->moveRight(); break;
    case tw::MapKey::ZoomIn: d_->zoomIn(); break;
    case tw::MapKey::ZoomOut: d_->zoomOut(); break;
    case tw::MapKey::Insert:
      if (d_->isTrackMode()) d_->insertTrackPoint();
      break;
    case tw::MapKey::AddWayPoint:
      if (d_->isWayPointMode()) d_->addWayPoint(ll.lat, ll.lon);
      break;
    case tw::MapKey::Delete: d_->deleteKey(); break;
    case tw::MapKey::ChangeMap: d_->changeMap(); break;
    case tw::MapKey::PartStart:
    case tw::MapKey::PartEnd:
    case tw::MapKey::ResetGraph:
    case tw::MapKey::TrackInfo:
      // Graph and statistics keys are handled by their owners when present.
      if (d_->mapKeyHandler && d_->mapKeyHandler(key)) break;
      QWidget::keyPressEvent(e);
      return;
    case tw::MapKey::None: QWidget::keyPressEvent(e); return;
  }
  e->accept();
}

// ---- drop of GPX files and links ----

bool InfoView::acceptableObject(const QString& candidate) { return tw::acceptableObject(candidate.toStdString()); }

bool InfoView::dropFile(const QString& candidate, bool append)
{
  if (tw::matchLink(candidate.toStdString()) != tw::LinkKind::GpxPath) return false;
  QFile f(candidate);
  if (!f.open(QIODevice::ReadOnly) || f.size() > kMaxDropBytes) {
    d_->boxes().alertMessage(QStringLiteral("エラー"),
                             QStringLiteral("GPXデータの読み込みに失敗しました。\nファイルが壊れている可能性があります。"));
    return true;
  }
  // Dropped tracks get their missing elevations like opened ones.
  if (d_->loadGPXData(f.readAll(), append)) {
    d_->setFileName(QFileInfo(candidate).fileName());
    d_->requestElevation();
  }
  return true;
}

namespace {
// The first dropped file, else the first dropped address (or text), and whether it is a file.
std::pair<QString, bool> dropCandidate(const QMimeData* m)
{
  if (!m || !m->hasUrls()) return {m && m->hasText() ? m->text() : QString(), false};
  for (const QUrl& u : m->urls())
    if (u.isLocalFile()) return {u.toLocalFile(), true};
  return {m->urls().isEmpty() ? QString() : m->urls().first().toString(), false};
}
}  // namespace

void InfoView::dragEnterEvent(QDragEnterEvent* e)
{
  if (acceptableObject(dropCandidate(e->mimeData()).first)) {
    e->setDropAction(Qt::CopyAction);
    e->accept();
    dragging = true;
  } else {
    e->ignore();
  }
  update();
}

void InfoView::dragLeaveEvent(QDragLeaveEvent*)
{
  dragging = false;
  update();
}

void InfoView::dropEvent(QDropEvent* e)
{
  dragging = false;
  const bool append = e->modifiers() & Qt::AltModifier;
  const auto [candidate, isFile] = dropCandidate(e->mimeData());
  // A dropped file is always read as a file, even when its path happens to look like a link.
  if ((!isFile && d_->importLink(candidate, append)) || dropFile(candidate, append))
    e->acceptProposedAction();
  else
    e->ignore();
  update();
}
