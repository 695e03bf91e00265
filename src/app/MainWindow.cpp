#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QSplitter>
#include <QToolButton>

#include "app/AppDelegate.h"
#include "app/ButtonLayout.h"
#include "lists/TrackView.h"

MainWindow::MainWindow(AppDelegate& d, QWidget* parent) : QMainWindow(parent), d_(d)
{
  setWindowTitle(QStringLiteral("Tarnwick"));
  setWindowIcon(QIcon(QPixmap::fromImage(namedImage(QStringLiteral("tarnwick")))));

  split_ = new QSplitter(Qt::Horizontal, this);
  split_->setObjectName(QStringLiteral("splitView"));
  baseView_ = new BaseView(d, split_);
  split_->addWidget(baseView_);
  new TrackView(d, split_);  // the point and waypoint lists, hidden until one is shown
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
  connect(areaButton, &QToolButton::clicked, &d, &AppDelegate::areaMode);
  connect(prnButton, &QToolButton::clicked, &d, &AppDelegate::printMode);
  connect(editButton, &QToolButton::clicked, &d, &AppDelegate::editMode);

  inputButton = makeModeButton(QStringLiteral("input"), QStringLiteral("setInputMode"));
  trackButton = makeModeButton(QStringLiteral("track"), QStringLiteral("setTrackMode"));
  wpButton = makeModeButton(QStringLiteral("flag"), QStringLiteral("setWayPointMode"));
  backButton = makeModeButton(QStringLiteral("back"), QStringLiteral("stepBack"));
  clearButton = makeModeButton(QStringLiteral("clear"), QStringLiteral("deleteTrack"));
  setupButton = makeModeButton(QStringLiteral("setup"), QStringLiteral("pageSetup"));
  pdfButton = makeModeButton(QStringLiteral("pdf"), QStringLiteral("outputPDF"));
  printButton = makeModeButton(QStringLiteral("print"), QStringLiteral("printMap"));
  tableButton = makeModeButton(QStringLiteral("table"), QStringLiteral("toggleTable"));
  graphButton = makeModeButton(QStringLiteral("graph"), QStringLiteral("showGraph"));
  rangeButton = makeModeButton(QStringLiteral("zoom"), QStringLiteral("showGraphRange"));
  for (QToolButton* b : {inputButton, trackButton, wpButton, backButton, clearButton, setupButton, pdfButton,
                         printButton, tableButton, graphButton, rangeButton})
    b->hide();
  connect(setupButton, &QToolButton::clicked, &d, &AppDelegate::pageSetup);
  connect(pdfButton, &QToolButton::clicked, &d, &AppDelegate::outputPDF);
  connect(printButton, &QToolButton::clicked, &d, &AppDelegate::printMap);
  connect(tableButton, &QToolButton::clicked, &d, &AppDelegate::toggleTable);
  connect(graphButton, &QToolButton::clicked, &d, &AppDelegate::showGraph);
  connect(rangeButton, &QToolButton::clicked, &d, &AppDelegate::showGraphRange);
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
  return b;
}

QToolButton* MainWindow::toolButton(int kind) const
{
  using B = tw::ToolButton;
  switch (static_cast<B>(kind)) {
    case B::Base: return baseButton;
    case B::Area: return areaButton;
    case B::Prn: return prnButton;
    case B::Edit: return editButton;
    case B::Input: return inputButton;
    case B::Track: return trackButton;
    case B::WayPoint: return wpButton;
    case B::Back: return backButton;
    case B::Clear: return clearButton;
    case B::Setup: return setupButton;
    case B::Pdf: return pdfButton;
    case B::Print: return printButton;
    case B::Table: return tableButton;
    case B::Graph: return graphButton;
    case B::Range: return rangeButton;
  }
  return nullptr;
}

void MainWindow::paintModeButtons()
{
  tw::ButtonInputs in;
  in.mode = d_.mode;
  in.edit_mode = d_.edit_mode;
  in.show_list = d_.derived.show_list;
  in.show_graph = d_.derived.show_graph;
  in.print_graph = d_.print_graph;
  in.graph_type = d_.graph_type;
  in.activeTrack = d_.routes() != nullptr;
  in.activeHasPoints = in.activeTrack && !d_.routes()->empty();
  const tw::ButtonLayout layout = tw::buttonLayout(in);
  for (QToolButton* b : {inputButton, trackButton, wpButton, backButton, clearButton, setupButton, pdfButton,
                         printButton, tableButton, graphButton, rangeButton})
    b->hide();
  for (const tw::ButtonSlot& s : layout.shown) {
    QToolButton* b = toolButton(static_cast<int>(s.button));
    setImage(b, QString::fromLatin1(s.image.data(), static_cast<qsizetype>(s.image.size())));
    baseView_->moveButton(b, s.slot);
    b->show();
  }
  baseView_->layer(MapLayer::Graph)->setVisible(layout.graphViewShown);
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
