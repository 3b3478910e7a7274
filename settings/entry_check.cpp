// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/entry_check.h"

#include <optional>

#include "settings/number_text.h"
#include "settings/settings_values.h"

namespace zelk {

EntryVerdict CheckEntry(const SettingRow& row, std::string_view text, char decimal_separator,
                        double limite_corr_value) {
  std::optional<double> value;
  if (row.entry == NumberKind::integer) {
    if (const auto whole = ParseInteger(text)) value = *whole;
  } else {
    value = ParseDecimal(text, decimal_separator);
  }
  if (!value) return EntryVerdict::conversion_failure;
  return InSettingRange(row, *value, limite_corr_value) ? EntryVerdict::accepted
                                                        : EntryVerdict::range_failure;
}

bool LimitPullsStartMix(std::string_view porc_mistura_text, std::string_view limite_corr_text,
                        char decimal_separator) {
  const auto start_mix = ParseDecimal(porc_mistura_text, decimal_separator);
  const auto limit = ParseDecimal(limite_corr_text, decimal_separator);
  return start_mix && limit && *start_mix > *limit;
}

}  // namespace zelk
