// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include <exception>

#include "app/messages.h"

namespace zelk {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowHandlerException(messages_, QString::fromUtf8(error.what()));
  } catch (...) {
    ShowHandlerException(messages_, QCoreApplication::translate("Messages", "Unknown error"));
  }
  return false;
}

void ShowHandlerException(Messages* messages, const QString& text) {
  if (messages != nullptr) {
    messages->Error(text);
  } else {
    BoxMessages().Error(text);
  }
}

}  // namespace zelk
