// SPDX-License-Identifier: GPL-3.0-or-later
// zelkctl monitor in-process against the simulated module on its virtual
// clock: the options it takes and refuses, the requests it sends, its schedule,
// the lines and the log it writes, and how it ends.
#include "cli/monitor_command.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "cli/commands.h"
#include "cli/stop_signal.h"
#include "sim/simulated_line.h"

namespace zelk::cli {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(MonitorOptions, Accepted) {
  struct Case {
    std::vector<std::string> operands;
    double interval_ms;
    std::optional<std::uint64_t> count;
    std::optional<std::string> csv;
    int rpm_factor;
  };
  const Case cases[] = {
      {{}, 500, std::nullopt, std::nullopt, 1},
      {{"--interval", "0", "--count", "5"}, 0, 5, std::nullopt, 1},
      {{"--csv", "-", "--rpm-factor", "8"}, 500, std::nullopt, "-", 8},
      {{"--interval=100", "--csv=log.csv", "--count=1000"}, 100, 1000, "log.csv", 1},
      {{"--csv", "--count"}, 500, std::nullopt, "--count", 1},  // a file may be called so
  };
  for (const Case& c : cases) {
    MonitorOptions options;
    std::string error;
    ASSERT_TRUE(ParseMonitorOptions(c.operands, options, error)) << error;
    EXPECT_EQ(options.interval_ms, c.interval_ms);
    EXPECT_EQ(options.count, c.count);
    EXPECT_EQ(options.csv, c.csv);
    EXPECT_EQ(options.rpm_factor, c.rpm_factor);
  }
}

TEST(MonitorOptions, Refused) {
  struct Case {
    std::vector<std::string> operands;
    const char* error;
  };
  const Case cases[] = {
      {{"--interval"}, "--interval needs a value"},
      {{"--interval", "-1"},
       "--interval must be a whole number of milliseconds from 0 to 3600000, not '-1'"},
      {{"--interval", "1.5"},
       "--interval must be a whole number of milliseconds from 0 to 3600000, not '1.5'"},
      {{"--interval", "3600001"},
       "--interval must be a whole number of milliseconds from 0 to 3600000, not '3600001'"},
      {{"--count", "0"}, "--count must be a whole number above 0, not '0'"},
      {{"--count", "x"}, "--count must be a whole number above 0, not 'x'"},
      {{"--rpm-factor", "3"}, "--rpm-factor must be 1, 2, 4 or 8, not '3'"},
      {{"--rpm-factor", "16"}, "--rpm-factor must be 1, 2, 4 or 8, not '16'"},
      {{"--csv="}, "--csv needs a file name (- for standard output)"},
      {{"--count", "1", "--count=2"}, "--count given more than once"},
      {{"--json"}, "monitor: unexpected argument '--json'"},
      {{"5"}, "monitor: unexpected argument '5'"},
  };
  for (const Case& c : cases) {
    MonitorOptions options;
    std::string error;
    EXPECT_FALSE(ParseMonitorOptions(c.operands, options, error)) << c.error;
    EXPECT_EQ(error, c.error);
  }
}

// The session on the simulated module, and a run whose clocks are the module's.
class MonitorOverSim : public ::testing::Test {
 protected:
  MonitorOverSim() : session_(port_.Opener(), [this] { return port_.clock().now_ms(); }) {
    timing_.now_ms = [this] { return port_.clock().now_ms(); };
    timing_.sleep_ms = [this](double ms) {
      ++sleeps_;
      if (stop_after_sleeps_ > 0 && sleeps_ >= stop_after_sleeps_) RequestStop();
      port_.clock().Advance(ms);
    };
    timing_.log_clocks.monotonic = [this] {
      return std::chrono::steady_clock::time_point(
          std::chrono::duration_cast<std::chrono::steady_clock::duration>(
              std::chrono::duration<double, std::milli>(port_.clock().now_ms())));
    };
  }
  void SetUp() override {
    ClearStopRequest();
    ASSERT_TRUE(session_.Open("SIM").ok());
  }
  void TearDown() override { ClearStopRequest(); }

  int Run(const std::vector<std::string>& operands) {
    MonitorOptions options;
    std::string error;
    EXPECT_TRUE(ParseMonitorOptions(operands, options, error)) << error;
    return RunMonitor(session_, options, out_, err_, timing_);
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::istringstream text(out_.str());
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
  }
  // time_s of each CSV row, in ms.
  std::vector<int> RowTimes() const {
    std::vector<int> times;
    const std::vector<std::string> lines = Lines();
    for (std::size_t i = 1; i < lines.size(); ++i)
      times.push_back(
          static_cast<int>(std::stod(lines[i].substr(0, lines[i].find(','))) * 1000 + 0.5));
    return times;
  }

  sim::SimulatedPort port_;
  Session session_;
  MonitorTiming timing_;
  std::ostringstream out_;
  std::ostringstream err_;
  int sleeps_ = 0;
  int stop_after_sleeps_ = 0;
};

TEST_F(MonitorOverSim, SendsTheWindowsPollWithTheLastBlockAsPayload) {
  ASSERT_EQ(Run({"--count", "3", "--interval", "0", "--csv", "-"}), kExitOk) << err_.str();
  const auto& history = port_.module().history();
  ASSERT_EQ(history.size(), 3u);
  EXPECT_EQ(history[0].command, 0);
  EXPECT_EQ(history[0].address, 0x43);
  EXPECT_EQ(history[0].payload, Bytes(10, 0)) << "a zero buffer before the first reply";
  // The second poll carries the first reply, as the window's live buffer does.
  std::vector<std::string> cells;
  std::istringstream row(Lines()[1]);
  for (std::string cell; std::getline(row, cell, ',');) cells.push_back(cell);
  ASSERT_GE(cells.size(), 10u);
  const std::string first_raw = cells[9];  // the raw column
  std::string sent;
  for (const std::uint8_t byte : history[1].payload) {
    static constexpr char kDigits[] = "0123456789abcdef";
    sent += kDigits[byte >> 4];
    sent += kDigits[byte & 15];
  }
  EXPECT_EQ(sent, first_raw);
}

TEST_F(MonitorOverSim, PollsStartOnTheIntervalsSlots) {
  ASSERT_EQ(Run({"--count", "5", "--interval", "100", "--csv", "-"}), kExitOk) << err_.str();
  const std::vector<int> times = RowTimes();
  ASSERT_EQ(times.size(), 5u);
  // Each row is stamped when its reply came, about 30 ms after its slot.
  for (std::size_t k = 0; k < times.size(); ++k) {
    EXPECT_GE(times[k] - times[0], static_cast<int>(k) * 100 - 1) << k;
    EXPECT_LE(times[k] - times[0], static_cast<int>(k) * 100 + 1) << k;
  }
  EXPECT_EQ(Lines()[0],
            "time_s,wall_clock,rpm,injection_ms,correction_pct,temperature_c,map_v,lambda_mv,"
            "status,raw,marker");
}

TEST_F(MonitorOverSim, ReadableLinesWithoutCsv) {
  ASSERT_EQ(Run({"--count", "2", "--interval", "500", "--rpm-factor", "2"}), kExitOk);
  const std::regex line(
      " *[0-9]+\\.[0-9]{3}  rpm [0-9]+  injection [0-9]+\\.[0-9] ms  correction [0-9]+ %  "
      "temperature -?[0-9.]+ C  MAP [0-9]\\.[0-9]{2} V  lambda [0-9]+ mV");
  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), 2u);
  for (const std::string& text : lines) EXPECT_TRUE(std::regex_match(text, line)) << text;
  EXPECT_EQ(lines[1].substr(0, 8), "   0.5" + lines[0].substr(6, 2));
}

TEST_F(MonitorOverSim, FailedPollsAreRowsAndTheRunGoesOn) {
  port_.module().faults().bad_check = true;
  ASSERT_EQ(Run({"--count", "2", "--interval", "0", "--csv", "-"}), kExitOk);
  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), 3u);
  for (std::size_t i = 1; i < lines.size(); ++i)
    EXPECT_TRUE(std::regex_match(lines[i], std::regex("[0-9.]+,[-0-9T:.Z]+,,,,,,,fail,,")))
        << lines[i];
}

TEST_F(MonitorOverSim, APortThatGoesAwayEndsWithExit1AfterItsRow) {
  port_.module().faults().hangup_after = 2;
  EXPECT_EQ(Run({"--count", "10", "--interval", "0", "--csv", "-"}), kExitCommunication);
  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), 4u);  // header, two answers, the failed poll
  EXPECT_NE(lines[2].find(",ok,"), std::string::npos);
  EXPECT_NE(lines[3].find(",fail,"), std::string::npos);
  EXPECT_NE(err_.str().find("Communication Fail"), std::string::npos) << err_.str();
  EXPECT_FALSE(session_.connected());
}

TEST_F(MonitorOverSim, AStopRequestEndsTheWaitAndTheRunWithExit0) {
  stop_after_sleeps_ = 5;  // 50 ms steps: during the wait for the second slot
  EXPECT_EQ(Run({"--interval", "1000", "--csv", "-"}), kExitOk);
  EXPECT_EQ(Lines().size(), 2u);  // header and the first poll
  EXPECT_EQ(port_.module().history().size(), 1u);
  EXPECT_LT(port_.clock().now_ms(), 1000) << "stopped without waiting for the slot";
}

TEST(MonitorLine, Texts) {
  const LiveBlock block{0x50, 0xc3, 0xe2, 0x04, 0x00, 0x46, 0x00, 0x80, 0x64, 0x3c};
  const LiveSample sample = DecodePollSample(block, 1);
  EXPECT_EQ(MonitorLine(std::chrono::milliseconds(12500), &sample),
            "  12.500  rpm 750  injection 1.0 ms  correction 109 %  temperature 21 C  MAP 0.98 V  "
            "lambda 1176 mV");
  EXPECT_EQ(MonitorLine(std::chrono::milliseconds(1), nullptr), "   0.001  fail");
}

TEST(MonitorCommandTest, ALogThatCannotBeOpenedRefusesTheRun) {
  sim::SimulatedPort port;
  Session session(port.Opener());
  ASSERT_TRUE(session.Open("SIM").ok());
  MonitorOptions options;
  options.count = 1;
  options.csv = "/no-such-folder-for-monitor/log.csv";
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(RunMonitor(session, options, out, err), kExitUsage);
  EXPECT_EQ(err.str().rfind("zelkctl: cannot open /no-such-folder-for-monitor/log.csv", 0), 0u)
      << err.str();
  EXPECT_TRUE(port.module().history().empty()) << "nothing polled";
}

}  // namespace
}  // namespace zelk::cli
