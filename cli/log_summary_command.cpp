// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/log_summary_command.h"

#include <filesystem>
#include <iomanip>
#include <nlohmann/json.hpp>
#include <optional>

#include "cli/commands.h"
#include "cli/hex_text.h"
#include "monitor/csv_cells.h"
#include "text/path_text.h"
#include "text/terminal_text.h"

namespace zelk::cli {
namespace {

using Json = nlohmann::ordered_json;

constexpr int kNameColumn = 16;
constexpr int kNumberColumn = 14;

std::size_t FailRows(const LogData& log) {
  std::size_t failed = 0;
  for (const bool f : log.failed) failed += f ? 1 : 0;
  return failed;
}

// From the first data row to the last.
double DurationS(const LogData& log) {
  return log.rows() < 2 ? 0 : log.time_s.back() - log.time_s.front();
}

Json StatsJson(const std::optional<ValueStats>& stats) {
  if (!stats) return Json{{"min", nullptr}, {"max", nullptr}, {"mean", nullptr}};
  return Json{{"min", stats->min}, {"max", stats->max}, {"mean", stats->mean}};
}

void PrintJson(const LogData& log, std::ostream& out) {
  Json markers = Json::array();
  for (const LogMarker& marker : log.markers)
    markers.push_back(Json{{"time_s", marker.time_s}, {"text", marker.text}});
  Json values = Json::object();
  for (const LogValueColumn& column : LogValueColumns())
    values[std::string(column.name)] = StatsJson(StatsOf(log, column.value, 0, log.rows()));
  const Json summary{{"rows", log.rows()},           {"fail_rows", FailRows(log)},
                     {"duration_s", DurationS(log)}, {"cut", log.cut},
                     {"markers", markers},           {"values", values}};
  // Marker texts are UTF-8 (the reader replaced any invalid byte).
  out << summary.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

// "1:02:03" for a duration in seconds.
std::string Clock(double seconds) {
  const auto whole = static_cast<long long>(seconds);
  std::ostringstream text;
  text << whole / 3600 << ':' << std::setw(2) << std::setfill('0') << whole / 60 % 60 << ':'
       << std::setw(2) << std::setfill('0') << whole % 60;
  return text.str();
}

std::string Seconds(double seconds) {
  return SecondsCell(std::chrono::milliseconds(std::llround(seconds * 1000)));
}

void PrintText(const LogData& log, std::ostream& out) {
  out << std::left << std::setw(kNameColumn) << "rows" << log.rows() << " (" << FailRows(log)
      << " failed)\n";
  out << std::setw(kNameColumn) << "duration" << Clock(DurationS(log)) << " ("
      << Seconds(DurationS(log)) << " s)\n";
  if (log.cut) {
    out << std::setw(kNameColumn) << "cut"
        << "the last line was incomplete (a crash, a full disk?) and is left out\n";
  }
  out << std::setw(kNameColumn) << "markers" << log.markers.size() << '\n';
  for (const LogMarker& marker : log.markers) {
    out << "  " << std::right << std::setw(10) << Seconds(marker.time_s) << std::left << " s  "
        << TerminalSafe(marker.text) << '\n';
  }
  out << '\n'
      << std::setw(kNameColumn) << "value" << std::right << std::setw(kNumberColumn) << "min"
      << std::setw(kNumberColumn) << "max" << std::setw(kNumberColumn) << "mean" << '\n';
  for (const LogValueColumn& column : LogValueColumns()) {
    const std::optional<ValueStats> stats = StatsOf(log, column.value, 0, log.rows());
    out << std::left << std::setw(kNameColumn) << column.name << std::right;
    for (const double figure :
         {stats ? stats->min : 0, stats ? stats->max : 0, stats ? stats->mean : 0})
      out << std::setw(kNumberColumn) << (stats ? LogNumberCell(figure) : "-");
    out << '\n';
  }
}

}  // namespace

void PrintLogSummary(const LogData& log, bool json, std::ostream& out) {
  if (json) {
    PrintJson(log, out);
  } else {
    PrintText(log, out);
  }
}

int LogSummaryCommand(CommandContext& context, const std::vector<std::string>& operands) {
  std::optional<std::string> file;
  bool json = false;
  for (const std::string& operand : operands) {
    if (operand == "--json" && !json) {
      json = true;
    } else if (!file && (operand == "-" || !operand.starts_with("--"))) {
      file = operand;
    } else {
      return UsageError(context, "log-summary: unexpected argument '" + operand + "'");
    }
  }
  if (!file) return UsageError(context, "log-summary needs a FILE");
  std::string error;
  const std::optional<LogData> log =
      *file == "-" ? ParseLog(context.in, error) : ReadLog(PathFromUtf8(*file), error);
  if (!log) return UsageError(context, *file == "-" ? "standard input: " + error : error);
  PrintLogSummary(*log, json, context.out);
  if (!context.out) return UsageError(context, "cannot write the results");
  return kExitOk;
}

}  // namespace zelk::cli
