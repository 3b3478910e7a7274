// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every setting the main window shows in an edit box: where it sits in the
// settings block, how it converts, the range the entry check enforces and the
// texts around its box. The windows loop over these rows; the control names
// are the names of the edits and labels in the main window.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "settings/setting_codecs.h"
#include "settings/settings_block.h"
#include "text/translatable.h"

namespace zelk {

enum class NumberKind { integer, decimal };

struct SettingRow {
  std::string_view name;  // the edit box
  std::string_view group;
  std::string_view caption_label;
  std::string_view caption;
  std::string_view unit_label;
  std::string_view unit;
  std::string_view default_text;
  std::string_view hint;
  std::size_t offset;  // in the settings block
  std::size_t width;   // 1 or 2 bytes, 16-bit values low byte first
  NumberKind entry;    // conversion used when the user leaves the box
  NumberKind write;    // conversion used by a write
  double min;
  double max;
  bool max_is_limite_corr;  // the upper bound is the current value of limite_corr
  std::string_view range_message;
  Codec codec;
};

// Row indices, in the order of the table below.
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
  kSettingCount
};

inline constexpr std::array<SettingRow, kSettingCount> kSettingRows{{
    {"tempo_partida", "partida_frio", "Label5", QT_TRANSLATE_NOOP("Settings", "Injec. Time "),
     "Label6", QT_TRANSLATE_NOOP("Settings", "ms "), "1000",
     QT_TRANSLATE_NOOP("Settings", "Time of Cold Start Injection"), 12, 2, NumberKind::integer,
     NumberKind::decimal, 0, 4000, false,
     QT_TRANSLATE_NOOP("Settings", "This value must be between 0 and 4000!"),
     Codec::kColdStartTime},
    {"temp_max_cold", "partida_frio", "Label7", QT_TRANSLATE_NOOP("Settings", "Max. Temp."),
     "Label8", QT_TRANSLATE_NOOP("Settings", "C "), "20",
     QT_TRANSLATE_NOOP("Settings", "Max. temperature for Cold Start Injection"), 17, 1,
     NumberKind::integer, NumberKind::integer, 15, 35, false,
     QT_TRANSLATE_NOOP("Settings", "This value must be between 15 and 35!"), Codec::kTemperature},
    {"porc_mistura", "partida_frio", "Label9", QT_TRANSLATE_NOOP("Settings", "Start Mix "),
     "Label10", QT_TRANSLATE_NOOP("Settings", "% "), "37",
     QT_TRANSLATE_NOOP("Settings", "Porc. of the Mixture of Fuel where Cold Start Enters"), 14, 1,
     NumberKind::decimal, NumberKind::decimal, 10, 50, true,
     QT_TRANSLATE_NOOP("Settings", "This value must be between 10 and Max Correction Value(%)!"),
     Codec::kPercent64},
    {"injecao_extra", "aquecimento", "Label11", QT_TRANSLATE_NOOP("Settings", "Extra Inject."),
     "Label12", QT_TRANSLATE_NOOP("Settings", "% "), "10",
     QT_TRANSLATE_NOOP("Settings", " Extra Fuel Injection on Engine Heating"), 21, 1,
     NumberKind::decimal, NumberKind::decimal, 0, 10, false,
     QT_TRANSLATE_NOOP("Settings", "This value must be between 0 and 10!"), Codec::kPercent64},
    {"temp_max_extra", "aquecimento", "Label13", QT_TRANSLATE_NOOP("Settings", "Max Temp."),
     "Label14", QT_TRANSLATE_NOOP("Settings", "C "), "35",
     QT_TRANSLATE_NOOP("Settings",
                       "Max. Engine Temperature of Extra Fuel Injection on Engine Heating"),
     16, 1, NumberKind::integer, NumberKind::integer, 35, 60, false,
     QT_TRANSLATE_NOOP("Settings", "This value must be between 35 and 60!"), Codec::kTemperature},
    {"limite_corr", "correcao", "Label15", QT_TRANSLATE_NOOP("Settings", "Max. Correction "),
     "Label16", QT_TRANSLATE_NOOP("Settings", "% "), "50",
     QT_TRANSLATE_NOOP("Settings", "Max. % for automatic correction"), 3, 1, NumberKind::decimal,
     NumberKind::decimal, 10, 50, false,
     QT_TRANSLATE_NOOP("Settings", "This value must be between 10 and 50!"), Codec::kPercent64},
    {"temp_corr", "correcao", "Label23", QT_TRANSLATE_NOOP("Settings", "Min. Temperature"),
     "Label24", QT_TRANSLATE_NOOP("Settings", "C "), "35",
     QT_TRANSLATE_NOOP("Settings", "Min. temperature of engine to start automatic correction"), 15,
     1, NumberKind::integer, NumberKind::integer, 0, 100, false,
     QT_TRANSLATE_NOOP("Settings", "This value must be between 0 and 100!"), Codec::kTemperature},
    {"tempo_ajuste", "sonda", "Label18", QT_TRANSLATE_NOOP("Settings", "Adjust Time "), "Label19",
     QT_TRANSLATE_NOOP("Settings", "s "), "50",
     QT_TRANSLATE_NOOP("Settings", "Time to detect a non variation of the Oxygen Sensor"), 24, 1,
     NumberKind::integer, NumberKind::decimal, 10, 50, false,
     QT_TRANSLATE_NOOP("Settings", "This value must be between 10 and 50!"), Codec::kAdjustTime},
    {"valor_lambda", "sonda", "Label17", QT_TRANSLATE_NOOP("Settings", "Lambda Value "), "Label20",
     QT_TRANSLATE_NOOP("Settings", "mV "), "0",
     QT_TRANSLATE_NOOP("Settings", "Oxygen Sensor V mid value "), 22, 1, NumberKind::integer,
     NumberKind::decimal, 0, 1000, false,
     QT_TRANSLATE_NOOP("Settings", "This value must be between 0 and 1000!"),
     Codec::kLambdaMillivolts},
    {"var_inicial", "acel_rapida", "Label2", QT_TRANSLATE_NOOP("Settings", "Throtle var. min."),
     "Label3", QT_TRANSLATE_NOOP("Settings", "us "), "200",
     QT_TRANSLATE_NOOP("Settings", "Min. Variation of the fuel injection pulse"), 18, 2,
     NumberKind::integer, NumberKind::decimal, 200, 15000, false,
     QT_TRANSLATE_NOOP("Settings", "This value must be between 200 and 15000!"),
     Codec::kThrottleVariation},
    {"tempo_extra", "acel_rapida", "Label1", QT_TRANSLATE_NOOP("Settings", "Extra Time at 20ms "),
     "Label4", QT_TRANSLATE_NOOP("Settings", "% "), "0",
     QT_TRANSLATE_NOOP("Settings", "% Extra of Fuel Injection on Throtle variation"), 20, 1,
     NumberKind::decimal, NumberKind::decimal, 0, 20, false,
     QT_TRANSLATE_NOOP("Settings", "This value must be between 0 and 20!"), Codec::kPercent64},
}};

// A read fills the edits in this order, before the option boxes, the lamps and
// the idle RPM.
inline constexpr std::array<std::size_t, kSettingCount> kReadOrder{
    kTempoPartida, kPorcMistura, kTempMaxCold, kInjecaoExtra, kTempMaxExtra, kLimiteCorr,
    kTempCorr,     kTempoAjuste, kValorLambda, kVarInicial,   kTempoExtra};

// A write encodes in this order and stops at the first failure, leaving the
// bytes encoded so far in the block. kWriteIdleRpm marks where the idle RPM
// (monitor/idle_period.h, EncodeIdleRpm) is encoded; the flags byte follows
// the last step.
inline constexpr std::size_t kWriteIdleRpm = kSettingCount;
inline constexpr std::array<std::size_t, kSettingCount + 1> kWriteOrder{
    kTempoPartida, kWriteIdleRpm, kPorcMistura, kTempMaxCold, kInjecaoExtra, kTempMaxExtra,
    kLimiteCorr,   kTempCorr,     kTempoAjuste, kValorLambda, kVarInicial,   kTempoExtra};

// The row of the edit with this name, or nullptr.
const SettingRow* FindSetting(std::string_view name);

// The caption without its trailing blanks ("Adjust Time"), to name the
// setting in a message.
std::string_view SettingTitle(const SettingRow& row);

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
