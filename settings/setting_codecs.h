// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The scales between a setting's raw count in the block and the number the
// technician reads and types. Each codec is a pair: the text shown for a raw
// count, and the count to store for an entered value (before rounding and the
// width rule of the block).

#include <cstdint>
#include <string>

namespace zelk {

enum class Codec {
  kColdStartTime,      // 16 bits, 0.82 ms a count
  kTemperature,        // thermistor byte of the engine sensor
  kPercent64,          // 64 counts are 100 %
  kAdjustTime,         // 0.21 s a count, shown truncated
  kLambdaMillivolts,   // 5000 mV over 255 counts, shown truncated
  kThrottleVariation,  // 16 bits, 0.8 us a count
};

// Text shown after a read for the raw count (a byte, or a 16-bit word).
std::string ShownText(Codec codec, std::uint32_t raw, char decimal_separator);

// Count to store for an entered value. The temperature codec expects a whole
// number of degrees.
double StoredCount(Codec codec, double value);

}  // namespace zelk
