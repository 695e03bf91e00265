#include "view/PopupMenus.h"

#include <QMenu>
#include <QPushButton>

#include "app/AppDelegate.h"
#include "editing/PointEdits.h"
#include "view/ViewCoords.h"

namespace {

QPushButton* makeButton(QWidget* parent, const QString& name, QMenu*& menu)
{
  auto* b = new QPushButton(parent);
  b->setObjectName(name);
  b->hide();
  b->setEnabled(false);
  b->setFocusPolicy(Qt::NoFocus);  // keys stay with the map
  menu = new QMenu(b);
  menu->setObjectName(name + QStringLiteral("Menu"));
  return b;
}

}  // namespace

PopupMenus::PopupMenus(AppDelegate& d, QWidget* mapView) : QObject(mapView), d_(d), map_(mapView)
{
  pointButton_ = makeButton(mapView, QStringLiteral("popupButton"), pointMenu_);
  wayPointButton_ = makeButton(mapView, QStringLiteral("waypointButton"), wayPointMenu_);

  // Item 0 names the point; the others are selectPopup's items 1–6.
  pointTitle_ = pointMenu_->addAction(QString());
  pointTitle_->setEnabled(false);
  pointMenu_->addSeparator();
  const char* const items[] = {"この点を削除", "これより前の点をすべて削除", "これより後の点をすべて削除",
                               "この後に点を挿入", "この後に1点追加", "この後に10点追加"};
  for (int i = tw::kPopupDeletePoint; i <= tw::kPopupAddTen; ++i) {
    QAction* a = pointMenu_->addAction(QString::fromUtf8(items[i - 1]));
    connect(a, &QAction::triggered, &d, [&d, i] { d.selectPopup(i); });
  }

  createItem_ = wayPointMenu_->addAction(QStringLiteral("ウェイポイントを作成…"));
  editItem_ = wayPointMenu_->addAction(QStringLiteral("ウェイポイントを編集…"));
  deleteItem_ = wayPointMenu_->addAction(QStringLiteral("ウェイポイントを削除"));
  createItem_->setObjectName(QStringLiteral("createWayPointMenu"));
  editItem_->setObjectName(QStringLiteral("editWayPointMenu"));
  deleteItem_->setObjectName(QStringLiteral("deleteWayPointMenu"));
  connect(createItem_, &QAction::triggered, &d, &AppDelegate::createWayPoint);
  connect(editItem_, &QAction::triggered, &d, &AppDelegate::editWayPoint);
  connect(deleteItem_, &QAction::triggered, &d, &AppDelegate::deleteWayPoint);

  // A button left showing after its menu closed opens the menu again.
  connect(pointButton_, &QPushButton::clicked, this, [this] { dropDown(pointButton_, pointMenu_); });
  connect(wayPointButton_, &QPushButton::clicked, this, [this] { dropDown(wayPointButton_, wayPointMenu_); });

  connect(&d, &AppDelegate::popupRequested, this, [this](int kind) {
    if (kind == 1)
      showPointPopup();
    else if (kind == 2)
      showWayPointPopup();
  });
  connect(&d, &AppDelegate::popupsHidden, this, &PopupMenus::hideHidden);
  connect(&d, &AppDelegate::buttonsChanged, this, &PopupMenus::hideOutsideTool);
}

void PopupMenus::showPointPopup()
{
  const auto* r = d_.routes();
  const int i = d_.doc.select;
  if (!r || i < 0 || i >= static_cast<int>(r->size())) return;
  const QString title = QStringLiteral("ポイント %1").arg(i + 1);  // numbered as in the point list
  pointTitle_->setText(title);
  pointButton_->setText(title);
  place(pointButton_, (*r)[i].x, (*r)[i].y);
  open(pointButton_, pointMenu_);
}

void PopupMenus::showWayPointPopup()
{
  const auto& wps = d_.doc.waypoints;
  const int i = d_.doc.select_wp;
  const bool selected = i >= 0 && i < static_cast<int>(wps.size());
  QString title = QStringLiteral("ウェイポイント");
  if (selected && !wps[i].getListName().empty()) title = QString::fromStdString(wps[i].getListName());
  wayPointButton_->setText(title);
  createItem_->setVisible(d_.editing.createWayPointItem);
  editItem_->setVisible(d_.editing.editWayPointItem);
  deleteItem_->setVisible(d_.editing.deleteWayPointItem);
  if (selected)
    place(wayPointButton_, wps[i].x, wps[i].y);
  else
    place(wayPointButton_, tw::pixel18FromLon(d_.editing.select_lon), tw::pixel18FromLat(d_.editing.select_lat));
  open(wayPointButton_, wayPointMenu_);
}

void PopupMenus::place(QPushButton* button, int32_t x, int32_t y)
{
  button->adjustSize();
  const double w = button->width(), h = button->height();
  const double viewHeight = map_->height();
  const tw::DPoint o = tw::popupOrigin(x, y, d_.view.zoom, d_.view.foreRect.x, d_.view.foreRect.y, map_->width(),
                                       viewHeight, w, h);
  button->move(tw::toQt(o.x, o.y, w, h, viewHeight).topLeft().toPoint());
}

void PopupMenus::open(QPushButton* button, QMenu* menu)
{
  button->setEnabled(true);
  button->show();
  button->raise();
  dropDown(button, menu);
}

void PopupMenus::dropDown(QPushButton* button, QMenu* menu)
{
  // popup, not exec: the event loop and the map keep running while the menu is open.
  menu->popup(button->mapToGlobal(QPoint(0, button->height())));
}

void PopupMenus::close(QPushButton* button, QMenu* menu)
{
  menu->hide();
  button->hide();
  button->setEnabled(false);
}

void PopupMenus::hideHidden()
{
  if (!d_.editing.pointPopupShown) close(pointButton_, pointMenu_);
  if (!d_.editing.wayPointPopupShown) close(wayPointButton_, wayPointMenu_);
}

void PopupMenus::hideOutsideTool()
{
  // Another mode or tool: the pop-up's point or place means nothing there.
  if ((d_.editing.pointPopupShown && !d_.isTrackMode()) || (d_.editing.wayPointPopupShown && !d_.isWayPointMode()))
    d_.hidePopupButton();
}
