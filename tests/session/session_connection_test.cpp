// SPDX-License-Identifier: GPL-3.0-or-later
// What the session keeps of the module it reached (the port, the version)
// across connects, closes, a device that goes away and a reconnect.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "session/session.h"
#include "sim/simulated_line.h"

namespace zelk {
namespace {

// Two simulated modules, on the ports "SIM" and "OTHER".
class SessionConnection : public ::testing::Test {
 protected:
  SessionConnection()
      : other_({}, "OTHER"), session_([this](const std::string& name) {
          return name == "OTHER" ? other_.Opener()(name) : sim_.Opener()(name);
        }) {
    other_.module().version() = {3, 7};
  }

  void ExpectReached(const std::string& port, std::uint8_t major, std::uint8_t minor) {
    EXPECT_TRUE(session_.module_answered());
    EXPECT_EQ(session_.connected_port(), port);
    ASSERT_TRUE(session_.module_version().has_value());
    EXPECT_EQ(session_.module_version()->numbers, (std::array<std::uint8_t, 2>{major, minor}));
  }
  void ExpectNoneReached() {
    EXPECT_FALSE(session_.module_answered());
    EXPECT_EQ(session_.connected_port(), "");
    EXPECT_EQ(session_.module_version(), std::nullopt);
  }

  sim::SimulatedPort sim_;
  sim::SimulatedPort other_;
  Session session_;
};

TEST_F(SessionConnection, NothingReachedAtStartOrByAnOpenAlone) {
  ExpectNoneReached();
  ASSERT_TRUE(session_.Open("SIM").ok());
  ExpectNoneReached();
  ASSERT_TRUE(session_.ReadVersion().ok());
  ExpectReached("SIM", 2, 10);
}

TEST_F(SessionConnection, ConnectKeepsThePortAndVersionUntilClose) {
  ASSERT_TRUE(session_.Connect("SIM").ok());
  ExpectReached("SIM", 2, 10);
  EXPECT_TRUE(session_.Close());
  ExpectNoneReached();
  EXPECT_FALSE(session_.Close());
  ExpectNoneReached();
}

TEST_F(SessionConnection, AnotherPortForgetsTheModuleReachedBefore) {
  ASSERT_TRUE(session_.Connect("SIM").ok());
  ASSERT_TRUE(session_.Connect("OTHER").ok());
  ExpectReached("OTHER", 3, 7);

  // Forgotten as the open starts, whether or not the port then opens.
  EXPECT_EQ(session_.Connect("ttyS9").failure, Failure::no_such_port);
  ExpectNoneReached();
  ASSERT_TRUE(session_.Connect("OTHER").ok());
  ASSERT_TRUE(session_.Open("SIM").ok());
  ExpectNoneReached();
}

TEST_F(SessionConnection, AFailedConnectOfAFreshPortReachesNothing) {
  sim_.module().faults().silent = true;
  EXPECT_EQ(session_.Connect("SIM").failure, Failure::no_reply);
  ExpectNoneReached();
  sim_.module().faults() = {};
  sim_.module().faults().short_reply = true;
  EXPECT_EQ(session_.Connect("SIM").failure, Failure::short_reply);
  ExpectNoneReached();
}

// The device goes away: the port closes by itself, and the module reached
// stays known, so the window can wait for it on the same port.
TEST_F(SessionConnection, AGoneDeviceAndFailedReconnectsKeepTheModule) {
  ASSERT_TRUE(session_.Connect("SIM").ok());
  sim_.module().faults().hangup_after = 0;
  EXPECT_EQ(session_.Poll(1).failure, Failure::port_gone);
  EXPECT_FALSE(session_.connected());
  ExpectReached("SIM", 2, 10);

  EXPECT_EQ(session_.Connect("SIM").failure, Failure::no_such_port);  // still unplugged
  ExpectReached("SIM", 2, 10);
  sim_.module().faults() = {};
  sim_.module().Reconnect();
  sim_.module().faults().silent = true;  // back, not yet answering
  EXPECT_EQ(session_.Connect("SIM").failure, Failure::no_reply);
  EXPECT_FALSE(session_.connected());
  ExpectReached("SIM", 2, 10);

  // Back: the version it gives now is the one kept.
  sim_.module().faults() = {};
  sim_.module().version() = {2, 11};
  ASSERT_TRUE(session_.Connect("SIM").ok());
  EXPECT_TRUE(session_.connected());
  ExpectReached("SIM", 2, 11);
}

}  // namespace
}  // namespace zelk
