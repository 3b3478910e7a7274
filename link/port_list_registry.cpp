// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>
// The GUID's definition needs initguid.h first.
#include <initguid.h>
//
#include <devguid.h>
#include <setupapi.h>

#include <algorithm>
#include <map>
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

// UTF-8 of a NUL-terminated wide text of at most `length` characters.
std::string Utf8(const wchar_t* text, std::size_t length) {
  const std::size_t end = std::find(text, text + length, L'\0') - text;
  if (end == 0) return {};
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(end), nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(end), out.data(), size, nullptr, nullptr);
  return out;
}

// The device's "PortName" value (COM7) from its hardware key, or empty.
std::string PortNameOf(HDEVINFO devices, SP_DEVINFO_DATA& device) {
  HKEY key = SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
  if (key == INVALID_HANDLE_VALUE) return {};
  const std::string name = ReadString(key, "PortName");
  RegCloseKey(key);
  return name;
}

// Device Manager's name of the device ("USB-SERIAL CH340 (COM7)"), or empty.
std::string FriendlyNameOf(HDEVINFO devices, SP_DEVINFO_DATA& device) {
  DWORD type = 0;
  DWORD size = 0;
  SetupDiGetDeviceRegistryPropertyW(devices, &device, SPDRP_FRIENDLYNAME, &type, nullptr, 0, &size);
  if (size == 0 || size > 4096) return {};
  std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
  if (!SetupDiGetDeviceRegistryPropertyW(devices, &device, SPDRP_FRIENDLYNAME, &type,
                                         reinterpret_cast<BYTE*>(text.data()), size, nullptr) ||
      type != REG_SZ) {
    return {};
  }
  return Utf8(text.data(), text.size());
}

// The friendly names of the present devices of the Ports class, by port name.
// The SERIALCOMM list stays the authority on which ports exist: a port of
// another class (a modem) or one the device manager cannot describe keeps
// its bare name.
std::map<std::string, std::string> FriendlyNamesByPort() {
  std::map<std::string, std::string> names;
  HDEVINFO devices = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
  if (devices == INVALID_HANDLE_VALUE) return names;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof(device);
  for (DWORD index = 0; SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
    std::string port = PortNameOf(devices, device);
    if (port.empty()) continue;
    std::string friendly = FriendlyNameOf(devices, device);
    if (!friendly.empty()) names.emplace(std::move(port), std::move(friendly));
  }
  SetupDiDestroyDeviceInfoList(devices);
  return names;
}

}  // namespace

bool UnlistedPortExists(const std::string& port_name) {
  if (port_name.empty() || port_name.find_first_of("\\/:") != std::string::npos) return false;
  char target[1024];
  return QueryDosDeviceA(port_name.c_str(), target, sizeof target) != 0 ||
         GetLastError() == ERROR_INSUFFICIENT_BUFFER;  // there, with a long target
}

std::vector<ListedPort> ListDescribedSerialPorts() {
  const std::map<std::string, std::string> friendly = FriendlyNamesByPort();
  std::vector<ListedPort> ports;
  for (std::string& name : ListSerialPorts()) {
    const auto found = friendly.find(name);
    std::string description = found != friendly.end() ? found->second : std::string();
    ports.push_back({std::move(name), std::move(description)});
  }
  return ports;
}

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
