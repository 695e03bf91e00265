#pragma once
// The list pane: a table of the active track's points or of the waypoints beside the map, in
// the window's splitter. Its keys, copy, double click and name editing go to the controller;
// selections the user makes move the map, selections the program makes do not.

#include <QTableView>
#include <vector>

#include "app/ConfigSchema.h"
#include "lists/ListFormat.h"

class AppDelegate;
class ListModel;
class QSplitter;

class TrackView : public QTableView {
  Q_OBJECT
 public:
  // The map side of the splitter never gets narrower than this.
  static constexpr int kMinMapWidth = 300;

  // Takes the splitter's second place and registers itself with the controller.
  TrackView(AppDelegate& d, QSplitter* split);
  ~TrackView() override;

  ListModel* listModel() const { return model_; }
  void resetRows();
  void reload();
  // Shows the columns of `show_list` in the layout's order and widths.
  void applyLayout(int show_list, const std::vector<tw::LayoutColumn>& layout);
  std::vector<tw::TableColumn> visibleColumns() const;
  std::vector<int> selectedRowList() const;
  // Selection by the program: no map move follows.
  void selectOnly(int row);
  // The selected rows as tab-separated text on the clipboard.
  void copy();

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Runs `f` as the user's own action: selection changes it makes move the map.
  template <typename F>
  void asUser(F&& f);
  bool handleListKey(QKeyEvent* e);

  AppDelegate& d_;
  ListModel* model_ = nullptr;
  QSplitter* split_ = nullptr;
  bool byUser_ = false;
  bool laying_ = false;  // applyLayout resizes columns
};
