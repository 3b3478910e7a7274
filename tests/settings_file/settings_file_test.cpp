// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_file/settings_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "test_blocks.h"

namespace zelk {
namespace {

using testing::DefaultsBlock;
using testing::Hex;

std::string Header(const std::string& rest) {
  return R"({"format": "zelk-settings", "format_version": 1)" + rest + "}";
}

std::string WithBlock(const std::string& settings) {
  return Header(R"(, "block": ")" + Hex(DefaultsBlock()) + R"(", "settings": {)" + settings + "}");
}

std::string ByHand(const std::string& settings) {
  return Header(R"(, "settings": {)" + settings + "}");
}

TEST(SettingsFile, WritesTheBlockAndTheWindowsValues) {
  const std::string text = EncodeSettingsFile(
      MakeSettingsFile(DefaultsBlock(), "2.10", "2026-12-09T10:15:00Z", SaveReason::before_write));
  const std::string expected = std::string(R"({
  "format": "zelk-settings",
  "format_version": 1,
  "module_version": "2.10",
  "saved_at": "2026-12-09T10:15:00Z",
  "reason": "before-write",
  "block": ")") + Hex(DefaultsBlock()) +
                               R"(",
  "settings": {
    "tempo_partida": 1000,
    "temp_max_cold": 20,
    "porc_mistura": 37.5,
    "injecao_extra": 9.375,
    "temp_max_extra": 35,
    "limite_corr": 50,
    "temp_corr": 35,
    "tempo_ajuste": 49,
    "valor_lambda": 0,
    "var_inicial": 200,
    "tempo_extra": 0,
    "rpm_adj": 750,
    "heat_en": true,
    "sonda_en": true,
    "acel_rapida_en": false,
    "banda_larga": false
  }
}
)";
  EXPECT_EQ(text, expected);
}

TEST(SettingsFile, ReadsBackWhatItWrites) {
  for (SaveReason reason :
       {SaveReason::backup, SaveReason::save, SaveReason::before_write, SaveReason::before_restore,
        SaveReason::before_set, SaveReason::read, SaveReason::before_program, SaveReason::prepared,
        SaveReason::before_prepared, SaveReason::before_commissioning}) {
    const SettingsFile written =
        MakeSettingsFile(DefaultsBlock(), "2.10", "2026-12-09T10:15:00Z", reason);
    const DecodedSettingsFile read = DecodeSettingsFile(EncodeSettingsFile(written));
    ASSERT_TRUE(read.file) << read.error;
    EXPECT_EQ(read.file->block, DefaultsBlock());
    EXPECT_EQ(read.file->reason, reason);
    EXPECT_EQ(read.file->module_version, "2.10");
    EXPECT_EQ(read.file->saved_at, "2026-12-09T10:15:00Z");
    EXPECT_EQ(TextsOf(read.file->settings), TextsOf(written.settings));
  }
}

TEST(SettingsFile, AcceptedFiles) {
  std::string upper = Hex(DefaultsBlock());
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  const struct {
    const char* name;
    std::string text;
    bool has_block;
    std::size_t settings_named;
  } cases[] = {
      {"block only", Header(R"(, "block": ")" + Hex(DefaultsBlock()) + "\""), true, 0},
      {"upper-case block", Header(R"(, "block": ")" + upper + "\""), true, 0},
      {"settings agreeing with the block",
       WithBlock(R"("tempo_partida": 1000, "porc_mistura": 37.5, "heat_en": true, "rpm_adj": 750)"),
       true, 4},
      {"the same number written another way", WithBlock(R"("tempo_partida": 1.0e3)"), true, 1},
      {"unknown top-level keys", Header(R"(, "comment": [1, 2], "settings": {"temp_corr": 40})"),
       false, 1},
      {"by hand, at the range ends",
       ByHand(
           R"("tempo_partida": 4000, "var_inicial": 200, "limite_corr": 10, "porc_mistura": 10)"),
       false, 4},
      {"by hand, nothing named", ByHand(""), false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const DecodedSettingsFile read = DecodeSettingsFile(c.text);
    ASSERT_TRUE(read.file) << read.error;
    EXPECT_EQ(read.file->block.has_value(), c.has_block);
    if (c.has_block) {
      EXPECT_EQ(*read.file->block, DefaultsBlock());
    }
    const SettingTexts texts = TextsOf(read.file->settings);
    EXPECT_EQ(static_cast<std::size_t>(std::count_if(texts.begin(), texts.end(),
                                                     [](const auto& t) { return t.has_value(); })),
              c.settings_named);
  }
}

TEST(SettingsFile, RefusedFilesSayWhy) {
  const std::string block = Hex(DefaultsBlock());
  const struct {
    const char* name;
    std::string text;
    std::string error;
  } cases[] = {
      {"not JSON", "{\"format\": ", "not a settings file: not JSON (error at byte 12)"},
      {"empty", "", "not a settings file: not JSON (error at byte 1)"},
      {"a number beyond a double", ByHand(R"("tempo_partida": 1e400)"),
       "not a settings file: a number too large to read"},
      {"not an object", "[1]", "not a settings file: the file is not a JSON object"},
      {"no format", R"({"format_version": 1, "settings": {}})",
       "not a settings file: it has no \"format\""},
      {"another format", R"({"format": "zelk-log", "format_version": 1, "settings": {}})",
       "another format: \"zelk-log\" is not \"zelk-settings\""},
      {"a long format, shortened",
       R"({"format": ")" + std::string(100, 'x') + R"(", "format_version": 1})",
       "another format: \"" + std::string(39, 'x') + "... is not \"zelk-settings\""},
      {"format not a text", R"({"format": 1, "format_version": 1})",
       "another format: 1 is not \"zelk-settings\""},
      {"no version", R"({"format": "zelk-settings", "settings": {}})",
       "the file has no \"format_version\""},
      {"newer version", R"({"format": "zelk-settings", "format_version": 2, "settings": {}})",
       "format_version 2 is newer than this program reads (up to 1)"},
      {"version zero", R"({"format": "zelk-settings", "format_version": 0, "settings": {}})",
       "format_version 0 is not valid"},
      {"version as text", R"({"format": "zelk-settings", "format_version": "1"})",
       "\"format_version\" must be a whole number"},
      {"module version a number", Header(R"(, "module_version": 2.1, "settings": {})"),
       "\"module_version\" must be a text"},
      {"unknown reason", Header(R"(, "reason": "later", "settings": {})"),
       "reason \"later\" is not one of backup, save, before-write, before-restore, before-set, "
       "read, before-program, prepared, before-prepared, before-commissioning"},
      {"short block", Header(R"(, "block": ")" + block.substr(2) + "\""),
       "the block must be 50 hex digits; it has 48 characters"},
      {"long block", Header(R"(, "block": ")" + block + "0\""),
       "the block must be 50 hex digits; it has 51 characters"},
      {"not hex", Header(R"(, "block": ")" + block.substr(0, 10) + "g" + block.substr(11) + "\""),
       "the block must be 50 hex digits; character 11 is not one"},
      {"block a number", Header(R"(, "block": 12)"), "\"block\" must be a text of 50 hex digits"},
      {"neither", Header(""), "the file has neither a block nor settings"},
      {"settings a list", Header(R"(, "settings": [1])"), "\"settings\" must be a JSON object"},
      {"unknown setting", ByHand(R"("temp_corr": 40, "tempo_partid": 1000)"),
       "unknown setting \"tempo_partid\""},
      {"a status lamp is no setting", ByHand(R"("map_prg": true)"), "unknown setting \"map_prg\""},
      {"option as number", ByHand(R"("heat_en": 1)"), "heat_en must be true or false, not 1"},
      {"number as text", ByHand(R"("tempo_partida": "1000")"),
       "tempo_partida must be a number, not \"1000\""},
      {"number as null", ByHand(R"("rpm_adj": null)"), "rpm_adj must be a number, not null"},
      {"above range", ByHand(R"("tempo_partida": 4001)"),
       "tempo_partida: This value must be between 0 and 4000!"},
      {"below range", ByHand(R"("var_inicial": 199)"),
       "var_inicial: This value must be between 200 and 15000!"},
      {"decimal above range", ByHand(R"("tempo_extra": 20.5)"),
       "tempo_extra: This value must be between 0 and 20!"},
      {"start mix over the file's limit", ByHand(R"("limite_corr": 40, "porc_mistura": 40.5)"),
       "porc_mistura: This value must be between 10 and Max Correction Value(%)!"},
      {"start mix over any limit", ByHand(R"("porc_mistura": 51)"),
       "porc_mistura: This value must be between 10 and Max Correction Value(%)!"},
      {"fraction in a whole-number box", ByHand(R"("temp_max_cold": 17.5)"),
       "temp_max_cold: 17.5 is not a whole number"},
      {"disagrees with the block", WithBlock(R"("porc_mistura": 37.5, "tempo_partida": 1230)"),
       "tempo_partida is 1230 in the file, but its block holds 1000"},
      {"option disagrees with the block", WithBlock(R"("acel_rapida_en": true)"),
       "acel_rapida_en is true in the file, but its block holds false"},
      {"idle RPM disagrees with the block", WithBlock(R"("rpm_adj": 751)"),
       "rpm_adj is 751 in the file, but its block holds 750"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const DecodedSettingsFile read = DecodeSettingsFile(c.text);
    EXPECT_FALSE(read.file);
    EXPECT_EQ(read.error, c.error);
  }
}

// A block came from a module: its values are taken as they are, even those the
// window's entry would refuse (a zero temperature byte reads as 1990 C).
TEST(SettingsFile, ABlockIsNotRangeChecked) {
  const std::string text = Header(R"(, "block": ")" + std::string(50, '0') +
                                  R"(", "settings": {"temp_max_cold": 1990, "rpm_adj": 0})");
  const DecodedSettingsFile read = DecodeSettingsFile(text);
  ASSERT_TRUE(read.file) << read.error;
  EXPECT_EQ(*read.file->block, SettingsBlock{});
}

}  // namespace
}  // namespace zelk
