// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_table.h"

#include <gtest/gtest.h>

#include "settings/number_text.h"
#include "settings/settings_values.h"

#include <bit>
#include <cmath>
#include <initializer_list>
#include <string>
#include <utility>

namespace zelk {
namespace {

// A block that a read could have left: every byte distinct and nonzero, so a
// stray write shows up.
SettingsBlock PatternBlock() {
  SettingsBlock block{};
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(0xA0 + i);
  return block;
}

const SettingRow& Row(std::string_view name) {
  const SettingRow* row = FindSetting(name);
  EXPECT_NE(row, nullptr) << name;
  return row ? *row : kSettings[0];
}

struct CodecCase {
  const char* name;
  const char* text;  // as entered
  char sep;
  std::initializer_list<std::pair<std::size_t, int>> bytes;  // offset, stored byte
  const char* shown;                                         // after reading those bytes back
};

TEST(SettingsTable, EncodesAndReadsBack) {
  const CodecCase cases[] = {
      {"tempo_partida", "1000", '.', {{12, 196}, {13, 4}}, "1000"},
      {"tempo_partida", "4000", '.', {{12, 14}, {13, 19}}, "4000"},
      {"tempo_partida", "0", '.', {{12, 0}, {13, 0}}, "0"},
      {"tempo_ajuste", "50", '.', {{24, 238}}, "49"},
      {"tempo_ajuste", "10", '.', {{24, 48}}, "10"},
      {"tempo_ajuste", "12,5", ',', {{24, 60}}, "12"},
      {"porc_mistura", "37", '.', {{14, 24}}, "37.5"},
      {"porc_mistura", "37", ',', {{14, 24}}, "37,5"},
      {"injecao_extra", "10", '.', {{21, 6}}, "9.375"},
      {"injecao_extra", "400", '.', {{21, 0}}, "0"},  // 256 counts: the module gets the low byte
      {"limite_corr", "50", '.', {{3, 32}}, "50"},
      {"tempo_extra", "20", '.', {{20, 12}}, "18.75"},       // 13 would show 20.3125
      {"tempo_extra", "21", '.', {{20, 13}}, "20.3125"},     // out of range: rounded as ever
      {"limite_corr", "10", '.', {{3, 7}}, "10.9375"},       // 6 would show 9.375
      {"tempo_extra", "0.78125", '.', {{20, 1}}, "1.5625"},  // half a count rounds up
      {"var_inicial", "200", '.', {{18, 250}, {19, 0}}, "200"},
      {"var_inicial", "201", '.', {{18, 251}, {19, 0}}, "200.8"},
      {"var_inicial", "200.8", '.', {{18, 251}, {19, 0}}, "200.8"},  // a write reads decimals
      {"var_inicial", "15000", '.', {{18, 62}, {19, 73}}, "15000"},
      {"var_inicial",
       "409.28",
       '.',
       {{18, 0}, {19, 2}},
       "409.6"},  // 511.6 carries into the high byte
      {"var_inicial", "52428", '.', {{18, 255}, {19, 255}}, "52428"},
      {"valor_lambda", "1000", '.', {{22, 51}}, "1000"},
      {"valor_lambda", "450", '.', {{22, 23}}, "450"},
      {"temp_max_cold", "20", '.', {{17, 131}}, "20"},
      {"temp_max_cold", "15", '.', {{17, 146}}, "15"},
      {"temp_max_extra", "60", '.', {{16, 45}}, "60"},
      {"temp_corr", "0", '.', {{15, 188}}, "0"},
      {"temp_corr", "100", '.', {{15, 15}}, "99"},  // 14 would show 102
  };
  for (const CodecCase& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + c.text);
    const SettingRow& row = Row(c.name);
    SettingsBlock block = PatternBlock();
    SettingsBlock expected = PatternBlock();
    for (const auto& [offset, byte] : c.bytes) expected[offset] = static_cast<std::uint8_t>(byte);

    const EncodeResult result = EncodeSetting(row, c.text, c.sep, block);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(block, expected);
    EXPECT_EQ(DecodeSetting(row, block, c.sep), c.shown);
  }
}

TEST(SettingsTable, WritingTheDefaultsAfterARead) {
  const struct {
    const char* name;
    const char* shown;
  } cases[] = {
      {"tempo_partida", "1000"},  {"temp_max_cold", "20"},  {"porc_mistura", "37.5"},
      {"injecao_extra", "9.375"}, {"temp_max_extra", "35"}, {"limite_corr", "50"},
      {"temp_corr", "35"},        {"tempo_ajuste", "49"},   {"valor_lambda", "0"},
      {"var_inicial", "200"},     {"tempo_extra", "0"},
  };
  for (const auto& c : cases) {
    const SettingRow& row = Row(c.name);
    SettingsBlock block{};
    ASSERT_TRUE(EncodeSetting(row, row.default_text, '.', block).ok) << c.name;
    EXPECT_EQ(DecodeSetting(row, block, '.'), c.shown) << c.name;
  }
}

TEST(SettingsTable, AllZeroBlockReads) {
  const SettingsBlock block{};
  for (const SettingRow& row : EditRows()) {
    const bool temperature = row.codec == Codec::kTemperature;
    EXPECT_EQ(DecodeSetting(row, block, '.'), temperature ? "1990" : "0") << row.name;
  }
}

TEST(SettingsTable, FailuresWriteNothingAndSayWhy) {
  const struct {
    const char* name;
    const char* text;
    char sep;
    const char* error;
  } cases[] = {
      {"var_inicial", "abc", '.', "Throtle var. min.: 'abc' is not a valid floating point value"},
      {"var_inicial", "", '.', "Throtle var. min.: '' is not a valid floating point value"},
      {"porc_mistura", "37.5", ',',
       "Start Mix: '37.5' is not a valid floating point value\n"
       "A comma is expected as the decimal separator: 37,5"},
      {"temp_corr", "35.0", '.',
       "Min. Temperature: '35.0' is not a valid integer value"},  // integer write
      {"temp_max_cold", "1e1", '.', "Max. Temp.: '1e1' is not a valid integer value"},
      {"tempo_partida", "60000", '.',
       "Injec. Time 60000 is too high: the module's count would be 73171, beyond 65535"},
      {"var_inicial", "52428.4", '.',
       "Throtle var. min. 52428.4 is too high: the module's count would be 65536, beyond 65535"},
      {"var_inicial", "-1", '.',
       "Throtle var. min. -1 is too low: the module's count would be -1, below 0"},
      {"var_inicial", "1.7e308", '.',
       "Throtle var. min. 1.7e308 does not fit in the module's 16-bit field"},
      {"injecao_extra", "1e300", '.', "Extra Inject. 1e300 cannot be stored in the module's byte"},
  };
  for (const auto& c : cases) {
    SettingsBlock block = PatternBlock();
    const EncodeResult result = EncodeSetting(Row(c.name), c.text, c.sep, block);
    EXPECT_FALSE(result.ok) << c.name << " " << c.text;
    EXPECT_EQ(result.error, c.error);
    EXPECT_EQ(block, PatternBlock()) << c.name << " " << c.text;
  }
}

// Whatever the module holds, the texts a read shows must write back without a
// conversion error or a refusal, under either separator.
TEST(SettingsTable, EveryReadTextWritesBack) {
  for (const SettingRow& row : EditRows()) {
    const std::uint32_t top = row.width == 2 ? 0xFFFF : 0xFF;
    for (const char sep : {'.', ','}) {
      for (std::uint32_t raw = 0; raw <= top; ++raw) {
        SettingsBlock block{};
        block[row.offset] = static_cast<std::uint8_t>(raw & 0xFF);
        if (row.width == 2) block[row.offset + 1] = static_cast<std::uint8_t>(raw >> 8);
        const std::string shown = DecodeSetting(row, block, sep);
        const EncodeResult result = EncodeSetting(row, shown, sep, block);
        ASSERT_TRUE(result.ok) << row.name << " raw " << raw << ": " << result.error;
      }
    }
  }
}

// Percent-64 and the 16-bit throttle scale are exact: a read value writes back
// to the same count.
TEST(SettingsTable, ExactScalesWriteBackTheSameCount) {
  for (const SettingRow& row : EditRows()) {
    if (row.codec != Codec::kPercent64 && row.codec != Codec::kThrottleVariation) continue;
    const std::uint32_t top = row.width == 2 ? 0xFFFF : 0xFF;
    for (std::uint32_t raw = 0; raw <= top; ++raw) {
      SettingsBlock block{};
      block[row.offset] = static_cast<std::uint8_t>(raw & 0xFF);
      if (row.width == 2) block[row.offset + 1] = static_cast<std::uint8_t>(raw >> 8);
      const SettingsBlock read = block;
      ASSERT_TRUE(EncodeSetting(row, DecodeSetting(row, block, '.'), '.', block).ok);
      ASSERT_EQ(block, read) << row.name << " raw " << raw;
    }
  }
}

// A value the entry check accepts is stored as a count whose read back the
// entry check accepts too, at both edges of every range and inside it.
TEST(SettingsTable, AcceptedValuesReadBackInsideTheirRange) {
  for (const SettingRow& row : EditRows()) {
    const double span = row.max - row.min;
    for (const double value : {row.min, row.max, row.min + span / 3, row.min + span / 2,
                               row.max - span / 7, row.min + 0.5, row.max - 0.5}) {
      const bool integer = row.entry == NumberKind::integer;
      const double entered = integer ? std::round(value) : value;
      const std::string text = GeneralText(entered, '.');
      SettingsBlock block = PatternBlock();
      ASSERT_TRUE(EncodeSetting(row, text, '.', block).ok) << row.name << " " << text;
      const double shown = SettingValue(row, block);
      EXPECT_GE(shown, row.min) << row.name << " " << text;
      EXPECT_LE(shown, row.max) << row.name << " " << text;
      // Nearest: the read back is never further from the value than a count
      // of the scale and its truncation allow.
      EXPECT_LE(std::abs(shown - entered), 0.05 * span + 3) << row.name << " " << text;
    }
  }
}

TEST(SettingsTable, StartMixIsKeptWithinTheLimit) {
  const struct {
    int start_mix, limit, kept;
  } cases[] = {{33, 32, 32}, {32, 32, 32}, {7, 32, 7}, {255, 7, 7}};
  for (const auto& c : cases) {
    SettingsBlock block = PatternBlock();
    block[kSettings[kPorcMistura].offset] = static_cast<std::uint8_t>(c.start_mix);
    block[kSettings[kLimiteCorr].offset] = static_cast<std::uint8_t>(c.limit);
    SettingsBlock expected = block;
    expected[kSettings[kPorcMistura].offset] = static_cast<std::uint8_t>(c.kept);
    EXPECT_EQ(KeepStartMixWithinLimit(block), c.kept != c.start_mix) << c.start_mix;
    EXPECT_EQ(block, expected) << c.start_mix;
  }
}

// The range message the technician reads names the limits the check uses:
// each edit box's message is made of its row's min and max, and
// porc_mistura's names the correction value that bounds it instead.
TEST(SettingsTable, RangeMessagesNameTheirRowsLimits) {
  for (const SettingRow& row : EditRows()) {
    const std::string max =
        row.max_is_limite_corr ? "Max Correction Value(%)" : GeneralText(row.max, '.');
    EXPECT_EQ(row.range_message,
              "This value must be between " + GeneralText(row.min, '.') + " and " + max + "!")
        << row.name;
  }
}

// Every setting is found by its own name, and the option boxes share out the
// high nibble of the flags byte; the low one is the module's status bits.
TEST(SettingsTable, NamesAndOptionBits) {
  std::uint8_t bits = 0;
  for (const SettingRow& row : kSettings) {
    EXPECT_EQ(FindSetting(row.name), &row) << row.name;
    if (row.kind != SettingKind::option) continue;
    EXPECT_EQ(bits & row.mask, 0) << row.name;
    EXPECT_EQ(std::popcount(row.mask), 1) << row.name;
    bits = static_cast<std::uint8_t>(bits | row.mask);
  }
  EXPECT_EQ(bits, 0xF0);
  EXPECT_EQ(FindSetting("Label5"), nullptr);
  EXPECT_EQ(FindSetting(""), nullptr);
}

TEST(SettingsTable, OrdersAndLookup) {
  EXPECT_EQ(kWriteOrder[0], kTempoPartida);
  EXPECT_EQ(kWriteOrder[1], kRpmAdj);
  EXPECT_EQ(kReadOrder[1], kPorcMistura);
  EXPECT_EQ(FindSetting("porc_mistura"), &kSettings[kPorcMistura]);
  EXPECT_TRUE(kSettings[kPorcMistura].max_is_limite_corr);
  // The idle RPM has a row, but no edit box's entry check.
  ASSERT_NE(FindSetting("rpm_adj"), nullptr);
  EXPECT_NE(FindSetting("rpm_adj")->kind, SettingKind::edit);
}

}  // namespace
}  // namespace zelk
