#pragma once
// The modal questions and file choosers the controller uses, behind one seam so the
// controller runs headless in tests with scripted answers.

#include <QString>
#include <QStringList>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

class QMessageBox;
class QWidget;

class MessageBoxes {
 public:
  // exitMessage answers
  static constexpr int kExitSave = 0;
  static constexpr int kExitCancel = 1;
  static constexpr int kExitDiscard = 2;

  virtual ~MessageBoxes() = default;
  // One "OK" button.
  virtual void alertMessage(const QString& title, const QString& mess) = 0;
  // "OK" / "キャンセル"; true only for OK.
  virtual bool confirmMessage(const QString& title, const QString& mess) = 0;
  // "保存する" / "保存せずに終了する" / "キャンセル": kExitSave, kExitDiscard, kExitCancel.
  virtual int exitMessage(const QString& title, const QString& mess) = 0;
  // File choosers: an empty string when cancelled. `filters` like "GPX (*.gpx)".
  virtual QString openFileName(const QString& title, const QString& dir, const QString& filters) = 0;
  virtual QStringList openFileNames(const QString& title, const QString& dir, const QString& filters) = 0;
  virtual QString saveFileName(const QString& title, const QString& dir, const QString& proposedName,
                               const QString& filters) = 0;
};

// The three modal boxes, built apart from exec() so that their layout can be inspected.
enum class BoxKind { Alert, Confirm, Exit };

// Laid out like a platform alert: `title` is the box's heading, `mess` its informative text and
// the window title is the application's name. Buttons of the kind: "OK"; "OK", "キャンセル";
// "保存する", "保存せずに終了する", "キャンセル"; the first is the default.
std::unique_ptr<QMessageBox> buildMessageBox(BoxKind kind, const QString& title, const QString& mess,
                                             QWidget* parent = nullptr);
// The answer of a built box after it closed: MessageBoxes::kExitSave for "OK" or "保存する",
// kExitDiscard for "保存せずに終了する", kExitCancel otherwise (also when closed without a button).
int messageBoxAnswer(const QMessageBox& box);

// Real dialogs with our button texts.
class QtMessageBoxes : public MessageBoxes {
 public:
  explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }
  void alertMessage(const QString& title, const QString& mess) override;
  bool confirmMessage(const QString& title, const QString& mess) override;
  int exitMessage(const QString& title, const QString& mess) override;
  QString openFileName(const QString& title, const QString& dir, const QString& filters) override;
  QStringList openFileNames(const QString& title, const QString& dir, const QString& filters) override;
  QString saveFileName(const QString& title, const QString& dir, const QString& proposedName,
                       const QString& filters) override;

 private:
  QWidget* parent_;
};

// Answers from scripts queued by a test, in order, and records every box shown.
// With an empty script: confirm answers true, exit answers cancel, choosers answer "".
class ScriptedMessageBoxes : public MessageBoxes {
 public:
  struct Shown {
    QString kind;  // "alert", "confirm", "exit", "open", "save"
    QString title;
    QString mess;
  };
  std::vector<Shown> shown;
  std::deque<bool> confirmAnswers;
  std::deque<int> exitAnswers;
  std::deque<QString> fileAnswers;

  void alertMessage(const QString& title, const QString& mess) override;
  bool confirmMessage(const QString& title, const QString& mess) override;
  int exitMessage(const QString& title, const QString& mess) override;
  QString openFileName(const QString& title, const QString& dir, const QString& filters) override;
  QStringList openFileNames(const QString& title, const QString& dir, const QString& filters) override;
  QString saveFileName(const QString& title, const QString& dir, const QString& proposedName,
                       const QString& filters) override;

  int count(const QString& kind) const;
  const Shown* last() const { return shown.empty() ? nullptr : &shown.back(); }
};
