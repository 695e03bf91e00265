#include "lists/ListModel.h"

#include <QBrush>
#include <QColor>

#include "app/AppDelegate.h"

namespace {

QString title(tw::ListColumn c)
{
  using tw::ListColumn;
  switch (c) {
    case ListColumn::No: return QStringLiteral("No.");
    case ListColumn::Time: return QStringLiteral("時刻");
    case ListColumn::Elev: return QStringLiteral("標高");
    case ListColumn::Dist: return QStringLiteral("距離");
    case ListColumn::Speed: return QStringLiteral("速度");
    case ListColumn::Lat: return QStringLiteral("緯度");
    case ListColumn::Lon: return QStringLiteral("経度");
    case ListColumn::Name: return QStringLiteral("名前");
  }
  return {};
}

QColor fillColor(tw::CellFill f)
{
  return f == tw::CellFill::Part ? QColor::fromRgbF(0.6f, 1.0f, 0.6f) : QColor::fromRgbF(0.8f, 1.0f, 1.0f);
}

}  // namespace

ListModel::ListModel(AppDelegate& d, QObject* parent) : QAbstractTableModel(parent), d_(d) {}

int ListModel::currentRows() const
{
  switch (d_.derived.show_list) {
    case tw::kTrackList: return d_.routes() ? static_cast<int>(d_.routes()->size()) : 0;
    case tw::kWayPointList: return static_cast<int>(d_.doc.waypoints.size());
    default: return 0;
  }
}

int ListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int ListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : tw::kListColumnCount; }

QVariant ListModel::data(const QModelIndex& index, int role) const
{
  const int row = index.row();
  const tw::ListColumn c = column(index.column());
  if (d_.derived.show_list == tw::kWayPointList) {
    const auto& w = d_.doc.waypoints;
    if (row < 0 || row >= static_cast<int>(w.size())) return {};
    if (role == Qt::DisplayRole) return QString::fromStdString(tw::wayPointCellText(w[static_cast<size_t>(row)], row, c));
    if (role == Qt::EditRole && c == tw::ListColumn::Name) return QString::fromStdString(w[static_cast<size_t>(row)].name);
    return {};
  }
  const auto* r = d_.routes();
  if (d_.derived.show_list != tw::kTrackList || !r || row < 0 || row >= static_cast<int>(r->size())) return {};
  const tw::Track& t = (*r)[static_cast<size_t>(row)];
  if (role == Qt::DisplayRole) return QString::fromStdString(tw::trackCellText(t, row, c, d_.derived.time_width));
  if (role != Qt::ForegroundRole && role != Qt::BackgroundRole) return {};
  tw::ListStyleInputs in;
  in.show_peak = d_.config.isOn(tw::key::show_peak);
  in.show_rest = d_.config.isOn(tw::key::show_rest);
  in.states = d_.doc.states;
  in.count = r->size();
  in.graph_type = d_.graph_type;
  in.part_start = d_.part_start;
  in.part_end = d_.part_end;
  const tw::CellStyle s = tw::trackCellStyle(t, row, c, in);
  if (role == Qt::ForegroundRole) {
    if (s.ink == tw::CellInk::Red) return QBrush(Qt::red);
    if (s.ink == tw::CellInk::Blue) return QBrush(Qt::blue);
    return QBrush(Qt::black);
  }
  return s.fill == tw::CellFill::None ? QVariant() : QVariant(QBrush(fillColor(s.fill)));
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= tw::kListColumnCount)
    return QAbstractTableModel::headerData(section, orientation, role);
  return title(column(section));
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const
{
  Qt::ItemFlags f = QAbstractTableModel::flags(index);
  if (d_.derived.show_list == tw::kWayPointList && column(index.column()) == tw::ListColumn::Name) f |= Qt::ItemIsEditable;
  return f;
}

bool ListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
  if (role != Qt::EditRole || column(index.column()) != tw::ListColumn::Name) return false;
  return d_.setWayPointName(index.row(), value.toString());
}

void ListModel::resetRows()
{
  beginResetModel();
  rows_ = currentRows();
  endResetModel();
}

void ListModel::reload()
{
  const int n = currentRows();
  if (n > rows_) {
    beginInsertRows({}, rows_, n - 1);
    rows_ = n;
    endInsertRows();
  } else if (n < rows_) {
    beginRemoveRows({}, n, rows_ - 1);
    rows_ = n;
    endRemoveRows();
  }
  if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, tw::kListColumnCount - 1));
}
