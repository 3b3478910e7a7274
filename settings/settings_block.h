// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The module's 25 settings bytes at addresses 1 to 25, as the program holds
// them, and the byte-level rules every setting shares.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>

namespace zelk {

inline constexpr std::size_t kSettingsBlockSize = 25;

using SettingsBlock = std::array<std::uint8_t, kSettingsBlockSize>;
using SettingsBytes = std::span<std::uint8_t, kSettingsBlockSize>;
using ConstSettingsBytes = std::span<const std::uint8_t, kSettingsBlockSize>;

// Offsets of the bytes that are not edit boxes.
inline constexpr std::size_t kFlagsOffset = 0;
inline constexpr std::size_t kMixtureOffset = 2;     // written alone by the mix program
inline constexpr std::size_t kIdlePeriodOffset = 4;  // 16-bit idle period, low byte first

// The outcome of turning a text into block bytes. On failure nothing was
// written and `error` is the one-line text for the message box.
struct EncodeResult {
  bool ok = true;
  std::string error;

  static EncodeResult Failure(std::string message) { return {false, std::move(message)}; }
};

// 16-bit values are little-endian. An offset without room for both bytes reads
// as 0 and writes nothing.
std::uint16_t ReadWord(ConstSettingsBytes block, std::size_t low_offset);
void WriteWord(SettingsBytes block, std::size_t low_offset, std::uint16_t value);

// Nearest whole number, halves away from zero (0.78125 % on the percent-64
// scale is 0.5 counts and becomes 1). Empty when the value is not finite or
// lies beyond the 64-bit range.
std::optional<std::int64_t> RoundToWhole(double value);

// The low 8 bits of a whole number in two's complement: what the module gets
// when an 8-bit setting is written (256 becomes 0, -1 becomes 255).
inline std::uint8_t LowByte(std::int64_t value) {
  return static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) & 0xFFu);
}

}  // namespace zelk
