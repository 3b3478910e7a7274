// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/poll_schedule.h"

#include <cmath>

namespace zelk {

PollSchedule::PollSchedule(double interval_ms) : interval_ms_(interval_ms > 0 ? interval_ms : 0) {}

double PollSchedule::NextStart(double now_ms) {
  if (!started_ || interval_ms_ == 0) {
    started_ = true;
    first_ms_ = now_ms;
    return now_ms;
  }
  std::uint64_t next = slot_ + 1;
  // The first slot not yet passed; computed from the first slot, not from the
  // last poll, so rounding does not add up over a long run.
  const double due = std::ceil((now_ms - first_ms_) / interval_ms_);
  if (due > static_cast<double>(next)) {
    const auto skip_to = static_cast<std::uint64_t>(due);
    missed_ += skip_to - next;
    next = skip_to;
  }
  slot_ = next;
  const double start = first_ms_ + static_cast<double>(slot_) * interval_ms_;
  return start > now_ms ? start : now_ms;
}

}  // namespace zelk
