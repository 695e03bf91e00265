#include "lists/TrackView.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSplitter>
#include <algorithm>

#include "app/AppDelegate.h"
#include "lists/ListModel.h"

TrackView::TrackView(AppDelegate& d, QSplitter* split) : QTableView(split), d_(d), split_(split)
{
  setObjectName(QStringLiteral("trackView"));
  model_ = new ListModel(d, this);
  setModel(model_);
  setSelectionBehavior(SelectRows);
  setSelectionMode(ExtendedSelection);
  setEditTriggers(DoubleClicked | EditKeyPressed);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  // Compact like the platform's lists, so the stored column widths hold their numbers.
  QFont small = font();
  small.setPixelSize(11);
  setFont(small);
  // Rows of one height, never measured: a million rows cost nothing until they are drawn.
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setSectionsMovable(true);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setStretchLastSection(false);
  horizontalHeader()->setMinimumSectionSize(10);
  connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section, int, int width) {
    if (!laying_ && ListModel::column(section) == tw::ListColumn::Time) d_.tableViewColumnDidResize(width);
  });

  split->addWidget(this);
  split->setCollapsible(0, false);
  split->widget(0)->setMinimumWidth(kMinMapWidth);
  split->handle(1)->installEventFilter(this);  // the divider is never drawn
  split->installEventFilter(this);
  connect(split, &QSplitter::splitterMoved, this, [this] { d_.subviewTimer.start(); });
  d.subviewTimer.setSingleShot(true);
  d.subviewTimer.setInterval(100);
  connect(&d.subviewTimer, &QTimer::timeout, &d, &AppDelegate::respondToSubviewChange, Qt::UniqueConnection);
  hide();

  d.trackView = this;
  d.listView = this;
  d.splitView = split;
  d.selectedListRows = [this] { return selectedRowList(); };
  d.visibleTableColumns = [this] { return visibleColumns(); };
}

TrackView::~TrackView()
{
  if (d_.trackView != this) return;
  d_.trackView = nullptr;
  d_.listView = nullptr;
  d_.splitView = nullptr;
  d_.selectedListRows = nullptr;
  d_.visibleTableColumns = nullptr;
}

void TrackView::resetRows() { model_->resetRows(); }
void TrackView::reload() { model_->reload(); }

void TrackView::applyLayout(int show_list, const std::vector<tw::LayoutColumn>& layout)
{
  laying_ = true;
  QHeaderView* h = horizontalHeader();
  for (int i = 0; i < tw::kListColumnCount; ++i) h->setSectionHidden(i, !tw::listHasColumn(show_list, ListModel::column(i)));
  for (size_t i = 0; i < layout.size(); ++i) {
    const int logical = static_cast<int>(layout[i].column);
    h->moveSection(h->visualIndex(logical), static_cast<int>(i));
    h->resizeSection(logical, layout[i].width);
  }
  laying_ = false;
}

std::vector<tw::TableColumn> TrackView::visibleColumns() const
{
  std::vector<tw::TableColumn> out;
  const QHeaderView* h = horizontalHeader();
  for (int v = 0; v < h->count(); ++v) {
    const int logical = h->logicalIndex(v);
    if (h->isSectionHidden(logical)) continue;
    out.push_back({std::string(tw::columnId(ListModel::column(logical))), double(h->sectionSize(logical))});
  }
  return out;
}

std::vector<int> TrackView::selectedRowList() const
{
  std::vector<int> rows;
  if (!selectionModel()) return rows;
  // From the selection's ranges: selecting every row of a long list is one range.
  for (const QItemSelectionRange& r : selectionModel()->selection())
    for (int row = r.top(); row <= r.bottom(); ++row) rows.push_back(row);
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

void TrackView::selectOnly(int row)
{
  if (row < 0 || row >= model_->rowCount()) {
    clearSelection();
    return;
  }
  selectionModel()->setCurrentIndex(model_->index(row, 0),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  scrollTo(model_->index(row, 0));
}

void TrackView::copy()
{
  const std::string text = d_.copyLines(selectedRowList());
  if (!text.empty()) QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

template <typename F>
void TrackView::asUser(F&& f)
{
  const bool was = byUser_;
  byUser_ = true;
  f();
  byUser_ = was;
}

void TrackView::keyPressEvent(QKeyEvent* e)
{
  if (e->matches(QKeySequence::Copy)) {
    copy();
    return;
  }
  if (!handleListKey(e)) asUser([&] { QTableView::keyPressEvent(e); });
}

bool TrackView::handleListKey(QKeyEvent* e)
{
  const Qt::KeyboardModifiers mods = e->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
  if (mods == Qt::ControlModifier && (e->key() == Qt::Key_Up || e->key() == Qt::Key_Down)) {
    d_.moveWayPointKey(e->key() == Qt::Key_Up);
    return true;
  }
  if (mods != Qt::NoModifier) return false;
  if (e->key() == Qt::Key_Delete || e->key() == Qt::Key_Backspace) {
    d_.deleteSelectedItems();
    return true;
  }
  const QString t = e->text();
  if (t.size() != 1) return false;
  switch (t.front().unicode()) {
    case '+': case ';': case '=': d_.zoomIn(); return true;
    case '-': case '_': d_.zoomOut(); return true;
    case 'd': d_.deleteSelectedItems(); return true;
    case 's': d_.listPartStart(); return true;
    case 'e': d_.listPartEnd(); return true;
    case 'r': d_.resetGraph(); return true;
    case 'i': d_.showTrackInfo(); return true;
    case 't': d_.changeMap(); return true;
    default: return false;
  }
}

void TrackView::mousePressEvent(QMouseEvent* e)
{
  asUser([&] { QTableView::mousePressEvent(e); });
}

void TrackView::mouseMoveEvent(QMouseEvent* e)
{
  asUser([&] { QTableView::mouseMoveEvent(e); });
}

void TrackView::mouseDoubleClickEvent(QMouseEvent* e)
{
  const QModelIndex index = indexAt(e->position().toPoint());
  // The name is edited in place; a double click elsewhere on a waypoint opens its dialog.
  if (index.isValid() && d_.derived.show_list == tw::kWayPointList &&
      ListModel::column(index.column()) != tw::ListColumn::Name) {
    d_.tableDoubleClick(index.row());
    return;
  }
  asUser([&] { QTableView::mouseDoubleClickEvent(e); });
}

bool TrackView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
  const bool wanted = trigger == AllEditTriggers || (editTriggers() & trigger);
  if (!wanted || state() == EditingState || !(model_->flags(index) & Qt::ItemIsEditable))
    return QTableView::edit(index, trigger, event);
  if (!d_.shouldEditWayPointName(index.row())) return false;
  return QTableView::edit(index, trigger, event);
}

void TrackView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
  QTableView::selectionChanged(selected, deselected);
  if (!byUser_) return;
  const QModelIndex current = currentIndex();
  const bool chosen = current.isValid() && selectionModel()->isRowSelected(current.row(), {});
  d_.tableViewSelectionDidChange(chosen ? current.row() : -1);
}

void TrackView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
  QTableView::closeEditor(editor, hint);
  d_.endNameEditing();
}

bool TrackView::eventFilter(QObject* watched, QEvent* event)
{
  if (split_ && watched == split_->handle(1) && event->type() == QEvent::Paint) return true;
  if (watched == split_ && event->type() == QEvent::Resize) d_.subviewTimer.start();
  return QTableView::eventFilter(watched, event);
}
