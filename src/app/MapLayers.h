#pragma once
// The child views of the map's base view, bottom to top. Each is made by createMapLayer;
// until a real view exists for a kind, a placeholder stands in. To put a real view in,
// return it from createMapLayer (MapLayers.cpp) for its kind.

#include <QWidget>

class AppDelegate;

enum class MapLayer {
  Map,      // tile layer (MapView)
  Route,    // tracks and markers (RouteView)
  Overlay,  // read-out, transient message, mouse and keyboard input (InfoView)
  Scale,    // scale bar (ScaleView), bottom left
  Logo,     // attribution text (LogoView), bottom right
  Zoom,     // zoom slider (ZoomView), left edge
  Graph,    // elevation graph panel (GraphView), bottom
};

QWidget* createMapLayer(MapLayer kind, AppDelegate& d, QWidget* parent);

// Stands in for a view not built yet: transparent, except the map, which shows a plain ground.
class PlaceholderLayer : public QWidget {
  Q_OBJECT
 public:
  PlaceholderLayer(MapLayer kind, QWidget* parent);
  MapLayer kind() const { return kind_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  MapLayer kind_;
};

// Stand-in overlay: draws the controller's transient message and lets the mouse through.
class OverlayPlaceholder : public QWidget {
  Q_OBJECT
 public:
  OverlayPlaceholder(AppDelegate& d, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  AppDelegate& d_;
};
