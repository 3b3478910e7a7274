// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/temperature.h"

#include <cmath>

namespace zelk {

namespace {
constexpr double kKelvinOffset = 273.15;
}  // namespace

double TemperatureFromByte(double r0, double t0, double b, double rs, std::uint8_t byte) {
  const double volts = byte * 5.0 * 0.00390625;
  double resistance = rs * volts / (5.0 - volts);
  // Byte 0 would put ln(0) in the formula; 0.01 ohm stands in (it reads as 1990).
  if (resistance == 0.0) resistance = 0.01;
  const double k0 = t0 + kKelvinOffset;
  const double kelvin = b * k0 / (k0 * std::log(resistance / r0) + b);
  const double celsius = std::trunc(kelvin - kKelvinOffset);
  if (!std::isfinite(celsius)) return 0.0;
  return celsius == 0.0 ? 0.0 : celsius;  // no -0
}

int TemperatureToByte(double r0, double t0, double b, double rs, int degrees) {
  const double resistance =
      r0 * std::exp(b * (1.0 / (degrees + kKelvinOffset) - 1.0 / (t0 + kKelvinOffset)));
  const double volts = 5.0 * resistance / (rs + resistance);
  const double counts = std::trunc(volts * 255.0 * 0.2);
  // Only odd constants get here out of range; treat that as the failure it is.
  if (!std::isfinite(counts) || counts < -2147483648.0 || counts > 2147483647.0) return 0;
  return static_cast<int>(counts);
}

}  // namespace zelk
