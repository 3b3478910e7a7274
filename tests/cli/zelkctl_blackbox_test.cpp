// SPDX-License-Identifier: GPL-3.0-or-later
// zelkctl as a user runs it: a real process on the pty of a zelk-sim process.
#include <gtest/gtest.h>

#include <regex>

#include "session/program_version.h"
#include "support/child_process.h"
#include "support/sim_process.h"

namespace zelk::testing {
namespace {

using namespace std::chrono_literals;

// Paths of the built programs, from the build system.
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

TEST(Zelkctl, VersionOfTheSimulatedModule) {
  START_SIM(sim);
  const ProcessOutput run = Zelkctl({"--port", sim.link(), "version"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "2.10\n");
}

TEST(Zelkctl, VersionTheModuleIsToldToReport) {
  START_SIM(sim, "--module-version", "1.0");
  const ProcessOutput run = Zelkctl({"version", "--port", sim.link()});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "1.0\n");
}

TEST(Zelkctl, RawReadsSettingsLiveValuesAndVersion) {
  START_SIM(sim);
  const ProcessOutput run = Zelkctl({"--port", sim.link(), "raw"},
                                    "# settings, poll block, version\n"
                                    "1 1 25\n"
                                    "0 0x43 10\n"
                                    "3 1 1 00\n");
  EXPECT_EQ(run.exit_code, 0) << run.err;
  const std::regex expected("ok [0-9a-f]{50}\nok [0-9a-f]{20}\nok 020a\n");
  EXPECT_TRUE(std::regex_match(run.out, expected)) << run.out;
}

TEST(Zelkctl, RawSkipsBadLinesAndSaysWhere) {
  START_SIM(sim);
  const ProcessOutput run = Zelkctl({"--port", sim.link(), "raw"}, "3 1 1\n3 1 95\n3 1 1\n");
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_EQ(run.out, "ok 020a\nok 020a\n");
  EXPECT_NE(run.err.find("line 2: count 95 is out of range 0..94"), std::string::npos) << run.err;
}

// A script must not take unwritten results for success, and a closed stdout
// must not let our text reach the serial line.
TEST(Zelkctl, ResultsThatCannotBeWrittenAreNoSuccess) {
  START_SIM(sim);
  const ProcessOutput full = RunProcess(
      {"/bin/sh", "-c", g_zelkctl + " --port '" + sim.link() + "' version > /dev/full"}, "", 60s);
  EXPECT_EQ(full.exit_code, 2) << full.err;
  EXPECT_NE(full.err.find("cannot write"), std::string::npos) << full.err;

  const ProcessOutput closed = RunProcess(
      {"/bin/sh", "-c", "echo '3 1 1' | " + g_zelkctl + " --port '" + sim.link() + "' raw >&-"}, "",
      60s);
  EXPECT_EQ(closed.exit_code, 0) << closed.err;
  const ProcessOutput after = Zelkctl({"--port", sim.link(), "version"});
  EXPECT_EQ(after.out, "2.10\n") << "the module still answers cleanly";
}

TEST(Zelkctl, SilentModuleFails) {
  START_SIM(sim, "--fault", "silent");
  const ProcessOutput raw = Zelkctl({"--port", sim.link(), "raw"}, "3 1 1\n");
  EXPECT_EQ(raw.exit_code, 1);
  EXPECT_EQ(raw.out, "fail\n");
  EXPECT_NE(raw.err.find("Communication Fail"), std::string::npos) << raw.err;

  const ProcessOutput version = Zelkctl({"--port", sim.link(), "version"});
  EXPECT_EQ(version.exit_code, 1);
  EXPECT_EQ(version.out, "");
  EXPECT_EQ(version.err, "Communication Fail\n");
}

TEST(Zelkctl, BadCheckByteFails) {
  START_SIM(sim, "--fault", "bad-check");
  const ProcessOutput run = Zelkctl({"--port", sim.link(), "raw"}, "3 1 1\n1 1 25\n");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, "fail\nfail\n");
}

TEST(Zelkctl, HangUpClosesThePortAndLaterRequestsFail) {
  START_SIM(sim, "--fault", "hangup-after=1");
  std::string input;
  for (int i = 0; i < 5000; ++i) input += "3 1 1\n";
  const ProcessOutput run = Zelkctl({"--port", sim.link(), "raw"}, input);
  EXPECT_EQ(run.exit_code, 1);
  // Stopped at the first request after the port was closed.
  EXPECT_EQ(run.out, "ok 020a\nfail\n");
  EXPECT_NE(run.err.find("line 3: the port was closed by a device error; stopped"),
            std::string::npos)
      << run.err;
}

TEST(Zelkctl, TraceShowsTheFramesOnStderr) {
  START_SIM(sim);
  const ProcessOutput run = Zelkctl({"--trace", "--port", sim.link(), "version"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "2.10\n");
  const std::regex sent(R"(\s+[0-9]+\.[0-9]{3} ms > f3 03 00 01 01 00 9c\n)");
  const std::regex received(R"(\s+[0-9]+\.[0-9]{3} ms < ([0-9a-f]{2} ){2}02 0a [0-9a-f]{2}\n)");
  EXPECT_TRUE(std::regex_search(run.err, sent)) << run.err;
  EXPECT_TRUE(std::regex_search(run.err, received)) << run.err;
}

TEST(Zelkctl, PortThatCannotBeOpened) {
  const ProcessOutput run = Zelkctl({"--port", "/nonexistent/zelk-port", "version"});
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "Invalid COMM Port: /nonexistent/zelk-port: no such port\n");

  // An escape sequence in the name must not reach the terminal.
  const ProcessOutput escape = Zelkctl({"--port", "/nonexistent/\x1b]0;x\x07", "version"});
  EXPECT_EQ(escape.err, "Invalid COMM Port: /nonexistent/\\x1b]0;x\\x07: no such port\n");

  for (const char* path : {"/dev/random", "/dev/null"}) {
    const ProcessOutput special = Zelkctl({"--port", path, "version"});
    EXPECT_EQ(special.exit_code, 2);
    EXPECT_EQ(special.err, "Invalid COMM Port: " + std::string(path) + ": not a serial port\n");
  }

  const ProcessOutput empty = Zelkctl({"--port", "", "raw"}, "3 1 1\n");
  EXPECT_EQ(empty.exit_code, 2);
  EXPECT_TRUE(empty.err.starts_with("Invalid COMM Port: : ")) << empty.err;
}

TEST(Zelkctl, BadUsage) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{}, {"version"}, {"--port", "x", "dance"}, {"--speed", "ports"}}) {
    const ProcessOutput run = Zelkctl(args);
    EXPECT_EQ(run.exit_code, 2) << ::testing::PrintToString(args);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.starts_with("zelkctl: ")) << run.err;
    EXPECT_NE(run.err.find("usage: zelkctl"), std::string::npos);
  }
}

TEST(Zelkctl, ProgramVersion) {
  const ProcessOutput version = Zelkctl({"--version"});
  EXPECT_EQ(version.exit_code, 0) << version.err;
  EXPECT_EQ(version.out, std::string(kProgramVersion) + "\n");
  EXPECT_EQ(version.err, "");
}

TEST(Zelkctl, HelpAndPorts) {
  const ProcessOutput help = Zelkctl({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_TRUE(help.out.starts_with("usage: zelkctl")) << help.out;
  const ProcessOutput full =
      RunProcess({"/bin/sh", "-c", g_zelkctl + " --help > /dev/full"}, "", 60s);
  EXPECT_EQ(full.exit_code, 2) << "help that cannot be written is no success";
  EXPECT_NE(full.err.find("cannot write"), std::string::npos) << full.err;

  const ProcessOutput ports = Zelkctl({"ports"});
  EXPECT_EQ(ports.exit_code, 0) << ports.err;
  EXPECT_EQ(ports.err, "");

  // A command's own words are its to refuse, before any port is opened.
  const ProcessOutput extra = Zelkctl({"--port", "/nonexistent/port", "version", "now"});
  EXPECT_EQ(extra.exit_code, 2);
  EXPECT_EQ(extra.err, "zelkctl: unexpected argument 'now'\n");
}

}  // namespace
}  // namespace zelk::testing
