#pragma once
// The settings dialog: print layout, drawing colours and widths, tile recolouring switches and
// the waypoint label font. OK writes the controls into the configuration; the controller's
// pageSetup does the rest.

#include <QDialog>
#include <QFont>
#include <array>
#include <functional>

#include "app/ConfigSchema.h"

class AppDelegate;
class MessageBoxes;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

class SetupPanel : public QDialog {
  Q_OBJECT

 public:
  SetupPanel(tw::Config& config, MessageBoxes& boxes, QWidget* parent = nullptr);
  // Modal; true when OK wrote the settings.
  static bool run(AppDelegate& d, QWidget* parent);

  QComboBox *paperCombo, *scaleCombo, *qualityCombo, *northCombo, *latlonCombo, *fontSizeCombo, *widthCombo, *downCombo;
  QButtonGroup *directRadio, *colorRadio, *contourRadio, *strongRadio, *riverRadio, *buildingRadio, *roadRadio;
  QLineEdit *topField, *bottomField, *leftField, *rightField;
  QCheckBox* conveniCheck;
  QSlider* roadSlider;
  QPushButton *routeColor, *downColor, *contourColor, *northColor, *latlonColor, *wayPointFontColor;
  QPushButton* wayPointFontButton;
  QLabel *paperField, *areaField, *roadField, *routeField, *downField;
  QFont wayPointFont;
  std::function<void(const QUrl&)> openURL;  // the help page; the desktop's browser when unset

  // A colour well's value (components 0..1).
  tw::RGBA wellColor(QPushButton* well) const;
  void setWellColor(QPushButton* well, const tw::RGBA& c);

 public slots:
  void dialogOk();
  void dialogCancel() { reject(); }
  void sizeChanged();
  void conveniChanged();
  void roadChanged();
  void routeChanged();
  void downChanged();
  void contourChanged();
  void defaultColor();
  void selectFont();
  void setupHelp();

 private:
  tw::Config& config_;
  MessageBoxes& boxes_;
};
