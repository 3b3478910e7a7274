// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The module's settings as numbers: the block as it came, and for every edit
// box's row of the settings table the value the main window shows for it. Files, logs
// and the command line take these numbers; the windows format the block with
// DecodeSetting, which gives the same values as text.

#include <array>
#include <cstdint>

#include "settings/settings_block.h"
#include "settings/settings_table.h"

namespace zelk {

struct SettingsValues {
  SettingsBlock block{};
  // By edit box's setting: the number DecodeSetting writes (1230, not 1230.02).
  std::array<double, kEditCount> values{};

  double value(SettingIndex edit) const { return values[edit]; }
  std::uint8_t flags() const { return block[kFlagsOffset]; }
  bool option(SettingIndex option) const { return OptionChecked(block, option); }
};

SettingsValues DecodeSettingsValues(ConstSettingsBytes block);

// The row's number as shown after a read of `block`.
double SettingValue(const SettingRow& row, ConstSettingsBytes block);

// The entry range: min..max inclusive, for porc_mistura min..`limite_corr`
// (the current correction limit). A NaN value or limit is out of range.
bool InSettingRange(const SettingRow& row, double value, double limite_corr);

}  // namespace zelk
