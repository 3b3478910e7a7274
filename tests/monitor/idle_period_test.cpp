// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/idle_period.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "monitor/decoders.h"
#include "monitor/idle_rpm.h"
#include "settings/number_text.h"

namespace zelk {
namespace {

SettingsBlock PatternBlock() {
  SettingsBlock block{};
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(0xA0 + i);
  return block;
}

SettingsBlock WithPeriod(std::uint16_t period) {
  SettingsBlock block = PatternBlock();
  block[4] = static_cast<std::uint8_t>(period & 0xFF);
  block[5] = static_cast<std::uint8_t>(period >> 8);
  return block;
}

TEST(IdlePeriod, ReadShowsTheRpmAtFactorOne) {
  const struct {
    std::uint16_t period;
    const char* shown;
  } cases[] = {{0, "0"}, {62500, "600"}, {25000, "1500"}, {65535, "572"}, {1, "37500000"}};
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeIdleRpm(WithPeriod(c.period), '.'), c.shown) << c.period;
  }
  EXPECT_EQ(DecodeIdleRpm(SettingsBlock{}, '.'), "0");
}

TEST(IdlePeriod, WriteStoresThePeriodWord) {
  const struct {
    const char* rpm;
    const char* cal;
    char sep;
    std::uint16_t period;
  } cases[] = {
      {"600", "1", '.', 62500}, {"1500", "1", '.', 25000}, {"300", "2", '.', 62500},
      {"150", "4", '.', 62500}, {"75", "8", '.', 62500},   {"600,0", "1", ',', 62500},
      {"573", "1", '.', 65445}, {"1000", "1", '.', 37500}, {"37500000", "1", '.', 1},
  };
  for (const auto& c : cases) {
    SettingsBlock block = PatternBlock();
    const EncodeResult result = EncodeIdleRpm(c.rpm, c.cal, c.sep, block);
    ASSERT_TRUE(result.ok) << c.rpm << " @" << c.cal << ": " << result.error;
    EXPECT_EQ(block, WithPeriod(c.period)) << c.rpm << " @" << c.cal;
  }
}

TEST(IdlePeriod, RefusesWhatTheWordCannotHold) {
  const struct {
    const char* rpm;
    const char* cal;
    const char* error;
  } cases[] = {
      {"500", "1",
       "Idle RPM 500 is too low: the module's idle period would be 75000, beyond 65535"},
      {"572", "1",
       "Idle RPM 572 is too low: the module's idle period would be 65559, beyond 65535"},
      {"0", "1", "Idle RPM 0 has no idle period: division by zero"},
      {"600", "0", "RPM factor 0 gives no idle period: division by zero"},
      {"-600", "1", "Idle RPM -600 is not valid: it must be above 0"},
      {"600", "-2", "RPM factor -2 is not valid: it must be above 0"},
      {"abc", "1", "'abc' is not a valid floating point value"},
      {"600", "1.5", "'1.5' is not a valid integer value"},
      {"600", "", "'' is not a valid integer value"},
      {"1e-320", "1",
       "Idle RPM 1e-320 is too low: the module's idle period would be unbounded, "
       "beyond 65535"},
  };
  for (const auto& c : cases) {
    SettingsBlock block = PatternBlock();
    const EncodeResult result = EncodeIdleRpm(c.rpm, c.cal, '.', block);
    EXPECT_FALSE(result.ok) << c.rpm << " @" << c.cal;
    EXPECT_EQ(result.error, c.error);
    EXPECT_EQ(block, PatternBlock()) << c.rpm << " @" << c.cal;
  }
}

// Every RPM the step buttons can show, at every factor, reads back (at the
// factor it was written with) as an RPM the buttons could show.
TEST(IdlePeriod, AcceptedRpmsReadBackWithinTheButtonsLimits) {
  for (const int cal : {1, 2, 4, 8}) {
    for (int tenths = kIdleRpmMin * 10; tenths <= kIdleRpmMax * 10; tenths += 5) {
      const std::string rpm = GeneralText(tenths / 10.0, '.');
      SettingsBlock block = PatternBlock();
      ASSERT_TRUE(EncodeIdleRpm(rpm, std::to_string(cal), '.', block).ok) << rpm;
      const auto shown = RpmFromPeriod(ReadWord(block, kIdlePeriodOffset), cal);
      ASSERT_TRUE(shown);
      const std::string text = FixedText(*shown, 0, 0, '.');
      const int back = std::stoi(text);
      EXPECT_GE(back, kIdleRpmMin) << rpm << " at factor " << cal;
      EXPECT_LE(back, kIdleRpmMax) << rpm << " at factor " << cal;
      EXPECT_LE(std::abs(back - tenths / 10.0), 1.0) << rpm << " at factor " << cal;
    }
  }
}

}  // namespace
}  // namespace zelk
