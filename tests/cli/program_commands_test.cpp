// SPDX-License-Identifier: GPL-3.0-or-later
// zelkctl program on the simulated module and its virtual clock: the
// requests of each program in order and byte for byte, the mixture byte from
// the limit the module holds, the progress every 500 ms, the prompts once,
// the abort on a stop or the time-out, and the operands refused.

#include "cli/program_commands.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/commands.h"
#include "sim/simulated_line.h"

namespace zelk::cli {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Sent {
  std::uint8_t command;
  std::uint16_t address;
  Bytes payload;
  bool operator==(const Sent&) const = default;
};

class ProgramOverSim : public ::testing::Test {
 protected:
  ProgramOverSim() : session_(port_.Opener(), [this] { return port_.clock().now_ms(); }) {}
  void SetUp() override { ASSERT_TRUE(session_.Open("SIM").ok()); }

  sim::ZelkModule& module() { return port_.module(); }
  std::vector<Sent> Requests() {
    std::vector<Sent> sent;
    for (const sim::Request& request : port_.module().history()) {
      sent.push_back({request.command, request.address, request.payload});
    }
    return sent;
  }
  ProgramPacing VirtualPacing(std::function<bool()> stop = [] { return false; }) {
    return {[this] { return port_.clock().now_ms(); },
            [this](double ms) { port_.clock().Advance(ms); }, std::move(stop)};
  }
  int Run(
      EngineProgram program, std::optional<double> timeout_ms = std::nullopt,
      std::function<bool()> stop = [] { return false; }) {
    return RunEngineProgram(session_, program, timeout_ms, VirtualPacing(std::move(stop)), out_,
                            err_, &result_);
  }
  static std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  }

  sim::SimulatedPort port_;
  Session session_;
  std::ostringstream out_, err_;
  ProgramResult result_ = ProgramResult::failed;  // how the last Run ended
};

const Sent kInstantRequest{0, 0x48, Bytes(10, 0)};

// The limit as the module holds it (percent-64 scale): 16 is 25 %, 32 is 50 %.
TEST_F(ProgramOverSim, MixWritesTheByteForTheLimitReadFirst) {
  struct Case {
    std::uint8_t limit_raw;
    std::string percent;
    int mix_index;
    std::uint8_t mixture;
  };
  const std::vector<Case> cases{
      {16, "0", 0, 1}, {16, "25", 1, 4}, {16, "50", 2, 8},  {16, "75", 3, 12}, {16, "100", 4, 15},
      {32, "0", 0, 1}, {32, "25", 1, 8}, {32, "50", 2, 16}, {32, "75", 3, 24}, {32, "100", 4, 31},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.limit_raw) + " / " + c.percent);
    const ProgramParse parse = ParseProgramOperands({"mix", c.percent});
    ASSERT_TRUE(parse.request);
    EXPECT_EQ(parse.request->mix_index, c.mix_index);

    module().settings()[3] = c.limit_raw;
    const std::size_t before = module().history().size();
    std::ostringstream out, err;
    EXPECT_EQ(RunMixProgram(session_, c.mix_index, out, err), kExitOk) << err.str();
    const std::vector<Sent> sent = Requests();
    ASSERT_EQ(sent.size(), before + 2);
    EXPECT_EQ(sent[before].command, 1);
    EXPECT_EQ(sent[before].address, 1);
    EXPECT_EQ(sent[before + 1], (Sent{4, 3, Bytes{c.mixture}}));
    EXPECT_EQ(module().settings()[2], c.mixture);
    EXPECT_EQ(session_.settings_block()[2], c.mixture) << "a later write keeps the new byte";
    EXPECT_TRUE(out.str().ends_with("Program OK\n")) << out.str();
  }
}

TEST_F(ProgramOverSim, MixWritesNothingWhenTheSettingsAreNotRead) {
  module().faults().silent = true;
  EXPECT_EQ(RunMixProgram(session_, 2, out_, err_), kExitCommunication);
  EXPECT_EQ(err_.str(), "Communication Fail\n");
  for (const Sent& sent : Requests()) EXPECT_EQ(sent.command, 1) << "no write";
}

TEST_F(ProgramOverSim, ResetSendsProgramControlZero) {
  EXPECT_EQ(RunResetProgram(session_, out_, err_), kExitOk);
  EXPECT_EQ(Requests(), (std::vector<Sent>{{13, 1, Bytes{0}}}));
  EXPECT_EQ(out_.str(), "Program OK\n");
}

// 4 s of program: a tick every 500 ms, the eighth finds it ended.
TEST_F(ProgramOverSim, RpmStartsThenReadsSnapshotAndStatusEachTickUntilTheEnd) {
  EXPECT_EQ(Run(EngineProgram::rpm_lambda), kExitOk) << err_.str();
  EXPECT_EQ(result_, ProgramResult::completed);
  const std::vector<Sent> sent = Requests();
  ASSERT_EQ(sent.size(), 1u + 2 * 8);
  EXPECT_EQ(sent[0], (Sent{13, 1, Bytes{1}}));
  for (std::size_t tick = 0; tick < 8; ++tick) {
    EXPECT_EQ(sent[1 + 2 * tick], kInstantRequest);
    EXPECT_EQ(sent[2 + 2 * tick].address, 0x64);
    EXPECT_EQ(sent[2 + 2 * tick].payload.size(), 2u);
  }
  const std::string out = out_.str();
  EXPECT_TRUE(out.starts_with("RPM/Lambda Programming\n")) << out;
  EXPECT_TRUE(out.ends_with("Programming Completed!\n")) << out;
  EXPECT_EQ(Count(out, " s  temperature "), 8u) << out;
  EXPECT_NE(out.find("  0.5 s  temperature "), std::string::npos) << out;
  EXPECT_EQ(Count(out, "Turn ON"), 0u);
}

TEST_F(ProgramOverSim, MapPrintsEachPromptOnceWhileItsBitIsUp) {
  EXPECT_EQ(Run(EngineProgram::map), kExitOk) << err_.str();
  const std::vector<Sent> sent = Requests();
  EXPECT_EQ(sent[0], (Sent{13, 1, Bytes{2}}));
  EXPECT_EQ(sent.size(), 1u + 2 * 12);
  const std::string out = out_.str();
  EXPECT_TRUE(out.starts_with("MAP Sensor Programming\n")) << out;
  EXPECT_EQ(Count(out, "Turn ON Air Conditioning !!\nTurn Automatic Transmission on DRIVE !!\n"),
            1u)
      << out;
  EXPECT_TRUE(out.ends_with("Programming Completed!\n")) << out;
}

TEST_F(ProgramOverSim, TimeOutAndStopSendTheAbort) {
  const double start = port_.clock().now_ms();
  EXPECT_EQ(Run(EngineProgram::rpm_lambda, 1200.0), kExitCommunication);
  EXPECT_GE(port_.clock().now_ms() - start, 1200.0);
  EXPECT_LT(port_.clock().now_ms() - start, 1400.0);
  std::vector<Sent> sent = Requests();
  ASSERT_EQ(sent.size(), 1u + 2 * 2 + 1);
  EXPECT_EQ(sent.back(), (Sent{13, 1, Bytes{0}}));
  EXPECT_TRUE(out_.str().ends_with("Programming Aborted!\n")) << out_.str();
  EXPECT_EQ(err_.str(), "zelkctl: time-out; aborting the program\n");
  EXPECT_EQ(result_, ProgramResult::aborted);
  result_ = ProgramResult::failed;

  // A stop raised during the third wait.
  int asked = 0;
  const std::size_t before = module().history().size();
  EXPECT_EQ(Run(EngineProgram::map, std::nullopt, [&] { return ++asked > 25; }),
            kExitCommunication);
  sent = Requests();
  EXPECT_EQ(sent[before], (Sent{13, 1, Bytes{2}}));
  EXPECT_EQ(sent.back(), (Sent{13, 1, Bytes{0}}));
  EXPECT_EQ(sent.size() - before, 1u + 2 * 2 + 1);
  EXPECT_EQ(result_, ProgramResult::aborted);
}

TEST_F(ProgramOverSim, FailuresOfTheProgramRequests) {
  module().faults().silent = true;
  result_ = ProgramResult::completed;
  EXPECT_EQ(Run(EngineProgram::rpm_lambda), kExitCommunication);
  EXPECT_EQ(result_, ProgramResult::failed);
  EXPECT_EQ(err_.str(), "Communication Fail\n");
  EXPECT_EQ(out_.str(), "") << "not started: no progress";

  // The device going away mid-program ends it: no abort can reach it.
  module().faults().silent = false;
  module().faults().hangup_after = 2;
  std::ostringstream out, err;
  ProgramResult gone = ProgramResult::completed;
  EXPECT_EQ(RunEngineProgram(session_, EngineProgram::rpm_lambda, std::nullopt, VirtualPacing(),
                             out, err, &gone),
            kExitCommunication);
  EXPECT_EQ(gone, ProgramResult::failed);
  EXPECT_EQ(err.str(), "Communication Fail\n");
  EXPECT_FALSE(session_.connected());
}

TEST(ProgramOperands, Refused) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
      {{}, "program needs mix PERCENT, reset, rpm or map"},
      {{"mix"}, "program mix needs one PERCENT: 0, 25, 50, 75 or 100"},
      {{"mix", "50", "75"}, "program mix needs one PERCENT: 0, 25, 50, 75 or 100"},
      {{"mix", "30"}, "program mix: PERCENT must be 0, 25, 50, 75 or 100, not '30'"},
      {{"mix", "50%"}, "program mix: PERCENT must be 0, 25, 50, 75 or 100, not '50%'"},
      {{"mix", "050"}, "program mix: PERCENT must be 0, 25, 50, 75 or 100, not '050'"},
      {{"reset", "now"}, "program reset: unexpected argument 'now'"},
      {{"rpm", "--timeout"}, "program rpm: --timeout needs S"},
      {{"map", "--timeout", "0"},
       "program map: --timeout takes seconds above 0, up to 86400, not '0'"},
      {{"map", "--timeout", "-1"},
       "program map: --timeout takes seconds above 0, up to 86400, not '-1'"},
      {{"map", "--timeout=nan"},
       "program map: --timeout takes seconds above 0, up to 86400, not 'nan'"},
      {{"rpm", "--timeout", "90000"},
       "program rpm: --timeout takes seconds above 0, up to 86400, not '90000'"},
      {{"rpm", "--timeout", "1", "--timeout", "2"}, "program rpm: --timeout given more than once"},
      {{"rpm", "--json"}, "program rpm: unexpected argument '--json'"},
      {{"lambda"}, "program: unknown program 'lambda' (mix, reset, rpm or map)"},
  };
  for (const auto& [operands, error] : cases) {
    const ProgramParse parse = ParseProgramOperands(operands);
    EXPECT_FALSE(parse.request) << ::testing::PrintToString(operands);
    EXPECT_EQ(parse.error, error);
  }
}

TEST(ProgramOperands, Accepted) {
  const ProgramParse reset = ParseProgramOperands({"reset"});
  ASSERT_TRUE(reset.request);
  EXPECT_EQ(reset.request->kind, ProgramKind::reset);
  const ProgramParse rpm = ParseProgramOperands({"rpm", "--timeout", "2.5"});
  ASSERT_TRUE(rpm.request);
  EXPECT_EQ(rpm.request->kind, ProgramKind::rpm_lambda);
  EXPECT_EQ(rpm.request->timeout_ms, std::optional<double>(2500));
  const ProgramParse map = ParseProgramOperands({"map", "--timeout=30"});
  ASSERT_TRUE(map.request);
  EXPECT_EQ(map.request->kind, ProgramKind::map);
  EXPECT_EQ(map.request->timeout_ms, std::optional<double>(30000));
  EXPECT_EQ(ParseProgramOperands({"map"}).request->timeout_ms, std::nullopt);
}

}  // namespace
}  // namespace zelk::cli
