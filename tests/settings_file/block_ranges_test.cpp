// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_file/block_ranges.h"

#include <gtest/gtest.h>

#include "test_blocks.h"

namespace zelk {
namespace {

using testing::DefaultsBlock;

TEST(BlockRanges, AModulesBlockHasNothingOutside) {
  EXPECT_TRUE(SettingsOutsideTheirRanges(DefaultsBlock()).empty());
}

// Each setting is named by caption and file name, with its value and range.
TEST(BlockRanges, NamesEverySettingOutside) {
  const struct {
    std::size_t offset;
    std::uint8_t byte;
    const char* says;
  } cases[] = {
      {24, 0, "Adjust Time (tempo_ajuste) is 0, outside its range 10 to 50"},
      {17, 255, "Max. Temp. (temp_max_cold) is -65, outside its range 15 to 35"},
      {18, 0, "Throtle var. min. (var_inicial) is 0, outside its range 200 to 15000"},
      {16, 0, "Max Temp. (temp_max_extra) is 1990, outside its range 35 to 60"},
      {20, 13, "Extra Time at 20ms (tempo_extra) is 20.3125, outside its range 0 to 20"},
      {22, 52, "Lambda Value (valor_lambda) is 1019, outside its range 0 to 1000"},
      {21, 7, "Extra Inject. (injecao_extra) is 10.9375, outside its range 0 to 10"},
      {3, 33, "Max. Correction (limite_corr) is 51.5625, outside its range 10 to 50"},
      // The start mix against the block's own limit (50 %).
      {14, 33, "Start Mix (porc_mistura) is 51.5625, outside its range 10 to 50"},
      {4, 0, "Idle RPM (rpm_adj) is 1665, outside its range 600 to 1500"},
  };
  for (const auto& c : cases) {
    SettingsBlock block = DefaultsBlock();
    block[c.offset] = c.byte;
    if (c.offset == 18) block[19] = 0;
    if (c.offset == 4) block[5] = 0x58;  // 22528: 1665 RPM
    const std::vector<std::string> outside = SettingsOutsideTheirRanges(block);
    ASSERT_EQ(outside.size(), 1u) << c.says;
    EXPECT_EQ(outside[0], c.says);
  }
}

TEST(BlockRanges, ListsAllOfThemInFileOrder) {
  SettingsBlock block = DefaultsBlock();
  block[3] = 16;            // limite_corr 25 %
  block[14] = 17;           // porc_mistura 26.5625 %, above it
  block[24] = 0;            // tempo_ajuste 0
  block[4] = block[5] = 0;  // no idle period
  EXPECT_EQ(SettingsOutsideTheirRanges(block),
            (std::vector<std::string>{
                "Start Mix (porc_mistura) is 26.5625, outside its range 10 to 25",
                "Adjust Time (tempo_ajuste) is 0, outside its range 10 to 50",
                "Idle RPM (rpm_adj) is 0, outside its range 600 to 1500",
            }));
}

}  // namespace
}  // namespace zelk
