// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_values.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "settings/number_text.h"

namespace zelk {

double SettingValue(const SettingRow& row, ConstSettingsBytes block) {
  // Read back from the shown text, so a value and its text never disagree.
  return ParseDecimal(DecodeSetting(row, block, '.'), '.').value_or(std::nan(""));
}

SettingsValues DecodeSettingsValues(ConstSettingsBytes block) {
  SettingsValues decoded;
  std::copy(block.begin(), block.end(), decoded.block.begin());
  for (const SettingRow& row : EditRows()) decoded.values[row.id] = SettingValue(row, block);
  return decoded;
}

bool InSettingRange(const SettingRow& row, double value, double limite_corr) {
  const double max = row.max_is_limite_corr ? limite_corr : row.max;
  // Written so that a NaN fails the comparison and rejects.
  return row.min <= value && value <= max;
}

}  // namespace zelk
