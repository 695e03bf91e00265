#pragma once
// The floating elevation graph panel inside the map window and its pointer layer. The panel
// draws the profile once into a cached pixmap; a pointer move repaints only the pointer view,
// over that pixmap.

#include <QPixmap>
#include <QWidget>
#include <functional>
#include <vector>

#include "graph/GraphDraw.h"
#include "graph/GraphScale.h"

class AppDelegate;
class PointerView;

// What the pointer draws: the read-out of one sample at a pointer position.
struct PointerReadout {
  QString text;
  int sample = -1;  // index into positions, −1 none
  double elev = tw::kUnknownElevation;
  double gradient = tw::kUnknownGradient;
};
PointerReadout pointerReadout(const AppDelegate& d, double pointerX, double width);
// Draws the pointer layer (line, marker, read-out box and wedge) in a view of `w` × `h`.
void drawGraphPointer(QPainter& p, const AppDelegate& d, double pointerX, int w, int h, const tw::ElevAxis& axis);

// The profile sample under the graph pointer while it is on the plot (base and edit modes), and
// the one after it in `next` (point_index −1 when none): the map's track pointer follows it.
bool graphPointerSample(AppDelegate& d, tw::PosInfo& sample, tw::PosInfo* next);

class GraphView : public QWidget {
  Q_OBJECT

 public:
  GraphView(AppDelegate& d, QWidget* parent);
  ~GraphView() override;

  // The default frame, on the first call only.
  void initGraphView();
  // Places the panel (y-up rectangle in the base view), keeping it inside and at least 150 × 60.
  void updateGraphView(tw::GRect r);
  void minimizeGraphView();
  void maximizeGraphView();
  tw::GRect frameUp() const;  // the panel's frame, y-up
  bool minimize = false, maximize = false;
  bool init = false;
  tw::GRect graphRect;  // the frame to return to from the minimised or maximised state
  int start_elev = 0, end_elev = 1100;
  PointerView* pointer() const { return pointer_; }
  // The profile layer's draws so far (tests and the benchmark tell pointer moves from redraws).
  int profileDraws() const { return profileDraws_; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  void renderProfile();
  int buttonAt(QPoint p) const;  // 0 none, 1 close, 2 minimise, 3 maximise, 4 warning, 5 reset
  AppDelegate& d_;
  PointerView* pointer_ = nullptr;
  QPixmap cache_;
  tw::GraphChrome chrome_;
  tw::GraphScreenInfo info_;
  bool warnShown_ = false;
  QPointF drag_;
  tw::GRect frameRect_;
  bool moving_ = false, resizing_ = false;
  int profileDraws_ = 0;
  std::vector<double> drawnKey_;  // what the cached profile was drawn from, beside graphNeedsDraw
};

class PointerView : public QWidget {
  Q_OBJECT

 public:
  PointerView(AppDelegate& d, GraphView* graph);
  double pointer_x = -1;
  bool active = false;
  double last_click = 0;  // seconds since 1970
  // The clock of the one-second rule; tests set it.
  std::function<double()> now;
  const tw::ElevAxis* axis = nullptr;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void enterEvent(QEnterEvent* e) override;
  void leaveEvent(QEvent* e) override;

 private:
  AppDelegate& d_;
};
