// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/chosen_settings.h"

#include <gtest/gtest.h>

#include <vector>

namespace zelk {
namespace {

// Every byte differs between the two, each bit of the flags byte too; the
// start mix is within the limit in both and in any mix of the two.
struct TwoBlocks {
  SettingsBlock module{};
  SettingsBlock from{};
  TwoBlocks() {
    for (std::size_t i = 0; i < module.size(); ++i) {
      module[i] = static_cast<std::uint8_t>(0x40 + i);
      from[i] = static_cast<std::uint8_t>(~module[i]);
    }
    const std::size_t mix = kSettings[kPorcMistura].offset;
    const std::size_t limit = kSettings[kLimiteCorr].offset;
    module[mix] = 0x05;
    from[mix] = 0x06;
    module[limit] = 0x30;
    from[limit] = 0x31;
  }
};

// The bytes and bits of `setting`, as a mask over the block.
SettingsBlock MaskOf(SettingIndex setting) {
  SettingsBlock mask{};
  const SettingRow& row = kSettings[setting];
  if (row.kind == SettingKind::option) {
    mask[row.offset] = row.mask;
  } else {
    for (std::size_t i = 0; i < row.width; ++i) mask[row.offset + i] = 0xFF;
  }
  return mask;
}

TEST(ChosenSettings, EachSettingTakesItsOwnBytesOnly) {
  const TwoBlocks blocks;
  for (const SettingRow& row : kSettings) {
    const SettingIndex chosen[] = {row.id};
    const SettingsBlock taken = TakeSettings(blocks.module, blocks.from, chosen);
    const SettingsBlock mask = MaskOf(row.id);
    for (std::size_t i = 0; i < taken.size(); ++i) {
      const auto expected =
          static_cast<std::uint8_t>((blocks.from[i] & mask[i]) | (blocks.module[i] & ~mask[i]));
      EXPECT_EQ(taken[i], expected) << row.name << " byte " << i;
    }
  }
}

TEST(ChosenSettings, NoneChosenIsTheModuleAndAllChosenTheRecordsSettings) {
  const TwoBlocks blocks;
  EXPECT_EQ(TakeSettings(blocks.module, blocks.from, {}), blocks.module);
  std::vector<SettingIndex> all;
  for (const SettingRow& row : kSettings) all.push_back(row.id);
  const SettingsBlock taken = TakeSettings(blocks.module, blocks.from, all);
  SettingsBlock every_mask{};
  for (const SettingRow& row : kSettings) {
    const SettingsBlock mask = MaskOf(row.id);
    for (std::size_t i = 0; i < mask.size(); ++i) every_mask[i] |= mask[i];
  }
  for (std::size_t i = 0; i < taken.size(); ++i) {
    const auto expected = static_cast<std::uint8_t>((blocks.from[i] & every_mask[i]) |
                                                    (blocks.module[i] & ~every_mask[i]));
    EXPECT_EQ(taken[i], expected) << "byte " << i;
  }
}

TEST(ChosenSettings, ALowerLimitTakenAloneHoldsTheModulesStartMix) {
  TwoBlocks blocks;
  const std::size_t mix = kSettings[kPorcMistura].offset;
  const std::size_t limit = kSettings[kLimiteCorr].offset;
  blocks.module[mix] = 0x20;
  blocks.from[limit] = 0x10;
  const SettingIndex chosen[] = {kLimiteCorr};
  const SettingsBlock taken = TakeSettings(blocks.module, blocks.from, chosen);
  EXPECT_EQ(taken[limit], 0x10);
  EXPECT_EQ(taken[mix], 0x10);
}

}  // namespace
}  // namespace zelk
