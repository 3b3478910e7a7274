// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// zelkctl monitor: the window's poll from a shell, as readable lines or as the
// live log (CSV), on a schedule that does not drift, until --count polls or a
// stop signal.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "monitor/live_log.h"
#include "monitor/poll_schedule.h"
#include "session/session.h"

namespace zelk::cli {

inline constexpr double kDefaultMonitorIntervalMs = kPollIntervalMs;
inline constexpr std::uint32_t kLongestMonitorIntervalMs = 3'600'000;  // an hour

struct MonitorOptions {
  double interval_ms = kDefaultMonitorIntervalMs;
  std::optional<std::uint64_t> count;  // empty: until stopped
  std::optional<std::string> csv;      // "-": the log on standard output
  // With --vehicle and no --csv: the log in the vehicle's history, written
  // beside the readable lines.
  std::optional<std::filesystem::path> history_log;
  int rpm_factor = 1;
};

// The operands after "monitor". False with `error` for an unknown or repeated
// option, a missing or bad value.
bool ParseMonitorOptions(const std::vector<std::string>& operands, MonitorOptions& options,
                         std::string& error);

// The clocks the run keeps: the schedule's, a sleep on it, and the log's.
struct MonitorTiming {
  std::function<double()> now_ms = Session::SteadyMilliseconds;
  std::function<void(double ms)> sleep_ms;  // empty: the thread sleeps
  LogClocks log_clocks;
};

// Polls `session` (open) by the options; `out` takes the readable lines, or
// the log when the options say "-"; a history log gets the rows as well as
// `out` the lines. Exit 0 at the count or at a stop request
// (failed polls are rows of the log); 1 when the port went away (after its
// row); 2 when the log cannot be opened or written.
int RunMonitor(Session& session, const MonitorOptions& options, std::ostream& out,
               std::ostream& err, const MonitorTiming& timing = {});

// One readable line: "  12.500  rpm 750  injection 1.0 ms  ..." or "  12.500  fail".
std::string MonitorLine(std::chrono::milliseconds since_start, const LiveSample* sample);

int MonitorCommand(CommandContext& context, const std::vector<std::string>& operands);

}  // namespace zelk::cli
