// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// When the next poll starts. The interval runs from the start of one poll to
// the start of the next, on slots fixed at the first poll (first + k x
// interval), so neither a late wake-up nor a slow exchange moves the slots
// after it: the schedule does not drift. A poll that overran its slot is
// followed at the next slot still ahead, never by a burst of polls to catch
// up. Interval 0: back to back, each poll as soon as the last one ended.

#include <cstdint>

namespace zelk {

// The live values' poll interval: the module's own pace, the window's poll at
// every start, the program's progress window and zelkctl monitor's default.
inline constexpr int kPollIntervalMs = 500;

class PollSchedule {
 public:
  // `interval_ms` >= 0.
  explicit PollSchedule(double interval_ms);

  // The start time of the next poll, on the same monotonic clock as `now_ms`
  // (never before it). The first call fixes the slots and returns `now_ms`.
  double NextStart(double now_ms);

  double interval_ms() const { return interval_ms_; }
  // Slots passed over because a poll was still running when they came.
  std::uint64_t missed_slots() const { return missed_; }

 private:
  double interval_ms_;
  bool started_ = false;
  double first_ms_ = 0;
  std::uint64_t slot_ = 0;  // index of the slot NextStart returned last
  std::uint64_t missed_ = 0;
};

}  // namespace zelk
