// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/fill.h"

#include <cstddef>

namespace zelk {

std::string Fill(std::string_view format, std::initializer_list<std::string_view> parts) {
  std::string filled;
  filled.reserve(format.size());
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c == '%' && i + 1 < format.size() && format[i + 1] >= '1' && format[i + 1] <= '9') {
      const auto index = static_cast<std::size_t>(format[i + 1] - '1');
      if (index < parts.size()) {
        filled += *(parts.begin() + index);
        ++i;
        continue;
      }
    }
    filled += c;
  }
  return filled;
}

}  // namespace zelk
