#pragma once
// The map's two pop-ups: a small button laid at the selected point (`popupButton`) or at the
// selected waypoint or clicked place (`waypointButton`), whose menu opens as soon as it shows.
// The items run the controller's edits; the buttons follow the controller's pop-up state.

#include <QObject>
#include <cstdint>

class AppDelegate;
class QAction;
class QMenu;
class QPushButton;
class QWidget;

class PopupMenus : public QObject {
  Q_OBJECT
 public:
  // The buttons lie on `mapView`, the view holding the map layers, above them.
  PopupMenus(AppDelegate& d, QWidget* mapView);

  QPushButton* popupButton() const { return pointButton_; }
  QPushButton* waypointButton() const { return wayPointButton_; }

 private:
  void showPointPopup();
  void showWayPointPopup();
  void hideHidden();  // hides what the controller no longer shows
  void hideOutsideTool();
  // Top-left corner at the zoom-18 pixel (x, y), kept inside the view.
  void place(QPushButton* button, int32_t x, int32_t y);
  void open(QPushButton* button, QMenu* menu);
  void dropDown(QPushButton* button, QMenu* menu);  // the menu below its button
  void close(QPushButton* button, QMenu* menu);

  AppDelegate& d_;
  QWidget* map_;
  QPushButton* pointButton_;
  QPushButton* wayPointButton_;
  QMenu* pointMenu_;
  QMenu* wayPointMenu_;
  QAction* pointTitle_ = nullptr;
  QAction* createItem_ = nullptr;
  QAction* editItem_ = nullptr;
  QAction* deleteItem_ = nullptr;
};
