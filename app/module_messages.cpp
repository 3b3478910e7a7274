// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/module_messages.h"

#include "app/messages.h"
#include "app/qt_text.h"

namespace zelk {

namespace {

const QString kFailTitle = QStringLiteral("Fail");

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
  if (!IsOpenFailure(failure)) return ToQString(kCommunicationFailText);
  const QString base = ToQString(kInvalidPortText);
#ifndef _WIN32
  if (NamesTheReason(failure))
    return base + QStringLiteral(": ") + ToQString(DescribeFailure(failure));
#endif
  return base;
}

void InformFailure(Messages& messages, Failure failure) {
  messages.Inform(FailureText(failure), kFailTitle);
}

void InformErrorOpeningPort(Messages& messages) {
  messages.Inform(QStringLiteral("Error Opening Port"), kFailTitle);
}

void InformProgramOk(Messages& messages) {
  messages.Inform(QStringLiteral("Program OK"), QStringLiteral("Program"));
}

}  // namespace zelk
