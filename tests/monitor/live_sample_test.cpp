// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/live_sample.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

// Period 37500, injection 1250, correction 64, temperature 128, MAP 255, lambda 128.
constexpr LiveBlock kRunning{0x7C, 0x92, 0xE2, 0x04, 0x11, 64, 0x22, 128, 255, 128};

TEST(LiveSample, PollBlockAsNumbers) {
  const LiveSample sample = DecodePollSample(kRunning, 2);
  ASSERT_TRUE(sample.rpm.has_value());
  EXPECT_DOUBLE_EQ(*sample.rpm, 500.0);
  EXPECT_DOUBLE_EQ(sample.injection_ms, 1.0);
  EXPECT_EQ(sample.correction_pct, 100);
  EXPECT_NEAR(sample.temperature_c, 21.5, 0.5);
  EXPECT_DOUBLE_EQ(sample.map_v, 255 * 0.00980392156862745);
  EXPECT_EQ(sample.lambda_mv, 2509);
  EXPECT_EQ(sample.raw, kRunning);
}

TEST(LiveSample, NoRpmWithoutAPeriodOrAFactor) {
  EXPECT_FALSE(DecodePollSample(LiveBlock{}, 1).rpm.has_value());
  EXPECT_FALSE(DecodePollSample(kRunning, std::nullopt).rpm.has_value());
  EXPECT_FALSE(DecodePollSample(kRunning, 0).rpm.has_value());
  EXPECT_EQ(FormatLiveSample(DecodePollSample(kRunning, std::nullopt), '.').rpm, "0");
}

TEST(LiveSample, InstantBlockAsNumbers) {
  const LiveBlock block{64, 0x33, 128, 255, 255, 0x44, 0x55, 0x66, 0x77, 0x88};
  const InstantSample sample = DecodeInstantSample(block);
  EXPECT_EQ(sample.correction_pct, 100);
  EXPECT_EQ(sample.lambda_mv, 5000);
  EXPECT_EQ(sample.raw, block);
}

}  // namespace
}  // namespace zelk
