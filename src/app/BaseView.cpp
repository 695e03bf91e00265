#include "app/BaseView.h"

#include <QAbstractButton>

#include "view/PopupMenus.h"
#include "view/Viewport.h"

BaseView::BaseView(AppDelegate& d, QWidget* parent) : QWidget(parent)
{
  setObjectName(QStringLiteral("baseView"));
  setMinimumSize(320, 240);
  for (size_t i = 0; i < layers_.size(); ++i) layers_[i] = createMapLayer(static_cast<MapLayer>(i), d, this);
  new PopupMenus(d, this);
  restack();
}

void BaseView::setLayer(MapLayer kind, QWidget* view)
{
  auto& slot = layers_[static_cast<size_t>(kind)];
  delete slot;
  slot = view;
  view->setParent(this);
  restack();
  layoutLayers();
  view->show();
}

void BaseView::moveButton(QAbstractButton* button, int pos)
{
  button->setParent(this);
  bool known = false;
  for (auto& b : buttons_) {
    if (b.first == button) {
      b.second = pos;
      known = true;
    }
  }
  if (!known) buttons_.emplace_back(button, pos);
  // The origin is worked out y-up like every map frame, then turned into Qt's y-down.
  const QSize s = button->size();
  const tw::WindowPoint o = tw::buttonOrigin({double(width()), double(height())}, s.width(), s.height(), pos);
  button->move(int(o.x), int(height() - o.y - s.height()));
  button->raise();
}

void BaseView::resizeEvent(QResizeEvent*)
{
  layoutLayers();
  for (auto [button, pos] : buttons_) moveButton(button, pos);
}

void BaseView::layoutLayers()
{
  const QRect all = rect();
  for (MapLayer k : {MapLayer::Map, MapLayer::Route, MapLayer::Overlay}) layer(k)->setGeometry(all);
  layer(MapLayer::Scale)->setGeometry(10, height() - 40, 220, 30);
  layer(MapLayer::Logo)->setGeometry(width() - 330, height() - 22, 320, 20);
  layer(MapLayer::Zoom)->setGeometry(10, 40, 30, 220);
}

void BaseView::restack()
{
  for (QWidget* w : layers_) w->raise();
  for (auto& b : buttons_) b.first->raise();
}
