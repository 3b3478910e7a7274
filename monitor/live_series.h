// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The six live values of a poll as series: the log's columns and the chart's
// curves, in the one order both use.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "monitor/live_sample.h"
#include "text/translatable.h"

namespace zelk {

enum class LiveSeries : std::size_t {
  rpm,
  injection_ms,
  correction_pct,
  temperature_c,
  map_v,
  lambda_mv,
};

inline constexpr std::size_t kLiveSeriesCount = 6;

struct LiveSeriesRow {
  LiveSeries series;
  std::string_view column;  // the CSV column name
  std::string_view label;   // a caption for a legend
  std::string_view unit;    // one vertical axis per unit
};

inline constexpr std::array<LiveSeriesRow, kLiveSeriesCount> kLiveSeries{{
    {LiveSeries::rpm, "rpm", QT_TRANSLATE_NOOP("Monitor", "RPM"),
     QT_TRANSLATE_NOOP("Monitor", "1/min")},
    {LiveSeries::injection_ms, "injection_ms", QT_TRANSLATE_NOOP("Monitor", "Injection"),
     QT_TRANSLATE_NOOP("Monitor", "ms")},
    {LiveSeries::correction_pct, "correction_pct", QT_TRANSLATE_NOOP("Monitor", "Correction"),
     QT_TRANSLATE_NOOP("Monitor", "%")},
    {LiveSeries::temperature_c, "temperature_c", QT_TRANSLATE_NOOP("Monitor", "Temperature"),
     QT_TRANSLATE_NOOP("Monitor", "°C")},
    {LiveSeries::map_v, "map_v", QT_TRANSLATE_NOOP("Monitor", "MAP"),
     QT_TRANSLATE_NOOP("Monitor", "V")},
    {LiveSeries::lambda_mv, "lambda_mv", QT_TRANSLATE_NOOP("Monitor", "Lambda"),
     QT_TRANSLATE_NOOP("Monitor", "mV")},
}};

constexpr std::size_t SeriesIndex(LiveSeries series) {
  return static_cast<std::size_t>(series);
}

// The series' value in `sample`; empty when it cannot be computed (an RPM for
// a period of 0).
std::optional<double> SeriesValue(const LiveSample& sample, LiveSeries series);

}  // namespace zelk
