// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/module_messages.h"

#include <QCoreApplication>

#include "app/messages.h"
#include "app/qt_text.h"
#include "app/translation.h"

namespace zelk {

namespace {

QString FailTitle() {
  return QCoreApplication::translate("Messages", "Fail");
}

#ifndef _WIN32
// On Linux the usual causes have a remedy the technician can apply (join
// the dialout group, close the other program), so the box names them.
bool NamesTheReason(Failure failure) {
  switch (failure) {
    case Failure::no_such_port:
    case Failure::permission_denied:
    case Failure::port_busy:
    case Failure::not_a_serial_port:
      return true;
    default:
      return false;
  }
}
#endif

}  // namespace

QString FailureText(Failure failure) {
  if (!IsOpenFailure(failure)) return Translated("Session", kCommunicationFailText);
  const QString base = Translated("Session", kInvalidPortText);
#ifndef _WIN32
  if (NamesTheReason(failure))
    return base + QStringLiteral(": ") + TranslatedMessage(DescribeFailure(failure));
#endif
  return base;
}

void InformFailure(Messages& messages, Failure failure) {
  messages.Inform(FailureText(failure), FailTitle());
}

void InformErrorOpeningPort(Messages& messages) {
  messages.Inform(QCoreApplication::translate("Messages", "Error Opening Port"), FailTitle());
}

void InformProgramOk(Messages& messages) {
  messages.Inform(QCoreApplication::translate("Messages", "Program OK"),
                  QCoreApplication::translate("Messages", "Program"));
}

}  // namespace zelk
