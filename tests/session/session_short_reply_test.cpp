// SPDX-License-Identifier: GPL-3.0-or-later
// Every session operation that reads from the module, answered short (a
// frame whose check byte is right but that stops before the bytes the
// operation reads) and answered late: what it reports and what it keeps.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "session/session.h"
#include "sim/simulated_line.h"
#include "support/scripted_line.h"

namespace zelk {
namespace {

using testing::Bytes;
using testing::LineScript;

// A well-formed reply carrying `payload`.
Bytes Reply(const Bytes& payload) {
  Bytes reply(payload.size() + 2);
  reply[0] = 0xF3;
  std::copy(payload.begin(), payload.end(), reply.begin() + 2);
  reply.push_back(FrameChecksum(reply));
  return reply;
}

Bytes Filled(std::size_t size, std::uint8_t first) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(first + i);
  return bytes;
}

const Bytes kHeldBlock = Filled(kSettingsBlockSize, 0x20);
const Bytes kHeldLive = Filled(kLiveBlockSize, 0x60);

struct Operation {
  const char* name;
  std::size_t needed;  // payload bytes of the reply that comes short
  // Scripts the replies before the short one (none for most).
  std::function<void(LineScript&)> before;
  std::function<Failure(Session&)> run;
};

const Operation kOperations[] = {
    {"version", 2, {}, [](Session& s) { return s.ReadVersion().failure; }},
    {"settings block", 25, {}, [](Session& s) { return s.ReadSettingsBlock().failure; }},
    {"instant block", 10, {}, [](Session& s) { return s.ReadInstantBlock().failure; }},
    {"poll", 10, {}, [](Session& s) { return s.Poll(1).failure; }},
    {"program status", 2, [](LineScript& l) { l.Reply(Reply(Bytes(10, 0))); },
     [](Session& s) { return s.ReadProgramProgress().status.failure; }},
    {"read back after a write", 25, [](LineScript& l) { l.Reply(Reply({})); },
     [](Session& s) {
       SettingsBlock held{};
       std::copy(kHeldBlock.begin(), kHeldBlock.end(), held.begin());
       const SettingsWrite written = s.WriteSettingsAndReadBack(held);
       return written.read_back ? written.read_back->settings.failure : Failure::none;
     }},
    {"connect", 2, {}, [](Session& s) { return s.Connect("ttyUSB0").failure; }},
};

// 0, 1, 2 and needed - 1 payload bytes: each fails as short_reply and the
// session keeps the settings block and live buffer it held.
TEST(SessionShortReply, EveryReadingOperationRefusesAShortReplyAndKeepsItsValues) {
  for (const Operation& operation : kOperations) {
    for (const std::size_t payload : std::set<std::size_t>{0, 1, 2, operation.needed - 1}) {
      if (payload >= operation.needed) continue;
      SCOPED_TRACE(std::string(operation.name) + ", payload bytes: " + std::to_string(payload));
      auto script = std::make_shared<LineScript>();
      Session session(testing::ScriptedOpener(script));
      ASSERT_TRUE(session.Open("ttyUSB0").ok());
      script->Reply(Reply(kHeldBlock));
      script->Reply(Reply(kHeldLive));
      ASSERT_TRUE(session.ReadSettings().settings.ok());
      const SettingsBlock block = session.settings_block();
      const LiveBuffer live = session.live_buffer();

      if (operation.before) operation.before(*script);
      script->Reply(Reply(Filled(payload, 0x90)));
      EXPECT_EQ(operation.run(session), Failure::short_reply);
      EXPECT_EQ(session.settings_block(), block);
      EXPECT_EQ(session.live_buffer(), live);
    }
  }
}

TEST(SessionShortReply, AVersionThatFailsShortHasNoNumbers) {
  auto script = std::make_shared<LineScript>();
  Session session(testing::ScriptedOpener(script));
  script->Reply({0x00});
  const Result<ModuleVersion> version = session.Connect("ttyUSB0");
  EXPECT_EQ(version.failure, Failure::short_reply);
  EXPECT_EQ(version.value.received, 0u);
  EXPECT_FALSE(session.connected()) << "a connect without a version closes the port";
}

// A module that answers every request 400 ms late, after the read has given
// up on it: each exchange succeeds on the answer to its first try, and the
// answer to its retry is read away before the next request goes out.
class SessionLateReply : public ::testing::Test {
 protected:
  SessionLateReply() : session_(port_.Opener(), [this] { return port_.clock().now_ms(); }) {
    port_.module().faults().extra_delay_ms = 400;
  }

  sim::SimulatedPort port_;
  Session session_;
};

TEST_F(SessionLateReply, NoReplyIsTakenForTheNextRequests) {
  const Result<ModuleVersion> version = session_.Connect("SIM");
  ASSERT_TRUE(version.ok());
  EXPECT_EQ(version.value.numbers, (std::array<std::uint8_t, 2>{2, 10}));

  const SettingsRead read = session_.ReadSettings();
  ASSERT_TRUE(read.settings.ok());
  EXPECT_EQ(Bytes(read.settings.value.block.begin(), read.settings.value.block.end()),
            Bytes(port_.module().settings().begin(), port_.module().settings().end()));
  ASSERT_TRUE(read.instant.ok());
  ASSERT_TRUE(session_.Poll(1).ok());

  // Nothing read was another request's: every write went out as asked, and
  // a write of what was read puts the module's own bytes back.
  const auto before = port_.module().settings();
  ASSERT_TRUE(session_.WriteSettings(session_.settings_block()).ok());
  EXPECT_EQ(port_.module().settings(), before);
}

TEST_F(SessionLateReply, TheLineIsReadQuietBeforeTheNextRequest) {
  ASSERT_TRUE(session_.Connect("SIM").ok());
  const sim::LineCalls before = port_.calls();
  const double started = port_.clock().now_ms();
  ASSERT_TRUE(session_.ReadSettingsBlock().ok());
  const sim::LineCalls& after = port_.calls();
  EXPECT_EQ(after.purge_output - before.purge_output, 1);
  // Two quiet reads (the late answer to the version's retry, then silence),
  // then the settings request twice: its first try is answered late too.
  EXPECT_EQ(after.reads - before.reads, 2 + 2);
  EXPECT_EQ(after.writes - before.writes, 2);
  // The quiet read that finds nothing lasts its whole 350 ms.
  EXPECT_GT(port_.clock().now_ms() - started, 350 + 350);

  // Once the module answers in time, an exchange that follows one answered
  // on its first try costs one write and one read, as always.
  port_.module().faults().extra_delay_ms = 0;
  ASSERT_TRUE(session_.ReadInstantBlock().ok());  // after a retried one: quiet first
  const sim::LineCalls settled = port_.calls();
  ASSERT_TRUE(session_.Poll(1).ok());
  EXPECT_EQ(port_.calls().reads - settled.reads, 1);
  EXPECT_EQ(port_.calls().writes - settled.writes, 1);
  EXPECT_EQ(port_.calls().purge_output, settled.purge_output);
}

}  // namespace
}  // namespace zelk
