// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/idle_rpm.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace zelk {
namespace {

TEST(IdleRpm, StepsCheckOnlyTheirOwnBound) {
  const struct {
    bool up;
    int from;
    int to;
    bool warn;
  } cases[] = {
      {false, 600, 600, true},     {false, 625, 600, false}, {false, 610, 600, true},
      {false, 1000, 975, false},   {false, 0, 600, true},    {false, INT_MIN, 600, true},
      {false, 5000, 4975, false},  {true, 1500, 1500, true}, {true, 1475, 1500, false},
      {true, 1490, 1500, true},    {true, 0, 25, false},     {true, 125, 150, false},
      {true, INT_MAX, 1500, true}, {true, -100, -75, false},
  };
  for (const auto& c : cases) {
    const RpmStep step = c.up ? IdleRpmUp(c.from) : IdleRpmDown(c.from);
    EXPECT_EQ(step.value, c.to) << (c.up ? "up " : "down ") << c.from;
    EXPECT_EQ(step.warn, c.warn) << (c.up ? "up " : "down ") << c.from;
  }
}

TEST(IdleRpm, FourCalibrationPressesComeBackToFactorOne) {
  const struct {
    int idle;
    std::vector<int> shown;
  } cases[] = {{1000, {500, 250, 125, 1000}}, {625, {312, 156, 78, 624}}};
  for (const auto& c : cases) {
    int cal = 1;
    int idle = c.idle;
    std::vector<int> shown;
    std::vector<int> factors;
    for (int press = 0; press < 4; ++press) {
      const auto rescaled = RescaleIdleRpm(cal, idle);
      ASSERT_TRUE(rescaled.has_value());
      cal = NextCalibrationFactor(cal);
      idle = *rescaled;
      shown.push_back(idle);
      factors.push_back(cal);
    }
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(factors, (std::vector<int>{2, 4, 8, 1}));
  }
}

TEST(IdleRpm, UnknownFactorChangesNothing) {
  for (const int cal : {0, 3, -1, 16}) {
    EXPECT_EQ(NextCalibrationFactor(cal), cal);
    EXPECT_EQ(RescaleIdleRpm(cal, 1000), std::nullopt);
  }
}

TEST(IdleRpm, RescaleNeverOverflows) {
  EXPECT_EQ(RescaleIdleRpm(8, INT_MAX / 8), (INT_MAX / 8) * 8);
  EXPECT_EQ(RescaleIdleRpm(8, INT_MAX / 8 + 1), std::nullopt);
  EXPECT_EQ(RescaleIdleRpm(8, INT_MIN), std::nullopt);
  EXPECT_EQ(RescaleIdleRpm(2, -625), -312);  // truncated toward zero
}

// The buttons' messages name the limits the settings table gives the idle
// RPM, and a file's idle RPM is checked against.
TEST(IdleRpm, LimitMessagesNameTheLimits) {
  EXPECT_EQ(kIdleRpmMin, 600);
  EXPECT_EQ(kIdleRpmMax, 1500);
  EXPECT_EQ(kIdleRpmMinMessage, "The min. is " + std::to_string(kIdleRpmMin) + "RPM!");
  EXPECT_EQ(kIdleRpmMaxMessage, "The max. is " + std::to_string(kIdleRpmMax) + "RPM!");
}

}  // namespace
}  // namespace zelk
