// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/temperature.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zelk {
namespace {

TEST(Temperature, DegreesToSensorByte) {
  const struct {
    int degrees;
    int byte;
  } cases[] = {{15, 146}, {20, 131}, {35, 91}, {60, 45}, {0, 188}, {100, 14}};
  for (const auto& c : cases) {
    EXPECT_EQ(TemperatureToByte(1000, 21.5, 3900, 1000, c.degrees), c.byte) << c.degrees;
  }
}

TEST(Temperature, SensorByteToDegrees) {
  const struct {
    int byte;
    double degrees;
  } cases[] = {{128, 21}, {0, 1990}, {255, -65}, {14, 102}, {131, 20}, {146, 15}};
  for (const auto& c : cases) {
    EXPECT_EQ(TemperatureFromByte(1000, 21.5, 3900, 1000, static_cast<std::uint8_t>(c.byte)),
              c.degrees)
        << c.byte;
  }
}

TEST(Temperature, RoundTripKeepsTheseDegrees) {
  for (const int degrees : {0, 15, 20, 35, 36, 50, 60}) {
    const int byte = TemperatureToByte(kEngineSensor, degrees);
    EXPECT_EQ(TemperatureFromByte(kEngineSensor, static_cast<std::uint8_t>(byte)), degrees);
  }
}

TEST(Temperature, EveryByteReadsAsWholeDegreesFallingWithVoltage) {
  double previous = std::numeric_limits<double>::infinity();
  for (int byte = 0; byte < 256; ++byte) {
    const double degrees = TemperatureFromByte(kEngineSensor, static_cast<std::uint8_t>(byte));
    ASSERT_TRUE(std::isfinite(degrees)) << byte;
    EXPECT_EQ(degrees, std::trunc(degrees)) << byte;
    EXPECT_LE(degrees, previous) << byte;  // an NTC: more volts, more ohms, colder
    previous = degrees;
  }
}

TEST(Temperature, ArithmeticFailureGivesZero) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(TemperatureFromByte(-1000, 21.5, 3900, 1000, 128), 0.0);  // log of a negative
  EXPECT_EQ(TemperatureFromByte(1000, 21.5, nan, 1000, 128), 0.0);
  EXPECT_EQ(TemperatureToByte(1000, 21.5, nan, 1000, 20), 0);
  EXPECT_EQ(TemperatureToByte(1000, 21.5, 1e308, 1000, 0), 0);  // exp overflows: inf / inf
}

TEST(Temperature, ConstantsOfTheEngineSensor) {
  EXPECT_EQ(TemperatureToByte(kEngineSensor, 35), TemperatureToByte(1000, 21.5, 3900, 1000, 35));
  EXPECT_EQ(TemperatureFromByte(kEngineSensor, 91),
            TemperatureFromByte(1000, 21.5, 3900, 1000, 91));
}

}  // namespace
}  // namespace zelk
