// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/serial_line.h"

#include "text/translatable.h"

namespace zelk {

std::string DescribeOpenError(OpenError error) {
  switch (error) {
    case OpenError::none:
      return QT_TRANSLATE_NOOP("Link", "no error");
    case OpenError::not_found:
      return QT_TRANSLATE_NOOP("Link", "no such port");
    case OpenError::busy:
      return QT_TRANSLATE_NOOP("Link", "the port is in use by another program");
    case OpenError::permission_denied:
      return QT_TRANSLATE_NOOP("Link",
                               "permission denied (on Linux, add the user to the dialout group)");
    case OpenError::not_a_serial_port:
      return QT_TRANSLATE_NOOP("Link", "not a serial port");
    case OpenError::invalid_name:
      return QT_TRANSLATE_NOOP("Link", "no usable port name given");
    case OpenError::other:
      break;
  }
  return QT_TRANSLATE_NOOP("Link", "the port could not be opened");
}

}  // namespace zelk
