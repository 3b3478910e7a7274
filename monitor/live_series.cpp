// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/live_series.h"

namespace zelk {

std::optional<double> SeriesValue(const LiveSample& sample, LiveSeries series) {
  switch (series) {
    case LiveSeries::rpm:
      return sample.rpm;
    case LiveSeries::injection_ms:
      return sample.injection_ms;
    case LiveSeries::correction_pct:
      return sample.correction_pct;
    case LiveSeries::temperature_c:
      return sample.temperature_c;
    case LiveSeries::map_v:
      return sample.map_v;
    case LiveSeries::lambda_mv:
      return sample.lambda_mv;
  }
  return std::nullopt;
}

}  // namespace zelk
