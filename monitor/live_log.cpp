// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/live_log.h"

#include <system_error>
#include <utility>

#include "monitor/csv_cells.h"
#include "monitor/live_log_format.h"
#include "monitor/live_series.h"
#include "monitor/marker_text.h"
#include "text/fill.h"
#include "text/translatable.h"

namespace zelk {

std::string LiveLogHeader() {
  std::string header;
  for (std::size_t cell = 0; cell < kCellsWithMarkers; ++cell) {
    if (cell > 0) header += ',';
    header += LogColumnName(cell);
  }
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
        row += LogNumberCell(*value);
    }
  }
  row += ',';
  row += sample ? kStatusOk : kStatusFail;
  row += ',';
  if (sample) row += HexCell(sample->raw);
  row += ',';  // no marker
  return row;
}

std::string LiveLogMarkerRow(std::chrono::milliseconds since_start,
                             std::chrono::system_clock::time_point wall, std::string_view text) {
  std::string row = SecondsCell(since_start);
  row += ',';
  row += UtcCell(wall);
  row.append(kLiveSeriesCount, ',');
  row += ',';
  row += kStatusMark;
  row += ",,";  // no raw bytes
  row += QuotedCell(CleanMarkerText(text));
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

bool LiveLogWriter::WriteMarker(std::string_view text) {
  if (!WriteLine(LiveLogMarkerRow(SinceStart(), clocks_.wall(), text))) return false;
  ++markers_;
  return true;
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

LiveLogFile::LiveLogFile(std::filesystem::path path, RegularFile file, LogClocks clocks)
    : path_(std::move(path)),
      buffer_(std::move(file)),  // bytes as given: '\n' on every system
      stream_(&buffer_),
      writer_(stream_, std::move(clocks)) {}

std::unique_ptr<LiveLogFile> LiveLogFile::Open(const std::filesystem::path& path,
                                               std::string& error, LogClocks clocks) {
  RegularFile file;
  std::error_code system_error;
  const FileRefusal refusal = file.Open(path, FileUse::write, system_error);
  if (refusal == FileRefusal::system) {
    error = Fill(QT_TRANSLATE_NOOP("Monitor", "cannot open %1: %2"),
                 {Utf8PathText(path), system_error.message()});
    return nullptr;
  }
  if (refusal != FileRefusal::none) {
    error = NotARegularFileMessage(path, refusal);
    return nullptr;
  }
  std::unique_ptr<LiveLogFile> log(new LiveLogFile(path, std::move(file), std::move(clocks)));
  if (!log->writer_.ok()) {
    error = Fill(QT_TRANSLATE_NOOP("Monitor", "cannot write %1"), {Utf8PathText(path)});
    return nullptr;
  }
  return log;
}

bool LiveLogFile::Close() {
  const bool closed = buffer_.Close();
  return writer_.ok() && closed;
}

}  // namespace zelk
