// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_values.h"

#include <gtest/gtest.h>

#include <cmath>

#include "settings/number_text.h"

namespace zelk {
namespace {

SettingsBlock PatternBlock() {
  SettingsBlock block{};
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(37 * i + 11);
  return block;
}

// Every value is the number of its text: formatting it the window's way gives
// the text back (the general form, or "%.0f" for the cold-start time).
TEST(SettingsValues, EachValueIsItsShownText) {
  for (const SettingsBlock& block : {SettingsBlock{}, PatternBlock()}) {
    const SettingsValues decoded = DecodeSettingsValues(block);
    EXPECT_EQ(decoded.block, block);
    for (const SettingRow& row : EditRows()) {
      SCOPED_TRACE(std::string(row.name));
      const double value = decoded.values[row.id];
      EXPECT_EQ(GeneralText(value, ','), DecodeSetting(row, block, ','));
    }
  }
}

TEST(SettingsValues, KnownValuesAndOptions) {
  SettingsBlock block{};
  block[0] = 0x90;   // heat_en and sonda_en
  block[12] = 0xC4;  // 1220 counts: 1000.4 ms, shown 1000
  block[13] = 0x04;
  block[14] = 24;  // 37.5 %
  const SettingsValues decoded = DecodeSettingsValues(block);
  EXPECT_EQ(decoded.value(kTempoPartida), 1000);
  EXPECT_EQ(decoded.value(kPorcMistura), 37.5);
  EXPECT_EQ(decoded.value(kTempMaxCold), 1990);
  EXPECT_TRUE(decoded.option(kHeatEn));
  EXPECT_TRUE(decoded.option(kSondaEn));
  EXPECT_FALSE(decoded.option(kBandaLarga));
  EXPECT_FALSE(decoded.option(kAcelRapidaEn));
}

TEST(SettingsValues, RangeRules) {
  const struct {
    SettingIndex row;
    double value;
    double limit;
    bool in_range;
  } cases[] = {
      {kTempoPartida, 0, 50, true},
      {kTempoPartida, 4000, 50, true},
      {kTempoPartida, 4000.5, 50, false},
      {kTempMaxCold, 14, 50, false},
      {kPorcMistura, 30, 30, true},
      {kPorcMistura, 30.5, 30, false},
      {kPorcMistura, 20, std::nan(""), false},
      {kLimiteCorr, std::nan(""), 50, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(InSettingRange(kSettings[c.row], c.value, c.limit), c.in_range)
        << kSettings[c.row].name << ' ' << c.value;
  }
}

}  // namespace
}  // namespace zelk
