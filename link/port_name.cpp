// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/port_name.h"

namespace zelk {

std::string DevicePathForPort(const std::string& port_name) {
#ifdef _WIN32
  // The device namespace prefix lets COM10 and above open (plain "COM10" does not).
  return "\\\\.\\" + port_name;
#else
  if (port_name.find('/') != std::string::npos) return port_name;
  return "/dev/" + port_name;  // an empty name gives "/dev/", a directory: it fails to open
#endif
}

}  // namespace zelk
