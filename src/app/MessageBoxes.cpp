#include "app/MessageBoxes.h"

#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

std::unique_ptr<QMessageBox> buildMessageBox(BoxKind kind, const QString& title, const QString& mess,
                                             QWidget* parent)
{
  auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, QStringLiteral("Tarnwick"), title,
                                           QMessageBox::NoButton, parent);
  box->setTextFormat(Qt::PlainText);
  box->setInformativeText(mess);
  if (auto* heading = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
  }
  QPushButton* first = nullptr;
  switch (kind) {
    case BoxKind::Alert:
      first = box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
      break;
    case BoxKind::Confirm:
      first = box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
      box->addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
      break;
    case BoxKind::Exit:
      first = box->addButton(QStringLiteral("保存する"), QMessageBox::AcceptRole);
      box->addButton(QStringLiteral("保存せずに終了する"), QMessageBox::DestructiveRole);
      box->addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
      break;
  }
  box->setDefaultButton(first);
  return box;
}

int messageBoxAnswer(const QMessageBox& box)
{
  QAbstractButton* clicked = box.clickedButton();
  if (!clicked) return MessageBoxes::kExitCancel;
  switch (box.buttonRole(clicked)) {
    case QMessageBox::AcceptRole:
      return MessageBoxes::kExitSave;
    case QMessageBox::DestructiveRole:
      return MessageBoxes::kExitDiscard;
    default:
      return MessageBoxes::kExitCancel;
  }
}

void QtMessageBoxes::alertMessage(const QString& title, const QString& mess)
{
  buildMessageBox(BoxKind::Alert, title, mess, parent_)->exec();
}

bool QtMessageBoxes::confirmMessage(const QString& title, const QString& mess)
{
  auto box = buildMessageBox(BoxKind::Confirm, title, mess, parent_);
  box->exec();
  return messageBoxAnswer(*box) == kExitSave;
}

int QtMessageBoxes::exitMessage(const QString& title, const QString& mess)
{
  auto box = buildMessageBox(BoxKind::Exit, title, mess, parent_);
  box->exec();
  return messageBoxAnswer(*box);
}

QString QtMessageBoxes::openFileName(const QString& title, const QString& dir, const QString& filters)
{
  return QFileDialog::getOpenFileName(parent_, title, dir, filters);
}

QStringList QtMessageBoxes::openFileNames(const QString& title, const QString& dir, const QString& filters)
{
  return QFileDialog::getOpenFileNames(parent_, title, dir, filters);
}

QString QtMessageBoxes::saveFileName(const QString& title, const QString& dir, const QString& proposedName,
                                     const QString& filters)
{
  const QString start = dir.isEmpty() ? proposedName : dir + QLatin1Char('/') + proposedName;
  return QFileDialog::getSaveFileName(parent_, title, start, filters);
}

void ScriptedMessageBoxes::alertMessage(const QString& title, const QString& mess)
{
  shown.push_back({QStringLiteral("alert"), title, mess});
}

bool ScriptedMessageBoxes::confirmMessage(const QString& title, const QString& mess)
{
  shown.push_back({QStringLiteral("confirm"), title, mess});
  if (confirmAnswers.empty()) return true;
  bool a = confirmAnswers.front();
  confirmAnswers.pop_front();
  return a;
}

int ScriptedMessageBoxes::exitMessage(const QString& title, const QString& mess)
{
  shown.push_back({QStringLiteral("exit"), title, mess});
  if (exitAnswers.empty()) return kExitCancel;
  int a = exitAnswers.front();
  exitAnswers.pop_front();
  return a;
}

QString ScriptedMessageBoxes::openFileName(const QString& title, const QString&, const QString&)
{
  shown.push_back({QStringLiteral("open"), title, QString()});
  if (fileAnswers.empty()) return {};
  QString a = fileAnswers.front();
  fileAnswers.pop_front();
  return a;
}

QStringList ScriptedMessageBoxes::openFileNames(const QString& title, const QString& dir, const QString& filters)
{
  QString one = openFileName(title, dir, filters);
  return one.isEmpty() ? QStringList() : QStringList{one};
}

QString ScriptedMessageBoxes::saveFileName(const QString& title, const QString&, const QString&, const QString&)
{
  shown.push_back({QStringLiteral("save"), title, QString()});
  if (fileAnswers.empty()) return {};
  QString a = fileAnswers.front();
  fileAnswers.pop_front();
  return a;
}

int ScriptedMessageBoxes::count(const QString& kind) const
{
  int n = 0;
  for (const auto& s : shown) n += s.kind == kind;
  return n;
}
