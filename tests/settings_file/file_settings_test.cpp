// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_file/file_settings.h"

#include <gtest/gtest.h>

#include "test_blocks.h"

namespace zelk {
namespace {

TEST(FileSettings, NamesAndUnitsInFileOrder) {
  const char* names[] = {"tempo_partida",  "temp_max_cold", "porc_mistura",   "injecao_extra",
                         "temp_max_extra", "limite_corr",   "temp_corr",      "tempo_ajuste",
                         "valor_lambda",   "var_inicial",   "tempo_extra",    "rpm_adj",
                         "heat_en",        "sonda_en",      "acel_rapida_en", "banda_larga"};
  ASSERT_EQ(std::size(names), kSettingRowCount);
  for (std::size_t setting = 0; setting < kSettingRowCount; ++setting) {
    EXPECT_EQ(kSettings[setting].name, names[setting]);
    EXPECT_EQ(FindSetting(names[setting]), &kSettings[setting]);
  }
  EXPECT_EQ(FindSetting("rpm_cal"), nullptr);
  EXPECT_EQ(FileSettingUnit(kTempoPartida, false), "ms");
  EXPECT_EQ(FileSettingUnit(kValorLambda, false), "mV");
  EXPECT_EQ(FileSettingUnit(kValorLambda, true), "V");
  EXPECT_EQ(FileSettingUnit(kRpmAdj, false), "RPM");
  EXPECT_EQ(FileSettingUnit(kHeatEn, false), "");
}

TEST(FileSettings, Assignments) {
  const struct {
    const char* word;
    const char* error;  // empty: accepted
    const char* text;   // the setting's text afterwards
  } cases[] = {
      {"tempo_partida=1230", "", "1230"},
      {"porc_mistura=37.5", "", "37.5"},
      {"rpm_adj=800", "", "800"},
      {"heat_en=false", "", "false"},
      {"banda_larga=true", "", "true"},
      {"tempo_partida", "'tempo_partida' is not NAME=VALUE", nullptr},
      {"tempo=5", "unknown setting 'tempo'", nullptr},
      {"=5", "unknown setting ''", nullptr},
      {"heat_en=1", "heat_en: '1' is not true or false", nullptr},
      {"heat_en=True", "heat_en: 'True' is not true or false", nullptr},
      {"porc_mistura=37,5", "porc_mistura: '37,5' is not a number", nullptr},
      {"rpm_adj=", "rpm_adj: '' is not a number", nullptr},
      {"tempo_extra=nan", "tempo_extra: 'nan' is not a number", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.word);
    FileSettings settings;
    EXPECT_EQ(AddAssignment(c.word, settings), c.error);
    const SettingTexts texts = TextsOf(settings);
    const std::string word = c.word;
    if (c.text == nullptr) {
      EXPECT_TRUE(settings.empty());
    } else {
      const SettingRow* setting = FindSetting(word.substr(0, word.find('=')));
      ASSERT_TRUE(setting);
      EXPECT_EQ(texts[setting->id], c.text);
    }
  }
}

TEST(FileSettings, DifferencesOnlyWhereBothSay) {
  const SettingTexts module = TextsOf(SettingsOfBlock(testing::DefaultsBlock()));
  FileSettings by_hand;
  by_hand.values[kTempCorr] = 35;        // as the module holds it
  by_hand.values[kTempoPartida] = 1230;  // differs
  by_hand.values[kSondaEn] = false;      // differs
  const std::vector<SettingDifference> differences = CompareSettings(module, TextsOf(by_hand));
  ASSERT_EQ(differences.size(), 2u);
  EXPECT_EQ(differences[0].name, "tempo_partida");
  EXPECT_EQ(differences[0].first, "1000");
  EXPECT_EQ(differences[0].second, "1230");
  EXPECT_EQ(differences[1].name, "sonda_en");
  EXPECT_EQ(differences[1].first, "true");
  EXPECT_EQ(differences[1].second, "false");
  EXPECT_TRUE(CompareSettings(module, module).empty());
}

}  // namespace
}  // namespace zelk
