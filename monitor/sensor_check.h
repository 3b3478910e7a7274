// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sensor check of a commissioning: what the live values did while the
// technician watched them (at least half a minute): the lowest and highest of
// each, and how often the lambda voltage crossed the "Lambda Value" setting,
// which tells whether the oxygen sensor switches. It measures; it does not
// judge the car.

#include <array>
#include <cstddef>
#include <optional>

#include "monitor/live_sample.h"

namespace zelk {

// The values watched, in the order the check shows and keeps them.
enum class SensorMeasure : std::size_t { temperature, map, lambda, rpm };
inline constexpr std::size_t kSensorMeasureCount = 4;

struct MeasuredRange {
  int samples = 0;  // 0: never measured (an RPM the factor could not give)
  double min = 0;
  double max = 0;
};

struct SensorStats {
  double seconds = 0;  // from the first sample to the last
  int samples = 0;     // polls that were answered
  int failures = 0;    // polls that were not
  std::array<MeasuredRange, kSensorMeasureCount> ranges{};
  int lambda_threshold_mv = 0;  // the "Lambda Value" setting, in mV
  // Changes of side of the threshold: a sample strictly above after one
  // strictly below, or the other way. A sample on the threshold changes
  // nothing.
  int lambda_crossings = 0;
};

// The value of `measure` in a sample; an RPM the factor could not give is none.
std::optional<double> MeasureOf(const LiveSample& sample, SensorMeasure measure);

class SensorCheck {
 public:
  explicit SensorCheck(int lambda_threshold_mv);

  // A poll answered at `at_ms` (a monotonic clock).
  void Add(const LiveSample& sample, double at_ms);
  // A poll that was not answered.
  void AddFailure() { ++stats_.failures; }

  const SensorStats& stats() const { return stats_; }

 private:
  SensorStats stats_;
  double first_ms_ = 0;
  int side_ = 0;  // -1 below the threshold, +1 above, 0 not yet seen off it
};

}  // namespace zelk
