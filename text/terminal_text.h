// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Outside text (file and folder names, typed words, a customer's name, the
// system's messages, input lines) on its way to a terminal.

#include <string>
#include <string_view>

namespace zelk {

// `text` as it is written, in any script, with what could steer a terminal or
// garble it written as \xNN per byte: the C0 controls (newline and tab
// included), DEL, the C1 controls U+0080..U+009F (some terminals take them as
// escapes), and every byte that is not part of valid UTF-8.
std::string TerminalSafe(std::string_view text);

}  // namespace zelk
