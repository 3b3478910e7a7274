// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The engine temperature sensor: an NTC thermistor to ground under a series
// resistor from the 5 V reference, sampled by the module's 8-bit converter.
// Reading and writing use different scales (5/256 V a count on the way in,
// 51 counts a volt and truncation on the way out), so a written temperature
// can read back a degree or two off; the module has always worked that way.

#include <cstdint>

namespace zelk {

struct ThermistorConstants {
  double r0;    // nominal resistance, ohm
  double t0;    // temperature of r0, degrees Celsius
  double beta;  // beta constant, kelvin
  double rs;    // series resistor, ohm
};

inline constexpr ThermistorConstants kEngineSensor{1000, 21.5, 3900, 1000};

// Whole degrees Celsius (truncated toward zero) for a converter byte; 0 when
// the arithmetic fails. Byte 0 reads as 1990, 128 as 21, 255 as -65.
double TemperatureFromByte(double r0, double t0, double b, double rs, std::uint8_t byte);

// The byte the module expects for `degrees` (truncated toward zero); 0 when the
// arithmetic fails. The caller stores the low 8 bits.
int TemperatureToByte(double r0, double t0, double b, double rs, int degrees);

inline double TemperatureFromByte(const ThermistorConstants& c, std::uint8_t byte) {
  return TemperatureFromByte(c.r0, c.t0, c.beta, c.rs, byte);
}
inline int TemperatureToByte(const ThermistorConstants& c, int degrees) {
  return TemperatureToByte(c.r0, c.t0, c.beta, c.rs, degrees);
}

}  // namespace zelk
