// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The flags byte at offset 0 of the settings block: four options the
// technician switches with check boxes, and two status bits the module sets
// when its MAP and RPM programs have run. Bits 2 and 3 are the module's own;
// the program carries them unchanged.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "text/translatable.h"

namespace zelk {

struct OptionBox {
  std::string_view name;  // the check box
  std::string_view caption;
  std::string_view hint;
  std::uint8_t mask;
  // Controls enabled while the box is checked and disabled while it is not.
  std::span<const std::string_view> edits;
  std::span<const std::string_view> labels;
  std::span<const std::string_view> other_controls;
};

namespace option_controls {
inline constexpr std::array<std::string_view, 2> kHeatEdits{"injecao_extra", "temp_max_extra"};
inline constexpr std::array<std::string_view, 4> kHeatLabels{"Label11", "Label12", "Label13",
                                                             "Label14"};
inline constexpr std::array<std::string_view, 2> kSondaEdits{"tempo_ajuste", "valor_lambda"};
inline constexpr std::array<std::string_view, 4> kSondaLabels{"Label17", "Label18", "Label19",
                                                              "Label20"};
inline constexpr std::array<std::string_view, 1> kSondaOthers{"banda_larga"};
inline constexpr std::array<std::string_view, 2> kQuickEdits{"var_inicial", "tempo_extra"};
inline constexpr std::array<std::string_view, 4> kQuickLabels{"Label1", "Label2", "Label3",
                                                              "Label4"};
}  // namespace option_controls

enum OptionIndex : std::size_t { kHeatEn, kSondaEn, kAcelRapidaEn, kBandaLarga, kOptionCount };

inline constexpr std::array<OptionBox, kOptionCount> kOptionBoxes{{
    {"heat_en",
     QT_TRANSLATE_NOOP("Settings", "Engine Heating "),
     QT_TRANSLATE_NOOP("Settings", "Activate Extra Fuel Injection when Engine Running Cold"),
     0x80,
     option_controls::kHeatEdits,
     option_controls::kHeatLabels,
     {}},
    {"sonda_en", QT_TRANSLATE_NOOP("Settings", "Oxygen Sensor Freeze"),
     QT_TRANSLATE_NOOP("Settings", "Used for low variation oxygen sensor / 1 wire oxygen sensor"),
     0x10, option_controls::kSondaEdits, option_controls::kSondaLabels,
     option_controls::kSondaOthers},
    {"acel_rapida_en",
     QT_TRANSLATE_NOOP("Settings", "Quick Throtle"),
     QT_TRANSLATE_NOOP("Settings", "Activate Extra Injection on Quick Throtle"),
     0x40,
     option_controls::kQuickEdits,
     option_controls::kQuickLabels,
     {}},
    // The wide-band box enables nothing; it only changes the lambda unit label.
    {"banda_larga",
     QT_TRANSLATE_NOOP("Settings", "WideBand Sensor"),
     QT_TRANSLATE_NOOP("Settings", "WideBand Sensor Freeze Correction"),
     0x20,
     {},
     {},
     {}},
}};

constexpr std::string_view LambdaUnitCaption(bool wide_band) {
  return wide_band ? QT_TRANSLATE_NOOP("Settings", "V ") : QT_TRANSLATE_NOOP("Settings", "mV ");
}

struct StatusLamp {
  std::string_view name;
  std::string_view caption;
  std::uint8_t mask;  // green when set, red when clear
};

inline constexpr std::array<StatusLamp, 2> kStatusLamps{{
    {"map_prg", QT_TRANSLATE_NOOP("Settings", "MAP Progr."), 0x01},
    {"rpm_prg", QT_TRANSLATE_NOOP("Settings", "UPM Progr."), 0x02},
}};

constexpr std::uint8_t WithFlag(std::uint8_t flags, std::uint8_t mask, bool set) {
  return static_cast<std::uint8_t>(set ? (flags | mask) : (flags & ~mask));
}

}  // namespace zelk
