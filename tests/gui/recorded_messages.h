// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Messages for window tests: records every box and answers questions from a
// script, so no live box ever opens. `on_box` runs while a "box" is shown,
// which is where a real box would let timer ticks in.

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "app/messages.h"

namespace zelk::test {

struct Box {
  enum Kind { inform, ask, error, ask_text, choose } kind;
  QString text;
  QString title;
  bool operator==(const Box&) const = default;
};

class RecordedMessages : public Messages {
 public:
  void Inform(const QString& text, const QString& title) override {
    Record({Box::inform, text, title});
  }
  bool AskYesNo(const QString& text, const QString& title) override {
    Record({Box::ask, text, title});
    if (answers.empty()) return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
  }
  bool AskYesNoDefaultNo(const QString& text, const QString& title) override {
    return AskYesNo(text, title);
  }
  void Error(const QString& text) override { Record({Box::error, text, {}}); }
  // A typed text: the next of `texts`, or cancelled when none is left.
  std::optional<QString> AskText(const QString& label, const QString& title) override {
    Record({Box::ask_text, label, title});
    if (texts.empty()) return std::nullopt;
    QString text = texts.front();
    texts.pop_front();
    return text;
  }

  // The next of `choices`, or the last button (cancel) when none is left.
  int Choose(const QString& text, const QString& title, const QStringList& buttons) override {
    Record({Box::choose, text, title});
    last_choices = buttons;
    if (choices.empty()) return static_cast<int>(buttons.size()) - 1;
    const int choice = choices.front();
    choices.pop_front();
    return choice;
  }

  QStringList Texts() const {
    QStringList out;
    for (const Box& box : boxes) out << box.text;
    return out;
  }

  std::vector<Box> boxes;
  std::deque<bool> answers;   // Yes/No answers, in order; No when none left
  std::deque<QString> texts;  // typed texts, in order; cancelled when none left
  std::deque<int> choices;    // buttons pressed in Choose, in order
  QStringList last_choices;   // the buttons the last Choose offered
  std::function<void(const Box&)> on_box;

 private:
  void Record(const Box& box) {
    boxes.push_back(box);
    if (on_box) on_box(box);
  }
};

}  // namespace zelk::test
