#pragma once
// The waypoint dialog: position shown, name and elevation edited.

#include <QDialog>

#include "editing/EditingState.h"

class MessageBoxes;
class QLabel;
class QLineEdit;

class WayPointPanel : public QDialog {
  Q_OBJECT

 public:
  WayPointPanel(const tw::WayPointValues& values, MessageBoxes& boxes, QWidget* parent = nullptr);

  // The values after OK (latitude and longitude are shown only, never read back).
  const tw::WayPointValues& values() const { return values_; }

  QLabel* latField = nullptr;
  QLabel* lonField = nullptr;
  QLineEdit* nameField = nullptr;
  QLineEdit* elevField = nullptr;

 public slots:
  void dialogOK();
  void dialogCancel();

 private:
  tw::WayPointValues values_;
  MessageBoxes& boxes_;
};
