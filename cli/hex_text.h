// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Bytes as text for zelkctl's output, trace and messages.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zelk::cli {

// Lower-case hex pairs without separators: {0x02, 0x0A} -> "020a".
std::string HexPairs(std::span<const std::uint8_t> bytes);

// Lower-case hex pairs separated by spaces: {0x02, 0x0A} -> "02 0a".
std::string SpacedHex(std::span<const std::uint8_t> bytes);

// Outside text (input lines, port names, system messages) made safe to show
// on a terminal: control bytes and bytes above 0x7e are written as \x1b, so
// no escape sequence reaches the terminal.
std::string TerminalSafe(std::string_view text);

// A person's text (a customer's name, a note) made safe the same way, with
// its UTF-8 letters kept: only control characters and bytes that are not
// UTF-8 are written as \x1b.
std::string TerminalSafeUtf8(std::string_view text);

// At most `max` bytes of `text`, with "..." when it was longer: for quoting a
// token of unbounded length in a message.
std::string Excerpt(std::string_view text, std::size_t max = 40);

}  // namespace zelk::cli
