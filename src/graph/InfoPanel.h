#pragma once
// The track information dialog: every statistic of the measured section, the track's name, the
// time adjustment and the cycling switch. OK applies the name and times through the controller.

#include <QDialog>
#include <QMap>

class AppDelegate;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;

class InfoPanel : public QDialog {
  Q_OBJECT

 public:
  InfoPanel(AppDelegate& d, QWidget* parent = nullptr);
  // Fills every field from the controller's statistics.
  void showInfo();
  // The value shown for an outlet ("distanceField", …).
  QString field(const QString& outlet) const;
  QLineEdit* nameField = nullptr;
  QButtonGroup* timeAdjustRadio = nullptr;
  QCheckBox* cyclingButton = nullptr;
  void dialogOK();
  void updateCycling();
  void infoHelp();

 private:
  AppDelegate& d_;
  QMap<QString, QLabel*> fields_;
  QLabel* updownHeader_ = nullptr;
};
