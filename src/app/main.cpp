#include <QApplication>
#include <QMainWindow>

#include "app/AppDelegate.h"

int main(int argc, char** argv)
{
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tarnwick"));
  QtMessageBoxes boxes;
  AppDelegate delegate({&boxes, nullptr});
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Tarnwick"));
  QObject::connect(&delegate, &AppDelegate::titleChanged, &window, &QMainWindow::setWindowTitle);
  window.resize(1000, 700);
  window.show();
  return app.exec();
}
