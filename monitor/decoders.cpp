// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/decoders.h"

namespace zelk {

std::optional<double> RpmFromPeriod(std::uint16_t period, int cal) {
  if (period == 0 || cal <= 0) return std::nullopt;
  return (60000000 / (period * kTimerTickMicroseconds)) * (2.0 / cal);
}

double InjectionTimeFromWord(std::uint16_t word) {
  return word * 0.8 * 0.001;
}

int CorrectionFromByte(std::uint8_t byte) {
  return (byte * 100) / 64;
}

double MapFromByte(std::uint8_t byte) {
  return byte * 0.00980392156862745;
}

int LambdaFromByte(std::uint8_t byte) {
  return (byte * 5000) / 255;
}

}  // namespace zelk
