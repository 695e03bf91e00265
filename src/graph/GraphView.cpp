#include "graph/GraphView.h"

#include <QDateTime>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "app/AppDelegate.h"
#include "graph/GraphPaint.h"
#include "view/MapFonts.h"
#include "view/ViewCoords.h"

namespace {

// The panel's 16 × 16 title-bar images (72 × 16 for reset), drawn once.
QImage icon(int w, const std::function<void(QPainter&)>& draw)
{
  QImage img(w, 16, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  draw(p);
  return img;
}

tw::GraphChrome makeChrome()
{
  tw::GraphChrome c;
  auto circle = [](QColor fill, auto mark) {
    return icon(16, [=](QPainter& p) {
      p.setPen(Qt::NoPen);
      p.setBrush(fill);
      p.drawEllipse(QRectF(1, 1, 14, 14));
      p.setPen(QPen(QColor(60, 30, 20), 1.6));
      mark(p);
    });
  };
  c.close = circle(QColor(236, 95, 86), [](QPainter& p) {
    p.drawLine(QPointF(5, 5), QPointF(11, 11));
    p.drawLine(QPointF(11, 5), QPointF(5, 11));
  });
  c.minimize = circle(QColor(245, 190, 80), [](QPainter& p) { p.drawLine(QPointF(4, 8), QPointF(12, 8)); });
  c.maximize = circle(QColor(98, 197, 84), [](QPainter& p) {
    p.drawLine(QPointF(4, 8), QPointF(12, 8));
    p.drawLine(QPointF(8, 4), QPointF(8, 12));
  });
  c.warn = icon(16, [](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 200, 40));
    p.drawPolygon(QPolygonF({QPointF(8, 1), QPointF(15, 15), QPointF(1, 15)}));
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(QPointF(8, 6), QPointF(8, 10));
    p.drawPoint(QPointF(8, 13));
  });
  c.waypoint = icon(16, [](QPainter& p) {
    p.setPen(QPen(QColor(0, 255, 0), 2));
    p.drawEllipse(QRectF(4, 4, 8, 8));
  });
  c.reset = icon(72, [](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 160, 160));
    p.drawRoundedRect(QRectF(0.5, 0.5, 71, 15), 7, 7);
    p.setPen(Qt::white);
    p.setFont(tw::mapFont(QStringLiteral("HiraKakuProN-W3"), 11));
    p.drawText(QRectF(0, 0, 72, 16), Qt::AlignCenter, QStringLiteral("全体に戻す"));
  });
  c.rest = icon(16, [](QPainter& p) {
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(QColor(230, 120, 0));
    p.drawEllipse(QRectF(1, 1, 14, 14));
    p.setFont(tw::mapFont(QStringLiteral("HiraKakuProN-W3"), 10));
    p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("休"));
  });
  return c;
}

double nowSeconds() { return QDateTime::currentMSecsSinceEpoch() / 1000.0; }

}  // namespace

// ---- pointer read-out ----

PointerReadout pointerReadout(const AppDelegate& d, double px, double width)
{
  PointerReadout r;
  QMutexLocker locker(const_cast<QRecursiveMutex*>(&d.lock));
  const auto& pos = d.doc.positions;
  const int64_t i = tw::pointerSampleIndex(px, width, d.stats.total_dist, d.stats.span, pos.size());
  if (i < 0) return r;
  const tw::PosInfo& s = pos[static_cast<std::size_t>(i)];
  r.sample = static_cast<int>(i);
  r.elev = s.elev;
  r.gradient = s.gradient;
  const int percent = static_cast<int>(i * 100 / static_cast<int64_t>(pos.size()));
  double elev = s.elev;
  const auto* routes = d.doc.routes();
  if (routes && d.doc.select >= 0 && d.doc.select < static_cast<int>(routes->size()))
    elev = (*routes)[static_cast<std::size_t>(d.doc.select)].elev;
  const QString elevText = elev == tw::kUnknownElevation ? QStringLiteral("未取得") : QString::asprintf("%4.2fm", elev);
  auto share = [](float part, float total) {
    if (total == 0) return 0;
    const double v = part * 100.0 / total;
    return v > 99.9 ? 100 : static_cast<int>(v);
  };
  const QString unknown = QStringLiteral("不明");
  const QString up = d.doc.invalid_track ? unknown
                                         : QString::asprintf("%dm (%d%%)", static_cast<int>(s.up), share(s.up, d.stats.total_up));
  const QString down = d.doc.invalid_track
                           ? unknown
                           : QString::asprintf("%dm (%d%%)", static_cast<int>(s.down), share(s.down, d.stats.total_down));
  const QString grad =
      s.gradient == tw::kUnknownGradient
          ? unknown
          : QString::asprintf("%d%% (%d°)", static_cast<int>(s.gradient),
                              static_cast<int>(std::atan(s.gradient / 100.0) * 57.29578));
  r.text = QStringLiteral("標高: %1\n距離: %2\n登り: %3\n下り: %4\n斜度: %5")
               .arg(elevText, QString::asprintf("%4.2fkm (%d%%)", s.dist / 1000.0, percent), up, down, grad);
  return r;
}

static QColor wedgeColor(int cls)
{
  static const QColor kColors[] = {QColor::fromRgbF(0, 1, 1), QColor::fromRgbF(0, 1, 0), QColor::fromRgbF(1, 1, 0),
                                   QColor::fromRgbF(1, 0.5f, 0), QColor::fromRgbF(1, 0, 0)};
  return kColors[std::clamp(cls, 0, 4)];
}

void drawGraphPointer(QPainter& p, const AppDelegate& d, double px, int w, int h, const tw::ElevAxis& axis)
{
  if (!tw::baseOrEdit(d.mode) || px < 0) return;
  const tw::graphpaint::Flip f{0, double(h)};
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(QColor::fromRgbF(0, 1, 0, 1), 1));
  p.drawLine(QPointF(std::trunc(px), 0), QPointF(std::trunc(px), h));
  const PointerReadout r = pointerReadout(d, px, w);
  if (r.sample < 0) {
    p.restore();
    return;
  }
  const int span = axis.end_elev - axis.start_elev;
  const int my = r.elev == tw::kUnknownElevation || span <= 0 ? 0 : int(h * (r.elev - axis.start_elev) / span);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor::fromRgbF(0.9f, 1, 0.9f, 0.9f));
  p.drawEllipse(f.rect(px - 3, my - 3, 6, 6));

  const QFont font = tw::mapFont(QStringLiteral("HiraMaruPro-W4"), 11);
  const QFontMetricsF fm(font);
  const QRectF textBox = fm.boundingRect(QRectF(0, 0, 1000, 1000), Qt::AlignLeft, r.text);
  const double bw = std::ceil(textBox.width()) + 8, bh = std::ceil(textBox.height()) + 8;
  double bx = px + 6;
  if (bx + bw > w) bx = px - bw - 6;
  const double by = std::max(0.0, my - (bh - 8) - 8);
  const QRectF box = f.rect(bx, by, bw, bh);
  p.fillRect(box, tw::bandLabelColor(tw::elevationBand(r.elev), 0.6));
  const tw::WedgeHeights wh = tw::wedgeHeights(r.gradient == tw::kUnknownGradient ? 0 : r.gradient, bw);
  if (wh.left != 0 || wh.right != 0) {
    p.save();
    p.setClipRect(box);
    QPolygonF wedge({f.pt(bx, by), f.pt(bx, by + wh.left), f.pt(bx + bw, by + wh.right), f.pt(bx + bw, by)});
    p.setBrush(wedgeColor(tw::wedgeClass(r.gradient, d.cycling)));
    p.drawPolygon(wedge);
    p.restore();
  }
  p.setFont(font);
  p.setPen(Qt::black);
  p.drawText(box.translated(4, 4).toAlignedRect(), Qt::AlignLeft | Qt::AlignTop, r.text);
  p.restore();
}

// ---- the panel ----

GraphView::GraphView(AppDelegate& d, QWidget* parent) : QWidget(parent), d_(d), chrome_(makeChrome())
{
  setObjectName(QStringLiteral("graphView"));
  setMouseTracking(true);
  d_.graphView = this;
  pointer_ = new PointerView(d_, this);
  d_.pointerView = pointer_;
  pointer_->axis = &info_.elev;
  d_.graphNeedsDraw = true;
  // The map's graph keys: "s"/"e" over the pointer, "r" and "i".
  d_.mapKeyHandler = [this](tw::MapKey k) {
    switch (k) {
      case tw::MapKey::PartStart:
      case tw::MapKey::PartEnd:
        if (!pointer_->active) return false;
        d_.graphPartKey(k == tw::MapKey::PartStart);
        return true;
      case tw::MapKey::ResetGraph: d_.resetGraph(); return true;
      case tw::MapKey::TrackInfo: d_.showTrackInfo(); return true;
      default: return false;
    }
  };
  d_.resetGraphSelection = [this] {
    if (d_.graph_type != 1) return;
    d_.graph_type = 0;
    d_.part_start = d_.part_end = -1;
  };
}

GraphView::~GraphView()
{
  if (d_.graphView == this) {
    d_.graphView = nullptr;
    d_.mapKeyHandler = nullptr;
    d_.resetGraphSelection = nullptr;
  }
  if (d_.pointerView == pointer_) d_.pointerView = nullptr;
}

tw::GRect GraphView::frameUp() const
{
  const int bh = parentWidget() ? parentWidget()->height() : height();
  return {double(x()), double(bh - y() - height()), double(width()), double(height())};
}

namespace {
void apply(GraphView& g, PointerView& pv, const tw::PanelFrames& f)
{
  const double bh = g.parentWidget() ? g.parentWidget()->height() : f.graph.h;
  g.setGeometry(tw::toQt(f.graph.x, f.graph.y, f.graph.w, f.graph.h, bh).toRect());
  const tw::GRect& p = f.pointer;
  pv.setGeometry(tw::toQt(p.x, p.y, std::max(0.0, p.w), std::max(0.0, p.h), f.graph.h).toRect());
  pv.setVisible(p.w > 0 && p.h > 0);
}
}  // namespace

void GraphView::updateGraphView(tw::GRect r)
{
  const QSize base = parentWidget() ? parentWidget()->size() : size();
  apply(*this, *pointer_, tw::placeGraphView(r, base.width(), base.height(), minimize));
  d_.graphNeedsDraw = true;
  update();
}

void GraphView::initGraphView()
{
  if (init) return;
  init = true;
  minimize = maximize = false;
  const double bw = parentWidget() ? parentWidget()->width() : 950;
  updateGraphView({std::trunc((bw - 950) / 2), 0, 950, 250});
}

void GraphView::minimizeGraphView()
{
  apply(*this, *pointer_, tw::minimizedFrames(frameUp()));
  d_.graphNeedsDraw = true;
  update();
}

void GraphView::maximizeGraphView()
{
  const QSize base = parentWidget() ? parentWidget()->size() : size();
  apply(*this, *pointer_, tw::maximizedFrames(base.width(), base.height()));
  d_.graphNeedsDraw = true;
  update();
}

void GraphView::renderProfile()
{
  const qreal dpr = devicePixelRatioF();
  cache_ = QPixmap(size() * dpr);
  cache_.setDevicePixelRatio(dpr);
  cache_.fill(Qt::transparent);
  const tw::GraphModel model = d_.graphModel();
  chrome_.minimized = minimize;
  QPainter p(&cache_);
  info_ = tw::drawGraphScreen(p, width(), height(), model, chrome_);
  start_elev = info_.elev.start_elev;
  end_elev = info_.elev.end_elev;
  warnShown_ = model.stable == 1 && !model.outside;
  d_.graphNeedsDraw = false;
  ++profileDraws_;
}

// Switches that change the profile layer without a document change (the rest marks, the
// waypoints, the section), so redraws of all layers need not redraw the profile.
static std::vector<double> profileKey(const AppDelegate& d)
{
  const auto* r = d.doc.routes();
  return {double(d.config.intValue(tw::key::show_rest)), double(d.config.intValue(tw::key::show_graph_wp)),
          double(d.config.intValue(tw::key::graph_wp_type)), double(d.graph_type), double(d.part_start),
          double(d.part_end), double(d.doc.invalid_track), double(d.doc.isStableElevation()),
          double(r ? r->size() : 0), double(d.doc.waypoints.size()), d.stats.total_dist, d.stats.total_up,
          double(d.doc.active_track)};
}

void GraphView::paintEvent(QPaintEvent*)
{
  std::vector<double> key = profileKey(d_);
  if (d_.graphNeedsDraw || key != drawnKey_ || cache_.deviceIndependentSize().toSize() != size()) {
    renderProfile();
    drawnKey_ = std::move(key);
  }
  QPainter p(this);
  p.drawPixmap(0, 0, cache_);
}

int GraphView::buttonAt(QPoint q) const
{
  const int xs[] = {5, 26, 47, 146};
  for (int i = 0; i < 4; ++i) {
    if (i == 3 && !warnShown_) continue;
    if (QRect(xs[i], 3, 16, 16).contains(q)) return i + 1;
  }
  if (d_.graph_type == 1 && QRect(68, 3, 72, 16).contains(q)) return 5;
  return 0;
}

void GraphView::mousePressEvent(QMouseEvent* e)
{
  drag_ = mapToParent(e->position());
  frameRect_ = frameUp();
  const QPointF q = e->position();
  moving_ = q.y() < 22;
  resizing_ = !minimize && q.x() >= width() - 14 && q.y() >= height() - 14;
}

void GraphView::mouseMoveEvent(QMouseEvent* e)
{
  if (!(e->buttons() & Qt::LeftButton)) {
    setCursor(buttonAt(e->position().toPoint()) ? Qt::PointingHandCursor : Qt::ArrowCursor);
    return;
  }
  const QPointF cur = mapToParent(e->position());
  const double dx = cur.x() - drag_.x(), dy = -(cur.y() - drag_.y());  // y-up
  tw::GRect r = frameRect_;
  if (moving_) {
    r.x += dx;
    r.y += dy;
  } else if (resizing_) {
    r.w = std::trunc(frameRect_.w + dx);
    r.h = std::max(std::trunc(frameRect_.h - dy), 60.0);
    r.y = frameRect_.top() - r.h;
  } else {
    return;
  }
  updateGraphView(r);
  maximize = false;
}

void GraphView::mouseReleaseEvent(QMouseEvent* e)
{
  const bool dragged = mapToParent(e->position()) != drag_;
  moving_ = resizing_ = false;
  if (dragged) return;
  switch (buttonAt(e->position().toPoint())) {
    case 1: d_.showGraph(); break;
    case 2:
      if (minimize) {
        minimize = false;
        updateGraphView(graphRect);
      } else {
        if (!maximize) graphRect = frameUp();
        minimizeGraphView();
        minimize = true;
        maximize = false;
      }
      break;
    case 3:
      if (maximize) {
        maximize = false;
        updateGraphView(graphRect);
      } else {
        if (!minimize) graphRect = frameUp();
        maximizeGraphView();
        maximize = true;
        minimize = false;
      }
      break;
    case 4: d_.recalcElevation(); break;
    case 5: d_.resetGraph(); break;
    default: break;
  }
}

// ---- the pointer layer ----

PointerView::PointerView(AppDelegate& d, GraphView* graph) : QWidget(graph), now(nowSeconds), d_(d)
{
  setObjectName(QStringLiteral("pointerView"));
  setMouseTracking(true);
}

void PointerView::paintEvent(QPaintEvent*)
{
  if (!axis) return;
  QPainter p(this);
  drawGraphPointer(p, d_, pointer_x, width(), height(), *axis);
}

void PointerView::mouseMoveEvent(QMouseEvent* e)
{
  if (e->buttons() & Qt::LeftButton) {
    pointer_x = e->position().x();
    active = true;
    d_.redrawInfoLayer();
    update();
    return;
  }
  if (now() - last_click < 1.0) return;
  pointer_x = e->position().x();
  active = true;
  d_.movePosition(std::trunc(pointer_x), width());
  update();
}

void PointerView::mouseReleaseEvent(QMouseEvent* e)
{
  last_click = now();
  pointer_x = e->position().x();
  d_.movePosition(std::trunc(pointer_x), width());
  update();
}

void PointerView::enterEvent(QEnterEvent*) { active = true; }

void PointerView::leaveEvent(QEvent*)
{
  pointer_x = -1;
  active = false;
  update();
  d_.redrawInfoLayer();
}
