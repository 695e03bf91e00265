#include "editing/WayPointPanel.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

#include "app/MessageBoxes.h"
#include "editing/PointEdits.h"

WayPointPanel::WayPointPanel(const tw::WayPointValues& values, MessageBoxes& boxes, QWidget* parent)
    : QDialog(parent), values_(values), boxes_(boxes)
{
  setWindowTitle(QStringLiteral("ウェイポイント"));
  setModal(true);
  latField = new QLabel(QString::asprintf("%9.6f", values.lat), this);
  lonField = new QLabel(QString::asprintf("%9.6f", values.lon), this);
  nameField = new QLineEdit(QString::fromStdString(values.name), this);
  elevField = new QLineEdit(values.elev == tw::kUnknownElevation ? QString() : QString::asprintf("%6.2f", values.elev), this);
  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("緯度"), latField);
  form->addRow(QStringLiteral("経度"), lonField);
  form->addRow(QStringLiteral("名前"), nameField);
  form->addRow(QStringLiteral("標高(m)"), elevField);
  auto* buttons = new QDialogButtonBox(this);
  auto* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  auto* cancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  ok->setDefault(true);
  form->addRow(buttons);
  connect(ok, &QPushButton::clicked, this, &WayPointPanel::dialogOK);
  connect(cancel, &QPushButton::clicked, this, &WayPointPanel::dialogCancel);
}

void WayPointPanel::dialogOK()
{
  const std::string name = nameField->text().toStdString();
  if (!tw::isAcceptableName(name)) {
    boxes_.alertMessage(QString::fromUtf8(tw::kBadNameTitle), QString::fromUtf8(tw::kBadNameMessage));
    return;
  }
  values_.name = name;
  const QString e = elevField->text().trimmed();
  const float elev = e.toFloat();
  values_.elev = e.isEmpty() || !std::isfinite(elev) ? tw::kUnknownElevation : elev;
  done(1);
}

void WayPointPanel::dialogCancel() { done(0); }
