// SPDX-License-Identifier: GPL-3.0-or-later
// zelkctl detect and program as a user runs them, against zelk-sim processes
// on ptys; the frames each sends are read back from --trace, byte for byte.

#include <gtest/gtest.h>

#include <regex>

#include "support/child_process.h"
#include "support/sim_process.h"

namespace zelk::testing {
namespace {

using namespace std::chrono_literals;

const std::string g_zelkctl = ZELKCTL_PATH;
const std::string g_sim = ZELK_SIM_PATH;

ProcessOutput Zelkctl(std::vector<std::string> args, const std::string& input = "") {
  args.insert(args.begin(), g_zelkctl);
  return RunProcess(args, input, 60s);
}

#define START_SIM(sim, ...) \
  SimProcess sim(g_sim);    \
  std::string sim##_error;  \
  ASSERT_TRUE(sim.Start({__VA_ARGS__}, sim##_error)) << sim##_error

// The frames written to the line, in order, from the trace on stderr.
std::vector<std::string> SentFrames(const std::string& trace) {
  std::vector<std::string> frames;
  const std::regex sent(R"(ms > ([0-9a-f ]+)\n)");
  for (auto it = std::sregex_iterator(trace.begin(), trace.end(), sent);
       it != std::sregex_iterator(); ++it) {
    frames.push_back((*it)[1]);
  }
  return frames;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

const std::string kReadSettings =
    "f3 01 00 01 19 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
    "57";
const std::string kInstant = "f3 00 00 48 0a 00 00 00 00 00 00 00 00 00 00 fc";
const std::string kAbort = "f3 0d 00 01 01 00 ce";
const std::regex kStatus("f3 00 00 64 02( [0-9a-f]{2}){3}");

// The program's frames: the start, then per tick the snapshot and the status.
void ExpectProgramFrames(const std::vector<std::string>& frames, const std::string& start,
                         std::size_t ticks, bool aborted) {
  ASSERT_EQ(frames.size(), 1 + 2 * ticks + (aborted ? 1 : 0)) << ::testing::PrintToString(frames);
  EXPECT_EQ(frames[0], start);
  for (std::size_t tick = 0; tick < ticks; ++tick) {
    EXPECT_EQ(frames[1 + 2 * tick], kInstant);
    EXPECT_TRUE(std::regex_match(frames[2 + 2 * tick], kStatus)) << frames[2 + 2 * tick];
  }
  if (aborted) {
    EXPECT_EQ(frames.back(), kAbort);
  }
}

TEST(ZelkctlProgram, MixReadsTheLimitThenWritesTheByte) {
  START_SIM(sim);  // correction limit 50 %: 50 % of it is byte 16
  const ProcessOutput run = Zelkctl({"--trace", "--port", sim.link(), "program", "mix", "50"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "mixture byte 16 for 50 % (correction limit 50 %)\nProgram OK\n");
  EXPECT_EQ(SentFrames(run.err), (std::vector<std::string>{kReadSettings, "f3 04 00 03 01 10 13"}));

  // The module holds the new byte at address 3.
  const ProcessOutput read = Zelkctl({"--port", sim.link(), "raw"}, "1 1 25\n");
  ASSERT_EQ(read.exit_code, 0) << read.err;
  EXPECT_EQ(read.out.substr(0, 9), "ok 900a10") << read.out;

  const ProcessOutput full = Zelkctl({"--trace", "--port", sim.link(), "program", "mix", "100"});
  EXPECT_EQ(SentFrames(full.err).back(), "f3 04 00 03 01 1f 3e");
}

TEST(ZelkctlProgram, ResetSendsOneFrame) {
  START_SIM(sim);
  const ProcessOutput run = Zelkctl({"--trace", "--port", sim.link(), "program", "reset"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "Program OK\n");
  EXPECT_EQ(SentFrames(run.err), std::vector<std::string>{kAbort});
}

TEST(ZelkctlProgram, RpmRunsToTheModulesEnd) {
  START_SIM(sim, "--rpm-program-ms", "1500");
  const ProcessOutput run = Zelkctl({"--trace", "--port", sim.link(), "program", "rpm"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_TRUE(run.out.starts_with("RPM/Lambda Programming\n")) << run.out;
  EXPECT_TRUE(run.out.ends_with("Programming Completed!\n")) << run.out;
  // Ticks at 0.5, 1.0 and 1.5 s; a stalled machine may merge two.
  const std::size_t ticks = Count(run.out, " s  temperature ");
  EXPECT_GE(ticks, 2u);
  EXPECT_LE(ticks, 3u);
  ExpectProgramFrames(SentFrames(run.err), "f3 0d 00 01 01 01 c9", ticks, false);
}

TEST(ZelkctlProgram, MapPrintsItsPromptsOnce) {
  START_SIM(sim, "--map-program-ms", "3000");
  const ProcessOutput run = Zelkctl({"--trace", "--port", sim.link(), "program", "map"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_TRUE(run.out.starts_with("MAP Sensor Programming\n")) << run.out;
  EXPECT_EQ(Count(run.out, "Turn ON Air Conditioning !!\n"), 1u) << run.out;
  EXPECT_EQ(Count(run.out, "Turn Automatic Transmission on DRIVE !!\n"), 1u) << run.out;
  EXPECT_TRUE(run.out.ends_with("Programming Completed!\n")) << run.out;
  ExpectProgramFrames(SentFrames(run.err), "f3 0d 00 01 01 02 c0",
                      Count(run.out, " s  temperature "), false);
}

TEST(ZelkctlProgram, TimeOutSendsTheAbort) {
  START_SIM(sim, "--rpm-program-ms", "60000");
  const auto started = std::chrono::steady_clock::now();
  const ProcessOutput run =
      Zelkctl({"--trace", "--port", sim.link(), "program", "rpm", "--timeout", "1.2"});
  EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
  EXPECT_EQ(run.exit_code, 1) << run.err;
  EXPECT_TRUE(run.out.ends_with("Programming Aborted!\n")) << run.out;
  EXPECT_NE(run.err.find("zelkctl: time-out; aborting the program\n"), std::string::npos);
  ExpectProgramFrames(SentFrames(run.err), "f3 0d 00 01 01 01 c9",
                      Count(run.out, " s  temperature "), true);
}

// SIGINT once the first progress line is out: the abort goes to the module.
TEST(ZelkctlProgram, InterruptSendsTheAbort) {
  START_SIM(sim, "--map-program-ms", "60000");
  const std::string out = sim.dir() + "/out";
  const std::string err = sim.dir() + "/err";
  const std::string script =
      "'" + g_zelkctl + "' --trace --port '" + sim.link() + "' program map >'" + out + "' 2>'" +
      err + "' & pid=$!\n" + "i=0; until grep -q ' s  temperature' '" + out +
      "'; do\n"
      "  i=$((i+1)); [ $i -gt 600 ] && break; sleep 0.05; done\n"
      "kill -INT $pid; wait $pid; status=$?\n"
      "cat '" +
      out + "'; cat '" + err + "' >&2; rm -f '" + out + "' '" + err + "'; exit $status\n";
  const ProcessOutput run = RunProcess({"/bin/sh", "-c", script}, "", 60s);
  EXPECT_EQ(run.exit_code, 1) << run.err;
  EXPECT_TRUE(run.out.ends_with("Programming Aborted!\n")) << run.out;
  EXPECT_NE(run.err.find("zelkctl: stopped; aborting the program\n"), std::string::npos) << run.err;
  ExpectProgramFrames(SentFrames(run.err), "f3 0d 00 01 01 02 c0",
                      Count(run.out, " s  temperature "), true);
}

TEST(ZelkctlProgram, BadOperandsTouchNothing) {
  START_SIM(sim);
  for (const std::vector<std::string>& operands :
       {std::vector<std::string>{"mix", "30"}, {"rpm", "--timeout", "0"}, {}, {"abort"}}) {
    std::vector<std::string> args{"--trace", "--port", sim.link(), "program"};
    args.insert(args.end(), operands.begin(), operands.end());
    const ProcessOutput run = Zelkctl(args);
    EXPECT_EQ(run.exit_code, 2) << ::testing::PrintToString(operands);
    EXPECT_TRUE(run.err.starts_with("zelkctl: program")) << run.err;
    EXPECT_TRUE(SentFrames(run.err).empty());
  }
  const ProcessOutput no_port = Zelkctl({"program", "reset"});
  EXPECT_EQ(no_port.exit_code, 2);
}

TEST(ZelkctlDetect, NamedPortsAndJson) {
  START_SIM(silent, "--fault", "silent");
  START_SIM(answering, "--module-version", "4.2");
  const auto started = std::chrono::steady_clock::now();
  const ProcessOutput run = Zelkctl({"detect", silent.link(), answering.link()});
  EXPECT_LT(std::chrono::steady_clock::now() - started, 3s);
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, silent.link() + ": no answer\n" + answering.link() + ": answered 4.2\n");

  const ProcessOutput json = Zelkctl({"detect", "--json", answering.link()});
  EXPECT_EQ(json.exit_code, 0) << json.err;
  EXPECT_EQ(json.out, "[\n  {\n    \"port\": \"" + answering.link() +
                          "\",\n    \"result\": \"answered\",\n    \"version\": \"4.2\"\n  }\n]\n");

  const ProcessOutput none = Zelkctl({"detect", silent.link()});
  EXPECT_EQ(none.exit_code, 1);

  const ProcessOutput version = Zelkctl({"--port", answering.link(), "version", "--json"});
  EXPECT_EQ(version.exit_code, 0) << version.err;
  EXPECT_EQ(version.out, "{\"version\":\"4.2\",\"major\":4,\"minor\":2}\n");

  const ProcessOutput with_port = Zelkctl({"--port", answering.link(), "detect"});
  EXPECT_EQ(with_port.exit_code, 2);
  EXPECT_EQ(with_port.out, "");
}

}  // namespace
}  // namespace zelk::testing
