#pragma once
// The overlay on top of the map: the read-out line, the track pointer arrow, the selection
// marks, the rubber band of the input tool and the message box; it takes every mouse, wheel,
// gesture, key and drop aimed at the map and hands them to the controller.

#include <QImage>
#include <QString>
#include <QWidget>

#include "document/Geodesy.h"
#include "document/Records.h"
#include "view/InputRules.h"

class AppDelegate;

class InfoView : public QWidget {
  Q_OBJECT
 public:
  explicit InfoView(AppDelegate* d, QWidget* parent = nullptr);
  ~InfoView() override;

  double lat = -1, lon = -1;
  float elev = -100.0f;
  int pos = -1;
  bool dragging = false;  // a drop is hovering
  tw::WindowPoint mp, prev_mp;
  bool mouse_known = false;
  bool dragged = false;
  tw::WindowPoint drag_mouse;
  tw::DPoint drag_center;
  tw::DPoint origin;
  int map_dx = 0, map_dy = 0;
  bool backup = false;
  bool processing = false;
  tw::IPoint drag_pixel;
  tw::WheelZoom wheel;
  tw::GestureZoom gesture;
  bool mouse_inside = false;

  void updateMapPosition(QPoint shift);
  void resetDragPosition();
  // The texts the overlay shows, as drawn.
  QString firstLine() const;
  QString timeLine() const;

  // The first dragged path, or the first URL when there is no path, can be taken.
  static bool acceptableObject(const QString& candidate);
  // Drops a local file ("/.+.gpx"); true when the candidate was taken.
  bool dropFile(const QString& candidate, bool append);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void mouseDoubleClickEvent(QMouseEvent*) override;
  void wheelEvent(QWheelEvent*) override;
  void keyPressEvent(QKeyEvent*) override;
  void enterEvent(QEnterEvent*) override;
  void leaveEvent(QEvent*) override;
  bool event(QEvent*) override;
  void dragEnterEvent(QDragEnterEvent*) override;
  void dragLeaveEvent(QDragLeaveEvent*) override;
  void dropEvent(QDropEvent*) override;

 private:
  tw::WindowPoint windowPoint(QPointF p) const;
  bool overGraph(tw::WindowPoint p) const;
  tw::LatLon latLonAt(tw::WindowPoint p) const;
  void mouseDown(tw::WindowPoint p);
  void mouseDragged(tw::WindowPoint p);
  void mouseUp(tw::WindowPoint p, bool doubleClick);
  void rightMouseUp(tw::WindowPoint p);
  void mouseMoved(tw::WindowPoint p);
  void drawLine(QPainter& p, int index, const QString& text);

  AppDelegate* d_;
  bool doubleClickPending_ = false;
  QImage pointer_img_, arrow_img_;
};
