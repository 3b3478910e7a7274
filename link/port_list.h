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

// A listed port as a technician recognises it: the name the system opens and
// what the adapter calls itself, where the system says.
struct ListedPort {
  std::string name;         // "COM7", "ttyUSB0": what is opened
  std::string description;  // "USB-SERIAL CH340 (COM7)", "FT232R USB UART", or empty

  bool operator==(const ListedPort&) const = default;
};

// The ports of ListSerialPorts, in its order, each with its description:
// Windows' friendly name of the device (Device Manager's), Linux's USB product
// name. A port without one keeps an empty description.
std::vector<ListedPort> ListDescribedSerialPorts();

// The port's text in a list, UTF-8: the description with the port's name in
// brackets after it (once: Windows' friendly names carry it already), or the
// bare name.
std::string ListedPortText(const ListedPort& port);

// Whether a port that the list does not name is there all the same: on
// Linux a path typed by hand (/dev/serial/by-id/..., a pseudo-terminal), on
// Windows a DOS device name the registry's list leaves out.
bool UnlistedPortExists(const std::string& port_name);

#ifndef _WIN32
std::vector<std::string> ListSerialPortsFromSysfs(const std::string& sysfs_class_tty);
std::vector<ListedPort> ListDescribedSerialPortsFromSysfs(const std::string& sysfs_class_tty);
#endif

}  // namespace zelk
