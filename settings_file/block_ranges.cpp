// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_file/block_ranges.h"

#include "monitor/idle_period.h"
#include "settings/number_text.h"
#include "settings/settings_table.h"
#include "settings/settings_values.h"
#include "text/fill.h"
#include "text/translatable.h"

namespace zelk {

namespace {

std::string OutsideItsRange(std::string_view caption, std::string_view name, double value,
                            double min, double max) {
  //: A setting's caption, its name in a settings file, its value and its range.
  return Fill(
      QT_TRANSLATE_NOOP("SettingsFile", "%1 (%2) is %3, outside its range %4 to %5"),
      {caption, name, GeneralText(value, '.'), GeneralText(min, '.'), GeneralText(max, '.')});
}

}  // namespace

std::vector<std::string> SettingsOutsideTheirRanges(ConstSettingsBytes block) {
  std::vector<std::string> outside;
  const double limite_corr = SettingValue(kSettings[kLimiteCorr], block);
  for (const SettingRow& row : kSettings) {
    if (row.kind == SettingKind::option) continue;
    const bool edit = row.kind == SettingKind::edit;
    // The idle RPM's range is its step buttons' limits, at calibration factor
    // 1 as a read shows it ("0" for no period).
    const double value =
        edit ? SettingValue(row, block) : ParseDecimal(DecodeIdleRpm(block, '.'), '.').value_or(0);
    if (InSettingRange(row, value, limite_corr)) continue;
    outside.push_back(OutsideItsRange(SettingTitle(row), row.name, value, row.min,
                                      row.max_is_limite_corr ? limite_corr : row.max));
  }
  return outside;
}

}  // namespace zelk
