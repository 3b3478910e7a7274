// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

#include "link/port_list.h"
#include "link/port_name.h"

namespace zelk {
namespace {

// The kernel's names for real serial ports; the many virtual consoles (tty1 ..)
// and pseudo-terminals under the same class are left out.
constexpr std::string_view kSerialPrefixes[] = {"ttyS", "ttyUSB", "ttyACM", "rfcomm"};

bool LooksLikeSerialPort(std::string_view name) {
  return std::any_of(std::begin(kSerialPrefixes), std::end(kSerialPrefixes),
                     [&](std::string_view prefix) { return name.starts_with(prefix); });
}

bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Natural order: runs of digits compare by value, so ttyS2 comes before ttyS10.
bool NaturalLess(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      std::size_t i_end = i;
      std::size_t j_end = j;
      while (i_end < a.size() && IsDigit(a[i_end])) ++i_end;
      while (j_end < b.size() && IsDigit(b[j_end])) ++j_end;
      while (i < i_end - 1 && a[i] == '0') ++i;  // leading zeros do not count
      while (j < j_end - 1 && b[j] == '0') ++j;
      const std::string_view run_a = a.substr(i, i_end - i);
      const std::string_view run_b = b.substr(j, j_end - j);
      if (run_a.size() != run_b.size()) return run_a.size() < run_b.size();
      if (run_a != run_b) return run_a < run_b;
      i = i_end;
      j = j_end;
    } else {
      if (a[i] != b[j]) return a[i] < b[j];
      ++i;
      ++j;
    }
  }
  if (a.size() - i != b.size() - j) return a.size() - i < b.size() - j;
  return a < b;  // equal by value ("ttyS01" vs "ttyS1"): any fixed order
}

// How far up from a port's device its USB device lies: ttyUSB* hang below a
// USB-serial port, below the interface; ttyACM* below the interface.
constexpr int kLevelsToTheUsbDevice = 3;
constexpr std::size_t kMaxProductLength = 126;  // a USB string descriptor's limit

// The first line of a `product` file, without control bytes; empty when
// there is none.
std::string ReadProduct(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return {};
  std::string line;
  char c = 0;
  while (line.size() < kMaxProductLength && in.get(c) && c != '\n') {
    if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) line += c;
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

// The USB product name of the device behind a tty entry, or an empty text
// (a built-in ttyS port has none).
std::string ProductOf(const std::filesystem::path& entry) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path device = fs::canonical(entry / "device", error);
  if (error) return {};
  for (int level = 0; level < kLevelsToTheUsbDevice && !device.empty(); ++level) {
    if (fs::is_regular_file(device / "product", error)) return ReadProduct(device / "product");
    device = device.parent_path();
  }
  return {};
}

}  // namespace

std::vector<ListedPort> ListDescribedSerialPortsFromSysfs(const std::string& sysfs_class_tty) {
  std::vector<ListedPort> ports;
  for (std::string& name : ListSerialPortsFromSysfs(sysfs_class_tty)) {
    std::string product = ProductOf(std::filesystem::path(sysfs_class_tty) / name);
    ports.push_back({std::move(name), std::move(product)});
  }
  return ports;
}

std::vector<std::string> ListSerialPortsFromSysfs(const std::string& sysfs_class_tty) {
  namespace fs = std::filesystem;
  std::vector<std::string> ports;
  std::error_code error;
  fs::directory_iterator entries(sysfs_class_tty, error);
  if (error) return ports;
  for (const fs::directory_entry& entry : entries) {
    const std::string name = entry.path().filename().string();
    if (!LooksLikeSerialPort(name)) continue;
    // Only ports backed by hardware (or a driver) have a `device` link.
    std::error_code link_error;
    if (!fs::exists(fs::symlink_status(entry.path() / "device", link_error))) continue;
    ports.push_back(name);
  }
  std::sort(ports.begin(), ports.end(),
            [](const std::string& a, const std::string& b) { return NaturalLess(a, b); });
  return ports;
}

std::vector<std::string> ListSerialPorts() {
  return ListSerialPortsFromSysfs("/sys/class/tty");
}

bool UnlistedPortExists(const std::string& port_name) {
  if (port_name.empty()) return false;
  std::error_code error;
  return std::filesystem::exists(DevicePathForPort(port_name), error);
}

std::vector<ListedPort> ListDescribedSerialPorts() {
  return ListDescribedSerialPortsFromSysfs("/sys/class/tty");
}

}  // namespace zelk
