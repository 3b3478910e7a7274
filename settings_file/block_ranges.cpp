// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_file/block_ranges.h"

#include "monitor/idle_period.h"
#include "monitor/idle_rpm.h"
#include "settings/number_text.h"
#include "settings/settings_table.h"
#include "settings/settings_values.h"
#include "settings_file/file_settings.h"
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
  const double limite_corr = SettingValue(kSettingRows[kLimiteCorr], block);
  for (std::size_t index = 0; index < kSettingCount; ++index) {
    const SettingRow& row = kSettingRows[index];
    const double value = SettingValue(row, block);
    if (InSettingRange(row, value, limite_corr)) continue;
    outside.push_back(OutsideItsRange(SettingTitle(row), row.name, value, row.min,
                                      row.max_is_limite_corr ? limite_corr : row.max));
  }
  const double idle_rpm =
      ParseDecimal(DecodeIdleRpm(block, '.'), '.').value_or(0);  // "0" for no period
  if (!(idle_rpm >= kIdleRpmMin && idle_rpm <= kIdleRpmMax)) {
    outside.push_back(OutsideItsRange(QT_TRANSLATE_NOOP("SettingsFile", "Idle RPM"), kIdleRpmName,
                                      idle_rpm, kIdleRpmMin, kIdleRpmMax));
  }
  return outside;
}

}  // namespace zelk
