#pragma once
// The about box: the application's name and version, and two links, the project's page and
// GSI's terms of use of its tiles.

#include <QDialog>
#include <functional>

class QPushButton;

class AboutPanel : public QDialog {
  Q_OBJECT
 public:
  // `open` opens an address in the browser (the controller's seam).
  explicit AboutPanel(std::function<void(const QString&)> open, QWidget* parent = nullptr);

  QPushButton* linkButton = nullptr;    // the project's address → linkClick
  QPushButton* kokudoButton = nullptr;  // "地理院タイル利用規約" → kokudoClick

 public slots:
  void linkClick();
  void kokudoClick();

 private:
  std::function<void(const QString&)> open_;
};
