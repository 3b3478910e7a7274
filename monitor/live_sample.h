// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The live blocks as numbers: what a poll or a live snapshot read, decoded
// with the live decoders, beside the raw bytes it came from. The live boxes,
// a log and a chart all start from these.

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>

#include "monitor/live_blocks.h"

namespace zelk {

using LiveBlock = std::array<std::uint8_t, kLiveBlockSize>;

// One poll: the PollBlock.
struct LiveSample {
  std::chrono::steady_clock::time_point taken_at{};  // set by whoever polled
  std::optional<double> rpm;  // empty: period 0, or no usable calibration factor
  double injection_ms = 0;
  int correction_pct = 0;
  double temperature_c = 0;
  double map_v = 0;
  int lambda_mv = 0;
  LiveBlock raw{};
};

// One live snapshot: the InstantBlock.
struct InstantSample {
  int correction_pct = 0;
  double temperature_c = 0;
  double map_v = 0;
  int lambda_mv = 0;
  LiveBlock raw{};
};

// `calibration_factor` is the RPM factor in force (rpm_cal), if it is a whole number.
LiveSample DecodePollSample(LiveBlockBytes block, std::optional<int> calibration_factor);
InstantSample DecodeInstantSample(LiveBlockBytes block);

// The live boxes' texts: "0" for an RPM that cannot be computed.
LiveTexts FormatLiveSample(const LiveSample& sample, char decimal_separator);
InstantTexts FormatInstantSample(const InstantSample& sample, char decimal_separator);

}  // namespace zelk
