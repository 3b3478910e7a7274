// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/option_flags.h"

#include <gtest/gtest.h>

#include "settings/settings_table.h"

namespace zelk {
namespace {

// A read sets each box from its bit and each box then writes its bit back:
// the working flags must end equal to the byte read, bits 0 to 3 included.
TEST(OptionFlags, BoxesCarryTheFlagsByteUnchanged) {
  for (int read = 0; read < 256; ++read) {
    std::uint8_t working = static_cast<std::uint8_t>(read);
    for (const SettingRow& box : OptionRows()) {
      working = WithFlag(working, box.mask, (read & box.mask) != 0);
    }
    EXPECT_EQ(working, read);
  }
}

TEST(OptionFlags, UncheckingEveryBoxKeepsTheModuleBits) {
  std::uint8_t working = 0xFF;
  for (const SettingRow& box : OptionRows()) working = WithFlag(working, box.mask, false);
  EXPECT_EQ(working, 0x0F);
  for (const StatusLamp& lamp : kStatusLamps) EXPECT_NE(working & lamp.mask, 0);
}

TEST(OptionFlags, WideBandSwitchesTheLambdaUnit) {
  EXPECT_EQ(LambdaUnitCaption(true), "V ");
  EXPECT_EQ(LambdaUnitCaption(false), "mV ");
}

}  // namespace
}  // namespace zelk
