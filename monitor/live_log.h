// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The live log: one CSV row per poll, the same from the windows and from
// zelkctl. RFC 4180 with '\n' line ends, UTF-8.
//
//   time_s,wall_clock,rpm,injection_ms,correction_pct,temperature_c,map_v,lambda_mv,status,raw,marker
//   0.000,2026-12-09T10:15:00.123Z,750,1,109,21,0.9803921569,1176,ok,50c3e20400460080643c,
//   0.500,2026-12-09T10:15:00.623Z,,,,,,,fail,,
//   0.731,2026-12-09T10:15:00.854Z,,,,,,,mark,,"cold start, ""choke"" pulled"
//   1.000,2026-12-09T10:15:01.123Z,750,1,109,21,0.9803921569,1176,ok,50c3e20400460080643c,
//
// time_s: seconds since the log began (monotonic clock, 3 decimals);
// wall_clock: UTC, ISO 8601 with milliseconds; the six values in '.'-decimal
// numbers of at most 10 significant digits, whatever the computer's locale
// (empty: a value that cannot be computed, an RPM for a period of 0); raw: the
// poll's reply bytes in hex.
//
// status says what a row is:
//   ok    a poll: the values and raw filled in, marker empty;
//   fail  a failed poll: values and raw empty, and logging goes on;
//   mark  a moment the technician marked: values and raw empty, the text
//         (possibly empty) in marker, always quoted, its quotes doubled,
//         without control characters, at most 200 bytes of UTF-8.
// The marker column is last, so spreadsheets and scripts that read the older
// logs, by column name or by position, read these the same way; a reader that
// wants only polls keeps the rows whose status is ok or fail. Logs written
// before markers have no marker column (ten cells a row) and read as before.
//
// Each row is flushed when written, so a crash of the program or an unplugged
// adapter loses nothing already logged: at most the last line is cut, and the
// log reader (log_reader.h) keeps every row before it.

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "monitor/live_sample.h"
#include "settings/regular_file.h"

namespace zelk {

// Where the log takes its times: seconds since the start from the monotonic
// clock, the wall clock for the reader.
struct LogClocks {
  std::function<std::chrono::steady_clock::time_point()> monotonic = std::chrono::steady_clock::now;
  std::function<std::chrono::system_clock::time_point()> wall = std::chrono::system_clock::now;
};

// The header line, without its '\n'.
std::string LiveLogHeader();

// One row, without its '\n'; `sample` null: a failed poll.
std::string LiveLogRow(std::chrono::milliseconds since_start,
                       std::chrono::system_clock::time_point wall, const LiveSample* sample);

// A marker's row, without its '\n'; `text` is cleaned (CleanMarkerText).
std::string LiveLogMarkerRow(std::chrono::milliseconds since_start,
                             std::chrono::system_clock::time_point wall, std::string_view text);

// Writes the log onto a stream the caller keeps open.
class LiveLogWriter {
 public:
  // Writes the header at once; the log's time starts now.
  explicit LiveLogWriter(std::ostream& out, LogClocks clocks = {});

  // One row each, stamped with the clocks' time now. False once the stream
  // has refused a write (this one or an earlier one).
  bool WriteSample(const LiveSample& sample);
  bool WriteFailure();
  // A marker at the clocks' time now, with `text` (may be empty) cleaned and
  // cut as CleanMarkerText does; not a data row.
  bool WriteMarker(std::string_view text);

  bool ok() const { return ok_; }
  std::size_t rows() const { return rows_; }  // data rows written, fail rows included
  std::size_t markers() const { return markers_; }
  std::chrono::milliseconds elapsed() const;

 private:
  bool WriteRow(const LiveSample* sample);
  bool WriteLine(const std::string& line);
  std::chrono::milliseconds SinceStart() const;

  std::ostream& out_;
  LogClocks clocks_;
  std::chrono::steady_clock::time_point started_;
  std::size_t rows_ = 0;
  std::size_t markers_ = 0;
  bool ok_ = true;
};

// A log in a file of its own. The file is written in place, not through a
// temporary one: a log grows while it runs and must stand under its name after
// a crash.
class LiveLogFile {
 public:
  // Creates (or empties) `path` and writes the header. Null, with `error`
  // ("cannot open <path>: <reason>", "<path>: is not a regular file" or
  // "cannot write <path>"), when the file cannot be opened, is not a regular
  // file (a FIFO, a device: never waited on), or the header is not written.
  static std::unique_ptr<LiveLogFile> Open(const std::filesystem::path& path, std::string& error,
                                           LogClocks clocks = {});

  LiveLogWriter& writer() { return writer_; }
  const std::filesystem::path& path() const { return path_; }

  // Closes the file; false when something written since the open is not in it.
  bool Close();

  LiveLogFile(const LiveLogFile&) = delete;
  LiveLogFile& operator=(const LiveLogFile&) = delete;

 private:
  LiveLogFile(std::filesystem::path path, RegularFile file, LogClocks clocks);

  std::filesystem::path path_;
  RegularFileBuf buffer_;  // before stream_ and writer_, which write to it when constructed
  std::ostream stream_;
  LiveLogWriter writer_;
};

}  // namespace zelk
