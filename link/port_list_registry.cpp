// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "link/port_list.h"

namespace zelk {
namespace {

constexpr DWORD kMaxValueName = 16384;  // the registry's limit, terminator included

// A value's string data up to its first NUL; empty when it is no string or
// cannot be read.
std::string ReadString(HKEY key, const std::string& name) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    return {};
  }
  std::vector<char> data(size);
  if (size == 0 || RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                    reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS) {
    return {};
  }
  if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
  const std::size_t length = std::min<std::size_t>(size, data.size());
  return std::string(data.data(), std::find(data.data(), data.data() + length, '\0'));
}

}  // namespace

std::vector<std::string> ListSerialPorts() {
  std::vector<std::string> ports;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return ports;
  }
  // Names first, in the registry's own order, then each value's data: the
  // items are the port names the drivers registered, neither sorted nor
  // de-duplicated.
  std::vector<std::string> names;
  std::vector<char> name(kMaxValueName);
  for (DWORD index = 0;; ++index) {
    DWORD length = kMaxValueName;
    if (RegEnumValueA(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    names.emplace_back(name.data(), length);
  }
  for (const std::string& value_name : names) ports.push_back(ReadString(key, value_name));
  RegCloseKey(key);
  return ports;
}

}  // namespace zelk
