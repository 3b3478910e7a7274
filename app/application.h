// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application object: catches what an event handler throws and shows it
// in the standard error box, so a bad text in a box never ends the program.

#include <QApplication>

namespace zelk {

class Messages;

class Application : public QApplication {
 public:
  Application(int& argc, char** argv);
  void SetMessages(Messages* messages) { messages_ = messages; }
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  Messages* messages_ = nullptr;
};

// Shows the text of an exception that escaped a handler.
void ShowHandlerException(Messages* messages, const QString& text);

}  // namespace zelk
