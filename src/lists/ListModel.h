#pragma once
// The list table's model: every column of both lists over the controller's document, read
// when a cell is drawn, so a list of a million points opens at once. The view hides the
// columns the list shown does not have.

#include <QAbstractTableModel>

#include "lists/ListFormat.h"

class AppDelegate;

class ListModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit ListModel(AppDelegate& d, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // Another list (or none) is shown: every row is new.
  void resetRows();
  // The same list with new contents: rows are added or removed at the end and every cell is
  // read again, so the selection of the rows that stay is kept.
  void reload();

  static tw::ListColumn column(int section) { return static_cast<tw::ListColumn>(section); }

 private:
  int currentRows() const;

  AppDelegate& d_;
  int rows_ = 0;
};
