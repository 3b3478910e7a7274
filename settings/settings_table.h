// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every setting the main window shows, in one table: the eleven edit boxes,
// the idle RPM and the four option boxes. A row holds the setting's own name
// (its key in settings files and on zelkctl's command line), where it sits in
// the settings block, how it converts, the range the entry check enforces and
// the texts around its box. The rows are in the order of a settings file;
// reads, writes, files, comparisons and the user guide loop over them. Which
// widgets show a setting is the windows' business (app/setting_widgets.h).

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "settings/setting_codecs.h"
#include "settings/settings_block.h"
#include "text/translatable.h"

namespace zelk {

// A setting's identity, and its row in kSettings: the edit boxes first, then
// the idle RPM and the option boxes, as a settings file lists them.
enum SettingIndex : std::size_t {
  kTempoPartida,
  kTempMaxCold,
  kPorcMistura,
  kInjecaoExtra,
  kTempMaxExtra,
  kLimiteCorr,
  kTempCorr,
  kTempoAjuste,
  kValorLambda,
  kVarInicial,
  kTempoExtra,
  kRpmAdj,
  kHeatEn,
  kSondaEn,
  kAcelRapidaEn,
  kBandaLarga,
  kSettingRowCount
};

enum class SettingKind {
  edit,      // a number typed into a box, checked when the box is left
  idle_rpm,  // the idle speed, set by its step buttons (monitor/idle_period.h)
  option,    // a check box: one bit of the flags byte
};

enum class NumberKind { integer, decimal };

inline constexpr std::string_view kSettingsContext = "Settings";

struct SettingRow {
  SettingIndex id;
  std::string_view name;  // in settings files and zelkctl
  SettingKind kind;
  std::string_view caption;
  std::string_view unit = {};  // beside the box, trailing blank included
  std::string_view hint = {};
  std::size_t offset;     // in the settings block; the flags byte for an option
  std::size_t width = 1;  // 1 or 2 bytes, 16-bit values low byte first
  std::uint8_t mask = 0;  // an option's bit of the flags byte
  // The option box that enables this setting's box while it is checked.
  std::optional<SettingIndex> needs = std::nullopt;
  // An edit box's text before the first read, and its conversions.
  std::string_view default_text = {};
  NumberKind entry = NumberKind::decimal;  // conversion used when the user leaves the box
  NumberKind write = NumberKind::decimal;  // conversion used by a write
  // The inclusive range: the entry check's for an edit box, the step
  // buttons' for the idle RPM.
  double min = 0;
  double max = 0;
  bool max_is_limite_corr = false;  // the upper bound is the current value of limite_corr
  std::string_view range_message = {};
  Codec codec = Codec::kPercent64;
  // The context the row's texts are marked under, by which the windows and
  // the user guide look up their translations.
  std::string_view context = kSettingsContext;
};

inline constexpr std::array<SettingRow, kSettingRowCount> kSettings{{
    {.id = kTempoPartida,
     .name = "tempo_partida",
     .kind = SettingKind::edit,
     .caption = QT_TRANSLATE_NOOP("Settings", "Injec. Time "),
     .unit = QT_TRANSLATE_NOOP("Settings", "ms "),
     .hint = QT_TRANSLATE_NOOP("Settings", "Time of Cold Start Injection"),
     .offset = 12,
     .width = 2,
     .default_text = "1000",
     .entry = NumberKind::integer,
     .write = NumberKind::decimal,
     .min = 0,
     .max = 4000,
     .range_message = QT_TRANSLATE_NOOP("Settings", "This value must be between 0 and 4000!"),
     .codec = Codec::kColdStartTime},
    {.id = kTempMaxCold,
     .name = "temp_max_cold",
     .kind = SettingKind::edit,
     .caption = QT_TRANSLATE_NOOP("Settings", "Max. Temp."),
     .unit = QT_TRANSLATE_NOOP("Settings", "C "),
     .hint = QT_TRANSLATE_NOOP("Settings", "Max. temperature for Cold Start Injection"),
     .offset = 17,
     .default_text = "20",
     .entry = NumberKind::integer,
     .write = NumberKind::integer,
     .min = 15,
     .max = 35,
     .range_message = QT_TRANSLATE_NOOP("Settings", "This value must be between 15 and 35!"),
     .codec = Codec::kTemperature},
    {.id = kPorcMistura,
     .name = "porc_mistura",
     .kind = SettingKind::edit,
     .caption = QT_TRANSLATE_NOOP("Settings", "Start Mix "),
     .unit = QT_TRANSLATE_NOOP("Settings", "% "),
     .hint = QT_TRANSLATE_NOOP("Settings", "Porc. of the Mixture of Fuel where Cold Start Enters"),
     .offset = 14,
     .default_text = "37",
     .entry = NumberKind::decimal,
     .write = NumberKind::decimal,
     .min = 10,
     .max = 50,
     .max_is_limite_corr = true,
     .range_message = QT_TRANSLATE_NOOP(
         "Settings", "This value must be between 10 and Max Correction Value(%)!"),
     .codec = Codec::kPercent64},
    {.id = kInjecaoExtra,
     .name = "injecao_extra",
     .kind = SettingKind::edit,
     .caption = QT_TRANSLATE_NOOP("Settings", "Extra Inject."),
     .unit = QT_TRANSLATE_NOOP("Settings", "% "),
     .hint = QT_TRANSLATE_NOOP("Settings", " Extra Fuel Injection on Engine Heating"),
     .offset = 21,
     .needs = kHeatEn,
     .default_text = "10",
     .entry = NumberKind::decimal,
     .write = NumberKind::decimal,
     .min = 0,
     .max = 10,
     .range_message = QT_TRANSLATE_NOOP("Settings", "This value must be between 0 and 10!"),
     .codec = Codec::kPercent64},
    {.id = kTempMaxExtra,
     .name = "temp_max_extra",
     .kind = SettingKind::edit,
     .caption = QT_TRANSLATE_NOOP("Settings", "Max Temp."),
     .unit = QT_TRANSLATE_NOOP("Settings", "C "),
     .hint = QT_TRANSLATE_NOOP("Settings",
                               "Max. Engine Temperature of Extra Fuel Injection on Engine Heating"),
     .offset = 16,
     .needs = kHeatEn,
     .default_text = "35",
     .entry = NumberKind::integer,
     .write = NumberKind::integer,
     .min = 35,
     .max = 60,
     .range_message = QT_TRANSLATE_NOOP("Settings", "This value must be between 35 and 60!"),
     .codec = Codec::kTemperature},
    {.id = kLimiteCorr,
     .name = "limite_corr",
     .kind = SettingKind::edit,
     .caption = QT_TRANSLATE_NOOP("Settings", "Max. Correction "),
     .unit = QT_TRANSLATE_NOOP("Settings", "% "),
     .hint = QT_TRANSLATE_NOOP("Settings", "Max. % for automatic correction"),
     .offset = 3,
     .default_text = "50",
     .entry = NumberKind::decimal,
     .write = NumberKind::decimal,
     .min = 10,
     .max = 50,
     .range_message = QT_TRANSLATE_NOOP("Settings", "This value must be between 10 and 50!"),
     .codec = Codec::kPercent64},
    {.id = kTempCorr,
     .name = "temp_corr",
     .kind = SettingKind::edit,
     .caption = QT_TRANSLATE_NOOP("Settings", "Min. Temperature"),
     .unit = QT_TRANSLATE_NOOP("Settings", "C "),
     .hint =
         QT_TRANSLATE_NOOP("Settings", "Min. temperature of engine to start automatic correction"),
     .offset = 15,
     .default_text = "35",
     .entry = NumberKind::integer,
     .write = NumberKind::integer,
     .min = 0,
     .max = 100,
     .range_message = QT_TRANSLATE_NOOP("Settings", "This value must be between 0 and 100!"),
     .codec = Codec::kTemperature},
    {.id = kTempoAjuste,
     .name = "tempo_ajuste",
     .kind = SettingKind::edit,
     .caption = QT_TRANSLATE_NOOP("Settings", "Adjust Time "),
     .unit = QT_TRANSLATE_NOOP("Settings", "s "),
     .hint = QT_TRANSLATE_NOOP("Settings", "Time to detect a non variation of the Oxygen Sensor"),
     .offset = 24,
     .needs = kSondaEn,
     .default_text = "50",
     .entry = NumberKind::integer,
     .write = NumberKind::decimal,
     .min = 10,
     .max = 50,
     .range_message = QT_TRANSLATE_NOOP("Settings", "This value must be between 10 and 50!"),
     .codec = Codec::kAdjustTime},
    {.id = kValorLambda,
     .name = "valor_lambda",
     .kind = SettingKind::edit,
     .caption = QT_TRANSLATE_NOOP("Settings", "Lambda Value "),
     .unit = QT_TRANSLATE_NOOP("Settings", "mV "),  // with a wide-band sensor, V: UnitCaption
     .hint = QT_TRANSLATE_NOOP("Settings", "Oxygen Sensor V mid value "),
     .offset = 22,
     .needs = kSondaEn,
     .default_text = "0",
     .entry = NumberKind::integer,
     .write = NumberKind::decimal,
     .min = 0,
     .max = 1000,
     .range_message = QT_TRANSLATE_NOOP("Settings", "This value must be between 0 and 1000!"),
     .codec = Codec::kLambdaMillivolts},
    {.id = kVarInicial,
     .name = "var_inicial",
     .kind = SettingKind::edit,
     .caption = QT_TRANSLATE_NOOP("Settings", "Throtle var. min."),
     .unit = QT_TRANSLATE_NOOP("Settings", "us "),
     .hint = QT_TRANSLATE_NOOP("Settings", "Min. Variation of the fuel injection pulse"),
     .offset = 18,
     .width = 2,
     .needs = kAcelRapidaEn,
     .default_text = "200",
     .entry = NumberKind::integer,
     .write = NumberKind::decimal,
     .min = 200,
     .max = 15000,
     .range_message = QT_TRANSLATE_NOOP("Settings", "This value must be between 200 and 15000!"),
     .codec = Codec::kThrottleVariation},
    {.id = kTempoExtra,
     .name = "tempo_extra",
     .kind = SettingKind::edit,
     .caption = QT_TRANSLATE_NOOP("Settings", "Extra Time at 20ms "),
     .unit = QT_TRANSLATE_NOOP("Settings", "% "),
     .hint = QT_TRANSLATE_NOOP("Settings", "% Extra of Fuel Injection on Throtle variation"),
     .offset = 20,
     .needs = kAcelRapidaEn,
     .default_text = "0",
     .entry = NumberKind::decimal,
     .write = NumberKind::decimal,
     .min = 0,
     .max = 20,
     .range_message = QT_TRANSLATE_NOOP("Settings", "This value must be between 0 and 20!"),
     .codec = Codec::kPercent64},
    // The idle RPM is shown at calibration factor 1 after a read, and files
    // hold it so; its texts are those of the settings files' messages.
    {.id = kRpmAdj,
     .name = "rpm_adj",
     .kind = SettingKind::idle_rpm,
     .caption = QT_TRANSLATE_NOOP("SettingsFile", "Idle RPM"),
     .unit = QT_TRANSLATE_NOOP("SettingsFile", "RPM"),
     .offset = kIdlePeriodOffset,
     .width = 2,
     .min = 600,
     .max = 1500,
     .context = "SettingsFile"},
    {.id = kHeatEn,
     .name = "heat_en",
     .kind = SettingKind::option,
     .caption = QT_TRANSLATE_NOOP("Settings", "Engine Heating "),
     .hint =
         QT_TRANSLATE_NOOP("Settings", "Activate Extra Fuel Injection when Engine Running Cold"),
     .offset = kFlagsOffset,
     .mask = 0x80},
    {.id = kSondaEn,
     .name = "sonda_en",
     .kind = SettingKind::option,
     .caption = QT_TRANSLATE_NOOP("Settings", "Oxygen Sensor Freeze"),
     .hint = QT_TRANSLATE_NOOP("Settings",
                               "Used for low variation oxygen sensor / 1 wire oxygen sensor"),
     .offset = kFlagsOffset,
     .mask = 0x10},
    {.id = kAcelRapidaEn,
     .name = "acel_rapida_en",
     .kind = SettingKind::option,
     .caption = QT_TRANSLATE_NOOP("Settings", "Quick Throtle"),
     .hint = QT_TRANSLATE_NOOP("Settings", "Activate Extra Injection on Quick Throtle"),
     .offset = kFlagsOffset,
     .mask = 0x40},
    // The wide-band box switches the lambda value's unit; it can be checked
    // only while the oxygen sensor freeze is.
    {.id = kBandaLarga,
     .name = "banda_larga",
     .kind = SettingKind::option,
     .caption = QT_TRANSLATE_NOOP("Settings", "WideBand Sensor"),
     .hint = QT_TRANSLATE_NOOP("Settings", "WideBand Sensor Freeze Correction"),
     .offset = kFlagsOffset,
     .mask = 0x20,
     .needs = kSondaEn},
}};

inline constexpr std::size_t kEditCount = 11;
inline constexpr std::size_t kOptionCount = 4;

// The edit boxes' rows and the option boxes' rows, each in table order.
constexpr std::span<const SettingRow, kEditCount> EditRows() {
  return std::span(kSettings).first<kEditCount>();
}
constexpr std::span<const SettingRow, kOptionCount> OptionRows() {
  return std::span(kSettings).last<kOptionCount>();
}

// A read fills the boxes in this order: the edits, the option boxes (each
// one's handler run as the technician's click would run it), the idle RPM.
inline constexpr std::array<SettingIndex, kSettingRowCount> kReadOrder{
    kTempoPartida, kPorcMistura,  kTempMaxCold, kInjecaoExtra, kTempMaxExtra, kLimiteCorr,
    kTempCorr,     kTempoAjuste,  kValorLambda, kVarInicial,   kTempoExtra,   kSondaEn,
    kBandaLarga,   kAcelRapidaEn, kHeatEn,      kRpmAdj};

// A write encodes in this order, the idle RPM second, and stops at the first
// failure, leaving the bytes encoded so far in the block; the option bits of
// the flags byte come last.
inline constexpr std::array<SettingIndex, kSettingRowCount> kWriteOrder{
    kTempoPartida, kRpmAdj,   kPorcMistura,  kTempMaxCold, kInjecaoExtra, kTempMaxExtra,
    kLimiteCorr,   kTempCorr, kTempoAjuste,  kValorLambda, kVarInicial,   kTempoExtra,
    kHeatEn,       kSondaEn,  kAcelRapidaEn, kBandaLarga};

// Whether some setting needs the option box: its box is enabled only while
// the option is checked.
constexpr bool IsNeeded(SettingIndex option) {
  for (const SettingRow& row : kSettings) {
    if (row.needs == option) return true;
  }
  return false;
}

// Whether an option box's bit is set in the flags byte of `block`.
inline bool OptionChecked(ConstSettingsBytes block, SettingIndex option) {
  return (block[kSettings[option].offset] & kSettings[option].mask) != 0;
}

// The row of the setting with this name ("tempo_partida", "rpm_adj",
// "heat_en"), or nullptr.
const SettingRow* FindSetting(std::string_view name);

// The unit shown beside the setting's box, trailing blank included ("ms "):
// the lambda value's is "V " with a wide-band sensor. Empty for an option box.
std::string_view UnitCaption(const SettingRow& row, bool wide_band);

// The caption without its trailing blanks ("Adjust Time"), to name the
// setting in a message.
std::string_view SettingTitle(const SettingRow& row);

// The rest works on the edit boxes' rows.

// "Min. Temperature: 'abc' is not a valid integer value": a text that does not
// convert, named by its setting's caption.
std::string NotASettingValueMessage(const SettingRow& row, std::string_view text, bool integer);

// The edit's text after a read.
std::string DecodeSetting(const SettingRow& row, ConstSettingsBytes block, char decimal_separator);

// Converts the edit's text as a write does and stores its count. A value
// inside the row's range [min, max] is stored as the count nearest to it whose
// shown value (SettingValue) is inside that range too, so a read back passes
// the check the value passed. Any other value is stored as its rounded count:
// an 8-bit count goes in as its low 8 bits, as the module has always received
// it; a 16-bit count outside 0..65535 is refused rather than wrapped. On
// failure the block is untouched and the error names the problem. (For
// porc_mistura the range here is the row's, 10 to 50; KeepStartMixWithinLimit
// then holds it to limite_corr.)
EncodeResult EncodeSetting(const SettingRow& row, std::string_view text, char decimal_separator,
                           SettingsBytes block);

// porc_mistura may not lie above limite_corr. Both use the percent-64 codec,
// so comparing their counts compares their shown values: a porc_mistura count
// above the limite_corr count is lowered to it. True when it was.
bool KeepStartMixWithinLimit(SettingsBytes block);

}  // namespace zelk
