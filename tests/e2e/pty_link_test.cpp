// SPDX-License-Identifier: GPL-3.0-or-later
// The link against the zelk-sim program over a real pseudo-terminal: the
// platform serial line, real time, the simulator's own pacing.

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <fstream>
#include <thread>
#include <vector>

#include "link/frame.h"
#include "link/frame_link.h"
#include "link/posix_serial_line.h"
#include "link/requests.h"
#include "link/serial_line.h"
#include "support/sim_process.h"

namespace zelk::e2e {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using testing::SimProcess;

class PtyLink : public ::testing::Test {
 protected:
  // Starts the simulator and opens its port through the platform opener.
  void Serve(const std::vector<std::string>& args) {
    std::string error;
    ASSERT_TRUE(sim_.Start(args, error)) << error;
    const OpenResult opened = link_.OpenPort(sim_.link());
    ASSERT_EQ(opened.error, OpenError::none) << opened.detail;
  }
  bool AskVersion() { return link_.ExchangeFrame(requests::kVersion, buf_); }

  SimProcess sim_{ZELK_SIM_PATH};
  FrameLink link_;
  std::array<std::uint8_t, 100> buf_{};
};

TEST_F(PtyLink, VersionExchange) {
  Serve({});
  ASSERT_TRUE(AskVersion());
  EXPECT_EQ(buf_[0], 2);
  EXPECT_EQ(buf_[1], 10);
}

TEST_F(PtyLink, VersionFromTheCommandLine) {
  Serve({"--module-version", "3.7"});
  ASSERT_TRUE(AskVersion());
  EXPECT_EQ(buf_[0], 3);
  EXPECT_EQ(buf_[1], 7);
}

struct SplitCase {
  const char* fault;
  bool accepted;
};

class PtySplit : public PtyLink, public ::testing::WithParamInterface<SplitCase> {};

// A read ends at a pause of more than 20 ms: a 10 ms pause stays inside one
// reply, a 40 ms pause cuts it and the first half fails its check.
// The simulator's 10 ms pause is a real sleep: on a busy host it can stretch
// past 20 ms and rightly cut the reply, so that case has a few tries; a link
// that cut at 10 ms would fail every one.
TEST_P(PtySplit, PauseInsideTheReply) {
  Serve({"--fault", GetParam().fault});
  buf_.fill(0xCC);
  const int tries = GetParam().accepted ? 5 : 1;
  bool accepted = false;
  for (int i = 0; i < tries && !accepted; ++i) accepted = AskVersion();
  EXPECT_EQ(accepted, GetParam().accepted);
  EXPECT_EQ(link_.resync_pending(), !GetParam().accepted);
  EXPECT_EQ(buf_[0], GetParam().accepted ? 2 : 0xCC);
}

INSTANTIATE_TEST_SUITE_P(Pauses, PtySplit,
                         ::testing::Values(SplitCase{"split-pause=10", true},
                                           SplitCase{"split-pause=40", false}),
                         [](const auto& info) {
                           return info.param.accepted ? std::string("Pause10ms")
                                                      : std::string("Pause40ms");
                         });

TEST_F(PtyLink, SilentModuleFailsAfterThreeTries) {
  Serve({"--fault", "silent"});
  const auto start = Clock::now();
  EXPECT_FALSE(AskVersion());
  const auto elapsed = Clock::now() - start;
  EXPECT_GE(elapsed, milliseconds(1000));  // three reads of 350 ms
  EXPECT_LT(elapsed, milliseconds(5000));
  EXPECT_TRUE(link_.resync_pending());
  EXPECT_TRUE(link_.port_open());
}

TEST_F(PtyLink, HangUpClosesThePortAndEndsTheSimulator) {
  Serve({"--fault", "hangup-after=1"});
  ASSERT_TRUE(AskVersion());
  EXPECT_TRUE(link_.port_open());
  EXPECT_FALSE(AskVersion());
  EXPECT_FALSE(link_.port_open());
  EXPECT_EQ(sim_.WaitExit(milliseconds(5000)), 0);
  struct stat st {};
  EXPECT_NE(lstat(sim_.link().c_str(), &st), 0) << "the link is removed";
}

TEST_F(PtyLink, SecondOpenWhileTheFirstHoldsThePortIsBusy) {
  Serve({});
  FrameLink second;
  EXPECT_EQ(second.OpenPort(sim_.link()).error, OpenError::busy);
  EXPECT_FALSE(second.port_open());
  EXPECT_TRUE(AskVersion()) << "the first holder is not disturbed";

  ASSERT_TRUE(link_.ClosePort());
  ASSERT_EQ(second.OpenPort(sim_.link()).error, OpenError::none);
  EXPECT_TRUE(second.ExchangeFrame(requests::kVersion, buf_));
}

TEST_F(PtyLink, SettingsWriteAndReadBack) {
  Serve({});
  std::array<std::uint8_t, 25> block{};
  ASSERT_TRUE(link_.ExchangeFrame(requests::kReadSettings, block));
  EXPECT_EQ(block[0] & 0x03, 0) << "no program has run on a fresh module";
  block[14] = 30;
  block[1] ^= 0xFF;  // a byte only carried, never interpreted
  ASSERT_TRUE(link_.ExchangeFrame(requests::kWriteSettings, block));
  std::array<std::uint8_t, 1> mixture{40};
  ASSERT_TRUE(link_.ExchangeFrame(requests::kWriteMixture, mixture));
  std::array<std::uint8_t, 25> read{};
  ASSERT_TRUE(link_.ExchangeFrame(requests::kReadSettings, read));
  block[2] = 40;
  EXPECT_EQ(read, block);
}

struct ProgramCase {
  std::uint8_t start;
  std::uint8_t running_bit;
  std::uint8_t done_flag;
};

class PtyProgram : public PtyLink, public ::testing::WithParamInterface<ProgramCase> {};

// With short program times the run is followed as the progress window does:
// status reads until the running bit clears, then the settings flag is set.
TEST_P(PtyProgram, RunsToTheEnd) {
  Serve({"--rpm-program-ms", "300", "--map-program-ms", "400"});
  std::array<std::uint8_t, 1> start{GetParam().start};
  ASSERT_TRUE(link_.ExchangeFrame(requests::kProgramControl, start));
  std::array<std::uint8_t, 2> status{};
  ASSERT_TRUE(link_.ExchangeFrame(requests::kProgramStatus, status));
  EXPECT_TRUE(status[0] & GetParam().running_bit);

  const auto deadline = Clock::now() + milliseconds(5000);
  while ((status[0] & GetParam().running_bit) && Clock::now() < deadline) {
    std::this_thread::sleep_for(milliseconds(50));
    ASSERT_TRUE(link_.ExchangeFrame(requests::kProgramStatus, status));
  }
  EXPECT_EQ(status[0], 0);
  std::array<std::uint8_t, 25> block{};
  ASSERT_TRUE(link_.ExchangeFrame(requests::kReadSettings, block));
  EXPECT_EQ(block[0] & 0x03, GetParam().done_flag);
}

INSTANTIATE_TEST_SUITE_P(Programs, PtyProgram,
                         ::testing::Values(ProgramCase{1, kStatusRpmRunning, 0x02},
                                           ProgramCase{2, kStatusMapRunning, 0x01}),
                         [](const auto& info) {
                           return info.param.running_bit == kStatusRpmRunning
                                      ? std::string("RpmLambda")
                                      : std::string("Map");
                         });

// A module with one serial line answers two requests that overlap one after
// the other, never byte by byte in turn.
TEST_F(PtyLink, OverlappingRequestsAreAnsweredOneAfterTheOther) {
  std::string error;
  ASSERT_TRUE(sim_.Start({}, error)) << error;
  OpenResult opened = PosixSerialLine::Open(sim_.link(), {100, 0, 3000, 2, 50});
  ASSERT_EQ(opened.error, OpenError::none) << opened.detail;
  // Two version requests in one write: the second arrives while the first
  // reply is going out.
  const std::vector<std::uint8_t> twice{0xF3, 0x03, 0x00, 0x01, 0x01, 0x00, 0x9C,
                                        0xF3, 0x03, 0x00, 0x01, 0x01, 0x00, 0x9C};
  ASSERT_EQ(opened.line->Write(twice.data(), twice.size()).bytes, twice.size());
  std::vector<std::uint8_t> got(100);
  got.resize(opened.line->Read(got.data(), got.size()).bytes);
  std::vector<std::uint8_t> reply{0xF3, 0x03, 0x02, 0x0A};
  reply.push_back(FrameChecksum(reply));
  std::vector<std::uint8_t> both = reply;
  both.insert(both.end(), reply.begin(), reply.end());
  EXPECT_EQ(got, both);
  opened.line->Close();
}

// The tests' simulator writes each reply in one piece, so a host too busy to
// run it in the middle of a reply cannot make the link cut the reply at its
// 20 ms pause. Stopped just after each request for longer than that, it still
// delivers the whole settings block to one read.
TEST(ZelkSimProgram, AReplyInOnePieceOutlastsAStoppedSimulator) {
  SimProcess sim(ZELK_SIM_PATH);
  std::string error;
  ASSERT_TRUE(sim.Start({}, error)) << error;
  OpenResult opened = PosixSerialLine::Open(sim.link(), kLinkTimeouts);
  ASSERT_EQ(opened.error, OpenError::none) << opened.detail;
  std::array<std::uint8_t, kFrameBufferSize> request{};
  const std::array<std::uint8_t, requests::kReadSettings.count> payload{};
  const std::size_t length = BuildRequest(requests::kReadSettings.command,
                                          requests::kReadSettings.address, payload, request);
  for (int round = 0; round < 5; ++round) {
    ASSERT_EQ(opened.line->Write(request.data(), length).bytes, length);
    // The reply's 28 bytes take 15 ms on the line: stop the simulator
    // somewhere in them while the read waits.
    std::thread host([&sim, round] {
      std::this_thread::sleep_for(milliseconds(2 + 2 * round));
      sim.Send(SIGSTOP);
      std::this_thread::sleep_for(milliseconds(50));
      sim.Send(SIGCONT);
    });
    std::array<std::uint8_t, kFrameBufferSize> reply{};
    const std::size_t got = opened.line->Read(reply.data(), reply.size()).bytes;
    host.join();
    EXPECT_EQ(got, kReplyOverhead + requests::kReadSettings.count) << "round " << round;
    EXPECT_TRUE(ReplyAccepted(std::span(reply).first(got))) << "round " << round;
  }
  opened.line->Close();
}

TEST(ZelkSimProgram, TermRemovesTheLinkAndExitsCleanly) {
  SimProcess sim(ZELK_SIM_PATH);
  std::string error;
  ASSERT_TRUE(sim.Start({}, error)) << error;
  char target[256] = {};
  ASSERT_GT(readlink(sim.link().c_str(), target, sizeof target - 1), 0);
  EXPECT_EQ(std::string(target).rfind("/dev/pts/", 0), 0u) << target;
  EXPECT_EQ(sim.Signal(SIGTERM, milliseconds(5000)), 0);
  struct stat st {};
  EXPECT_NE(lstat(sim.link().c_str(), &st), 0);
}

TEST(ZelkSimProgram, StaleLinkIsReplaced) {
  SimProcess sim(ZELK_SIM_PATH);
  ASSERT_EQ(symlink("/dev/pts/no-such-pty", sim.link().c_str()), 0);
  std::string error;
  ASSERT_TRUE(sim.Start({}, error)) << error;
  FrameLink link;
  ASSERT_EQ(link.OpenPort(sim.link()).error, OpenError::none);
  std::array<std::uint8_t, 2> buf{};
  EXPECT_TRUE(link.ExchangeFrame(requests::kVersion, buf));
}

// Only a link to a pseudo-terminal that no longer exists is replaced.
TEST(ZelkSimProgram, RefusesToReplaceALinkThatMayMatter) {
  SimProcess sim(ZELK_SIM_PATH);
  // A file, a missing file outside the pty directory, a pty device that exists.
  for (const std::string target : {"/etc/hostname", "/tmp/absent-zelk-target", "/dev/pts/ptmx"}) {
    ASSERT_EQ(symlink(target.c_str(), sim.link().c_str()), 0);
    EXPECT_EQ(sim.RunToEnd({"--quiet", "--link", sim.link()}, milliseconds(5000)), 1) << target;
    char now[256] = {};
    ASSERT_GT(readlink(sim.link().c_str(), now, sizeof now - 1), 0);
    EXPECT_EQ(std::string(now), target);
    unlink(sim.link().c_str());
  }
}

TEST(ZelkSimProgram, RefusesToReplaceARegularFileAndBadFlags) {
  SimProcess sim(ZELK_SIM_PATH);
  { std::ofstream(sim.link()) << "keep me"; }
  EXPECT_EQ(sim.RunToEnd({"--quiet", "--link", sim.link()}, milliseconds(5000)), 1);
  std::ifstream kept(sim.link());
  std::string text;
  std::getline(kept, text);
  EXPECT_EQ(text, "keep me");

  EXPECT_EQ(sim.RunToEnd({"--fault", "wobble"}, milliseconds(5000)), 2);
  // A value given to a flag is refused, not taken as the bare flag.
  EXPECT_EQ(sim.RunToEnd({"--quiet=0", "--link", sim.link() + "-q"}, milliseconds(5000)), 2);
  EXPECT_EQ(sim.RunToEnd({"--help=x"}, milliseconds(5000)), 2);
  EXPECT_EQ(sim.RunToEnd({"--help"}, milliseconds(5000)), 0);
}

}  // namespace
}  // namespace zelk::e2e
