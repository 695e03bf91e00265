#pragma once
// Each view clears its pointer on the controller when it goes, so the controller never
// draws into a closed window. The map window's layers: the tile layer (MapView), the route layer (RouteView), the scale
// bar (ScaleView), the attribution (LogoView) and the zoom slider (ZoomView). The overlay that
// takes the input is InfoView.

#include <QPixmap>
#include <QWidget>

class AppDelegate;

// A layer that can freeze its picture and scale it about a point while a zoom animates.
class ZoomableLayer : public QWidget {
  Q_OBJECT
 public:
  explicit ZoomableLayer(AppDelegate* d, QWidget* parent = nullptr);
  void beginZoom(QPointF anchor);
  void setZoomScale(double s);
  void endZoom();
  bool frozen() const { return !frozen_.isNull(); }
  // Marks the layer for display; counted so tests can see which layers were asked.
  void requestRedraw();
  int redrawRequests = 0;

 protected:
  void paintEvent(QPaintEvent*) override;
  virtual void paintLayer(QPainter& p) = 0;
  AppDelegate* d_;

 private:
  QPixmap frozen_;
  QPointF anchor_;
  double scale_ = 1.0;
};

class MapView : public ZoomableLayer {
  Q_OBJECT
 public:
  explicit MapView(AppDelegate* d, QWidget* parent = nullptr);
  ~MapView() override;
  // Where a drag has moved the layer since its last redraw (moveMapLayer / resetMapPosition).
  QPoint layerPosition() const { return layerPos_; }
  void setLayerPosition(QPoint p) { layerPos_ = p; }

 protected:
  void paintLayer(QPainter& p) override;
  void resizeEvent(QResizeEvent*) override;

 private:
  QPoint layerPos_;
};

class RouteView : public ZoomableLayer {
  Q_OBJECT
 public:
  explicit RouteView(AppDelegate* d, QWidget* parent = nullptr);
  ~RouteView() override;

 protected:
  void paintLayer(QPainter& p) override;
};

class ScaleView : public QWidget {
  Q_OBJECT
 public:
  explicit ScaleView(AppDelegate* d, QWidget* parent = nullptr);
  ~ScaleView() override;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  AppDelegate* d_;
};

class LogoView : public QWidget {
  Q_OBJECT
 public:
  explicit LogoView(AppDelegate* d, QWidget* parent = nullptr);
  ~LogoView() override;
  QString text() const;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  AppDelegate* d_;
};

class ZoomView : public QWidget {
  Q_OBJECT
 public:
  explicit ZoomView(AppDelegate* d, QWidget* parent = nullptr);
  ~ZoomView() override;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  AppDelegate* d_;
};
