// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts from the Qt-free code (UTF-8) into the widgets.

#include <QString>
#include <filesystem>
#include <string_view>

namespace zelk {

inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Paths go through UTF-16 both ways: on Windows a narrow path would be read
// in the ANSI code page.
inline QString PathText(const std::filesystem::path& path) {
  return QString::fromStdU16String(path.u16string());
}

}  // namespace zelk
