// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/live_log.h"

#include <cerrno>
#include <system_error>

#include "monitor/csv_cells.h"
#include "monitor/live_series.h"
#include "text/fill.h"
#include "text/translatable.h"

namespace zelk {

namespace {

constexpr std::string_view kOk = "ok";
constexpr std::string_view kFail = "fail";

// The path as UTF-8 on every system, for a message.
std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return {reinterpret_cast<const char*>(text.data()), text.size()};
}

}  // namespace

std::string LiveLogHeader() {
  std::string header = "time_s,wall_clock";
  for (const LiveSeriesRow& series_row : kLiveSeries) {
    header += ',';
    header += series_row.column;
  }
  header += ",status,raw";
  return header;
}

std::string LiveLogRow(std::chrono::milliseconds since_start,
                       std::chrono::system_clock::time_point wall, const LiveSample* sample) {
  std::string row = SecondsCell(since_start);
  row += ',';
  row += UtcCell(wall);
  for (const LiveSeriesRow& series_row : kLiveSeries) {
    row += ',';
    if (sample) {
      if (const std::optional<double> value = SeriesValue(*sample, series_row.series))
        row += NumberCell(*value);
    }
  }
  row += ',';
  row += sample ? kOk : kFail;
  row += ',';
  if (sample) row += HexCell(sample->raw);
  return row;
}

LiveLogWriter::LiveLogWriter(std::ostream& out, LogClocks clocks)
    : out_(out), clocks_(std::move(clocks)), started_(clocks_.monotonic()) {
  WriteLine(LiveLogHeader());
}

std::chrono::milliseconds LiveLogWriter::SinceStart() const {
  return std::chrono::floor<std::chrono::milliseconds>(clocks_.monotonic() - started_);
}

std::chrono::milliseconds LiveLogWriter::elapsed() const {
  return SinceStart();
}

bool LiveLogWriter::WriteSample(const LiveSample& sample) {
  return WriteRow(&sample);
}

bool LiveLogWriter::WriteFailure() {
  return WriteRow(nullptr);
}

bool LiveLogWriter::WriteRow(const LiveSample* sample) {
  if (!WriteLine(LiveLogRow(SinceStart(), clocks_.wall(), sample))) return false;
  ++rows_;
  return true;
}

bool LiveLogWriter::WriteLine(const std::string& line) {
  if (!ok_) return false;  // a row after a lost one would leave a hole unseen
  out_ << line << '\n';
  out_.flush();
  ok_ = static_cast<bool>(out_);
  return ok_;
}

LiveLogFile::LiveLogFile(std::filesystem::path path, LogClocks clocks)
    : path_(std::move(path)),
      file_(path_, std::ios::out | std::ios::trunc | std::ios::binary),  // '\n' on every system
      writer_(file_, std::move(clocks)) {}

std::unique_ptr<LiveLogFile> LiveLogFile::Open(const std::filesystem::path& path,
                                               std::string& error, LogClocks clocks) {
  errno = 0;
  std::unique_ptr<LiveLogFile> log(new LiveLogFile(path, std::move(clocks)));
  const int code = errno;
  if (!log->file_.is_open()) {
    error = code != 0 ? Fill(QT_TRANSLATE_NOOP("Monitor", "cannot open %1: %2"),
                             {PathText(path), std::generic_category().message(code)})
                      : Fill(QT_TRANSLATE_NOOP("Monitor", "cannot open %1"), {PathText(path)});
    return nullptr;
  }
  if (!log->writer_.ok()) {
    error = Fill(QT_TRANSLATE_NOOP("Monitor", "cannot write %1"), {PathText(path)});
    return nullptr;
  }
  return log;
}

bool LiveLogFile::Close() {
  if (!file_.is_open()) return writer_.ok();
  file_.close();
  return writer_.ok() && !file_.fail();
}

}  // namespace zelk
