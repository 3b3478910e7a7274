// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/monitor_command.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string_view>
#include <thread>

#include "cli/commands.h"
#include "cli/hex_text.h"
#include "cli/stop_signal.h"
#include "cli/vehicle_records.h"
#include "monitor/csv_cells.h"
#include "monitor/poll_schedule.h"
#include "text/path_text.h"
#include "text/terminal_text.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#endif

namespace zelk::cli {
namespace {

// A stop request is seen within this long while the run waits for a slot.
constexpr double kStopCheckMs = 50;

bool ParseWhole(std::string_view text, std::uint64_t& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return !text.empty() && ec == std::errc() && ptr == end;
}

// What an option's value must be, and where it goes.
bool TakeValue(std::string_view name, std::string_view value, MonitorOptions& options,
               std::string& error) {
  std::uint64_t number = 0;
  const bool whole = ParseWhole(value, number);
  if (name == "--interval") {
    if (!whole || number > kLongestMonitorIntervalMs) {
      error = "--interval must be a whole number of milliseconds from 0 to " +
              std::to_string(kLongestMonitorIntervalMs) + ", not '" + std::string(value) + "'";
      return false;
    }
    options.interval_ms = static_cast<double>(number);
  } else if (name == "--count") {
    if (!whole || number == 0) {
      error = "--count must be a whole number above 0, not '" + std::string(value) + "'";
      return false;
    }
    options.count = number;
  } else if (name == "--rpm-factor") {
    if (!whole || (number != 1 && number != 2 && number != 4 && number != 8)) {
      error = "--rpm-factor must be 1, 2, 4 or 8, not '" + std::string(value) + "'";
      return false;
    }
    options.rpm_factor = static_cast<int>(number);
  } else {  // --csv
    if (value.empty()) {
      error = "--csv needs a file name (- for standard output)";
      return false;
    }
    options.csv = std::string(value);
  }
  return true;
}

constexpr std::string_view kMonitorOptions[] = {"--interval", "--count", "--csv", "--rpm-factor"};

void SleepOnTheThread(double ms) {
  std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms));
}

// Waits until `until_ms`, in short steps so that a stop request is seen; false
// when one came.
bool WaitForSlot(double until_ms, const MonitorTiming& timing) {
  for (;;) {
    if (StopRequested()) return false;
    const double left = until_ms - timing.now_ms();
    if (left <= 0) return true;
    const double step = std::min(left, kStopCheckMs);
    if (timing.sleep_ms)
      timing.sleep_ms(step);
    else
      SleepOnTheThread(step);
  }
}

void BinaryStandardOutput() {
#ifdef _WIN32
  // The log's lines end in '\n' on every system, not "\r\n".
  (void)_setmode(_fileno(stdout), _O_BINARY);
#endif
}

}  // namespace

bool ParseMonitorOptions(const std::vector<std::string>& operands, MonitorOptions& options,
                         std::string& error) {
  std::vector<std::string_view> seen;
  for (std::size_t i = 0; i < operands.size(); ++i) {
    const std::string_view operand = operands[i];
    const std::size_t equals = operand.find('=');
    const std::string_view name = operand.substr(0, equals);
    if (std::find(std::begin(kMonitorOptions), std::end(kMonitorOptions), name) ==
        std::end(kMonitorOptions)) {
      error = "monitor: unexpected argument '" + std::string(operand) + "'";
      return false;
    }
    if (std::find(seen.begin(), seen.end(), name) != seen.end()) {
      error = std::string(name) + " given more than once";
      return false;
    }
    seen.push_back(name);
    std::string_view value;
    if (equals != std::string_view::npos) {
      value = operand.substr(equals + 1);
    } else if (i + 1 < operands.size()) {
      value = operands[++i];
    } else {
      error = std::string(name) + " needs a value";
      return false;
    }
    if (!TakeValue(name, value, options, error)) return false;
  }
  return true;
}

std::string MonitorLine(std::chrono::milliseconds since_start, const LiveSample* sample) {
  std::string time = SecondsCell(since_start);
  if (time.size() < 8) time.insert(0, 8 - time.size(), ' ');
  if (!sample) return time + "  fail";
  const LiveTexts texts = FormatLiveSample(*sample, '.');
  return time + "  rpm " + texts.rpm + "  injection " + texts.inj + " ms  correction " +
         texts.corr + " %  temperature " + texts.temp + " C  MAP " + texts.map + " V  lambda " +
         texts.lambda + " mV";
}

int RunMonitor(Session& session, const MonitorOptions& options, std::ostream& out,
               std::ostream& err, const MonitorTiming& timing) {
  std::unique_ptr<LiveLogFile> file;
  std::unique_ptr<LiveLogWriter> log;
  const bool csv_out = options.csv && *options.csv == "-";
  std::optional<std::filesystem::path> log_path = options.history_log;
  if (options.csv && !csv_out) log_path = PathFromUtf8(*options.csv);
  if (csv_out) {
    log = std::make_unique<LiveLogWriter>(out, timing.log_clocks);
  } else if (log_path) {
    std::string error;
    file = LiveLogFile::Open(*log_path, error, timing.log_clocks);
    if (!file) {
      err << "zelkctl: " << TerminalSafe(error) << '\n';
      return kExitUsage;
    }
  }
  LiveLogWriter* writer = file ? &file->writer() : log.get();
  // The readable lines, unless --csv took standard output or a file.
  const bool lines = !options.csv;
  const auto started = timing.log_clocks.monotonic();
  const auto cannot_write = [&](bool the_file) {
    err << "zelkctl: cannot write "
        << (the_file ? TerminalSafe(Utf8PathText(*log_path)) : std::string("the results")) << '\n';
    return kExitUsage;
  };
  if (writer && !writer->ok()) return cannot_write(file != nullptr);

  PollSchedule schedule(options.interval_ms);
  for (std::uint64_t polls = 0; !options.count || polls < *options.count; ++polls) {
    if (!WaitForSlot(schedule.NextStart(timing.now_ms()), timing)) break;
    const Result<LiveSample> polled = session.Poll(options.rpm_factor);
    const LiveSample* sample = polled.ok() ? &polled.value : nullptr;
    if (writer && !(sample ? writer->WriteSample(*sample) : writer->WriteFailure())) {
      return cannot_write(file != nullptr);
    }
    if (lines) {
      const auto since =
          std::chrono::floor<std::chrono::milliseconds>(timing.log_clocks.monotonic() - started);
      out << MonitorLine(since, sample) << '\n';
      out.flush();
      if (!out) return cannot_write(false);
    }
    if (!polled.ok() && !session.connected()) {
      err << "zelkctl: the port was closed by a device error; stopped\n"
          << kCommunicationFailText << '\n';
      if (file) file->Close();
      return kExitCommunication;
    }
  }
  if (file && !file->Close()) return cannot_write(true);
  return kExitOk;
}

int MonitorCommand(CommandContext& context, const std::vector<std::string>& operands) {
  MonitorOptions options;
  std::string error;
  if (!ParseMonitorOptions(operands, options, error)) return UsageError(context, error);
  // The vehicle on the bench keeps the log, unless --csv says where it goes;
  // its place is known before the port is opened.
  std::optional<VehicleHistory> history;
  if (!HistoryOnTheBench(context, history)) return kExitUsage;
  if (history && !options.csv) {
    options.history_log = history->NewLogPath(error);
    if (options.history_log->empty()) {
      context.err << "zelkctl: no log in the vehicle's history: " << TerminalSafe(error) << '\n';
      return kExitUsage;
    }
  }
  Session* session = context.OpenSession();
  if (session == nullptr) return kExitUsage;
  if (options.history_log) {
    context.err << "zelkctl: logging to " << TerminalSafe(Utf8PathText(*options.history_log))
                << '\n';
  }
  if (options.csv && *options.csv == "-") BinaryStandardOutput();
  InstallStopSignals();
  return RunMonitor(*session, options, context.out, context.err);
}

}  // namespace zelk::cli
