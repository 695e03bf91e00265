#include "print/SetupPanel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDesktopServices>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "app/AppDelegate.h"
#include "print/PrintGeometry.h"
#include "tiles/WebPages.h"

namespace {

constexpr int kMaxMargin = 50;

QComboBox* combo(QWidget* parent, const char* name, QStringList items)
{
  auto* c = new QComboBox(parent);
  c->setObjectName(QString::fromLatin1(name));
  c->addItems(items);
  return c;
}

QButtonGroup* radios(QWidget* parent, QFormLayout* form, const char* name, const QString& caption, QStringList items)
{
  auto* g = new QButtonGroup(parent);
  g->setObjectName(QString::fromLatin1(name));
  auto* row = new QHBoxLayout;
  for (int i = 0; i < items.size(); ++i) {
    auto* b = new QRadioButton(items[i], parent);
    g->addButton(b, i);
    row->addWidget(b);
  }
  form->addRow(caption, row);
  return g;
}

void check(QButtonGroup* g, int id)
{
  if (auto* b = g->button(id)) b->setChecked(true);
}

QString fontTitle(const QFont& f) { return QStringLiteral("%1:%2pt").arg(f.family()).arg(static_cast<int>(f.pointSizeF())); }

}  // namespace

SetupPanel::SetupPanel(tw::Config& config, MessageBoxes& boxes, QWidget* parent)
    : QDialog(parent), config_(config), boxes_(boxes)
{
  setObjectName(QStringLiteral("SetupPanel"));
  setWindowTitle(QStringLiteral("ページ設定"));
  auto* form = new QFormLayout;
  paperCombo = combo(this, "paperCombo", {"B5", "A4", "B4", "A3"});
  form->addRow(QStringLiteral("用紙"), paperCombo);
  directRadio = radios(this, form, "directRadio", QStringLiteral("向き"), {QStringLiteral("縦"), QStringLiteral("横")});
  scaleCombo = combo(this, "scaleCombo", {"1:10000", "1:12500", "1:15000", "1:25000"});
  form->addRow(QStringLiteral("縮尺"), scaleCombo);
  qualityCombo = combo(this, "qualityCombo", {QStringLiteral("標準"), QStringLiteral("高品質"), QStringLiteral("最高品質")});
  form->addRow(QStringLiteral("品質"), qualityCombo);
  colorRadio = radios(this, form, "colorRadio", QStringLiteral("色"),
                      {QStringLiteral("カラー"), QStringLiteral("グレー"), QStringLiteral("グレー2")});
  northCombo = combo(this, "northCombo", {QStringLiteral("なし"), "250m", "500m", "1000m"});
  form->addRow(QStringLiteral("磁北線"), northCombo);
  latlonCombo = combo(this, "latlonCombo", {QStringLiteral("なし"), "15\"", "30\"", "60\"", QStringLiteral("なし")});
  form->addRow(QStringLiteral("経緯度線"), latlonCombo);
  fontSizeCombo = combo(this, "fontSizeCombo", {"6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16"});
  form->addRow(QStringLiteral("経緯度の文字"), fontSizeCombo);
  QStringList widths;
  for (int i = 0; i <= 12; ++i) widths << QString::number(i);
  widthCombo = combo(this, "widthCombo", widths);
  downCombo = combo(this, "downCombo", widths);
  form->addRow(QStringLiteral("ルートの幅"), widthCombo);
  form->addRow(QStringLiteral("下りの幅"), downCombo);
  auto field = [&](const char* name) {
    auto* f = new QLineEdit(this);
    f->setObjectName(QString::fromLatin1(name));
    connect(f, &QLineEdit::editingFinished, this, &SetupPanel::sizeChanged);
    return f;
  };
  topField = field("topField"), bottomField = field("bottomField"), leftField = field("leftField"),
  rightField = field("rightField");
  auto* margins = new QHBoxLayout;
  for (QLineEdit* f : {topField, bottomField, leftField, rightField}) margins->addWidget(f);
  form->addRow(QStringLiteral("余白 (上下左右 mm)"), margins);
  conveniCheck = new QCheckBox(QStringLiteral("コンビニ印刷"), this);
  conveniCheck->setObjectName(QStringLiteral("conveniCheck"));
  form->addRow(QString(), conveniCheck);
  paperField = new QLabel(this), areaField = new QLabel(this);
  paperField->setObjectName(QStringLiteral("paperField"));
  areaField->setObjectName(QStringLiteral("areaField"));
  form->addRow(QStringLiteral("用紙サイズ"), paperField);
  form->addRow(QStringLiteral("印刷範囲"), areaField);
  const QStringList offOn{QStringLiteral("しない"), QStringLiteral("する")};
  contourRadio = radios(this, form, "contourRadio", QStringLiteral("等高線"), offOn);
  strongRadio = radios(this, form, "strongRadio", QStringLiteral("道路強調"), offOn);
  riverRadio = radios(this, form, "riverRadio", QStringLiteral("河川"), offOn);
  buildingRadio = radios(this, form, "buildingRadio", QStringLiteral("建物"), offOn);
  roadRadio = radios(this, form, "roadRadio", QStringLiteral("道路"), offOn);
  roadSlider = new QSlider(Qt::Horizontal, this);
  roadSlider->setObjectName(QStringLiteral("roadSlider"));
  roadSlider->setRange(0, 100);
  roadField = new QLabel(this);
  roadField->setFixedSize(40, 16);
  roadField->setAutoFillBackground(true);
  auto* road = new QHBoxLayout;
  road->addWidget(roadSlider);
  road->addWidget(roadField);
  form->addRow(QStringLiteral("道路の濃さ"), road);
  auto well = [&](const char* name, const QString& caption) {
    auto* b = new QPushButton(this);
    b->setObjectName(QString::fromLatin1(name));
    b->setFixedSize(48, 20);
    connect(b, &QPushButton::clicked, this, [this, b] {
      const QColor c = QColorDialog::getColor(b->property("color").value<QColor>(), this, QString(),
                                              QColorDialog::ShowAlphaChannel);
      if (c.isValid()) {
        setWellColor(b, {c.redF(), c.greenF(), c.blueF(), c.alphaF()});
        routeChanged();
        downChanged();
      }
    });
    form->addRow(caption, b);
    return b;
  };
  routeColor = well("routeColor", QStringLiteral("ルートの色"));
  downColor = well("downColor", QStringLiteral("下りの色"));
  contourColor = well("contourColor", QStringLiteral("等高線の色"));
  northColor = well("northColor", QStringLiteral("磁北線の色"));
  latlonColor = well("latlonColor", QStringLiteral("経緯度線の色"));
  wayPointFontColor = well("wayPointFontColor", QStringLiteral("ウェイポイントの色"));
  routeField = new QLabel(this), downField = new QLabel(this);
  routeField->setAutoFillBackground(true);
  downField->setAutoFillBackground(true);
  form->addRow(QString(), routeField);
  form->addRow(QString(), downField);
  wayPointFontButton = new QPushButton(this);
  wayPointFontButton->setObjectName(QStringLiteral("wayPointFontButton"));
  form->addRow(QStringLiteral("ウェイポイントのフォント"), wayPointFontButton);
  auto* defaults = new QPushButton(QStringLiteral("標準の色"), this);
  defaults->setObjectName(QStringLiteral("defaultColor"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
  auto* top = new QVBoxLayout(this);
  top->addLayout(form);
  top->addWidget(defaults);
  top->addWidget(buttons);

  // Every control from the configuration.
  const tw::Config& c = config_;
  paperCombo->setCurrentIndex(std::min(c.intValue(tw::key::paper), 3));
  check(directRadio, c.intValue(tw::key::direction));
  scaleCombo->setCurrentIndex(c.intValue(tw::key::scale));
  qualityCombo->setCurrentIndex(c.intValue(tw::key::quality));
  check(colorRadio, c.intValue(tw::key::color));
  northCombo->setCurrentIndex(c.intValue(tw::key::north));
  latlonCombo->setCurrentIndex(c.intValue(tw::key::latlon));
  fontSizeCombo->setCurrentIndex(c.intValue(tw::key::latlon_size));
  widthCombo->setCurrentIndex(c.intValue(tw::key::route_width));
  downCombo->setCurrentIndex(c.intValue(tw::key::down_width));
  topField->setText(QString::number(c.intValue(tw::key::top_margin)));
  bottomField->setText(QString::number(c.intValue(tw::key::bottom_margin)));
  leftField->setText(QString::number(c.intValue(tw::key::left_margin)));
  rightField->setText(QString::number(c.intValue(tw::key::right_margin)));
  conveniCheck->setChecked(c.isOn(tw::key::conveni));
  check(contourRadio, c.intValue(tw::key::contour));
  check(strongRadio, c.intValue(tw::key::strong_road));
  check(riverRadio, c.intValue(tw::key::river));
  check(buildingRadio, c.intValue(tw::key::building));
  check(roadRadio, c.intValue(tw::key::road));
  roadSlider->setValue(c.intValue(tw::key::road_depth));
  auto rgba = [&](std::string_view r, std::string_view g, std::string_view b, std::string_view a) {
    return tw::RGBA{c.doubleValue(r), c.doubleValue(g), c.doubleValue(b), a.empty() ? 1.0 : c.doubleValue(a)};
  };
  setWellColor(routeColor, rgba(tw::key::route_r, tw::key::route_g, tw::key::route_b, tw::key::route_a));
  setWellColor(downColor, rgba(tw::key::down_r, tw::key::down_g, tw::key::down_b, tw::key::down_a));
  setWellColor(contourColor, rgba(tw::key::contour_r, tw::key::contour_g, tw::key::contour_b, {}));
  setWellColor(northColor, rgba(tw::key::north_r, tw::key::north_g, tw::key::north_b, tw::key::north_a));
  setWellColor(latlonColor, rgba(tw::key::latlon_r, tw::key::latlon_g, tw::key::latlon_b, tw::key::latlon_a));
  setWellColor(wayPointFontColor, rgba(tw::key::wp_font_r, tw::key::wp_font_g, tw::key::wp_font_b, tw::key::wp_font_a));
  wayPointFont = QFont(QString::fromStdString(c.stringValue(tw::key::wp_font_name)));
  wayPointFont.setPointSizeF(std::max(1, c.intValue(tw::key::wp_font_size)));
  wayPointFontButton->setText(fontTitle(wayPointFont));

  for (QComboBox* cb : {paperCombo, scaleCombo})
    connect(cb, &QComboBox::currentIndexChanged, this, &SetupPanel::sizeChanged);
  connect(directRadio, &QButtonGroup::idClicked, this, &SetupPanel::sizeChanged);
  connect(conveniCheck, &QCheckBox::toggled, this, &SetupPanel::conveniChanged);
  connect(roadSlider, &QSlider::valueChanged, this, &SetupPanel::roadChanged);
  connect(widthCombo, &QComboBox::currentIndexChanged, this, &SetupPanel::routeChanged);
  connect(downCombo, &QComboBox::currentIndexChanged, this, &SetupPanel::downChanged);
  connect(contourRadio, &QButtonGroup::idClicked, this, &SetupPanel::contourChanged);
  connect(defaults, &QPushButton::clicked, this, &SetupPanel::defaultColor);
  connect(wayPointFontButton, &QPushButton::clicked, this, &SetupPanel::selectFont);
  connect(buttons, &QDialogButtonBox::accepted, this, &SetupPanel::dialogOk);
  connect(buttons, &QDialogButtonBox::rejected, this, &SetupPanel::dialogCancel);
  connect(buttons, &QDialogButtonBox::helpRequested, this, &SetupPanel::setupHelp);

  contourChanged();
  roadChanged();
  downChanged();
  routeChanged();
  conveniChanged();
}

bool SetupPanel::run(AppDelegate& d, QWidget* parent)
{
  SetupPanel panel(d.config, d.boxes(), parent);
  panel.openURL = d.openURL;
  return panel.exec() == QDialog::Accepted;
}

void SetupPanel::setupHelp()
{
  const QUrl url(QString::fromStdString(tw::setupHelpPage()));
  if (openURL)
    openURL(url);
  else
    QDesktopServices::openUrl(url);
}

tw::RGBA SetupPanel::wellColor(QPushButton* well) const
{
  const QColor c = well->property("color").value<QColor>();
  return {c.redF(), c.greenF(), c.blueF(), c.alphaF()};
}

void SetupPanel::setWellColor(QPushButton* well, const tw::RGBA& c)
{
  const QColor q = QColor::fromRgbF(c.r, c.g, c.b, c.a);
  well->setProperty("color", q);
  well->setStyleSheet(QStringLiteral("background-color: %1").arg(q.name(QColor::HexArgb)));
}

void SetupPanel::sizeChanged()
{
  const int paper = paperCombo->currentIndex(), direction = directRadio->checkedId() == 1 ? 1 : 0;
  const bool conveni = conveniCheck->isChecked();
  const float top = topField->text().toFloat(), bottom = bottomField->text().toFloat(),
              left = leftField->text().toFloat(), right = rightField->text().toFloat();
  const tw::SizeD ground = tw::calcPrintSize(paper, direction, scaleCombo->currentIndex(), conveni, top, bottom, left, right);
  if (const auto e = tw::paperEntry(paper)) {
    const int w = direction ? e->height : e->width, h = direction ? e->width : e->height;
    paperField->setText(QString::asprintf("%dmm×%dmm", w, h));
  }
  areaField->setText(QString::asprintf("%3.2fkm × %3.2fkm", ground.width / 1000, ground.height / 1000));
  topField->setText(QString::number(static_cast<int>(top)));
  bottomField->setText(QString::number(static_cast<int>(bottom)));
  leftField->setText(QString::number(static_cast<int>(left)));
  rightField->setText(QString::number(static_cast<int>(right)));
}

void SetupPanel::conveniChanged()
{
  const bool on = conveniCheck->isChecked();
  for (QLineEdit* f : {topField, bottomField, leftField, rightField}) {
    if (on) f->setText(QStringLiteral("5"));
    f->setEnabled(!on);
  }
  sizeChanged();
}

void SetupPanel::roadChanged()
{
  const double g = (100 - roadSlider->value()) / 256.0;
  QPalette p = roadField->palette();
  p.setColor(QPalette::Window, QColor::fromRgbF(g, g, g));
  roadField->setPalette(p);
}

void SetupPanel::routeChanged()
{
  const tw::RGBA c = wellColor(routeColor);
  QPalette p = routeField->palette();
  p.setColor(QPalette::Window, QColor::fromRgbF(c.r, c.g, c.b, c.a));
  routeField->setPalette(p);
  routeField->setFixedSize(80, std::max(1, 2 * widthCombo->currentIndex()));
}

void SetupPanel::downChanged()
{
  const int w = downCombo->currentIndex();
  downColor->setVisible(w != 0);
  downField->setVisible(w != 0);
  if (w == 0) return;
  const tw::RGBA c = wellColor(downColor);
  QPalette p = downField->palette();
  p.setColor(QPalette::Window, QColor::fromRgbF(c.r, c.g, c.b, c.a));
  downField->setPalette(p);
  downField->setFixedSize(80, 2 * w);
}

void SetupPanel::contourChanged() { contourColor->setEnabled(contourRadio->checkedId() > 0); }

void SetupPanel::defaultColor()
{
  roadSlider->setValue(100);
  check(contourRadio, 1);
  for (QButtonGroup* g : {strongRadio, riverRadio, buildingRadio, roadRadio}) check(g, 0);
  setWellColor(routeColor, {1, 0, 0, 0.5});
  setWellColor(northColor, {0, 0, 1, 1});
  setWellColor(latlonColor, {1, 0, 0, 1});
  setWellColor(contourColor, {0.22352941, 0.18431373, 0.07058824, 1});
  widthCombo->setCurrentIndex(4);
  roadChanged();
  routeChanged();
  contourChanged();
}

void SetupPanel::selectFont()
{
  bool ok = false;
  const QFont f = QFontDialog::getFont(&ok, wayPointFont, this);
  if (!ok) return;
  wayPointFont = f;
  wayPointFontButton->setText(fontTitle(f));
}

void SetupPanel::dialogOk()
{
  int margins[4];
  QLineEdit* fields[4] = {topField, bottomField, leftField, rightField};
  for (int i = 0; i < 4; ++i) {
    bool ok = false;
    margins[i] = fields[i]->text().trimmed().toInt(&ok);
    if (!ok || margins[i] < 0 || margins[i] > kMaxMargin) {
      boxes_.alertMessage(QStringLiteral("確認"), QStringLiteral("余白に設定できる値は、0〜%1mmです。").arg(kMaxMargin));
      return;
    }
  }
  tw::Config& c = config_;
  c.setInt(tw::key::paper, paperCombo->currentIndex());
  c.setInt(tw::key::scale, scaleCombo->currentIndex());
  c.setInt(tw::key::quality, qualityCombo->currentIndex());
  c.setInt(tw::key::north, northCombo->currentIndex());
  c.setInt(tw::key::latlon, latlonCombo->currentIndex());
  c.setInt(tw::key::route_width, widthCombo->currentIndex());
  c.setInt(tw::key::down_width, downCombo->currentIndex());
  c.setInt(tw::key::latlon_size, fontSizeCombo->currentIndex());
  c.setInt(tw::key::top_margin, margins[0]);
  c.setInt(tw::key::bottom_margin, margins[1]);
  c.setInt(tw::key::left_margin, margins[2]);
  c.setInt(tw::key::right_margin, margins[3]);
  c.setInt(tw::key::direction, std::max(0, directRadio->checkedId()));
  c.setInt(tw::key::color, std::max(0, colorRadio->checkedId()));
  c.setInt(tw::key::contour, std::max(0, contourRadio->checkedId()));
  c.setInt(tw::key::strong_road, std::max(0, strongRadio->checkedId()));
  c.setInt(tw::key::river, std::max(0, riverRadio->checkedId()));
  c.setInt(tw::key::building, std::max(0, buildingRadio->checkedId()));
  c.setInt(tw::key::road, std::max(0, roadRadio->checkedId()));
  c.setInt(tw::key::conveni, conveniCheck->isChecked() ? 1 : 0);
  c.setInt(tw::key::road_depth, roadSlider->value());
  auto put = [&](QPushButton* well, std::string_view r, std::string_view g, std::string_view b, std::string_view a) {
    const tw::RGBA v = wellColor(well);
    c.setFloat(r, static_cast<float>(v.r));
    c.setFloat(g, static_cast<float>(v.g));
    c.setFloat(b, static_cast<float>(v.b));
    if (!a.empty()) c.setFloat(a, static_cast<float>(v.a));
  };
  put(routeColor, tw::key::route_r, tw::key::route_g, tw::key::route_b, tw::key::route_a);
  put(downColor, tw::key::down_r, tw::key::down_g, tw::key::down_b, tw::key::down_a);
  put(contourColor, tw::key::contour_r, tw::key::contour_g, tw::key::contour_b, {});
  put(northColor, tw::key::north_r, tw::key::north_g, tw::key::north_b, tw::key::north_a);
  put(latlonColor, tw::key::latlon_r, tw::key::latlon_g, tw::key::latlon_b, tw::key::latlon_a);
  put(wayPointFontColor, tw::key::wp_font_r, tw::key::wp_font_g, tw::key::wp_font_b, tw::key::wp_font_a);
  c.setString(tw::key::wp_font_name, wayPointFont.family().toStdString());
  c.setInt(tw::key::wp_font_size, static_cast<int>(wayPointFont.pointSizeF()));
  accept();
}
