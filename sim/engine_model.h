// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small engine at idle, as the module's sensors see it: the coolant warms
// from about 20 C towards 88 C, the narrow-band lambda sensor swings between
// lean (~0.1 V) and rich (~0.8 V) about once a second with the closed-loop
// correction following it, the RPM holds the programmed idle with a little
// jitter. Every value is a pure function of the time and the seed, so a test
// that asks twice at the same moment gets the same answer.

#include <cstdint>

namespace zelk::sim {

struct LiveValues {
  std::uint16_t rpm_period = 0;  // module timer ticks between ignition pulses (two per turn)
  std::uint16_t injection = 0;   // injector opening, 0.8 us ticks
  std::uint8_t correction = 64;  // mixture correction, 64 = 100 %
  std::uint8_t temperature = 0;  // NTC divider reading, 5/256 V per count
  std::uint8_t map = 0;          // MAP sensor, 2.5/255 V per count
  std::uint8_t lambda = 0;       // oxygen sensor, 5000/255 mV per count
};

// `idle_period` is the idle speed the settings hold, in the RPM period's ticks;
// 0 means no idle speed is set and the engine shows as stopped.
LiveValues EngineAt(double now_ms, std::uint16_t idle_period, std::uint32_t seed);

// Coolant temperature in degrees Celsius at `now_ms` after the engine started.
double CoolantTemperature(double now_ms);

// The byte the module's converter reads for a coolant temperature: the NTC
// (1000 ohm at 21.5 C, beta 3900) under a 1000 ohm series resistor from 5 V.
std::uint8_t TemperatureSensorByte(double celsius);

}  // namespace zelk::sim
