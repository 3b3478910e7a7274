// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The module's live counts, turned into engineering values. Each works in
// double precision (or integer arithmetic where the module's tools always
// have) and leaves the text form to the caller.

#include <cstdint>
#include <optional>

namespace zelk {

// The module's timer tick: the live RPM period and the idle period both count
// these between two ignition pulses.
inline constexpr double kTimerTickMicroseconds = 3.2;

// Engine RPM for a period word that counts timer ticks between ignition
// pulses, scaled by the calibration factor (1, 2, 4 or 8): doubling the factor
// halves the RPM. Empty for a period of 0 or a factor below 1, neither of
// which has an RPM.
std::optional<double> RpmFromPeriod(std::uint16_t period, int cal);

// Injection time in ms for a word of 0.8 us ticks.
double InjectionTimeFromWord(std::uint16_t word);

// Mixture correction in %, 64 counts to 100 %, truncated (255 reads as 398).
int CorrectionFromByte(std::uint8_t byte);

// MAP sensor voltage: 2.5 V over 255 counts.
double MapFromByte(std::uint8_t byte);

// Lambda sensor voltage in mV: 5000 mV over 255 counts, truncated.
int LambdaFromByte(std::uint8_t byte);

}  // namespace zelk
