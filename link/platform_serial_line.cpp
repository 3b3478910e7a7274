// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/frame_link.h"
#include "link/port_name.h"
#include "text/translatable.h"

#ifdef _WIN32
#include "link/win32_serial_line.h"
#else
#include "link/posix_serial_line.h"
#endif

namespace zelk {

OpenResult OpenPlatformSerialLine(const std::string& port_name) {
  if (port_name.empty()) {
    // The bare device path would fail anyway; say why in the technician's terms.
    OpenResult result;
    result.error = OpenError::invalid_name;
    result.detail = QT_TRANSLATE_NOOP("Link", "empty port name");
    return result;
  }
#ifdef _WIN32
  return Win32SerialLine::Open(DevicePathForPort(port_name), kLinkTimeouts);
#else
  return PosixSerialLine::Open(DevicePathForPort(port_name), kLinkTimeouts);
#endif
}

}  // namespace zelk
