// SPDX-License-Identifier: GPL-3.0-or-later
// The session's operations against the simulated module: the requests they
// send, byte for byte, what they keep, and the failure kind of each fault.

#include "session/session.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "sim/simulated_line.h"

namespace zelk {
namespace {

using Bytes = std::vector<std::uint8_t>;

class SessionOverSim : public ::testing::Test {
 protected:
  SessionOverSim() : session_(port_.Opener(), [this] { return port_.clock().now_ms(); }) {}
  void SetUp() override { ASSERT_TRUE(session_.Open("SIM").ok()); }

  sim::ZelkModule& module() { return port_.module(); }
  // The request the module received `back` requests ago (1: the last).
  const sim::Request& Sent(std::size_t back = 1) {
    const auto& history = module().history();
    return history.at(history.size() - back);
  }
  static Bytes Of(std::span<const std::uint8_t> bytes) { return Bytes(bytes.begin(), bytes.end()); }

  sim::SimulatedPort port_;
  Session session_;
};

TEST_F(SessionOverSim, VersionAsksWithOneZeroByte) {
  const Result<ModuleVersion> version = session_.ReadVersion();
  ASSERT_TRUE(version.ok());
  EXPECT_EQ(version.value.numbers, (std::array<std::uint8_t, 2>{2, 10}));
  EXPECT_EQ(version.value.received, 2u);
  EXPECT_EQ(Sent().command, 3);
  EXPECT_EQ(Sent().address, 1);
  EXPECT_EQ(Sent().payload, Bytes{0});
}

TEST_F(SessionOverSim, ReadSettingsSendsTheHeldBlockThenAsksForTheSnapshot) {
  const SettingsRead read = session_.ReadSettings();
  ASSERT_TRUE(read.settings.ok());
  ASSERT_TRUE(read.instant.ok());
  EXPECT_EQ(Of(read.settings.value.block), Of(module().settings()));
  EXPECT_EQ(session_.settings_block(), read.settings.value.block);
  EXPECT_EQ(Sent(2).command, 1);
  EXPECT_EQ(Sent(2).payload, Bytes(25, 0)) << "the block as held: zero before any read";
  EXPECT_EQ(Sent(1).address, 0x48);
  EXPECT_EQ(Sent(1).payload, Bytes(10, 0));

  // The second read carries the block the first brought.
  ASSERT_TRUE(session_.ReadSettingsBlock().ok());
  EXPECT_EQ(Sent().payload, Of(module().settings()));
}

TEST_F(SessionOverSim, PollSendsTheLiveBufferAsItStands) {
  ASSERT_TRUE(session_.ReadInstantBlock().ok());
  const Bytes instant = Of(std::span(session_.live_buffer()).first(10));
  const Result<LiveSample> polled = session_.Poll(1);
  ASSERT_TRUE(polled.ok());
  EXPECT_EQ(Sent().address, 0x43);
  EXPECT_EQ(Sent().payload, instant) << "the snapshot's bytes go out with the poll";
  EXPECT_EQ(Of(polled.value.raw), Of(std::span(session_.live_buffer()).first(10)));
  EXPECT_TRUE(polled.value.rpm.has_value());

  ASSERT_TRUE(session_.Poll(1).ok());
  EXPECT_EQ(Sent().payload, Of(polled.value.raw)) << "and the last poll's bytes after that";
  EXPECT_FALSE(session_.Poll(std::nullopt).value.rpm.has_value());
}

TEST_F(SessionOverSim, WriteHoldsTheEncodedBlockAndReadsBack) {
  SettingsBlock encoded{};
  for (std::size_t i = 0; i < encoded.size(); ++i) encoded[i] = static_cast<std::uint8_t>(i + 40);
  const SettingsWrite written = session_.WriteSettingsAndReadBack(encoded);
  ASSERT_TRUE(written.write.ok());
  ASSERT_TRUE(written.read_back.has_value());
  EXPECT_EQ(Sent(3).command, 4);
  EXPECT_EQ(Sent(3).payload, Of(encoded));
  EXPECT_EQ(Sent(2).payload, Of(session_.settings_block()))
      << "the read back asks with what the write left in the block";
  EXPECT_EQ(written.read_back->settings.value.block, encoded);

  module().faults().silent = true;
  SettingsBlock second = encoded;
  second[3] = 7;
  const SettingsWrite failed = session_.WriteSettingsAndReadBack(second);
  EXPECT_EQ(failed.write.failure, Failure::no_reply);
  EXPECT_FALSE(failed.read_back.has_value());
  EXPECT_EQ(session_.settings_block(), second) << "a failed write keeps the encoded bytes";
}

TEST_F(SessionOverSim, MixtureWriteUpdatesTheHeldBlockOnlyWhenAnswered) {
  ASSERT_TRUE(session_.ReadSettingsBlock().ok());
  ASSERT_TRUE(session_.WriteMixture(31).ok());
  EXPECT_EQ(Sent().command, 4);
  EXPECT_EQ(Sent().address, 3);
  EXPECT_EQ(Sent().payload, Bytes{31});
  EXPECT_EQ(session_.settings_block()[kMixtureOffset], 31);

  module().faults().silent = true;
  EXPECT_EQ(session_.WriteMixture(5).failure, Failure::no_reply);
  EXPECT_EQ(session_.settings_block()[kMixtureOffset], 31);
}

TEST_F(SessionOverSim, ProgramControlPayloads) {
  struct Case {
    Outcome (*run)(Session&);
    std::uint8_t payload;
  };
  const Case cases[] = {
      {[](Session& s) { return s.ResetModule(); }, 0},
      {[](Session& s) { return s.StartProgram(EngineProgram::rpm_lambda); }, 1},
      {[](Session& s) { return s.StartProgram(EngineProgram::map); }, 2},
      {[](Session& s) { return s.AbortProgram(); }, 0},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(c.run(session_).ok());
    EXPECT_EQ(Sent().command, 13);
    EXPECT_EQ(Sent().address, 1);
    EXPECT_EQ(Sent().payload, Bytes{c.payload});
  }
}

TEST_F(SessionOverSim, ProgramProgressFollowsTheStatusByte) {
  ASSERT_TRUE(session_.StartProgram(EngineProgram::rpm_lambda).ok());
  const ProgramProgress running = session_.ReadProgramProgress();
  ASSERT_TRUE(running.instant.ok());
  ASSERT_TRUE(running.status.ok());
  EXPECT_TRUE(ProgramRunning(EngineProgram::rpm_lambda, running.status.value));
  EXPECT_EQ(Sent(2).payload, Bytes(10, 0)) << "each tick starts clean";
  EXPECT_EQ(Sent(1).address, 0x64);
  EXPECT_EQ(Sent(1).payload, Of(std::span(running.instant.value.raw).first(2)))
      << "the status request carries what the snapshot left";

  port_.clock().Advance(module().engine().rpm_program_ms);
  EXPECT_FALSE(
      ProgramRunning(EngineProgram::rpm_lambda, session_.ReadProgramProgress().status.value));
}

// Each fault of the module shows as one failure kind, whichever operation meets it.
struct FaultCase {
  const char* name;
  void (*set)(sim::FaultModes&);
  Failure failure;
};

class SessionFault : public SessionOverSim, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(SessionFault, EveryOperationNamesTheFault) {
  using Operation = Failure (*)(Session&);
  const Operation operations[] = {
      [](Session& s) { return s.ReadVersion().failure; },
      [](Session& s) { return s.ReadSettingsBlock().failure; },
      [](Session& s) { return s.ReadInstantBlock().failure; },
      [](Session& s) { return s.WriteSettings(SettingsBlock{}).failure; },
      [](Session& s) { return s.Poll(1).failure; },
      [](Session& s) { return s.WriteMixture(1).failure; },
      [](Session& s) { return s.StartProgram(EngineProgram::map).failure; },
      [](Session& s) { return s.ReadProgramProgress().instant.failure; },
      [](Session& s) { return s.AbortProgram().failure; },
  };
  for (const Operation operation : operations) {
    GetParam().set(module().faults());
    if (!session_.connected()) {
      module().Reconnect();
      ASSERT_TRUE(session_.Open("SIM").ok());
    }
    EXPECT_EQ(operation(session_), GetParam().failure);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SessionFault,
    ::testing::Values(
        FaultCase{"silent", [](sim::FaultModes& f) { f.silent = true; }, Failure::no_reply},
        FaultCase{"bad_check", [](sim::FaultModes& f) { f.bad_check = true; }, Failure::bad_check},
        FaultCase{"truncated", [](sim::FaultModes& f) { f.truncated = true; }, Failure::bad_check},
        FaultCase{"garbage_before", [](sim::FaultModes& f) { f.garbage_before = true; },
                  Failure::bad_check},
        FaultCase{"hangup", [](sim::FaultModes& f) { f.hangup_after = 0; }, Failure::port_gone}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SessionOverSim, AfterThePortIsGoneNothingIsSent) {
  module().faults().hangup_after = 0;
  EXPECT_EQ(session_.Poll(1).failure, Failure::port_gone);
  EXPECT_FALSE(session_.connected());
  const std::size_t seen = module().history().size();
  EXPECT_EQ(session_.Poll(1).failure, Failure::not_connected);
  EXPECT_EQ(module().history().size(), seen);
}

TEST(SessionOpen, OpenFailuresKeepTheirReason) {
  sim::SimulatedPort port;
  Session session(port.Opener());
  const Result<ModuleVersion> missing = session.Connect("ttyS9");
  EXPECT_EQ(missing.failure, Failure::no_such_port);
  port.busy = true;
  const Result<ModuleVersion> busy = session.Connect("SIM");
  EXPECT_EQ(busy.failure, Failure::port_busy);
  EXPECT_EQ(busy.detail, "simulated port is busy");
  EXPECT_FALSE(session.connected());
}

TEST(SessionOpen, ConnectClosesThePortWhenTheModuleIsSilent) {
  sim::SimulatedPort port;
  Session session(port.Opener());
  port.module().faults().silent = true;
  EXPECT_EQ(session.Connect("SIM").failure, Failure::no_reply);
  EXPECT_FALSE(session.connected());
  port.module().faults().silent = false;
  const Result<ModuleVersion> answered = session.Connect("SIM");
  EXPECT_TRUE(answered.ok());
  EXPECT_TRUE(session.connected());
}

TEST(SessionOpen, NoPortMeansNotConnected) {
  sim::SimulatedPort port;
  Session session(port.Opener());
  EXPECT_EQ(session.ReadSettings().settings.failure, Failure::not_connected);
  std::array<std::uint8_t, 4> small{};
  ASSERT_TRUE(session.Open("SIM").ok());
  EXPECT_EQ(session.Exchange(0, 0x43, 10, small).failure, Failure::bad_request);
}

// The busy watch: silent once the operation has run long, quiet for a quick one.
class SessionBusy : public SessionOverSim {
 protected:
  void SetUp() override {
    SessionOverSim::SetUp();
    session_.SetBusyWatch(
        200, [this] { events_.push_back("busy"); }, [this] { events_.push_back("idle"); });
  }
  std::vector<std::string> events_;
};

TEST_F(SessionBusy, AQuickExchangeIsNeverBusy) {
  ASSERT_TRUE(session_.ReadSettings().settings.ok());
  EXPECT_TRUE(events_.empty());
}

TEST_F(SessionBusy, ASilentModuleShowsBusyOnceAndIdleAtTheEnd) {
  module().faults().silent = true;
  EXPECT_FALSE(session_.ReadSettings().settings.ok());
  EXPECT_EQ(events_, (std::vector<std::string>{"busy", "idle"})) << "one spell for the operation";
  EXPECT_FALSE(session_.Poll(1).ok());
  EXPECT_EQ(events_.size(), 4u);
}

// A line whose read throws: the busy spell still ends.
class ThrowingLine : public SerialLine {
 public:
  explicit ThrowingLine(double& now) : now_(now) {}
  void SetTimeouts(const CommTimeouts&) override {}
  IoResult Write(const std::uint8_t*, std::size_t count) override { return {count, {}}; }
  IoResult Read(std::uint8_t*, std::size_t) override {
    now_ += 350;
    if (++reads_ == 2) throw std::runtime_error("line failed");
    return {};
  }
  void PurgeOutput() override {}
  void PurgeInput() override {}
  void Close() override {}

 private:
  double& now_;
  int reads_ = 0;
};

TEST(SessionBusyWatch, EndsOnAnException) {
  double now = 0;
  Session session(
      [&now](const std::string&) {
        OpenResult opened;
        opened.line = std::make_unique<ThrowingLine>(now);
        return opened;
      },
      [&now] { return now; });
  std::vector<std::string> events;
  session.SetBusyWatch(
      200, [&] { events.push_back("busy"); }, [&] { events.push_back("idle"); });
  ASSERT_TRUE(session.Open("X").ok());
  EXPECT_THROW(session.Poll(1), std::runtime_error);
  EXPECT_EQ(events, (std::vector<std::string>{"busy", "idle"}));
}

}  // namespace
}  // namespace zelk
