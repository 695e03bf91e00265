#pragma once
// The thinning dialog: the result as a thinning rate (slider) or as a point count.

#include <QDialog>

class MessageBoxes;
class QLabel;
class QLineEdit;
class QSlider;

class ThinoutPanel : public QDialog {
  Q_OBJECT

 public:
  // `tracks` points in the active track, `totalDist` its length in metres.
  ThinoutPanel(int tracks, double totalDist, MessageBoxes& boxes, QWidget* parent = nullptr);

  int tracks() const { return tracks_; }
  int points() const { return points_; }  // the requested count, read on OK

  // The slider works in hundredths of a percent.
  double sliderValue() const;
  void setSliderValue(double rate);

  QSlider* thinoutSlider = nullptr;
  QLineEdit* rateField = nullptr;
  QLineEdit* pointField = nullptr;
  QLabel* trackField = nullptr;
  QLabel* intervalField = nullptr;

 public slots:
  void sliderChanged();
  void pointChanged();
  void dialogOK();
  void dialogCancel();

 private:
  int tracks_;
  double totalDist_;
  int points_ = 0;
  MessageBoxes& boxes_;
};
