#pragma once
// The dialog that chooses the DEM a recalculation uses: DEM10B only (tag 0), or DEM5A with
// DEM10B where DEM5A has no data (tag 1).

#include <QDialog>

class QButtonGroup;

class DemPanel : public QDialog {
  Q_OBJECT

 public:
  explicit DemPanel(int dem_mode, QWidget* parent = nullptr);
  // The tag of the selected cell of `demRadio`.
  int selectedMode() const;

 public slots:
  void dialogOK();
  void dialogCancel();
  void demHelp();

 private:
  QButtonGroup* demRadio;
};
