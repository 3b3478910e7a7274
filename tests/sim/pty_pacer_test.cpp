// SPDX-License-Identifier: GPL-3.0-or-later
// When zelk-sim writes the bytes of a reply to its pty, and how it finds out
// that it wrote them later than planned. The clock is passed in: no pty.

#include "sim/pty_pacer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

namespace zelk::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The version reply's five bytes for a request that ended at 0 ms; a pause
// of `pause_ms` (if any) after its second byte.
std::vector<TimedByte> Scheduled(int pause_ms) {
  const FaultModes faults{.split_pause_ms = pause_ms};
  return ScheduleReply(PlanReply(3, {2, 10}, faults), 0);
}

TEST(PtyPacer, ReplyPaceWritesEachPieceWhenItsLastByteWouldArrive) {
  const std::vector<TimedByte> reply = Scheduled(0);
  ASSERT_EQ(reply.size(), 5u);
  PtyPacer pacer(Pace::reply);
  pacer.Queue(reply, 1);
  EXPECT_DOUBLE_EQ(*pacer.NextDueMs(), reply.back().at_ms);
  EXPECT_TRUE(pacer.TakeDue(reply[3].at_ms).empty()) << "not before the last byte is due";
  EXPECT_EQ(pacer.TakeDue(reply.back().at_ms + 30), (Bytes{0xF3, 3, 2, 10, reply[4].value}))
      << "late, still in one write";
  EXPECT_TRUE(pacer.empty());
  EXPECT_FALSE(pacer.NextDueMs());
}

// The plan's own pause stays a pause on either pace: the split-pause fault
// must still cut the reply for the client.
TEST(PtyPacer, ThePlansPauseSplitsTheWritesOnEitherPace) {
  const std::vector<TimedByte> reply = Scheduled(40);
  ASSERT_EQ(reply.size(), 5u);
  for (const Pace pace : {Pace::reply, Pace::line}) {
    PtyPacer pacer(pace);
    pacer.Queue(reply, 1);
    // Woken long after everything was due: only the first piece goes.
    EXPECT_EQ(pacer.TakeDue(reply.back().at_ms + 100), (Bytes{0xF3, 3}));
    // The late write pushed the rest back, so the pause lasts as planned.
    const double pause = reply[2].at_ms - reply[1].at_ms;
    EXPECT_TRUE(pacer.TakeDue(reply.back().at_ms + 100 + pause - 1).empty());
    const double second_due = *pacer.NextDueMs();
    EXPECT_GT(second_due, reply.back().at_ms + 100 + pause - 1);
    EXPECT_EQ(pacer.TakeDue(second_due + (pace == Pace::line ? 2 * kByteTimeMs : 0)).size(), 3u);
  }
}

TEST(PtyPacer, LinePaceWritesTheBytesDueByNow) {
  const std::vector<TimedByte> reply = Scheduled(0);
  PtyPacer pacer(Pace::line);
  pacer.Queue(reply, 1);
  EXPECT_DOUBLE_EQ(*pacer.NextDueMs(), reply.front().at_ms);
  EXPECT_TRUE(pacer.TakeDue(reply.front().at_ms - 0.1).empty());
  EXPECT_EQ(pacer.TakeDue(reply[1].at_ms), (Bytes{0xF3, 3}));
  EXPECT_DOUBLE_EQ(*pacer.NextDueMs(), reply[2].at_ms);
  EXPECT_EQ(pacer.TakeDue(reply.back().at_ms).size(), 3u);
}

// A write of `count` bytes, `late_ms` after the last of them was due, that
// returned `took_ms` later.
struct Write {
  std::size_t count;
  double late_ms;
  double took_ms = 0;
};

struct LatenessCase {
  const char* name;
  Pace pace;
  int pause_ms;  // split-pause of the first reply
  std::vector<Write> first_reply;
  std::vector<Write> second_reply;  // to the next request, made once the first is out
  std::vector<std::uint64_t> late_requests;
};

void PrintTo(const LatenessCase& test, std::ostream* os) {
  *os << test.name;
}

class PtyPacerLateness : public ::testing::TestWithParam<LatenessCase> {};

TEST_P(PtyPacerLateness, GapsBeyondPlanInsideOneReply) {
  const LatenessCase& test = GetParam();
  PtyPacer pacer(test.pace);
  std::uint64_t request = 0;
  double now = 0;
  for (const auto* writes : {&test.first_reply, &test.second_reply}) {
    if (writes->empty()) continue;
    ++request;
    const FaultModes faults{.split_pause_ms = request == 1 ? test.pause_ms : 0};
    pacer.Queue(ScheduleReply(PlanReply(3, {2, 10}, faults), now + 5), request);
    for (const Write& write : *writes) {
      // On the line pace the bytes of a piece follow the first one a byte time
      // apart (a hair more here, for the rounding of their sum).
      const double last_due =
          *pacer.NextDueMs() +
          (test.pace == Pace::line ? static_cast<double>(write.count - 1) * kByteTimeMs + 1e-6 : 0);
      now = last_due + write.late_ms;
      EXPECT_EQ(pacer.TakeDue(now).size(), write.count) << "at " << now << " ms";
      now += write.took_ms;
      pacer.Sent(now);
    }
    ASSERT_TRUE(pacer.empty());
  }
  std::vector<std::uint64_t> late;
  for (const LateReply& reply : pacer.TakeLate()) {
    late.push_back(reply.request);
    EXPECT_GT(reply.late_ms, kLateGapMs);
  }
  EXPECT_EQ(late, test.late_requests);
  EXPECT_EQ(pacer.late_replies(), test.late_requests.size());
  EXPECT_TRUE(pacer.TakeLate().empty()) << "each reported once";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PtyPacerLateness,
    ::testing::Values(
        LatenessCase{"OnTime", Pace::line, 0, {{1, 0}, {1, 0}, {1, 0}, {1, 0}, {1, 0}}, {}, {}},
        // Descheduled 30 ms after the second byte: the client cuts the reply there.
        LatenessCase{"StoppedMidReply", Pace::line, 0, {{2, 0}, {3, 30}}, {}, {1}},
        // 10 ms late is within what the client's 20 ms rule forgives.
        LatenessCase{"SlightlyLate", Pace::line, 0, {{2, 0}, {3, 10}}, {}, {}},
        // Preempted in the write itself: its bytes may have gone out that late.
        LatenessCase{"StoppedInTheWrite", Pace::line, 0, {{2, 0}, {3, 0, 30}}, {}, {1}},
        // A reply that starts late is a slow module, not a cut one.
        LatenessCase{"LateStart", Pace::line, 0, {{5, 200}}, {}, {}},
        // Late twice within one reply: one late reply.
        LatenessCase{"TwiceInOneReply", Pace::line, 40, {{1, 0}, {1, 20}, {3, 30}}, {}, {1}},
        // Only the second of two replies is late; the gap between them is no one's.
        LatenessCase{"SecondRequest", Pace::line, 0, {{5, 0}}, {{2, 0}, {3, 25}}, {2}},
        // The plan's 40 ms pause, kept after a late first piece, is no lateness...
        LatenessCase{"PauseKept", Pace::line, 40, {{2, 8}, {3, 0}}, {}, {}},
        // ... a pause 20 ms longer than planned is.
        LatenessCase{"PauseOverrun", Pace::line, 40, {{2, 0}, {3, 20}}, {}, {1}},
        LatenessCase{"WholeReplyLate", Pace::reply, 0, {{5, 60}}, {}, {}},
        LatenessCase{"ReplyPacePauseKept", Pace::reply, 40, {{2, 8}, {3, 0}}, {}, {}},
        LatenessCase{"ReplyPacePauseOverrun", Pace::reply, 40, {{2, 0}, {3, 20}}, {}, {1}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zelk::sim
