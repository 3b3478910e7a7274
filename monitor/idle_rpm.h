// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The idle-RPM step buttons and the RPM calibration factor. Both work on the
// main window's texts only; the module hears of them at the next write.

#include <optional>
#include <string_view>

#include "settings/settings_table.h"
#include "text/translatable.h"

namespace zelk {

inline constexpr int kIdleRpmStepSize = 25;
// The idle RPM's row of the settings table holds the buttons' limits.
inline constexpr int kIdleRpmMin = static_cast<int>(kSettings[kRpmAdj].min);
inline constexpr int kIdleRpmMax = static_cast<int>(kSettings[kRpmAdj].max);
inline constexpr std::string_view kIdleRpmMinMessage =
    QT_TRANSLATE_NOOP("Monitor", "The min. is 600RPM!");
inline constexpr std::string_view kIdleRpmMaxMessage =
    QT_TRANSLATE_NOOP("Monitor", "The max. is 1500RPM!");
inline constexpr std::string_view kIdleRpmWarningTitle = QT_TRANSLATE_NOOP("Monitor", "Warning!");

// The new idle RPM; `warn` asks the window to show the min./max. message
// before it writes the clamped value. Each button checks only its own bound
// and does not snap to the 25-RPM grid.
struct RpmStep {
  int value;
  bool warn;
};

RpmStep IdleRpmDown(int rpm);
RpmStep IdleRpmUp(int rpm);

// The calibration factor cycles 1, 2, 4, 8, 1. Any other value stays as it is.
int NextCalibrationFactor(int cal);

// The idle RPM after the factor moves on from `cal`: halved (truncated) while
// the factor doubles, times 8 when it returns from 8 to 1, so the idle period
// a write sends stays the same apart from the truncation. Empty when nothing
// changes: a factor outside the cycle, or a product beyond the int range.
std::optional<int> RescaleIdleRpm(int cal, int rpm);

}  // namespace zelk
