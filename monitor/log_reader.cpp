// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/log_reader.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <limits>
#include <system_error>
#include <utility>

#include "monitor/csv_cells.h"
#include "monitor/live_log_format.h"
#include "monitor/live_series.h"
#include "monitor/marker_text.h"
#include "settings/regular_file.h"
#include "text/fill.h"
#include "text/translatable.h"

namespace zelk {
namespace {

static_assert(kLogValueCount == kLiveSeriesCount);

// A row this program writes is about 100 bytes, a marker's row at most about
// 450 (its text quoted, every quote doubled); anything far longer is not one.
constexpr std::size_t kMaxLineBytes = 2048;
// About 29 days at 500 ms or 40 hours at the link's fastest, 320 MB in memory.
constexpr std::size_t kMaxLogRows = 5'000'000;
constexpr std::uintmax_t kMaxLogFileBytes = std::uintmax_t{512} << 20;
// Times beyond these are not a log's: a log lasts days, and a computer's
// clock, even one never set, is within these years.
constexpr double kLongestLogS = 1e9;  // 31 years
constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2199;
constexpr std::size_t kChunkBytes = std::size_t{1} << 16;
// Cells beyond these are counted, not kept.
constexpr std::size_t kMaxCells = kCellsWithMarkers + 1;

constexpr const char* kNotALog =
    QT_TRANSLATE_NOOP("Monitor", "not a log of this program: its first line is not a log's header");
constexpr const char* kEmpty =
    QT_TRANSLATE_NOOP("Monitor", "not a log of this program: it is empty");
constexpr const char* kWrongColumn = QT_TRANSLATE_NOOP(
    "Monitor", "not a log of this program: column %1 is \"%2\", where a log has \"%3\"");
constexpr const char* kWrongColumnCount =
    QT_TRANSLATE_NOOP("Monitor", "not a log of this program: %1 columns, where a log has %2 or %3");
constexpr const char* kLineTooLong =
    QT_TRANSLATE_NOOP("Monitor", "line %1: longer than %2 bytes, which no row of a log is");
constexpr const char* kQuoteNotClosed = QT_TRANSLATE_NOOP(
    "Monitor", "line %1: a quoted cell is not closed, or text follows its closing quote");
constexpr const char* kWrongCellCount =
    QT_TRANSLATE_NOOP("Monitor", "line %1: %2 cells, where a row of this log has %3");
constexpr const char* kBadStatus =
    QT_TRANSLATE_NOOP("Monitor", "line %1: status is \"%2\", none of %3");
constexpr const char* kNotANumber =
    QT_TRANSLATE_NOOP("Monitor", "line %1: %2 is not a number: \"%3\"");
constexpr const char* kTimeGoesBack =
    QT_TRANSLATE_NOOP("Monitor", "line %1: time_s %2 goes back before %3");
constexpr const char* kTimeTooLate =
    QT_TRANSLATE_NOOP("Monitor", "line %1: time_s %2 is longer than a log lasts");
constexpr const char* kNotAUtcTime =
    QT_TRANSLATE_NOOP("Monitor", "line %1: wall_clock is not a UTC time: \"%2\"");
constexpr const char* kNotHex =
    QT_TRANSLATE_NOOP("Monitor", "line %1: raw is not hex bytes: \"%2\"");
constexpr const char* kTooManyRows = QT_TRANSLATE_NOOP(
    "Monitor", "line %1: more than %2 rows, more than a log of this program holds");
constexpr const char* kTooLarge =
    QT_TRANSLATE_NOOP("Monitor", "%1: %2 MB, larger than the %3 MB a log of this program reaches");
constexpr const char* kCannotOpen = QT_TRANSLATE_NOOP("Monitor", "cannot open %1: %2");
constexpr const char* kCannotRead = QT_TRANSLATE_NOOP("Monitor", "cannot read %1");

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A cell quoted in a message: short, and only printable ASCII, whatever the
// file held.
std::string Shown(std::string_view cell) {
  constexpr std::size_t kShownBytes = 40;
  std::string shown;
  for (const char c : cell.substr(0, kShownBytes)) {
    const auto byte = static_cast<unsigned char>(c);
    shown += byte >= 0x20 && byte < 0x7F ? c : '?';
  }
  if (cell.size() > kShownBytes) shown += "...";
  return shown;
}

std::string Number(std::size_t n) {
  return std::to_string(n);
}

// A number as the log writes it; not "inf", "nan", "+1" or " 1".
std::optional<double> NumberOf(std::string_view cell) {
  if (cell.empty()) return std::nullopt;
  const char first = cell.front();
  if (first != '-' && first != '.' && (first < '0' || first > '9')) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
  if (error != std::errc() || end != cell.data() + cell.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

bool Digits(std::string_view text, std::size_t at, std::size_t count, int& value) {
  value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

// "2026-12-09T10:15:00.123Z" as ms since 1970.
std::optional<std::int64_t> UtcMsOf(std::string_view cell) {
  if (cell.size() != 24 || cell[4] != '-' || cell[7] != '-' || cell[10] != 'T' || cell[13] != ':' ||
      cell[16] != ':' || cell[19] != '.' || cell[23] != 'Z')
    return std::nullopt;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, ms = 0;
  if (!Digits(cell, 0, 4, year) || !Digits(cell, 5, 2, month) || !Digits(cell, 8, 2, day) ||
      !Digits(cell, 11, 2, hour) || !Digits(cell, 14, 2, minute) || !Digits(cell, 17, 2, second) ||
      !Digits(cell, 20, 3, ms))
    return std::nullopt;
  const std::chrono::year_month_day date{std::chrono::year{year},
                                         std::chrono::month{static_cast<unsigned>(month)},
                                         std::chrono::day{static_cast<unsigned>(day)}};
  if (year < kFirstYear || year > kLastYear || !date.ok() || hour > 23 || minute > 59 ||
      second > 59)
    return std::nullopt;
  const std::int64_t days = std::chrono::sys_days{date}.time_since_epoch().count();
  return (((days * 24 + hour) * 60 + minute) * 60 + second) * 1000 + ms;
}

bool IsHexBytes(std::string_view cell) {
  if (cell.size() % 2 != 0) return false;
  return std::all_of(cell.begin(), cell.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
  });
}

// A line's cells (RFC 4180: a quoted cell may hold commas and doubled
// quotes). Only the marker is ever quoted by the writer; a quoted cell
// elsewhere reads the same as unquoted.
struct Cells {
  std::array<std::string_view, kMaxCells> cell;
  std::size_t count = 0;
  std::array<std::string, kMaxCells> unquoted;  // the text of the quoted cells
  std::string overflow;

  // False when a quote is not closed, or a closing quote is not the cell's end.
  bool Split(std::string_view line) {
    count = 0;
    std::size_t at = 0;
    for (;;) {
      std::string_view value;
      if (at < line.size() && line[at] == '"') {
        std::string& text = count < kMaxCells ? unquoted[count] : overflow;
        text.clear();
        ++at;
        for (;;) {
          if (at >= line.size()) return false;
          if (line[at] == '"') {
            if (at + 1 < line.size() && line[at + 1] == '"') {
              text += '"';
              at += 2;
              continue;
            }
            ++at;
            break;
          }
          text += line[at++];
        }
        if (at < line.size() && line[at] != ',') return false;
        value = text;
      } else {
        const std::size_t comma = line.find(',', at);
        const std::size_t end = comma == std::string_view::npos ? line.size() : comma;
        value = line.substr(at, end - at);
        at = end;
      }
      if (count < kMaxCells) cell[count] = value;
      ++count;
      if (at >= line.size()) return true;
      ++at;  // the comma
    }
  }
};

// Takes the file in chunks of any size, so neither the file nor a line of it
// (beyond kMaxLineBytes) is ever held whole.
class LogParser {
 public:
  void Feed(std::string_view chunk) {
    while (!chunk.empty() && error_.empty()) {
      const std::size_t newline = chunk.find('\n');
      const std::string_view piece = chunk.substr(0, newline);
      bool whole_in_chunk = false;
      if (!overlong_) {
        if (carry_.size() + piece.size() > kMaxLineBytes) {
          overlong_ = true;
          carry_.clear();
        } else if (newline != std::string_view::npos && carry_.empty()) {
          whole_in_chunk = true;
        } else {
          carry_.append(piece);
        }
      }
      if (newline == std::string_view::npos) return;
      chunk.remove_prefix(newline + 1);
      ++line_number_;
      if (overlong_) {
        error_ = line_number_ == 1
                     ? std::string(kNotALog)
                     : Fill(kLineTooLong, {Number(line_number_), Number(kMaxLineBytes)});
        return;
      }
      Line(whole_in_chunk ? piece : std::string_view(carry_), error_);
      carry_.clear();
    }
  }

  // Refused: nothing more of the text is needed.
  bool refused() const { return !error_.empty(); }

  std::optional<LogData> Finish(std::string& error) {
    if (error_.empty() && (overlong_ || !carry_.empty())) {
      // The last line has no '\n': a row the writer did not end (a crash, a
      // full disk) unless it reads whole.
      ++line_number_;
      std::string last_error;
      if (overlong_ || !Line(carry_, last_error)) {
        if (line_number_ == 1) error_ = kNotALog;
        log_.cut = true;
      }
    }
    if (error_.empty() && columns_ == 0) error_ = kEmpty;
    if (!error_.empty()) {
      error = error_;
      return std::nullopt;
    }
    log_.time_s.shrink_to_fit();
    log_.wall_ms.shrink_to_fit();
    for (std::vector<double>& column : log_.values) column.shrink_to_fit();
    log_.failed.shrink_to_fit();
    return std::move(log_);
  }

 private:
  // False, with `error`, when the line is not one of a log.
  bool Line(std::string_view line, std::string& error) {
    if (line_number_ == 1 && line.starts_with(kByteOrderMark)) line.remove_prefix(3);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line_number_ == 1) return Header(line, error);
    if (line.empty()) return true;
    return Row(line, error);
  }

  bool Header(std::string_view line, std::string& error) {
    if (!cells_.Split(line) || cells_.cell[0] != kTimeColumn) {
      error = kNotALog;
      return false;
    }
    const std::size_t named = std::min(cells_.count, kCellsWithMarkers);
    for (std::size_t i = 0; i < named; ++i) {
      if (cells_.cell[i] != LogColumnName(i)) {
        error = Fill(kWrongColumn, {Number(i + 1), Shown(cells_.cell[i]), LogColumnName(i)});
        return false;
      }
    }
    if (cells_.count != kCellsWithoutMarkers && cells_.count != kCellsWithMarkers) {
      error = Fill(kWrongColumnCount,
                   {Number(cells_.count), Number(kCellsWithoutMarkers), Number(kCellsWithMarkers)});
      return false;
    }
    columns_ = cells_.count;
    return true;
  }

  // Takes the row only when all of it reads.
  bool Row(std::string_view line, std::string& error) {
    const std::string at = Number(line_number_);  // short: no allocation
    if (!cells_.Split(line)) {
      error = Fill(kQuoteNotClosed, {at});
      return false;
    }
    if (cells_.count != columns_) {
      error = Fill(kWrongCellCount, {at, Number(cells_.count), Number(columns_)});
      return false;
    }
    const std::string_view status = cells_.cell[kStatusCell];
    const bool markers = columns_ == kCellsWithMarkers;
    const bool mark = markers && status == kStatusMark;
    if (status != kStatusOk && status != kStatusFail && !mark) {
      error = Fill(kBadStatus, {at, Shown(status), markers ? "ok, fail, mark" : "ok, fail"});
      return false;
    }
    const std::optional<double> time = NumberOf(cells_.cell[kTimeCell]);
    if (!time) {
      error = Fill(kNotANumber, {at, kTimeColumn, Shown(cells_.cell[kTimeCell])});
      return false;
    }
    if (*time < last_time_s_) {
      error = Fill(kTimeGoesBack, {at, Shown(cells_.cell[kTimeCell]), LogNumberCell(last_time_s_)});
      return false;
    }
    if (*time > kLongestLogS) {
      error = Fill(kTimeTooLate, {at, Shown(cells_.cell[kTimeCell])});
      return false;
    }
    const std::optional<std::int64_t> wall = UtcMsOf(cells_.cell[kWallClockCell]);
    if (!wall) {
      error = Fill(kNotAUtcTime, {at, Shown(cells_.cell[kWallClockCell])});
      return false;
    }
    if (mark) {
      log_.markers.push_back({*time, CleanMarkerText(cells_.cell[kMarkerCell]), *wall});
      Advance(*time);
      return true;
    }
    std::array<double, kLogValueCount> values{};
    for (std::size_t i = 0; i < kLogValueCount; ++i) {
      const std::string_view cell = cells_.cell[kFirstValueCell + i];
      values[i] = std::numeric_limits<double>::quiet_NaN();
      if (cell.empty()) continue;
      const std::optional<double> value = NumberOf(cell);
      if (!value) {
        error = Fill(kNotANumber, {at, LogColumnName(kFirstValueCell + i), Shown(cell)});
        return false;
      }
      values[i] = *value;
    }
    const bool failed = status == kStatusFail;
    if (!failed && !IsHexBytes(cells_.cell[kRawCell])) {
      error = Fill(kNotHex, {at, Shown(cells_.cell[kRawCell])});
      return false;
    }
    if (log_.rows() >= kMaxLogRows) {
      error = Fill(kTooManyRows, {at, Number(kMaxLogRows)});
      return false;
    }
    log_.time_s.push_back(*time);
    log_.wall_ms.push_back(*wall);
    for (std::size_t i = 0; i < kLogValueCount; ++i)
      log_.values[i].push_back(failed ? std::numeric_limits<double>::quiet_NaN() : values[i]);
    log_.failed.push_back(failed);
    Advance(*time);
    return true;
  }

  void Advance(double time) { last_time_s_ = time; }

  LogData log_;
  Cells cells_;
  std::string carry_;  // the line so far, when it began in an earlier chunk
  bool overlong_ = false;
  std::size_t line_number_ = 0;
  std::size_t columns_ = 0;  // 0 until the header is read
  double last_time_s_ = 0;
  std::string error_;
};

}  // namespace

const std::array<LogValueColumn, kLogValueCount>& LogValueColumns() {
  static const std::array<LogValueColumn, kLogValueCount> columns{{
      {LogValue::rpm, kLiveSeries[0].column, QT_TRANSLATE_NOOP("Monitor", "rpm")},
      {LogValue::injection_ms, kLiveSeries[1].column, kLiveSeries[1].unit},
      {LogValue::correction_pct, kLiveSeries[2].column, kLiveSeries[2].unit},
      {LogValue::temperature_c, kLiveSeries[3].column, kLiveSeries[3].unit},
      {LogValue::map_v, kLiveSeries[4].column, kLiveSeries[4].unit},
      {LogValue::lambda_mv, kLiveSeries[5].column, kLiveSeries[5].unit},
  }};
  return columns;
}

std::optional<LogData> ParseLog(std::istream& in, std::string& error) {
  LogParser parser;
  std::streambuf* source = in.rdbuf();
  std::vector<char> chunk(kChunkBytes);
  while (source && !parser.refused()) {
    const std::streamsize got =
        source->sgetn(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    if (got <= 0) break;
    parser.Feed({chunk.data(), static_cast<std::size_t>(got)});
  }
  return parser.Finish(error);
}

std::optional<LogData> ReadLog(const std::filesystem::path& path, std::string& error) {
  RegularFile file;
  std::error_code system_error;
  const FileRefusal refusal = file.Open(path, FileUse::read, system_error);
  if (refusal == FileRefusal::system) {
    error = Fill(kCannotOpen, {Utf8PathText(path), system_error.message()});
    return std::nullopt;
  }
  if (refusal != FileRefusal::none) {
    error = NotARegularFileMessage(path, refusal);
    return std::nullopt;
  }
  std::error_code size_error;
  const std::uintmax_t size = std::filesystem::file_size(path, size_error);
  if (!size_error && size > kMaxLogFileBytes) {
    error = Fill(kTooLarge, {Utf8PathText(path), std::to_string(size >> 20),
                             std::to_string(kMaxLogFileBytes >> 20)});
    return std::nullopt;
  }
  LogParser parser;
  std::vector<char> chunk(kChunkBytes);
  while (!parser.refused()) {
    const long long got = file.Read(chunk.data(), chunk.size());
    if (got < 0) {
      error = Fill(kCannotRead, {Utf8PathText(path)});
      return std::nullopt;
    }
    if (got == 0) break;
    parser.Feed({chunk.data(), static_cast<std::size_t>(got)});
  }
  std::optional<LogData> log = parser.Finish(error);
  if (!log) error = Utf8PathText(path) + ": " + error;
  return log;
}

std::optional<ValueStats> StatsOf(const LogData& log, LogValue value, std::size_t first,
                                  std::size_t end) {
  const std::vector<double>& column = log.column(value);
  end = std::min(end, column.size());
  ValueStats stats;
  double sum = 0;
  for (std::size_t row = first; row < end; ++row) {
    const double v = column[row];
    if (std::isnan(v)) continue;
    if (stats.count == 0 || v < stats.min) stats.min = v;
    if (stats.count == 0 || v > stats.max) stats.max = v;
    sum += v;
    ++stats.count;
  }
  if (stats.count == 0) return std::nullopt;
  stats.mean = sum / static_cast<double>(stats.count);
  return stats;
}

}  // namespace zelk
