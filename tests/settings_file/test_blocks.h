// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A block as a module could send it: the window's default texts encoded as a
// write encodes them, an idle RPM of 750, heat_en and sonda_en set, both
// status lamps on and distinct values in the module's own bytes.

#include <string>

#include "monitor/idle_period.h"
#include "settings/settings_block.h"
#include "settings/settings_table.h"

namespace zelk::testing {

inline SettingsBlock DefaultsBlock() {
  SettingsBlock block{};
  for (const SettingRow& row : EditRows()) EncodeSetting(row, row.default_text, '.', block);
  EncodeIdleRpm("750", "1", '.', block);
  block[0] = 0x93;
  block[1] = 0x11;
  block[2] = 0x22;  // the mixture
  for (std::size_t offset = 6; offset <= 11; ++offset)
    block[offset] = static_cast<std::uint8_t>(0x60 + offset);
  block[23] = 0x77;
  return block;
}

inline std::string Hex(const SettingsBlock& block) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (std::uint8_t byte : block) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0x0F];
  }
  return hex;
}

}  // namespace zelk::testing
