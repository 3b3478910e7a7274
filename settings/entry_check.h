// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The check that runs when the technician leaves a setting's edit box. A
// rejected text is replaced by the one the box held on entry; the window shows
// the message that goes with the verdict.

#include <string_view>

#include "settings/settings_table.h"
#include "text/translatable.h"

namespace zelk {

inline constexpr std::string_view kIncorrectValueMessage =
    QT_TRANSLATE_NOOP("Settings", "Incorrect Value!");
inline constexpr std::string_view kIncorrectValueTitle = QT_TRANSLATE_NOOP("Settings", "Error!");
inline constexpr std::string_view kRangeMessageTitle =
    QT_TRANSLATE_NOOP("Settings", "Warning!");  // with row.range_message

enum class EntryVerdict { accepted, conversion_failure, range_failure };

// Converts the text by the row's entry kind and checks the inclusive range. For
// porc_mistura the upper bound is `limite_corr_value`, the decimal value of the
// limite_corr box; pass NaN when that text does not convert, and porc_mistura
// is refused with its range message.
EntryVerdict CheckEntry(const SettingRow& row, std::string_view text, char decimal_separator,
                        double limite_corr_value);

// After an accepted limite_corr: true when the start mix now exceeds the new
// limit, and the window copies the limite_corr text unchanged into
// porc_mistura. A porc_mistura text that does not convert is left alone here;
// the technician meets it at its own box or at the next write.
bool LimitPullsStartMix(std::string_view porc_mistura_text, std::string_view limite_corr_text,
                        char decimal_separator);

}  // namespace zelk
