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

// At most `max` bytes of `text`, with "..." when it was longer: for quoting a
// token of unbounded length in a message.
std::string Excerpt(std::string_view text, std::size_t max = 40);

}  // namespace zelk::cli
