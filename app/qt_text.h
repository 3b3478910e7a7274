// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts from the Qt-free code (UTF-8) into the widgets.

#include <QString>
#include <string_view>

namespace zelk {

inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace zelk
