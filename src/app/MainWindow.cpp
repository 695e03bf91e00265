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

  inputButton = makeModeButton(QStringLiteral("input"), QStringLiteral("setInputMode"));
  trackButton = makeModeButton(QStringLiteral("track"), QStringLiteral("setTrackMode"));
  wpButton = makeModeButton(QStringLiteral("flag"), QStringLiteral("setWayPointMode"));
  backButton = makeModeButton(QStringLiteral("back"), QStringLiteral("stepBack"));
  clearButton = makeModeButton(QStringLiteral("clear"), QStringLiteral("deleteTrack"));
  for (QToolButton* b : {inputButton, trackButton, wpButton, backButton, clearButton}) {
    b->setEnabled(true);
    b->hide();
  }
  baseView_->moveButton(inputButton, 5);
  baseView_->moveButton(trackButton, 6);
  baseView_->moveButton(wpButton, 7);
  baseView_->moveButton(backButton, 12);
  baseView_->moveButton(clearButton, 13);
  connect(inputButton, &QToolButton::clicked, &d, &AppDelegate::inputMode);
  connect(trackButton, &QToolButton::clicked, &d, &AppDelegate::trackMode);
  connect(wpButton, &QToolButton::clicked, &d, &AppDelegate::wayPointMode);
  connect(backButton, &QToolButton::clicked, &d, &AppDelegate::stepBack);
  connect(clearButton, &QToolButton::clicked, &d, [&d] { d.deleteTrack(); });

  buildMenus();

  connect(&d, &AppDelegate::titleChanged, this, &QWidget::setWindowTitle);
  connect(&d, &AppDelegate::buttonsChanged, this, &MainWindow::paintModeButtons);
  connect(&d, &AppDelegate::editMenusChanged, this, &MainWindow::paintModeButtons);  // points came or went
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
  // Slot order is base, area, print, edit.
  using tw::Mode;
  const struct {
    QToolButton* button;
    const char* image;
    Mode mode;
  } modes[] = {{baseButton, "base", Mode::Base},
               {areaButton, "area", Mode::Area},
               {prnButton, "prn", Mode::Print},
               {editButton, "edit", Mode::Edit}};
  for (const auto& m : modes) {
    QString name = QString::fromLatin1(m.image);
    if (d_.mode == m.mode) name += QStringLiteral("_on");
    setImage(m.button, name);
    m.button->show();
  }

  for (QToolButton* b : {inputButton, trackButton, wpButton, backButton, clearButton}) b->hide();
  if (d_.mode != Mode::Edit) return;
  using tw::EditMode;
  const EditMode e = d_.edit_mode;
  const auto* r = d_.routes();
  setImage(inputButton, e == EditMode::Input ? QStringLiteral("input_on") : QStringLiteral("input"));
  setImage(trackButton, e == EditMode::Track ? QStringLiteral("track_on") : QStringLiteral("track"));
  setImage(wpButton, e == EditMode::WayPoint ? QStringLiteral("flag_on") : QStringLiteral("flag"));
  for (QToolButton* b : {inputButton, trackButton, wpButton}) b->show();
  if (e == EditMode::Input) backButton->show();
  if (e == EditMode::Track && r && !r->empty()) {
    backButton->show();
    clearButton->show();
  }
}

void MainWindow::setImage(QToolButton* button, const QString& image)
{
  button->setIcon(QIcon(QPixmap::fromImage(namedImage(image))));
  button->setProperty("imageName", image);
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
