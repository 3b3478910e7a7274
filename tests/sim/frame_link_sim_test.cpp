// SPDX-License-Identifier: GPL-3.0-or-later
// The link's exchange against the simulated module, on the virtual clock.

#include <gtest/gtest.h>

#include <array>

#include "link/frame_link.h"
#include "link/requests.h"
#include "sim/simulated_line.h"

namespace zelk::sim {
namespace {

class FrameLinkOverSim : public ::testing::Test {
 protected:
  FrameLinkOverSim() : link_(port_.Opener()) {}
  void SetUp() override { ASSERT_EQ(link_.OpenPort("SIM").error, OpenError::none); }

  bool AskVersion() { return link_.ExchangeFrame(requests::kVersion, buf_); }

  SimulatedPort port_;
  FrameLink link_;
  std::array<std::uint8_t, 100> buf_{};
};

TEST_F(FrameLinkOverSim, VersionExchange) {
  ASSERT_TRUE(AskVersion());
  EXPECT_EQ(buf_[0], 2);
  EXPECT_EQ(buf_[1], 10);
  EXPECT_EQ(port_.calls().writes, 1);
  EXPECT_EQ(port_.module().counters().requests, 1u);
}

TEST_F(FrameLinkOverSim, SilentModuleIsAskedThreeTimes) {
  port_.module().faults().silent = true;
  EXPECT_FALSE(AskVersion());
  EXPECT_EQ(port_.calls().writes, 3);
  EXPECT_EQ(port_.module().counters().requests, 3u);
  EXPECT_TRUE(link_.resync_pending());
  EXPECT_TRUE(link_.port_open());
  EXPECT_NEAR(port_.clock().now_ms(), 3 * (7 * kByteTimeMs + 350), 1e-6);
}

TEST_F(FrameLinkOverSim, SecondTryAnswered) {
  port_.module().faults().no_reply_first = 1;
  ASSERT_TRUE(AskVersion());
  EXPECT_EQ(buf_[1], 10);
  EXPECT_EQ(port_.calls().writes, 2);
}

TEST_F(FrameLinkOverSim, HangUpClosesThePort) {
  port_.module().faults().hangup_after = 1;
  EXPECT_TRUE(AskVersion());
  EXPECT_FALSE(AskVersion());
  EXPECT_FALSE(link_.port_open());
  EXPECT_EQ(port_.calls().closes, 1);
  EXPECT_EQ(link_.OpenPort("SIM").error, OpenError::not_found);
}

TEST_F(FrameLinkOverSim, SettingsRoundTripAndMixtureWrite) {
  std::array<std::uint8_t, 25> block{};
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(200 - i);
  ASSERT_TRUE(link_.ExchangeFrame(requests::kWriteSettings, block));
  std::array<std::uint8_t, 1> mixture{17};
  ASSERT_TRUE(link_.ExchangeFrame(requests::kWriteMixture, mixture));
  std::array<std::uint8_t, 25> read{};
  ASSERT_TRUE(link_.ExchangeFrame(requests::kReadSettings, read));
  block[2] = 17;
  EXPECT_EQ(read, block);
}

TEST_F(FrameLinkOverSim, ProgramRunsToCompletionOnTheVirtualClock) {
  std::array<std::uint8_t, 1> start{1};
  ASSERT_TRUE(link_.ExchangeFrame(requests::kProgramControl, start));
  std::array<std::uint8_t, 2> status{};
  ASSERT_TRUE(link_.ExchangeFrame(requests::kProgramStatus, status));
  EXPECT_EQ(status[0], kStatusRpmRunning);
  port_.clock().Advance(port_.module().engine().rpm_program_ms);
  ASSERT_TRUE(link_.ExchangeFrame(requests::kProgramStatus, status));
  EXPECT_EQ(status[0], 0);
  std::array<std::uint8_t, 25> settings{};
  ASSERT_TRUE(link_.ExchangeFrame(requests::kReadSettings, settings));
  EXPECT_EQ(settings[0] & 0x03, 0x02);
}

struct BadReplyCase {
  const char* name;
  void (*set)(FaultModes&);
  int quiet_reads;  // before the line is found quiet: the last one comes back empty
};

class FrameLinkBadReply : public FrameLinkOverSim,
                          public ::testing::WithParamInterface<BadReplyCase> {};

// A reply that fails its check (or comes short) leaves the caller's buffer
// alone and the next exchange, once the module behaves, makes the line quiet
// and succeeds.
TEST_P(FrameLinkBadReply, RefusedThenRecovered) {
  GetParam().set(port_.module().faults());
  buf_.fill(0xCC);
  EXPECT_FALSE(AskVersion());
  EXPECT_EQ(buf_[0], 0xCC);
  EXPECT_TRUE(link_.resync_pending());
  EXPECT_TRUE(link_.port_open());

  port_.module().faults() = {};
  const int reads_before = port_.calls().reads;
  ASSERT_TRUE(AskVersion());
  EXPECT_EQ(port_.calls().reads - reads_before, GetParam().quiet_reads + 1)
      << "the quiet reads, then the reply";
  EXPECT_EQ(buf_[0], 2);
  EXPECT_FALSE(link_.resync_pending());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FrameLinkBadReply,
    ::testing::Values(BadReplyCase{"bad_check", [](FaultModes& f) { f.bad_check = true; }, 1},
                      BadReplyCase{"truncated", [](FaultModes& f) { f.truncated = true; }, 1},
                      BadReplyCase{"garbage_before", [](FaultModes& f) { f.garbage_before = true; },
                                   1},
                      BadReplyCase{"short", [](FaultModes& f) { f.short_reply = true; }, 1},
                      // The reply's second half arrives during the first quiet read.
                      BadReplyCase{"split_40ms", [](FaultModes& f) { f.split_pause_ms = 40; }, 2}),
    [](const auto& info) { return std::string(info.param.name); });

// Each way an exchange goes wrong names itself, and a success clears it.
struct FailureCase {
  const char* name;
  void (*set)(FaultModes&);
  ExchangeFailure failure;
};

class FrameLinkFailure : public FrameLinkOverSim,
                         public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FrameLinkFailure, NamesWhyTheExchangeFailed) {
  GetParam().set(port_.module().faults());
  EXPECT_FALSE(AskVersion());
  EXPECT_EQ(link_.last_failure(), GetParam().failure);
  port_.module().faults() = {};
  if (!link_.port_open()) return;
  ASSERT_TRUE(AskVersion());
  EXPECT_EQ(link_.last_failure(), ExchangeFailure::none);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FrameLinkFailure,
    ::testing::Values(FailureCase{"silent", [](FaultModes& f) { f.silent = true; },
                                  ExchangeFailure::no_reply},
                      FailureCase{"bad_check", [](FaultModes& f) { f.bad_check = true; },
                                  ExchangeFailure::bad_check},
                      FailureCase{"truncated", [](FaultModes& f) { f.truncated = true; },
                                  ExchangeFailure::bad_check},
                      FailureCase{"short", [](FaultModes& f) { f.short_reply = true; },
                                  ExchangeFailure::short_reply},
                      FailureCase{"hangup", [](FaultModes& f) { f.hangup_after = 0; },
                                  ExchangeFailure::device_gone}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FrameLinkOverSim, RefusedRequestsNameTheirReason) {
  std::array<std::uint8_t, 4> small{};
  EXPECT_FALSE(link_.ExchangeFrame(requests::kPollBlock, small));
  EXPECT_EQ(link_.last_failure(), ExchangeFailure::bad_request);
  EXPECT_EQ(port_.calls().writes, 0);
  link_.ClosePort();
  EXPECT_FALSE(AskVersion());
  EXPECT_EQ(link_.last_failure(), ExchangeFailure::not_open);
}

TEST_F(FrameLinkOverSim, SplitOfTenMillisecondsIsOneReply) {
  port_.module().faults().split_pause_ms = 10;
  ASSERT_TRUE(AskVersion());
  EXPECT_EQ(buf_[1], 10);
}

TEST_F(FrameLinkOverSim, OversizeReplyIsAcceptedWithoutOverrunningTheBuffer) {
  port_.module().faults().oversize = true;
  std::array<std::uint8_t, 4> small{0, 0, 0xEE, 0xEE};
  // A settings-size buffer receives only what fits.
  ASSERT_TRUE(link_.ExchangeFrame(3, 1, 1, std::span(small).first(2)));
  EXPECT_EQ(small, (std::array<std::uint8_t, 4>{2, 10, 0xEE, 0xEE}));
}

TEST_F(FrameLinkOverSim, LateBytesSpoilTheNextReplyThenTheDrainRecovers) {
  port_.module().faults().late_bytes = true;
  ASSERT_TRUE(AskVersion());  // the stray bytes come after this read has ended
  port_.module().faults() = {};
  port_.clock().Advance(100);  // ... and wait in the input buffer
  EXPECT_FALSE(AskVersion());  // they run into the next reply, whose check then fails
  EXPECT_TRUE(link_.resync_pending());
  ASSERT_TRUE(AskVersion());
  EXPECT_EQ(buf_[1], 10);
}

}  // namespace
}  // namespace zelk::sim
