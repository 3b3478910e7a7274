// SPDX-License-Identifier: GPL-3.0-or-later
// The watch for a port that went away: nothing sent while it is gone, the
// version request alone once it is back, a pause after a silent port, and the
// end of the watch after ten minutes.

#include "session/reconnect_watch.h"

#include <gtest/gtest.h>

#include "sim/simulated_line.h"

namespace zelk {
namespace {

class ReconnectOverSim : public ::testing::Test {
 protected:
  ReconnectOverSim() : session_(port_.Opener(), [this] { return port_.clock().now_ms(); }) {}

  // Connected, then unplugged by a hang-up on the next poll.
  void SetUp() override {
    ASSERT_TRUE(session_.Connect("SIM").ok());
    module().faults().hangup_after = 0;
    ASSERT_EQ(session_.Poll(1).failure, Failure::port_gone);
    ASSERT_FALSE(session_.connected());
  }
  sim::ZelkModule& module() { return port_.module(); }
  double now() { return port_.clock().now_ms(); }

  sim::SimulatedPort port_;
  Session session_;
};

TEST_F(ReconnectOverSim, NothingIsSentUntilThePortIsBackThenOnlyTheVersion) {
  ReconnectWatch watch("SIM", now());
  const int writes = port_.calls().writes;
  const std::size_t requests = module().history().size();
  for (int second = 0; second < 5; ++second) {
    const ReconnectLook look = watch.Look(session_, now() + second * kReconnectLookMs);
    EXPECT_EQ(look.state, ReconnectState::waiting);
    EXPECT_EQ(look.version.failure, Failure::no_such_port);
  }
  EXPECT_EQ(port_.calls().writes, writes);

  module().Reconnect();
  module().faults().hangup_after = -1;
  const ReconnectLook back = watch.Look(session_, now() + 5 * kReconnectLookMs);
  EXPECT_EQ(back.state, ReconnectState::back);
  EXPECT_EQ(back.version.value.numbers, (std::array<std::uint8_t, 2>{2, 10}));
  EXPECT_TRUE(session_.connected());
  ASSERT_EQ(module().history().size(), requests + 1);
  EXPECT_EQ(module().history().back().command, 3);

  // Over: further looks neither send nor reopen.
  EXPECT_EQ(watch.Look(session_, now() + 6 * kReconnectLookMs).state, ReconnectState::back);
  EXPECT_EQ(module().history().size(), requests + 1);
  EXPECT_TRUE(watch.over());
}

TEST_F(ReconnectOverSim, ASilentPortIsAskedAgainOnlyAfterThePause) {
  module().Reconnect();
  module().faults().hangup_after = -1;
  module().faults().silent = true;
  const double start = now();
  ReconnectWatch watch("SIM", start);
  EXPECT_EQ(watch.Look(session_, start).version.failure, Failure::no_reply);
  EXPECT_FALSE(session_.connected()) << "closed again after no answer";
  const int writes = port_.calls().writes;
  const ReconnectLook paused = watch.Look(session_, start + kSilentPortPauseMs - 1);
  EXPECT_EQ(paused.state, ReconnectState::waiting);
  EXPECT_EQ(paused.version.failure, Failure::none);
  EXPECT_EQ(port_.calls().writes, writes);

  module().faults().silent = false;
  EXPECT_EQ(watch.Look(session_, start + kSilentPortPauseMs).state, ReconnectState::back);
}

TEST_F(ReconnectOverSim, GivesUpAfterTenMinutes) {
  const double start = now();
  ReconnectWatch watch("SIM", start);
  EXPECT_EQ(watch.Look(session_, start + kReconnectWatchMs - 1).state, ReconnectState::waiting);
  module().Reconnect();
  module().faults().hangup_after = -1;
  EXPECT_EQ(watch.Look(session_, start + kReconnectWatchMs).state, ReconnectState::gave_up);
  EXPECT_FALSE(session_.connected());
  EXPECT_TRUE(watch.over());
}

}  // namespace
}  // namespace zelk
