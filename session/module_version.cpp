// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/module_version.h"

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

}  // namespace zelk
