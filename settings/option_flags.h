// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The flags byte at offset 0 of the settings block: four options the
// technician switches with check boxes (their rows in settings/settings_table.h),
// and two status bits the module sets when its MAP and RPM programs have run.
// Bits 2 and 3 are the module's own; the program carries them unchanged.

#include <array>
#include <cstdint>
#include <string_view>

#include "text/translatable.h"

namespace zelk {

// The lambda value's unit: the wide-band box switches it.
constexpr std::string_view LambdaUnitCaption(bool wide_band) {
  return wide_band ? QT_TRANSLATE_NOOP("Settings", "V ") : QT_TRANSLATE_NOOP("Settings", "mV ");
}

// The lamps of the module's status bits (app/setting_widgets.h has their
// widgets, by their index here).
struct StatusLamp {
  std::string_view caption;
  std::uint8_t mask;  // green when set, red when clear
};

inline constexpr std::array<StatusLamp, 2> kStatusLamps{{
    {QT_TRANSLATE_NOOP("Settings", "MAP Progr."), 0x01},
    {QT_TRANSLATE_NOOP("Settings", "UPM Progr."), 0x02},
}};

constexpr std::uint8_t WithFlag(std::uint8_t flags, std::uint8_t mask, bool set) {
  return static_cast<std::uint8_t>(set ? (flags | mask) : (flags & ~mask));
}

}  // namespace zelk
