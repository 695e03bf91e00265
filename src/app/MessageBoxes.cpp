#include "app/MessageBoxes.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

void QtMessageBoxes::alertMessage(const QString& title, const QString& mess)
{
  QMessageBox box(QMessageBox::NoIcon, title, mess, QMessageBox::NoButton, parent_);
  box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.exec();
}

bool QtMessageBoxes::confirmMessage(const QString& title, const QString& mess)
{
  QMessageBox box(QMessageBox::NoIcon, title, mess, QMessageBox::NoButton, parent_);
  auto* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
  box.setDefaultButton(ok);
  box.exec();
  return box.clickedButton() == ok;
}

int QtMessageBoxes::exitMessage(const QString& title, const QString& mess)
{
  QMessageBox box(QMessageBox::NoIcon, title, mess, QMessageBox::NoButton, parent_);
  auto* save = box.addButton(QStringLiteral("保存する"), QMessageBox::AcceptRole);
  auto* discard = box.addButton(QStringLiteral("保存せずに終了する"), QMessageBox::DestructiveRole);
  box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.exec();
  if (box.clickedButton() == save) return kExitSave;
  if (box.clickedButton() == discard) return kExitDiscard;
  return kExitCancel;
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
