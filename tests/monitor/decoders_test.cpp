// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/decoders.h"

#include <gtest/gtest.h>

#include <optional>

namespace zelk {
namespace {

TEST(Decoders, RpmFromPeriodAndFactor) {
  const struct {
    int period;
    int cal;
    std::optional<double> rpm;
  } cases[] = {
      {37500, 1, 1000},     {37500, 2, 500},          {37500, 8, 125},
      {62500, 1, 600},      {25000, 1, 1500},         {1, 1, 37500000},
      {0, 1, std::nullopt}, {37500, 0, std::nullopt}, {37500, -1, std::nullopt},
  };
  for (const auto& c : cases) {
    const auto rpm = RpmFromPeriod(static_cast<std::uint16_t>(c.period), c.cal);
    ASSERT_EQ(rpm.has_value(), c.rpm.has_value()) << c.period << " @" << c.cal;
    if (rpm) {
      EXPECT_NEAR(*rpm, *c.rpm, 1e-9 * *c.rpm) << c.period << " @" << c.cal;
    }
  }
}

TEST(Decoders, WholeNumberScalesTruncate) {
  const struct {
    int byte;
    int correction;
    int lambda;
  } cases[] = {{0, 0, 0},       {1, 1, 19},       {63, 98, 1235},
               {64, 100, 1254}, {128, 200, 2509}, {255, 398, 5000}};
  for (const auto& c : cases) {
    EXPECT_EQ(CorrectionFromByte(static_cast<std::uint8_t>(c.byte)), c.correction) << c.byte;
    EXPECT_EQ(LambdaFromByte(static_cast<std::uint8_t>(c.byte)), c.lambda) << c.byte;
  }
}

TEST(Decoders, VoltsAndMilliseconds) {
  EXPECT_NEAR(MapFromByte(255), 2.5, 1e-12);
  EXPECT_EQ(MapFromByte(0), 0.0);
  EXPECT_NEAR(InjectionTimeFromWord(1250), 1.0, 1e-12);
  EXPECT_NEAR(InjectionTimeFromWord(65535), 52.428, 1e-9);
  EXPECT_EQ(InjectionTimeFromWord(0), 0.0);
}

}  // namespace
}  // namespace zelk
