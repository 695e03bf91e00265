#pragma once
// The one window: the map's base view beside the (collapsed) list pane, the four mode buttons
// and the menu bar. Menu items carry their command name as object name ("loadGPX",
// "showPeak", …); items whose command is not built yet stay disabled.

#include <QHash>
#include <QIcon>
#include <QMainWindow>

#include "app/BaseView.h"

class AppDelegate;
class QAction;
class QMenu;
class QSplitter;
class QToolButton;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(AppDelegate& d, QWidget* parent = nullptr);
  ~MainWindow() override;

  BaseView* baseView() const { return baseView_; }
  QSplitter* splitView() const { return split_; }
  // The menu item of a command, by its name without the colon; null when there is none.
  QAction* action(const QString& command) const { return actions_.value(command); }
  const QHash<QString, QAction*>& actions() const { return actions_; }

  QToolButton* baseButton = nullptr;
  QToolButton* areaButton = nullptr;
  QToolButton* prnButton = nullptr;
  QToolButton* editButton = nullptr;
  // Edit tools, shown in edit mode only.
  QToolButton* inputButton = nullptr;
  QToolButton* trackButton = nullptr;
  QToolButton* wpButton = nullptr;
  QToolButton* backButton = nullptr;
  QToolButton* clearButton = nullptr;
  // The other tool buttons; which of them show, and where, depends on the mode.
  QToolButton* setupButton = nullptr;
  QToolButton* pdfButton = nullptr;
  QToolButton* printButton = nullptr;
  QToolButton* tableButton = nullptr;
  QToolButton* graphButton = nullptr;
  QToolButton* rangeButton = nullptr;

  // Keep the window's size and leave the settings alone (screenshots, previews).
  void setTransient(bool on) { transient_ = on; }
  // Runs the quit question; true when the application may end.
  bool requestQuit();
  // updateButton: every tool button of the mode in its slot with its image, the others hidden,
  // and the graph panel shown or hidden with them.
  void paintModeButtons();
  // Enables, ticks and retitles every command item for the controller's current state; runs
  // before a menu opens and whenever the document or the edit menus change.
  void validateMenus();

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void buildMenus();
  QMenu* addMenu(QMenu* parent, const QString& title, const QString& holder = {});
  QAction* addItem(QMenu* menu, const QString& title, const QString& command);
  QToolButton* makeModeButton(const QString& image, const QString& command);
  QToolButton* toolButton(int kind) const;  // by tw::ToolButton
  void setImage(QToolButton* button, const QString& image);
  // Connects a built command's item; it is enabled from then on by validateMenus.
  template <typename F>
  void wire(const QString& command, F&& slot);
  void rebuildTrackMenus();
  void rebuildRecentMenu();
  void setItemImage(QAction* item, const QString& image);

  AppDelegate& d_;
  BaseView* baseView_ = nullptr;
  QSplitter* split_ = nullptr;
  QHash<QString, QAction*> actions_;
  QMenu* selectMenu_ = nullptr;   // one item per track
  QMenu* connectMenu_ = nullptr;  // one item per track but the active one
  QMenu* recentMenu_ = nullptr;   // one item per recent file
  QHash<QString, QIcon> itemImages_;
  bool transient_ = false;
  bool quitting_ = false;
};
