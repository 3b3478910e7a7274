// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/sensor_check.h"

#include <algorithm>

namespace zelk {

namespace {

constexpr double kMsPerSecond = 1000.0;

void Widen(MeasuredRange& range, double value) {
  if (range.samples == 0) {
    range.min = value;
    range.max = value;
  } else {
    range.min = std::min(range.min, value);
    range.max = std::max(range.max, value);
  }
  ++range.samples;
}

// -1 below the threshold, +1 above, 0 on it.
int SideOf(int lambda_mv, int threshold_mv) {
  if (lambda_mv > threshold_mv) return 1;
  if (lambda_mv < threshold_mv) return -1;
  return 0;
}

}  // namespace

std::optional<double> MeasureOf(const LiveSample& sample, SensorMeasure measure) {
  switch (measure) {
    case SensorMeasure::temperature:
      return sample.temperature_c;
    case SensorMeasure::map:
      return sample.map_v;
    case SensorMeasure::lambda:
      return static_cast<double>(sample.lambda_mv);
    case SensorMeasure::rpm:
      return sample.rpm;
  }
  return std::nullopt;
}

SensorCheck::SensorCheck(int lambda_threshold_mv) {
  stats_.lambda_threshold_mv = lambda_threshold_mv;
}

void SensorCheck::Add(const LiveSample& sample, double at_ms) {
  if (stats_.samples == 0) first_ms_ = at_ms;
  ++stats_.samples;
  stats_.seconds = (at_ms - first_ms_) / kMsPerSecond;
  for (std::size_t i = 0; i < kSensorMeasureCount; ++i) {
    if (const std::optional<double> value = MeasureOf(sample, static_cast<SensorMeasure>(i)))
      Widen(stats_.ranges[i], *value);
  }
  // A sample on the threshold keeps the side it was on: only a sample off it
  // on the other side counts as the sensor switching.
  const int side = SideOf(sample.lambda_mv, stats_.lambda_threshold_mv);
  if (side == 0) return;
  if (side_ != 0 && side != side_) ++stats_.lambda_crossings;
  side_ = side;
}

}  // namespace zelk
