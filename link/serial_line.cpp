// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/serial_line.h"

namespace zelk {

std::string DescribeOpenError(OpenError error) {
  switch (error) {
    case OpenError::none:
      return "no error";
    case OpenError::not_found:
      return "no such port";
    case OpenError::busy:
      return "the port is in use by another program";
    case OpenError::permission_denied:
      return "permission denied (on Linux, add the user to the dialout group)";
    case OpenError::not_a_serial_port:
      return "not a serial port";
    case OpenError::invalid_name:
      return "no usable port name given";
    case OpenError::other:
      break;
  }
  return "the port could not be opened";
}

}  // namespace zelk
