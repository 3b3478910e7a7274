// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/engine_model.h"

#include <algorithm>
#include <cmath>

namespace zelk::sim {

namespace {

constexpr double kColdC = 20.0;
constexpr double kHotC = 88.0;             // thermostat open
constexpr double kWarmUpTauMs = 120000.0;  // most of the warm-up within five minutes
constexpr double kLambdaHalfCycleMs = 500.0;
constexpr double kJitterSlotMs = 100.0;

enum Channel : std::uint64_t { rpm = 1, injection, map, lambda };

// splitmix64: cheap, well mixed, and stateless, so values depend only on
// (seed, channel, time slot).
std::uint64_t Mix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ULL;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

// Uniform in [-1, 1].
double Noise(std::uint32_t seed, Channel channel, double now_ms, double slot_ms) {
  const auto slot = static_cast<std::uint64_t>(std::max(0.0, now_ms) / slot_ms);
  const std::uint64_t h = Mix((static_cast<std::uint64_t>(seed) << 32) ^ (channel << 56) ^ slot);
  return static_cast<double>(h >> 11) / static_cast<double>(1ULL << 52) - 1.0;
}

std::uint8_t ClampByte(double value) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

std::uint16_t ClampWord(double value) {
  return static_cast<std::uint16_t>(std::clamp(std::lround(value), 0L, 65535L));
}

}  // namespace

double CoolantTemperature(double now_ms) {
  return kHotC - (kHotC - kColdC) * std::exp(-std::max(0.0, now_ms) / kWarmUpTauMs);
}

std::uint8_t TemperatureSensorByte(double celsius) {
  constexpr double kR0 = 1000, kT0 = 21.5, kBeta = 3900, kSeries = 1000;
  const double r = kR0 * std::exp(kBeta * (1.0 / (celsius + 273.15) - 1.0 / (kT0 + 273.15)));
  return ClampByte(256.0 * r / (kSeries + r));
}

LiveValues EngineAt(double now_ms, std::uint16_t idle_period, std::uint32_t seed) {
  LiveValues v;
  const double coolant = CoolantTemperature(now_ms);
  v.temperature = TemperatureSensorByte(coolant);

  // About +-1 % of the period: +-8 RPM at 850.
  if (idle_period != 0) {
    v.rpm_period = ClampWord(idle_period * (1.0 + 0.01 * Noise(seed, rpm, now_ms, kJitterSlotMs)));
  }

  // 2.4 ms warm, up to 30 % more while cold.
  const double cold_share = std::clamp((kHotC - coolant) / (kHotC - kColdC), 0.0, 1.0);
  const double injection_ms =
      2.4 * (1.0 + 0.3 * cold_share) * (1.0 + 0.01 * Noise(seed, injection, now_ms, kJitterSlotMs));
  v.injection = idle_period == 0 ? 0 : ClampWord(injection_ms / 0.0008);

  // About 1.0 V at idle vacuum.
  v.map = ClampByte(102 + 2 * Noise(seed, map, now_ms, kJitterSlotMs));

  // Lean and rich halves alternate; the correction climbs while lean and
  // falls while rich, between 62 and 66 (97 % to 103 %).
  const double cycle = std::max(0.0, now_ms) / kLambdaHalfCycleMs;
  const bool lean = static_cast<std::uint64_t>(cycle) % 2 == 0;
  const double phase = cycle - std::floor(cycle);
  const double millivolts = (lean ? 100.0 : 800.0) + 20.0 * Noise(seed, lambda, now_ms, 50.0);
  v.lambda = ClampByte(millivolts * 255.0 / 5000.0);
  v.correction = ClampByte(lean ? 62 + 4 * phase : 66 - 4 * phase);
  return v;
}

}  // namespace zelk::sim
