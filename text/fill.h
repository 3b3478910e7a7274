// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A message with parts that vary ("the key %1 is given twice") is written once
// as a format with Qt's %1..%9 places, so the windows can translate the format
// and put the same parts into the translation.

#include <initializer_list>
#include <string>
#include <string_view>

namespace zelk {

// `format` with each %N (1..9) replaced by the Nth of `parts`; a % not
// followed by a digit of a given part stays as it is. Parts are not searched
// again, so a part with %1 in it stays whole.
std::string Fill(std::string_view format, std::initializer_list<std::string_view> parts);

}  // namespace zelk
