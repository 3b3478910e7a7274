// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The live log: one CSV row per poll, the same from the windows and from
// zelkctl. RFC 4180 with '\n' line ends, UTF-8; every cell is a number, a
// time, a fixed word or hex, so none needs quoting.
//
//   time_s,wall_clock,rpm,injection_ms,correction_pct,temperature_c,map_v,lambda_mv,status,raw
//   0.000,2026-12-09T10:15:00.123Z,750,1,109,21,0.9803921568627451,1176,ok,50c3e20400460080643c
//
// A failed poll is a row too ("fail", values and raw empty), and logging goes
// on. Each row is flushed when written, so a crash of the program or an
// unplugged adapter loses nothing already logged.

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

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

// Writes the log onto a stream the caller keeps open.
class LiveLogWriter {
 public:
  // Writes the header at once; the log's time starts now.
  explicit LiveLogWriter(std::ostream& out, LogClocks clocks = {});

  // One row each, stamped with the clocks' time now. False once the stream
  // has refused a write (this one or an earlier one).
  bool WriteSample(const LiveSample& sample);
  bool WriteFailure();

  bool ok() const { return ok_; }
  std::size_t rows() const { return rows_; }  // data rows written, fail rows included
  std::chrono::milliseconds elapsed() const;

 private:
  bool WriteRow(const LiveSample* sample);
  bool WriteLine(const std::string& line);
  std::chrono::milliseconds SinceStart() const;

  std::ostream& out_;
  LogClocks clocks_;
  std::chrono::steady_clock::time_point started_;
  std::size_t rows_ = 0;
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
