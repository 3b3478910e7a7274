// SPDX-License-Identifier: GPL-3.0-or-later
// zelkctl monitor as a user runs it: a real process on the pty of a zelk-sim
// process, ended by its count, by the port going away, or by SIGINT.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "support/child_process.h"
#include "support/sim_process.h"

extern char** environ;

namespace zelk::testing {
namespace {

using namespace std::chrono_literals;

const std::string g_zelkctl = ZELKCTL_PATH;
const std::string g_sim = ZELK_SIM_PATH;

constexpr const char* kHeader =
    "time_s,wall_clock,rpm,injection_ms,correction_pct,temperature_c,map_v,lambda_mv,status,raw,"
    "marker";
const std::regex kOkRow(
    "[0-9]+\\.[0-9]{3},20[0-9]{2}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}\\.[0-9]{3}Z,"
    "[0-9.]+,[0-9.]+,[0-9]+,-?[0-9.]+,[0-9.]+,[0-9]+,ok,[0-9a-f]{20},");
const std::regex kFailRow("[0-9]+\\.[0-9]{3},[-0-9T:.]+Z,,,,,,,fail,,");

#define START_SIM(sim, ...) \
  SimProcess sim(g_sim);    \
  std::string sim##_error;  \
  ASSERT_TRUE(sim.Start({__VA_ARGS__}, sim##_error)) << sim##_error

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(ZelkctlMonitor, CsvOnStandardOutput) {
  START_SIM(sim);
  const ProcessOutput run = RunProcess(
      {g_zelkctl, "--port", sim.link(), "monitor", "--count", "3", "--interval", "0", "--csv", "-"},
      "", 60s);
  EXPECT_EQ(run.exit_code, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 4u) << run.out;
  EXPECT_EQ(lines[0], kHeader);
  for (std::size_t i = 1; i < lines.size(); ++i)
    EXPECT_TRUE(std::regex_match(lines[i], kOkRow)) << lines[i];
  EXPECT_EQ(run.out.back(), '\n');
  EXPECT_EQ(run.out.find('\r'), std::string::npos);
}

TEST(ZelkctlMonitor, ReadableLinesAndTheirInterval) {
  START_SIM(sim);
  const auto start = std::chrono::steady_clock::now();
  const ProcessOutput run = RunProcess(
      {g_zelkctl, "--port", sim.link(), "monitor", "--count", "3", "--interval", "200"}, "", 60s);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(run.exit_code, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 3u) << run.out;
  for (const std::string& line : lines)
    EXPECT_TRUE(std::regex_search(line, std::regex("^ +[0-9.]+  rpm [0-9]+  injection "))) << line;
  EXPECT_GE(took, 400ms) << "three polls on 200 ms slots";
}

TEST(ZelkctlMonitor, AFaultyModuleGivesFailRowsAndTheRunGoesOn) {
  START_SIM(sim, "--fault", "bad-check");
  const ProcessOutput run = RunProcess(
      {g_zelkctl, "--port", sim.link(), "monitor", "--count", "2", "--interval", "0", "--csv", "-"},
      "", 60s);
  EXPECT_EQ(run.exit_code, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 3u) << run.out;
  EXPECT_TRUE(std::regex_match(lines[1], kFailRow)) << lines[1];
  EXPECT_TRUE(std::regex_match(lines[2], kFailRow)) << lines[2];
}

TEST(ZelkctlMonitor, APortThatGoesAwayEndsWithExit1AfterTheRow) {
  START_SIM(sim, "--fault", "hangup-after=2");
  const std::string log = sim.dir() + "/drive.csv";
  const ProcessOutput run = RunProcess(
      {g_zelkctl, "--port", sim.link(), "monitor", "--interval", "0", "--csv", log}, "", 60s);
  EXPECT_EQ(run.exit_code, 1) << run.err;
  EXPECT_TRUE(run.out.empty()) << run.out;
  const std::vector<std::string> lines = Lines(ReadFile(log));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_TRUE(std::regex_match(lines[2], kOkRow)) << lines[2];
  EXPECT_TRUE(std::regex_match(lines[3], kFailRow)) << lines[3];
}

// What monitor logged, log-summary reads back: the rows, the fail row, and a
// cut end once the file loses its last bytes.
TEST(ZelkctlMonitor, LogSummaryReadsWhatMonitorLogged) {
  START_SIM(sim, "--fault", "hangup-after=2");
  const std::string log = sim.dir() + "/drive.csv";
  EXPECT_EQ(
      RunProcess({g_zelkctl, "--port", sim.link(), "monitor", "--interval", "0", "--csv", log}, "",
                 60s)
          .exit_code,
      1);
  ProcessOutput summary = RunProcess({g_zelkctl, "log-summary", log, "--json"}, "", 60s);
  EXPECT_EQ(summary.exit_code, 0) << summary.err;
  EXPECT_NE(summary.out.find("\"rows\": 3,"), std::string::npos) << summary.out;
  EXPECT_NE(summary.out.find("\"fail_rows\": 1,"), std::string::npos) << summary.out;
  EXPECT_NE(summary.out.find("\"cut\": false,"), std::string::npos) << summary.out;

  std::filesystem::resize_file(log, std::filesystem::file_size(log) - 5);
  summary = RunProcess({g_zelkctl, "log-summary", log, "--json"}, "", 60s);
  EXPECT_EQ(summary.exit_code, 0) << summary.err;
  EXPECT_NE(summary.out.find("\"rows\": 2,"), std::string::npos) << summary.out;
  EXPECT_NE(summary.out.find("\"cut\": true,"), std::string::npos) << summary.out;

  std::ofstream(sim.dir() + "/notes.txt") << "not a log\n";
  summary = RunProcess({g_zelkctl, "log-summary", sim.dir() + "/notes.txt"}, "", 60s);
  EXPECT_EQ(summary.exit_code, 2);
  EXPECT_EQ(summary.out, "");
  EXPECT_NE(summary.err.find("not a log of this program"), std::string::npos) << summary.err;
}

TEST(ZelkctlMonitor, BadOperandsTouchNeitherPortNorFile) {
  START_SIM(sim);
  const std::string log = sim.dir() + "/never.csv";
  const ProcessOutput run = RunProcess(
      {g_zelkctl, "--port", sim.link(), "monitor", "--csv", log, "--rpm-factor", "3"}, "", 60s);
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_NE(run.err.find("--rpm-factor must be 1, 2, 4 or 8"), std::string::npos) << run.err;
  EXPECT_NE(access(log.c_str(), F_OK), 0) << "no log file made";
}

// zelkctl monitor running on its own, its stdout and stderr to files.
class RunningMonitor {
 public:
  RunningMonitor(const std::vector<std::string>& args, const std::string& dir) {
    std::vector<std::string> argv{g_zelkctl};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& arg : argv) pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, (dir + "/out").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, (dir + "/err").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (posix_spawn(&pid_, g_zelkctl.c_str(), &actions, nullptr, pointers.data(), environ) != 0)
      pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~RunningMonitor() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  bool started() const { return pid_ > 0; }

  // Sends `signal` and waits for the exit code; nothing when it did not end.
  std::optional<int> Stop(int signal, std::chrono::milliseconds timeout) {
    kill(pid_, signal);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        if (WIFEXITED(status)) return WEXITSTATUS(status);
        return std::nullopt;
      }
      std::this_thread::sleep_for(10ms);
    }
    return std::nullopt;
  }

 private:
  pid_t pid_ = -1;
};

bool WaitForLines(const std::string& path, std::size_t count, std::chrono::seconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    if (Lines(ReadFile(path)).size() >= count) return true;
    std::this_thread::sleep_for(20ms);
  }
  return false;
}

TEST(ZelkctlMonitor, SigintAndSigtermCloseTheLogCompleteAndExit0) {
  for (const int signal : {SIGINT, SIGTERM}) {
    START_SIM(sim);
    const std::string log = sim.dir() + "/drive.csv";
    RunningMonitor monitor({"--port", sim.link(), "monitor", "--interval", "50", "--csv", log},
                           sim.dir());
    ASSERT_TRUE(monitor.started());
    ASSERT_TRUE(WaitForLines(log, 4, 30s)) << ReadFile(sim.dir() + "/err");
    const std::optional<int> exit_code = monitor.Stop(signal, 30s);
    ASSERT_TRUE(exit_code.has_value()) << "ended by the signal instead of by itself";
    EXPECT_EQ(*exit_code, 0) << ReadFile(sim.dir() + "/err");
    const std::string text = ReadFile(log);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n') << "the last row is whole";
    const std::vector<std::string> lines = Lines(text);
    EXPECT_EQ(lines[0], kHeader);
    for (std::size_t i = 1; i < lines.size(); ++i)
      EXPECT_TRUE(std::regex_match(lines[i], kOkRow)) << lines[i];
    // The module still answers cleanly: no exchange was cut in half.
    const ProcessOutput after = RunProcess({g_zelkctl, "--port", sim.link(), "version"}, "", 60s);
    EXPECT_EQ(after.out, "2.10\n") << after.err;
  }
}

}  // namespace
}  // namespace zelk::testing
