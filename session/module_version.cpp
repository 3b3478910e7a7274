// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/module_version.h"

#include <charconv>

namespace zelk {

std::string ModuleVersionText(const ModuleVersion& version) {
  const auto number = [&version](std::size_t index) {
    return version.received > index ? std::to_string(version.numbers[index]) : std::string("?");
  };
  return number(0) + "." + number(1);
}

std::string ModuleVersionText(const std::optional<ModuleVersion>& version) {
  return version ? ModuleVersionText(*version) : std::string();
}

std::optional<int> MajorVersionOf(std::string_view text) {
  const std::size_t dot = text.find('.');
  const std::string_view major = text.substr(0, dot);
  int number = 0;
  const auto [end, error] = std::from_chars(major.data(), major.data() + major.size(), number);
  if (major.empty() || error != std::errc() || end != major.data() + major.size()) {
    return std::nullopt;
  }
  return number;
}

bool OtherMajorVersion(std::string_view file_version, const std::optional<ModuleVersion>& module) {
  const std::optional<int> file_major = MajorVersionOf(file_version);
  if (!file_major || !module || module->received == 0) return false;
  return *file_major != module->numbers[0];
}

}  // namespace zelk
