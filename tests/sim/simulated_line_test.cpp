// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/simulated_line.h"

#include <gtest/gtest.h>

#include <array>

#include "sim_test_util.h"

namespace zelk::sim {
namespace {

using testing::Bytes;
using testing::RequestBytes;

constexpr double kRequestMs = 7 * kByteTimeMs;  // the version request on the wire

class SimulatedLineTest : public ::testing::Test {
 protected:
  SimulatedLineTest() : line_(module_, clock_, calls_) { line_.SetTimeouts(kLinkTimeouts); }

  IoResult SendVersionRequest() {
    const Bytes request = RequestBytes(3, 1, {0});
    return line_.Write(request.data(), request.size());
  }
  Bytes ReadUpTo(std::size_t capacity = 100) {
    std::array<std::uint8_t, 100> buf{};
    const IoResult result = line_.Read(buf.data(), capacity);
    EXPECT_EQ(result.error, LineError::none);
    return Bytes(buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(result.bytes));
  }

  ZelkModule module_;
  VirtualClock clock_;
  LineCalls calls_;
  SimulatedLine line_;
};

TEST_F(SimulatedLineTest, ReplyEndsTwentyMillisecondsAfterItsLastByte) {
  ASSERT_EQ(SendVersionRequest().bytes, 7u);
  EXPECT_DOUBLE_EQ(clock_.now_ms(), kRequestMs);
  EXPECT_EQ(ReadUpTo(), (Bytes{0xF3, 0x03, 0x02, 0x0A, 0x98}));
  EXPECT_NEAR(clock_.now_ms(), kRequestMs + kTurnaroundMs + 5 * kByteTimeMs + 20, 1e-9);
  EXPECT_EQ(calls_.writes, 1);
  EXPECT_EQ(calls_.reads, 1);
  EXPECT_EQ(module_.counters().bytes_received, 7u);
}

TEST_F(SimulatedLineTest, SilentReadReturnsNothingAfter350Milliseconds) {
  module_.faults().silent = true;
  SendVersionRequest();
  EXPECT_TRUE(ReadUpTo().empty());
  EXPECT_NEAR(clock_.now_ms(), kRequestMs + 350, 1e-9);
}

// A module 400 ms late: the read of its request gives up at 350 ms, the
// next read (the retry's) gets the late answer, and the retry's own answer
// comes 400 ms after the retry, for whoever reads next.
TEST_F(SimulatedLineTest, AReplyFourHundredMillisecondsLateMissesItsRead) {
  module_.faults().extra_delay_ms = 400;
  const Bytes reply{0xF3, 0x03, 0x02, 0x0A, 0x98};
  SendVersionRequest();
  EXPECT_TRUE(ReadUpTo().empty());
  EXPECT_NEAR(clock_.now_ms(), kRequestMs + 350, 1e-9);
  SendVersionRequest();
  const double retry_end = clock_.now_ms();
  EXPECT_EQ(ReadUpTo(), reply);
  EXPECT_NEAR(clock_.now_ms(), kRequestMs + kTurnaroundMs + 400 + 5 * kByteTimeMs + 20, 1e-9);
  // The retry's answer is complete before this read's 350 ms are up, and
  // its time-out ends the read less than 20 ms after the last byte.
  const double third_read = clock_.now_ms();
  EXPECT_LT(retry_end + kTurnaroundMs + 400 + 5 * kByteTimeMs, third_read + 350);
  EXPECT_EQ(ReadUpTo(), reply);
  EXPECT_NEAR(clock_.now_ms(), third_read + 350, 1e-9);
  EXPECT_TRUE(ReadUpTo().empty());
  EXPECT_EQ(line_.pending(), 0u);
}

TEST_F(SimulatedLineTest, AShortReplyLacksItsLastPayloadByteButPassesItsCheck) {
  module_.faults().short_reply = true;
  SendVersionRequest();
  const Bytes reply = ReadUpTo();
  EXPECT_EQ(reply, testing::ReplyFrame(3, {0x02}));
  EXPECT_EQ(FrameChecksum(reply), 0);
}

TEST_F(SimulatedLineTest, TotalTimeOutScalesWithTheReadSize) {
  module_.faults().silent = true;
  ReadUpTo(10);
  EXPECT_NEAR(clock_.now_ms(), 3 * 10 + 50, 1e-9);
}

struct SplitCase {
  int pause_ms;
  std::vector<std::size_t> reads;  // bytes each read returns
};

class SimulatedLineSplit : public SimulatedLineTest,
                           public ::testing::WithParamInterface<SplitCase> {};

TEST_P(SimulatedLineSplit, PauseLongerThanTheIntervalEndsTheRead) {
  module_.faults().split_pause_ms = GetParam().pause_ms;
  SendVersionRequest();
  for (std::size_t expected : GetParam().reads) EXPECT_EQ(ReadUpTo().size(), expected);
}

// 20 ms is the longest gap inside one reply; 21 ms splits it.
INSTANTIATE_TEST_SUITE_P(Pauses, SimulatedLineSplit,
                         ::testing::Values(SplitCase{10, {5, 0}}, SplitCase{19, {5, 0}},
                                           SplitCase{21, {2, 3}}, SplitCase{40, {2, 3, 0}}),
                         [](const auto& info) {
                           return "Pause" + std::to_string(info.param.pause_ms) + "ms";
                         });

TEST_F(SimulatedLineTest, OversizeReplyEndsTheReadAtCapacity) {
  module_.faults().oversize = true;
  SendVersionRequest();
  const Bytes reply = ReadUpTo(100);
  EXPECT_EQ(reply.size(), 100u);
  // Full at the last byte: no waiting for the interval.
  EXPECT_NEAR(clock_.now_ms(), kRequestMs + kTurnaroundMs + 100 * kByteTimeMs, 1e-9);
}

TEST_F(SimulatedLineTest, SmallReadLeavesTheRestPending) {
  SendVersionRequest();
  EXPECT_EQ(ReadUpTo(3), (Bytes{0xF3, 0x03, 0x02}));
  EXPECT_EQ(line_.pending(), 2u);
  EXPECT_EQ(ReadUpTo(), (Bytes{0x0A, 0x98}));
}

TEST_F(SimulatedLineTest, LateBytesLandInTheNextRead) {
  module_.faults().late_bytes = true;
  SendVersionRequest();
  EXPECT_EQ(ReadUpTo().size(), 5u);
  EXPECT_EQ(line_.pending(), 2u);
  EXPECT_EQ(ReadUpTo(), (Bytes{0x5A, 0xA5}));
}

TEST_F(SimulatedLineTest, PurgeDropsOnlyWhatHasArrived) {
  module_.faults().late_bytes = true;
  SendVersionRequest();
  ReadUpTo();
  line_.PurgeInput();  // the late bytes are still on their way
  EXPECT_EQ(line_.pending(), 2u);
  clock_.Advance(100);
  line_.PurgeInput();
  EXPECT_EQ(line_.pending(), 0u);
  EXPECT_EQ(calls_.purge_input, 2);
}

TEST_F(SimulatedLineTest, ExtraDelayWithinTheTotalTimeOut) {
  module_.faults().extra_delay_ms = 300;
  SendVersionRequest();
  EXPECT_EQ(ReadUpTo().size(), 5u);
  module_.faults().extra_delay_ms = 400;  // beyond 350 ms: the read gives up first
  SendVersionRequest();
  EXPECT_TRUE(ReadUpTo().empty());
  EXPECT_EQ(ReadUpTo().size(), 5u);  // ... and the reply turns up in the next one
}

TEST_F(SimulatedLineTest, HangUpAfterTheReplyKillsTheLine) {
  module_.faults().hangup_after = 1;
  SendVersionRequest();
  EXPECT_EQ(ReadUpTo().size(), 5u);
  std::array<std::uint8_t, 100> buf{};
  EXPECT_EQ(line_.Write(buf.data(), 7).error, LineError::device_gone);
  EXPECT_EQ(line_.Read(buf.data(), 100).error, LineError::device_gone);
}

TEST_F(SimulatedLineTest, HangUpWithoutReplyFailsThePendingRead) {
  module_.faults().hangup_after = 0;
  SendVersionRequest();
  std::array<std::uint8_t, 100> buf{};
  const IoResult read = line_.Read(buf.data(), 100);
  EXPECT_EQ(read.bytes, 0u);
  EXPECT_EQ(read.error, LineError::device_gone);
  EXPECT_LT(clock_.now_ms(), 20);
}

TEST_F(SimulatedLineTest, ClosedLineRefusesIo) {
  line_.Close();
  std::array<std::uint8_t, 8> buf{};
  EXPECT_EQ(line_.Write(buf.data(), 1).error, LineError::other);
  EXPECT_EQ(line_.Read(buf.data(), 8).error, LineError::other);
  EXPECT_EQ(calls_.closes, 1);
  EXPECT_EQ(module_.counters().bytes_received, 0u);
}

TEST(SimulatedPort, OpenerByNameBusyAndHangUp) {
  SimulatedPort port({}, "COM5");
  LineOpener open = port.Opener();
  EXPECT_EQ(open("COM4").error, OpenError::not_found);
  port.busy = true;
  EXPECT_EQ(open("COM5").error, OpenError::busy);
  port.busy = false;
  OpenResult opened = open("COM5");
  ASSERT_NE(opened.line, nullptr);
  EXPECT_EQ(port.opens(), 1);
  EXPECT_EQ(port.calls().set_timeouts, 1);

  port.module().faults().hangup_after = 0;
  const Bytes request = RequestBytes(3, 1, {0});
  opened.line->Write(request.data(), request.size());
  EXPECT_EQ(open("COM5").error, OpenError::not_found) << "a hung-up device is gone";
  port.module().Reconnect();
  EXPECT_NE(open("COM5").line, nullptr);
  EXPECT_EQ(port.opens(), 2);
}

}  // namespace
}  // namespace zelk::sim
