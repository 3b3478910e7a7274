// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The idle RPM in the settings block: a 16-bit period word at offsets 4 and 5
// in the module's timer ticks, as the live RPM, shown in the rpm_adj box at the
// scale of the current calibration factor.

#include <string>
#include <string_view>

#include "settings/settings_block.h"

namespace zelk {

// rpm_adj after a read, which resets the factor to 1: "0" for a period of 0.
std::string DecodeIdleRpm(ConstSettingsBytes block, char decimal_separator);

// Stores 60000000 / rpm / (cal * tick / 2) (tick: kTimerTickMicroseconds),
// rounded, at offsets 4 and 5.
// `rpm_text` (rpm_adj) converts as a decimal, `cal_text` (rpm_cal) as a whole
// number. Refused, with nothing written: a text that does not convert, an RPM
// or factor of 0 (a division by zero) or below 0, and a period beyond 65535
// (an idle RPM below about 573 at factor 1), which the module cannot hold.
EncodeResult EncodeIdleRpm(std::string_view rpm_text, std::string_view cal_text,
                           char decimal_separator, SettingsBytes block);

}  // namespace zelk
