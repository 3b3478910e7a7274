// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every message box of the program goes through this interface, so the
// windows' rules can be tested with a recorder instead of live boxes.

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace zelk {

class Messages {
 public:
  virtual ~Messages() = default;
  // A one-line text with a title and an OK button.
  virtual void Inform(const QString& text, const QString& title) = 0;
  // A one-line question with Yes and No; true when the answer is Yes.
  virtual bool AskYesNo(const QString& text, const QString& title) = 0;
  // The same, with No as the default button: for a question whose Yes loses
  // something.
  virtual bool AskYesNoDefaultNo(const QString& text, const QString& title) = 0;
  // The standard error box for a failure that escaped an event handler.
  virtual void Error(const QString& text) = 0;
  // A few lines of text typed by the technician (a note); nothing when
  // cancelled.
  virtual std::optional<QString> AskText(const QString& label, const QString& title) = 0;
  // A question with a button for each of `choices` (the last one cancels, and
  // is the default): the index of the one pressed.
  virtual int Choose(const QString& text, const QString& title, const QStringList& choices) = 0;
};

// The real boxes: application-owned, no icon, one line of text.
class BoxMessages : public Messages {
 public:
  void Inform(const QString& text, const QString& title) override;
  bool AskYesNo(const QString& text, const QString& title) override;
  bool AskYesNoDefaultNo(const QString& text, const QString& title) override;
  void Error(const QString& text) override;
  std::optional<QString> AskText(const QString& label, const QString& title) override;
  int Choose(const QString& text, const QString& title, const QStringList& choices) override;
};

}  // namespace zelk
