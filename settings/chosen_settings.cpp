// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/chosen_settings.h"

namespace zelk {

SettingsBlock TakeSettings(const SettingsBlock& module, const SettingsBlock& from,
                           std::span<const SettingIndex> chosen) {
  SettingsBlock block = module;
  for (SettingIndex setting : chosen) {
    const SettingRow& row = kSettings.at(setting);
    if (row.kind == SettingKind::option) {
      block[row.offset] = static_cast<std::uint8_t>((block[row.offset] & ~row.mask) |
                                                    (from[row.offset] & row.mask));
      continue;
    }
    for (std::size_t i = 0; i < row.width; ++i) block[row.offset + i] = from[row.offset + i];
  }
  KeepStartMixWithinLimit(block);
  return block;
}

}  // namespace zelk
