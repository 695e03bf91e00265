#include "app/AboutPanel.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AppShell.h"
#include "tiles/WebPages.h"
#include "view/MapFonts.h"

namespace {

// A link drawn as centred blue text with the pointing hand over it.
QPushButton* makeLink(const QString& title, QWidget* parent)
{
  auto* b = new QPushButton(title, parent);
  b->setFlat(true);
  b->setCursor(Qt::PointingHandCursor);
  b->setFont(tw::mapFont(QStringLiteral("HiraMaruPro-W4"), 13));
  QPalette p = b->palette();
  p.setColor(QPalette::ButtonText, p.color(QPalette::Link));
  b->setPalette(p);
  return b;
}

}  // namespace

AboutPanel::AboutPanel(std::function<void(const QString&)> open, QWidget* parent)
    : QDialog(parent), open_(std::move(open))
{
  setObjectName(QStringLiteral("AboutPanel"));
  setWindowTitle(QStringLiteral("Tarnwickについて"));
  auto* layout = new QVBoxLayout(this);
  auto* icon = new QLabel(this);
  icon->setPixmap(QPixmap::fromImage(namedImage(QStringLiteral("tarnwick"))).scaled(96, 96, Qt::KeepAspectRatio,
                                                                                      Qt::SmoothTransformation));
  icon->setAlignment(Qt::AlignCenter);
  auto* name = new QLabel(QStringLiteral("<b>Tarnwick</b> %1").arg(QStringLiteral(TW_VERSION)), this);
  name->setAlignment(Qt::AlignCenter);
  auto* about = new QLabel(QStringLiteral("登山・サイクリングのルート地図（地図データ：国土地理院、OpenStreetMap）"), this);
  about->setAlignment(Qt::AlignCenter);
  about->setWordWrap(true);
  linkButton = makeLink(QString::fromStdString(tw::homePage()), this);
  kokudoButton = makeLink(QStringLiteral("地理院タイル利用規約"), this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  for (QWidget* w : {static_cast<QWidget*>(icon), static_cast<QWidget*>(name), static_cast<QWidget*>(about),
                     static_cast<QWidget*>(linkButton), static_cast<QWidget*>(kokudoButton),
                     static_cast<QWidget*>(buttons)})
    layout->addWidget(w);
  connect(linkButton, &QPushButton::clicked, this, &AboutPanel::linkClick);
  connect(kokudoButton, &QPushButton::clicked, this, &AboutPanel::kokudoClick);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

void AboutPanel::linkClick() { open_(QString::fromStdString(tw::homePage())); }
void AboutPanel::kokudoClick() { open_(QString::fromStdString(tw::gsiTermsPage())); }
