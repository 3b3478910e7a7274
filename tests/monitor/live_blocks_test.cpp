// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/live_blocks.h"

#include <gtest/gtest.h>

#include <array>

namespace zelk {
namespace {

using Block = std::array<std::uint8_t, kLiveBlockSize>;

// Period 37500 (0x927C), injection 1250 (0x04E2), correction 64, temperature
// byte 128, MAP 255, lambda 128; bytes 4 and 6 unused.
constexpr Block kRunning{0x7C, 0x92, 0xE2, 0x04, 0x11, 64, 0x22, 128, 255, 128};

TEST(LiveBlocks, PollBlockTexts) {
  const struct {
    Block block;
    const char* cal;
    char sep;
    LiveTexts texts;  // temp, map, lambda, corr, rpm, inj
  } cases[] = {
      {Block{}, "1", '.', {"1990", "0.00", "0", "0", "0", "0.0"}},
      {kRunning, "1", '.', {"21", "2.50", "2509", "100", "1000", "1.0"}},
      {kRunning, "2", ',', {"21", "2,50", "2509", "100", "500", "1,0"}},
      {kRunning, " 8 ", '.', {"21", "2.50", "2509", "100", "125", "1.0"}},
      {kRunning, "x", '.', {"21", "2.50", "2509", "100", "0", "1.0"}},
      {kRunning, "0", '.', {"21", "2.50", "2509", "100", "0", "1.0"}},
      {kRunning, "-1", '.', {"21", "2.50", "2509", "100", "0", "1.0"}},
      {kRunning, "", '.', {"21", "2.50", "2509", "100", "0", "1.0"}},
      {Block{0xFF, 0xFF, 0xFF, 0xFF, 0, 255, 0, 255, 1, 255},
       "1",
       '.',
       {"-65", "0.01", "5000", "398", "572", "52.4"}},
  };
  for (const auto& c : cases) {
    const LiveTexts t = DecodePollBlock(c.block, c.cal, c.sep);
    SCOPED_TRACE(std::string("cal '") + c.cal + "'");
    EXPECT_EQ(t.temp, c.texts.temp);
    EXPECT_EQ(t.map, c.texts.map);
    EXPECT_EQ(t.lambda, c.texts.lambda);
    EXPECT_EQ(t.corr, c.texts.corr);
    EXPECT_EQ(t.rpm, c.texts.rpm);
    EXPECT_EQ(t.inj, c.texts.inj);
  }
}

TEST(LiveBlocks, InstantBlockReadsItsOwnPositions) {
  // Correction 64 at 0, temperature 128 at 2, MAP 255 at 3, lambda 255 at 4;
  // the rest holds values that would show if the poll layout were used.
  const Block block{64, 0x33, 128, 255, 255, 0x44, 0x55, 0x66, 0x77, 0x88};
  const InstantTexts t = DecodeInstantBlock(block, ',');
  EXPECT_EQ(t.corr, "100");
  EXPECT_EQ(t.temp, "21");
  EXPECT_EQ(t.map, "2,50");
  EXPECT_EQ(t.lambda, "5000");
}

}  // namespace
}  // namespace zelk
