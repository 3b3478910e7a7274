// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/idle_rpm.h"

#include <limits>

namespace zelk {

RpmStep IdleRpmDown(int rpm) {
  const long long next = static_cast<long long>(rpm) - kIdleRpmStepSize;
  if (next < kIdleRpmMin) return {kIdleRpmMin, true};
  return {static_cast<int>(next), false};
}

RpmStep IdleRpmUp(int rpm) {
  const long long next = static_cast<long long>(rpm) + kIdleRpmStepSize;
  if (next > kIdleRpmMax) return {kIdleRpmMax, true};
  return {static_cast<int>(next), false};
}

int NextCalibrationFactor(int cal) {
  switch (cal) {
    case 1:
      return 2;
    case 2:
      return 4;
    case 4:
      return 8;
    case 8:
      return 1;
    default:
      return cal;
  }
}

std::optional<int> RescaleIdleRpm(int cal, int rpm) {
  switch (cal) {
    case 1:
    case 2:
    case 4:
      return rpm / 2;
    case 8: {
      const long long scaled = static_cast<long long>(rpm) * 8;
      if (scaled > std::numeric_limits<int>::max() || scaled < std::numeric_limits<int>::min()) {
        return std::nullopt;
      }
      return static_cast<int>(scaled);
    }
    default:
      return std::nullopt;
  }
}

}  // namespace zelk
