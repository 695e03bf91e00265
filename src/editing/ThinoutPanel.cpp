#include "editing/ThinoutPanel.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <cmath>

#include "app/MessageBoxes.h"
#include "editing/Thinout.h"

namespace {
constexpr double kSliderScale = 100.0;  // slider steps per percent
}

ThinoutPanel::ThinoutPanel(int tracks, double totalDist, MessageBoxes& boxes, QWidget* parent)
    : QDialog(parent), tracks_(tracks), totalDist_(totalDist), boxes_(boxes)
{
  setWindowTitle(QStringLiteral("間引き"));
  setModal(true);
  trackField = new QLabel(QStringLiteral("トラックポイント(%1点)を間引きます。").arg(tracks), this);
  thinoutSlider = new QSlider(Qt::Horizontal, this);
  thinoutSlider->setRange(static_cast<int>(std::lround(0.1 * kSliderScale)),
                          static_cast<int>(std::floor(tw::thinoutSliderMaximum(tracks) * kSliderScale)));
  rateField = new QLineEdit(this);
  rateField->setReadOnly(true);
  pointField = new QLineEdit(this);
  intervalField = new QLabel(this);

  auto* grid = new QGridLayout(this);
  grid->addWidget(trackField, 0, 0, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("間引き率(%)"), this), 1, 0);
  grid->addWidget(thinoutSlider, 1, 1);
  grid->addWidget(rateField, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("ポイント数"), this), 2, 0);
  grid->addWidget(pointField, 2, 2);
  grid->addWidget(new QLabel(QStringLiteral("平均間隔"), this), 3, 0);
  grid->addWidget(intervalField, 3, 2);
  auto* buttons = new QDialogButtonBox(this);
  auto* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  auto* cancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  ok->setDefault(true);
  grid->addWidget(buttons, 4, 0, 1, 3);

  const auto d = tw::thinoutDefault(tracks, totalDist);
  rateField->setText(QString::asprintf("%3.2f", d.rate));
  pointField->setText(QString::number(d.points));
  intervalField->setText(QString::asprintf("%6.2fm", d.interval));
  setSliderValue(d.rate);

  connect(thinoutSlider, &QSlider::valueChanged, this, &ThinoutPanel::sliderChanged);
  connect(pointField, &QLineEdit::editingFinished, this, &ThinoutPanel::pointChanged);
  connect(ok, &QPushButton::clicked, this, &ThinoutPanel::dialogOK);
  connect(cancel, &QPushButton::clicked, this, &ThinoutPanel::dialogCancel);
}

double ThinoutPanel::sliderValue() const { return thinoutSlider->value() / kSliderScale; }

void ThinoutPanel::setSliderValue(double rate)
{
  const QSignalBlocker quiet(thinoutSlider);
  thinoutSlider->setValue(static_cast<int>(std::lround(rate * kSliderScale)));
}

void ThinoutPanel::sliderChanged()
{
  const double r = sliderValue();
  const auto s = tw::thinoutFromRate(tracks_, totalDist_, r);
  rateField->setText(QString::asprintf("%3.2f", r));
  pointField->setText(QString::number(s.points));
  intervalField->setText(QString::asprintf("%6.2fm", s.interval));
}

void ThinoutPanel::pointChanged()
{
  if (tracks_ <= 0) return;
  const int p = tw::thinoutCorrectPoints(tracks_, pointField->text().trimmed().toInt());
  pointField->setText(QString::number(p));
  setSliderValue(100.0 - p * 100.0 / tracks_);
  rateField->setText(QString::number(static_cast<int>(std::trunc(100.0 - p * 100.0 / tracks_))));
  intervalField->setText(QStringLiteral("%1m").arg(static_cast<long long>(std::trunc(totalDist_ / p))));
}

void ThinoutPanel::dialogOK()
{
  points_ = pointField->text().trimmed().toInt();
  if (points_ <= tw::kThinoutMinimumPoints - 1) {
    boxes_.alertMessage(QStringLiteral("確認"),
                        QStringLiteral("間引き後のポイント数は%1ポイント以上にしてください").arg(tw::kThinoutMinimumPoints));
    return;
  }
  if (!boxes_.confirmMessage(QStringLiteral("確認"), QStringLiteral("ポイント数を%1→%2ポイントに間引きます").arg(tracks_).arg(points_)))
    return;
  done(1);
}

void ThinoutPanel::dialogCancel() { done(0); }
