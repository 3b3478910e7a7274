// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/poll_schedule.h"

#include <gtest/gtest.h>

#include <vector>

namespace zelk {
namespace {

// Runs polls of the given durations on a hand clock that sleeps exactly to
// each start, late by `wake_late_ms`; returns the start times.
std::vector<double> Starts(PollSchedule& schedule, const std::vector<double>& durations,
                           double wake_late_ms = 0) {
  std::vector<double> starts;
  double now = 1000;
  for (const double duration : durations) {
    const double start = schedule.NextStart(now);
    EXPECT_GE(start, now) << "a start in the past";
    now = starts.empty() ? start : start + wake_late_ms;
    starts.push_back(now);
    now += duration;
  }
  return starts;
}

TEST(PollSchedule, StartToStartOnFixedSlots) {
  PollSchedule schedule(100);
  const std::vector<double> starts = Starts(schedule, {35, 35, 35, 35});
  EXPECT_EQ(starts, (std::vector<double>{1000, 1100, 1200, 1300}));
  EXPECT_EQ(schedule.missed_slots(), 0u);
}

TEST(PollSchedule, LateWakeUpsDoNotAddUp) {
  PollSchedule schedule(100);
  const std::vector<double> starts = Starts(schedule, std::vector<double>(1001, 35), 3);
  // Every start 3 ms late, the thousandth still 3 ms after its slot.
  EXPECT_DOUBLE_EQ(starts[1000], 1000 + 1000 * 100 + 3);
  EXPECT_EQ(schedule.missed_slots(), 0u);
}

TEST(PollSchedule, AnOverrunSkipsToTheNextSlotAhead) {
  PollSchedule schedule(100);
  // The second poll takes 250 ms (a silent try): slots 2 and 3 pass while it runs.
  const std::vector<double> starts = Starts(schedule, {35, 250, 35, 35});
  EXPECT_EQ(starts, (std::vector<double>{1000, 1100, 1400, 1500}));
  EXPECT_EQ(schedule.missed_slots(), 2u);
}

TEST(PollSchedule, NoOverlapAndNoBurstAfterALongStall) {
  PollSchedule schedule(50);
  const std::vector<double> starts = Starts(schedule, {10, 1035, 10, 10, 10});
  for (std::size_t i = 1; i < starts.size(); ++i) EXPECT_GE(starts[i] - starts[i - 1], 50) << i;
  EXPECT_EQ(starts[2], 2100);  // the stalled poll ended at 2085: the slot at 2100, not 1100
}

TEST(PollSchedule, EndingExactlyOnASlotStartsAtOnce) {
  PollSchedule schedule(100);
  EXPECT_EQ(Starts(schedule, {100, 100, 100}), (std::vector<double>{1000, 1100, 1200}));
  EXPECT_EQ(schedule.missed_slots(), 0u);
}

TEST(PollSchedule, IntervalZeroIsBackToBack) {
  PollSchedule schedule(0);
  EXPECT_EQ(Starts(schedule, {35, 36, 34}), (std::vector<double>{1000, 1035, 1071}));
  PollSchedule negative(-5);
  EXPECT_EQ(negative.interval_ms(), 0);
}

}  // namespace
}  // namespace zelk
