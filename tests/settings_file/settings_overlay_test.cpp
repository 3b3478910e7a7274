// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_file/settings_overlay.h"

#include <gtest/gtest.h>

#include <set>

#include "test_blocks.h"

namespace zelk {
namespace {

using testing::DefaultsBlock;

// The setting bytes, written out here rather than taken from the tables.
const std::set<std::size_t> kSettingOffsets{3,  4,  5,  12, 13, 14, 15, 16,
                                            17, 18, 19, 20, 21, 22, 24};

std::uint8_t ExpectedBits(std::size_t offset) {
  if (offset == 0) return 0xF0;
  return kSettingOffsets.count(offset) != 0 ? 0xFF : 0x00;
}

TEST(SettingsOverlay, WhichBitsAFileOwns) {
  for (std::size_t offset = 0; offset < kSettingsBlockSize; ++offset) {
    EXPECT_EQ(SettingBits(offset), ExpectedBits(offset)) << "offset " << offset;
  }
}

TEST(SettingsOverlay, TheModulesBytesStayOnEveryOffset) {
  SettingsBlock module_block;
  SettingsBlock file_block;
  module_block.fill(0xA5);
  file_block.fill(0x3C);
  const SettingsBlock result = OverlaySettings(module_block, file_block);
  for (std::size_t offset = 0; offset < kSettingsBlockSize; ++offset) {
    const std::uint8_t bits = ExpectedBits(offset);
    EXPECT_EQ(result[offset], (0xA5 & ~bits) | (0x3C & bits)) << "offset " << offset;
  }
  EXPECT_EQ(result[0], 0x35);  // option bits of the file, status bits of the module
}

TEST(SettingsOverlay, SameSettingsLooksOnlyAtSettingBits) {
  const SettingsBlock a = DefaultsBlock();
  EXPECT_TRUE(SameSettings(a, a));
  for (std::size_t offset = 0; offset < kSettingsBlockSize; ++offset) {
    for (int bit = 0; bit < 8; ++bit) {
      SettingsBlock b = a;
      b[offset] = static_cast<std::uint8_t>(b[offset] ^ (1u << bit));
      const bool owned = (ExpectedBits(offset) >> bit & 1) != 0;
      EXPECT_EQ(SameSettings(a, b), !owned) << "offset " << offset << " bit " << bit;
    }
  }
}

// A file without a block changes the bytes of the settings it names and no other.
TEST(SettingsOverlay, NamedSettingsChangeOnlyTheirBytes) {
  const SettingsBlock module_block = DefaultsBlock();
  const auto edit = [](SettingIndex row, double value) {
    FileSettings settings;
    settings.values[row] = value;
    return settings;
  };
  FileSettings idle;
  idle.values[kRpmAdj] = 1000;
  FileSettings options;
  options.values[kHeatEn] = false;
  options.values[kAcelRapidaEn] = true;
  const struct {
    const char* name;
    FileSettings settings;
    std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes;  // offset, new byte
  } cases[] = {
      {"cold start time", edit(kTempoPartida, 1230), {{12, 0xDC}, {13, 0x05}}},  // 1500 counts
      {"start mix", edit(kPorcMistura, 25), {{14, 16}}},
      {"correction limit", edit(kLimiteCorr, 25), {{3, 16}}},
      {"idle RPM", idle, {{4, 0x7C}, {5, 0x92}}},             // 37500 ticks
      {"heat off, quick throttle on", options, {{0, 0x53}}},  // status bits 0x03 kept
      {"nothing", {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const AppliedSettings applied = ApplyFileSettings(c.settings, module_block);
    ASSERT_TRUE(applied.block) << applied.error;
    SettingsBlock expected = module_block;
    for (const auto& [offset, byte] : c.bytes) expected[offset] = byte;
    EXPECT_EQ(*applied.block, expected);
  }
}

TEST(SettingsOverlay, RefusedSettingsChangeNothing) {
  const SettingsBlock module_block = DefaultsBlock();  // limite_corr 50
  SettingsBlock low_limit = module_block;
  low_limit[3] = 19;  // 29.6875 %
  FileSettings start_mix;
  start_mix.values[kPorcMistura] = 30;
  FileSettings both = start_mix;
  both.values[kLimiteCorr] = 30;
  FileSettings slow_idle;
  slow_idle.values[kRpmAdj] = 500;
  FileSettings zero_idle;
  zero_idle.values[kRpmAdj] = 0;
  const struct {
    const char* name;
    FileSettings settings;
    SettingsBlock module_block;
    const char* error;
  } cases[] = {
      {"start mix over the module's limit", start_mix, low_limit,
       "porc_mistura: This value must be between 10 and Max Correction Value(%)!"},
      {"idle RPM too low for the period word", slow_idle, module_block,
       "rpm_adj: Idle RPM 500 is too low: the module's idle period would be 75000, beyond 65535"},
      {"idle RPM zero", zero_idle, module_block,
       "rpm_adj: Idle RPM 0 has no idle period: division by zero"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const AppliedSettings applied = ApplyFileSettings(c.settings, c.module_block);
    EXPECT_FALSE(applied.block);
    EXPECT_EQ(applied.error, c.error);
  }
  // The file's own limit counts, not the module's.
  const AppliedSettings raised = ApplyFileSettings(both, low_limit);
  ASSERT_TRUE(raised.block) << raised.error;
  EXPECT_EQ((*raised.block)[3], 19u);  // 30 % is 19.2 counts
  EXPECT_EQ((*raised.block)[14], 19u);
}

TEST(SettingsOverlay, AFileWithABlockTakesItsSettingBytes) {
  SettingsFile file;
  file.block.emplace();
  file.block->fill(0xFF);  // out of every range: a block is taken as it is
  const AppliedSettings applied = ApplySettingsFile(file, DefaultsBlock());
  ASSERT_TRUE(applied.block) << applied.error;
  EXPECT_EQ(*applied.block, OverlaySettings(DefaultsBlock(), *file.block));
}

}  // namespace
}  // namespace zelk
