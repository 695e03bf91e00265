#include "graph/InfoPanel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/AppDelegate.h"
#include "tiles/WebPages.h"
#include "view/MapFonts.h"

InfoPanel::InfoPanel(AppDelegate& d, QWidget* parent) : QDialog(parent), d_(d)
{
  setObjectName(QStringLiteral("InfoPanel"));
  setFont(tw::mapFont(QStringLiteral("HiraKakuProN-W3"), 13));
  auto* top = new QVBoxLayout(this);

  auto* nameRow = new QHBoxLayout;
  nameRow->addWidget(new QLabel(QStringLiteral("名前"), this));
  nameField = new QLineEdit(this);
  nameField->setObjectName(QStringLiteral("nameField"));
  nameField->setMinimumWidth(280);
  nameRow->addWidget(nameField, 1);
  top->addLayout(nameRow);

  // Two columns of label/value rows: the distances and elevations, then the gradients and times.
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(14);
  const auto rows = d_.infoFields().rows();
  const int half = static_cast<int>(rows.size() + 1) / 2;
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    const QString outlet = QString::fromStdString(rows[static_cast<std::size_t>(i)].first);
    const int col = i < half ? 0 : 2, row = i < half ? i : i - half;
    auto* value = new QLabel(this);
    value->setObjectName(outlet);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (outlet == QLatin1String("updownHeader")) {
      updownHeader_ = value;
      QFont f = value->font();
      f.setBold(true);
      value->setFont(f);
      grid->addWidget(value, row, col, 1, 2);
    } else {
      grid->addWidget(new QLabel(QString::fromUtf8(tw::infoFieldLabel(outlet.toStdString())), this), row, col);
      value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      value->setMinimumWidth(110);
      grid->addWidget(value, row, col + 1);
    }
    fields_.insert(outlet, value);
  }
  top->addLayout(grid);

  auto* timeBox = new QGroupBox(QStringLiteral("時刻"), this);
  auto* timeRow = new QHBoxLayout(timeBox);
  timeAdjustRadio = new QButtonGroup(this);
  const char* kTimeTitles[] = {"変更しない", "時刻を削除", "9時間戻す", "9時間進める"};
  for (int tag = 0; tag < 4; ++tag) {
    auto* b = new QRadioButton(QString::fromUtf8(kTimeTitles[tag]), timeBox);
    b->setObjectName(QStringLiteral("timeAdjust%1").arg(tag));
    timeAdjustRadio->addButton(b, tag);
    timeRow->addWidget(b);
  }
  timeAdjustRadio->button(0)->setChecked(true);
  timeBox->setEnabled(d_.stats.route_time);
  top->addWidget(timeBox);

  auto* bottom = new QHBoxLayout;
  cyclingButton = new QCheckBox(QStringLiteral("自転車"), this);
  cyclingButton->setObjectName(QStringLiteral("cyclingButton"));
  cyclingButton->setChecked(d_.cycling);
  connect(cyclingButton, &QCheckBox::toggled, this, &InfoPanel::updateCycling);
  bottom->addWidget(cyclingButton);
  auto* help = new QPushButton(QStringLiteral("?"), this);
  help->setObjectName(QStringLiteral("infoHelp"));
  help->setFixedWidth(28);
  connect(help, &QPushButton::clicked, this, &InfoPanel::infoHelp);
  bottom->addWidget(help);
  bottom->addStretch(1);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("okButton"));
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &InfoPanel::dialogOK);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  bottom->addWidget(buttons);
  top->addLayout(bottom);

  const tw::TrackInfo* t = d_.doc.activeTrack();
  nameField->setText(t ? QString::fromStdString(t->name) : QString());
  setWindowTitle(QStringLiteral("トラック情報"));
  const auto* r = d_.doc.routes();
  if (r && r->size() >= 2) {
    if (d_.graph_type != 0) setWindowTitle(QStringLiteral("トラック情報（選択区間のみ）"));
    showInfo();
  }
}

void InfoPanel::showInfo()
{
  for (const auto& [outlet, text] : d_.infoFields().rows()) {
    if (QLabel* l = fields_.value(QString::fromStdString(outlet))) l->setText(QString::fromStdString(text));
  }
}

QString InfoPanel::field(const QString& outlet) const
{
  const QLabel* l = fields_.value(outlet);
  return l ? l->text() : QString();
}

void InfoPanel::dialogOK()
{
  // A name that cannot be stored keeps the dialog open after the alert.
  if (!d_.applyTrackInfo(nameField->text().toStdString(), timeAdjustRadio->checkedId())) return;
  accept();
}

void InfoPanel::updateCycling()
{
  d_.cycling = cyclingButton->isChecked();
  d_.calcTrackInfo();
  showInfo();
}

void InfoPanel::infoHelp()
{
  const QUrl url(QString::fromStdString(tw::infoHelpPage()));
  if (d_.openURL)
    d_.openURL(url);
  else
    QDesktopServices::openUrl(url);
}
