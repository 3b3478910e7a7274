// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/port_list.h"

namespace zelk {

std::string ListedPortText(const ListedPort& port) {
  if (port.description.empty()) return port.name;
  const std::string bracketed = "(" + port.name + ")";
  if (port.description.find(bracketed) != std::string::npos) return port.description;
  return port.description + " " + bracketed;
}

}  // namespace zelk
