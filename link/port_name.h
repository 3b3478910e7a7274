// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// From the name a technician types or picks to the path the system opens.

#include <string>

namespace zelk {

// Linux: a bare name ("ttyUSB0") lives under /dev/; anything with a '/' is
// taken as a path. Windows: "\\.\" + name, so COM10 and above open too.
// Any length is handled; an empty name gives a path that fails to open.
std::string DevicePathForPort(const std::string& port_name);

}  // namespace zelk
