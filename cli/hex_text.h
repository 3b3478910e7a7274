#pragma once
// Bytes as text for zelkctl's output and trace.

#include <cstdint>
#include <span>
#include <string>

namespace zelk::cli {

// Lower-case hex pairs without separators: {0x02, 0x0A} -> "020a".
std::string HexPairs(std::span<const std::uint8_t> bytes);

// Lower-case hex pairs separated by spaces: {0x02, 0x0A} -> "02 0a".
std::string SpacedHex(std::span<const std::uint8_t> bytes);

}  // namespace zelk::cli
