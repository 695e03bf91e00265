#pragma once
// The main window, launched offscreen on a controller without network, and real key, mouse and
// wheel events sent to the map's overlay.
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include "app/MainWindow.h"
#include "support/ControllerFixture.h"
#include "view/InfoView.h"

namespace twtest {

class MapWindowFixture : public ControllerFixture<> {
 protected:
  MainWindow window{d};

  void SetUp() override
  {
    ControllerFixture::SetUp();
    window.resize(800, 600);
    window.show();
    d.applicationDidFinishLaunching();
  }

  InfoView* info() { return d.infoView; }
  // Where a zoom-18 pixel shows on the overlay.
  QPointF onMap(int32_t x, int32_t y) const
  {
    const int s = 18 - d.view.zoom;
    return {double(x >> s) - d.view.foreRect.x, double(y >> s) - d.view.foreRect.y};
  }
  void mouse(QEvent::Type type, QPointF at, Qt::MouseButtons held, QWidget* to = nullptr)
  {
    if (!to) to = info();
    QMouseEvent e(type, at, to->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(to, &e);
  }
  // Two small mouse moves ending on `at`: a hover that selects what lies there.
  void hover(QPointF at)
  {
    mouse(QEvent::MouseMove, at - QPointF(1, 0), Qt::NoButton);
    mouse(QEvent::MouseMove, at, Qt::NoButton);
  }
  void press(QPointF at) { mouse(QEvent::MouseButtonPress, at, Qt::LeftButton); }
  void dragTo(QPointF at) { mouse(QEvent::MouseMove, at, Qt::LeftButton); }
  void release(QPointF at) { mouse(QEvent::MouseButtonRelease, at, Qt::NoButton); }
  void wheel(int angle, QPointF at = {400, 300})
  {
    QWheelEvent e(at, info()->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(info(), &e);
  }
  void waitAnimation() { EXPECT_TRUE(QTest::qWaitFor([&] { return !d.view.animating; }, 2000)); }
};

}  // namespace twtest
