// SPDX-License-Identifier: GPL-3.0-or-later
// The search for the module and the watch for its return, over real
// pseudo-terminals served by zelk-sim processes.

#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <climits>
#include <filesystem>

#include "session/find_module.h"
#include "session/reconnect_watch.h"
#include "support/sim_process.h"

namespace zelk::e2e {
namespace {

using namespace std::chrono_literals;
using testing::SimProcess;

#define START_SIM(sim, ...)      \
  SimProcess sim(ZELK_SIM_PATH); \
  std::string sim##_error;       \
  ASSERT_TRUE(sim.Start({__VA_ARGS__}, sim##_error)) << sim##_error

// One answering module, a silent one, one held open by another open, one
// answering garbage and a name that is no port at all: asked at once, the
// search costs one failed exchange, not four.
TEST(FindModulePty, FourSimulatorsAtOnce) {
  START_SIM(silent, "--fault", "silent");
  START_SIM(answering, "--module-version", "3.7");
  START_SIM(busy);
  START_SIM(garbage, "--fault", "garbage-before");
  const OpenResult holder = OpenPlatformSerialLine(busy.link());
  ASSERT_EQ(holder.error, OpenError::none) << holder.detail;

  const std::vector<std::string> ports{silent.link(), answering.link(), busy.link(), garbage.link(),
                                       silent.dir() + "/no-such-tty"};
  const auto started = std::chrono::steady_clock::now();
  const std::vector<PortProbe> probes = FindModule(ports);
  const auto took = std::chrono::steady_clock::now() - started;
  EXPECT_LT(took, 3s);
  EXPECT_GT(took, 900ms) << "the silent port takes its three tries";

  ASSERT_EQ(probes.size(), ports.size());
  EXPECT_EQ(probes[0].verdict, ProbeVerdict::no_answer);
  EXPECT_EQ(probes[0].version.failure, Failure::no_reply);
  EXPECT_EQ(probes[1].verdict, ProbeVerdict::answered);
  EXPECT_EQ(probes[1].version.value.numbers, (std::array<std::uint8_t, 2>{3, 7}));
  EXPECT_EQ(probes[2].verdict, ProbeVerdict::not_opened);
  EXPECT_EQ(probes[2].version.failure, Failure::port_busy);
  EXPECT_EQ(probes[3].verdict, ProbeVerdict::no_answer);
  EXPECT_EQ(probes[3].version.failure, Failure::bad_check);
  EXPECT_EQ(probes[4].version.failure, Failure::no_such_port);
  EXPECT_EQ(FirstAnswered(probes), std::optional<std::size_t>(1));

  // Every port the search opened is free again.
  for (const std::string& port : {silent.link(), answering.link(), garbage.link()}) {
    Session after;
    EXPECT_TRUE(after.Open(port).ok()) << port;
  }
}

std::string PtyBehind(const std::string& link) {
  std::array<char, PATH_MAX> target{};
  const ssize_t n = readlink(link.c_str(), target.data(), target.size() - 1);
  return n > 0 ? std::string(target.data(), static_cast<std::size_t>(n)) : std::string();
}

void PointLink(const std::string& link, const std::string& target) {
  std::filesystem::remove(link);
  std::filesystem::create_symlink(target, link);
}

// The port name the window knows is a symlink: it points at the first
// simulator's pty, which hangs up; then at a new simulator's pty.
TEST(FindModulePty, ReconnectWhenTheSamePathComesBack) {
  START_SIM(first, "--fault", "hangup-after=1");
  const std::string port = first.dir() + "/zelk-port";
  // Gone before the simulator's folder is removed, whichever way the test ends.
  struct RemoveLink {
    std::string path;
    ~RemoveLink() { std::filesystem::remove(path); }
  } remove_link{port};
  PointLink(port, PtyBehind(first.link()));

  Session session;
  ASSERT_TRUE(session.Connect(port).ok());
  EXPECT_EQ(session.Poll(1).failure, Failure::port_gone);
  ASSERT_TRUE(first.WaitExit(10s).has_value()) << "the simulator ends after its hang-up";

  ReconnectWatch watch(port, Session::SteadyMilliseconds());
  const ReconnectLook gone = watch.Look(session, Session::SteadyMilliseconds());
  EXPECT_EQ(gone.state, ReconnectState::waiting);
  EXPECT_EQ(gone.version.failure, Failure::no_such_port);

  START_SIM(second, "--module-version", "2.11");
  PointLink(port, PtyBehind(second.link()));
  const ReconnectLook back = watch.Look(session, Session::SteadyMilliseconds());
  ASSERT_EQ(back.state, ReconnectState::back) << DescribeFailure(back.version.failure);
  EXPECT_EQ(back.version.value.numbers, (std::array<std::uint8_t, 2>{2, 11}));
  EXPECT_TRUE(session.connected());
  EXPECT_TRUE(session.ReadSettings().settings.ok());
}

}  // namespace
}  // namespace zelk::e2e
