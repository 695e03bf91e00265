#include "elevation/DemPanel.h"

#include <QButtonGroup>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QVBoxLayout>

#include "tiles/WebPages.h"

DemPanel::DemPanel(int dem_mode, QWidget* parent) : QDialog(parent), demRadio(new QButtonGroup(this))
{
  setObjectName(QStringLiteral("DemPanel"));
  setWindowTitle(QStringLiteral("標高データの選択"));
  setModal(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("標高の再取得に使うデータを選んでください。"), this));
  auto* dem10b = new QRadioButton(QStringLiteral("DEM10B (10mメッシュ)"), this);
  auto* dem5a = new QRadioButton(QStringLiteral("DEM5A (5mメッシュ、データがない所はDEM10B)"), this);
  dem10b->setObjectName(QStringLiteral("dem10b"));
  dem5a->setObjectName(QStringLiteral("dem5a"));
  demRadio->addButton(dem10b, 0);
  demRadio->addButton(dem5a, 1);
  (dem_mode == 1 ? dem5a : dem10b)->setChecked(true);
  layout->addWidget(dem10b);
  layout->addWidget(dem5a);

  auto* buttons = new QHBoxLayout;
  auto* help = new QPushButton(QStringLiteral("ヘルプ"), this);
  auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  help->setObjectName(QStringLiteral("demHelp"));
  cancel->setObjectName(QStringLiteral("dialogCancel"));
  ok->setObjectName(QStringLiteral("dialogOK"));
  ok->setDefault(true);
  buttons->addWidget(help);
  buttons->addStretch();
  buttons->addWidget(cancel);
  buttons->addWidget(ok);
  layout->addLayout(buttons);

  connect(ok, &QPushButton::clicked, this, &DemPanel::dialogOK);
  connect(cancel, &QPushButton::clicked, this, &DemPanel::dialogCancel);
  connect(help, &QPushButton::clicked, this, &DemPanel::demHelp);
}

int DemPanel::selectedMode() const { return demRadio->checkedId() == 1 ? 1 : 0; }

void DemPanel::dialogOK() { done(1); }

// Closing the window ends the dialog the same way (QDialog::reject gives 0).
void DemPanel::dialogCancel() { done(0); }

void DemPanel::demHelp()
{
  QDesktopServices::openUrl(QUrl(QString::fromStdString(tw::demHelpPage())));
}
