// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial ports the operating system knows, for the port box.

#include <string>
#include <vector>

namespace zelk {

// Linux: entries of `sysfs_class_tty` (normally /sys/class/tty) that have a
// `device` link and look like serial ports (ttyS*, ttyUSB*, ttyACM*, rfcomm*),
// sorted by name (natural order: ttyS2 before ttyS10).
// Windows: the string data of the values of HKLM\HARDWARE\DEVICEMAP\SERIALCOMM
// in the registry's enumeration order, unsorted, duplicates and empties kept.
std::vector<std::string> ListSerialPorts();

#ifndef _WIN32
std::vector<std::string> ListSerialPortsFromSysfs(const std::string& sysfs_class_tty);
#endif

}  // namespace zelk
