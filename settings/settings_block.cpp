// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_block.h"

#include <cmath>

namespace zelk {

std::uint16_t ReadWord(ConstSettingsBytes block, std::size_t low_offset) {
  if (low_offset + 1 >= block.size()) return 0;
  return static_cast<std::uint16_t>(block[low_offset] | (block[low_offset + 1] << 8));
}

void WriteWord(SettingsBytes block, std::size_t low_offset, std::uint16_t value) {
  if (low_offset + 1 >= block.size()) return;
  block[low_offset] = static_cast<std::uint8_t>(value & 0xFFu);
  block[low_offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

std::optional<std::int64_t> RoundToWhole(double value) {
  // 2^63 is exact as a double; anything at or beyond it cannot be held.
  constexpr double kLimit = 9223372036854775808.0;
  if (!std::isfinite(value)) return std::nullopt;
  const double whole = std::round(value);
  if (whole >= kLimit || whole < -kLimit) return std::nullopt;
  return static_cast<std::int64_t>(whole);
}

}  // namespace zelk
