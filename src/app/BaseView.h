#pragma once
// The map's base view: the stacked layers of MapLayers.h plus the mode buttons on the right edge.

#include <QWidget>
#include <array>
#include <utility>
#include <vector>

#include "app/MapLayers.h"

class QAbstractButton;

class BaseView : public QWidget {
  Q_OBJECT
 public:

  BaseView(AppDelegate& d, QWidget* parent = nullptr);
  QWidget* layer(MapLayer kind) const { return layers_[static_cast<size_t>(kind)]; }
  // Replaces one layer (the old widget is deleted) and restores the stacking order.
  void setLayer(MapLayer kind, QWidget* view);

  // Slot i on the right edge: 0 is the top-right corner, further slots stack downward.
  void moveButton(QAbstractButton* button, int pos);

 protected:
  void resizeEvent(QResizeEvent*) override;

 private:
  void layoutLayers();
  void restack();

  std::array<QWidget*, 7> layers_{};
  std::vector<std::pair<QAbstractButton*, int>> buttons_;
};
