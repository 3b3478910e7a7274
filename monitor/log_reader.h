// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads a live log written by this program (the windows or zelkctl) back into
// memory: the log review window, `zelkctl log-summary` and the benchmarks all
// read through here, so they agree on every row.
//
// Kept by column, not by row: a day's log at 500 ms is 172,800 rows, and the
// review window plots each value as one array.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelk {

// The six live values a row carries, in the log's column order.
enum class LogValue { rpm, injection_ms, correction_pct, temperature_c, map_v, lambda_mv };
inline constexpr std::size_t kLogValueCount = 6;

struct LogValueColumn {
  LogValue value;
  std::string_view name;  // the CSV column's name: "rpm", "injection_ms", ...
  std::string_view unit;  // "rpm", "ms", "%", "°C", "V", "mV"
};
const std::array<LogValueColumn, kLogValueCount>& LogValueColumns();

// A moment the technician marked while logging.
struct LogMarker {
  double time_s = 0;         // seconds since the log's start
  std::string text;          // may be empty
  std::int64_t wall_ms = 0;  // UTC, ms since 1970
};

struct LogData {
  std::vector<double> time_s;         // one per data row (fail rows included), ascending
  std::vector<std::int64_t> wall_ms;  // UTC, ms since 1970, one per data row
  // One array per value, one entry per data row; NaN where the row has none
  // (a fail row, an RPM that could not be computed).
  std::array<std::vector<double>, kLogValueCount> values;
  std::vector<bool> failed;        // one per data row: the poll failed
  std::vector<LogMarker> markers;  // ascending by time
  bool cut = false;  // the last line was incomplete (a crash, a full disk) and was left out

  std::size_t rows() const { return time_s.size(); }
  const std::vector<double>& column(LogValue v) const {
    return values[static_cast<std::size_t>(v)];
  }
};

// Null with `error` naming why ("not a log of this program: ...", "line 12: ...")
// when the text is not one of our logs. A last line without its '\n' that does
// not read whole is left out and sets `cut`. Read in chunks, never whole:
// memory grows with the rows kept (64 bytes a row), and a line longer than
// 2 kB, a log of more than 5,000,000 rows or (ReadLog) a file over 512 MB is
// refused by name. ReadLog opens regular files only (never waits on a FIFO),
// and its messages name the file ("<path>: line 12: ...", "cannot open <path>: ...").
std::optional<LogData> ParseLog(std::istream& in, std::string& error);
std::optional<LogData> ReadLog(const std::filesystem::path& path, std::string& error);

struct ValueStats {
  double min = 0;
  double max = 0;
  double mean = 0;
  std::size_t count = 0;  // rows that carry the value
};

// Over rows [first, end); empty when none of them carries the value.
std::optional<ValueStats> StatsOf(const LogData& log, LogValue value, std::size_t first,
                                  std::size_t end);

}  // namespace zelk
