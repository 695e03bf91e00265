#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QSplitter>
#include <QToolButton>

#include "app/AppDelegate.h"

MainWindow::MainWindow(AppDelegate& d, QWidget* parent) : QMainWindow(parent), d_(d)
{
  setWindowTitle(QStringLiteral("Tarnwick"));
  setWindowIcon(QIcon(QPixmap::fromImage(namedImage(QStringLiteral("tarnwick")))));

  split_ = new QSplitter(Qt::Horizontal, this);
  split_->setObjectName(QStringLiteral("splitView"));
  baseView_ = new BaseView(d, split_);
  auto* listPane = new QWidget(split_);  // the point and waypoint lists go here
  listPane->setObjectName(QStringLiteral("trackView"));
  listPane->hide();
  split_->addWidget(baseView_);
  split_->addWidget(listPane);
  setCentralWidget(split_);

  baseButton = makeModeButton(QStringLiteral("base_on"), QStringLiteral("baseMode"));
  areaButton = makeModeButton(QStringLiteral("area"), QStringLiteral("areaMode"));
  prnButton = makeModeButton(QStringLiteral("prn"), QStringLiteral("printMode"));
  editButton = makeModeButton(QStringLiteral("edit"), QStringLiteral("editMode"));
  baseView_->moveButton(baseButton, 0);
  baseView_->moveButton(areaButton, 1);
  baseView_->moveButton(prnButton, 2);
  baseView_->moveButton(editButton, 3);
  connect(baseButton, &QToolButton::clicked, &d, &AppDelegate::baseMode);
  connect(editButton, &QToolButton::clicked, &d, &AppDelegate::editMode);

  buildMenus();

  connect(&d, &AppDelegate::titleChanged, this, &QWidget::setWindowTitle);
  connect(&d, &AppDelegate::buttonsChanged, this, &MainWindow::paintModeButtons);
  connect(&d, &AppDelegate::frameRequested, this, [this](const tw::FrameRect& f) {
    if (transient_) return;
    setGeometry(int(f.x), int(f.y), int(f.width), int(f.height));
  });
  d.currentFrame = [this] {
    const QRect g = geometry();
    return tw::FrameRect{double(g.x()), double(g.y()), double(g.width()), double(g.height())};
  };
}

MainWindow::~MainWindow() { d_.currentFrame = nullptr; }

QToolButton* MainWindow::makeModeButton(const QString& image, const QString& command)
{
  auto* b = new QToolButton(baseView_);
  b->setObjectName(command + QStringLiteral("Button"));
  b->setIcon(QIcon(QPixmap::fromImage(namedImage(image))));
  b->setIconSize(QSize(32, 32));
  b->setFixedSize(34, 34);
  b->setAutoRaise(true);
  // The print modes come with their commands.
  b->setEnabled(command == QStringLiteral("baseMode") || command == QStringLiteral("editMode"));
  return b;
}

void MainWindow::paintModeButtons()
{
  // Slot order is base, area, print, edit; `mode` numbers them 0, 2, 3, 1.
  const struct {
    QToolButton* button;
    const char* image;
    int mode;
  } modes[] = {{baseButton, "base", 0}, {areaButton, "area", 2}, {prnButton, "prn", 3}, {editButton, "edit", 1}};
  for (const auto& m : modes) {
    QString name = QString::fromLatin1(m.image);
    if (d_.mode == m.mode) name += QStringLiteral("_on");
    m.button->setIcon(QIcon(QPixmap::fromImage(namedImage(name))));
    m.button->setProperty("imageName", name);
    m.button->show();
  }
}

bool MainWindow::requestQuit()
{
  if (!d_.applicationShouldTerminate()) return false;
  quitting_ = true;
  if (!transient_) d_.applicationWillTerminate();
  return true;
}

void MainWindow::closeEvent(QCloseEvent* e)
{
  if (quitting_ || transient_) {
    e->accept();
    return;
  }
  if (!d_.windowShouldClose()) {
    e->ignore();
    return;
  }
  // Closing the window ends the application: store the frame and the settings.
  d_.windowWillClose();
  e->accept();
}
