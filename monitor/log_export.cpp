// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/log_export.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "monitor/csv_cells.h"
#include "monitor/live_log_format.h"
#include "monitor/marker_text.h"

namespace zelk {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

class SpreadsheetRows {
 public:
  SpreadsheetRows(std::string_view list_separator, std::string_view decimal_separator)
      : list_(list_separator.empty() ? "," : list_separator),
        decimal_(decimal_separator.empty() ? "." : decimal_separator) {}

  void Header() {
    for (std::size_t cell = 0; cell < kCellsWithMarkers; ++cell) {
      if (cell == kRawCell) continue;
      if (cell > 0) text_ += list_;
      Cell(LogColumnName(cell));
    }
    text_ += kLineEnd;
  }

  void DataRow(const LogData& log, std::size_t row) {
    Times(log.time_s[row], log.wall_ms[row]);
    for (const std::vector<double>& column : log.values) {
      text_ += list_;
      Cell(Decimal(LogNumberCell(column[row])));
    }
    text_ += list_;
    text_ += log.failed[row] ? kStatusFail : kStatusOk;
    text_ += list_;  // no marker
    text_ += kLineEnd;
  }

  void MarkerRow(const LogMarker& marker) {
    Times(marker.time_s, marker.wall_ms);
    for (std::size_t i = 0; i < kLogValueCount; ++i) text_ += list_;
    text_ += list_;
    text_ += kStatusMark;
    text_ += list_;
    Cell(CleanMarkerText(marker.text));
    text_ += kLineEnd;
  }

  std::string Take() { return std::move(text_); }

 private:
  void Times(double time_s, std::int64_t wall_ms) {
    Cell(Decimal(SecondsCell(std::chrono::milliseconds(std::llround(time_s * 1000)))));
    text_ += list_;
    Cell(UtcCell(std::chrono::system_clock::time_point(std::chrono::milliseconds(wall_ms))));
  }

  std::string Decimal(std::string number) const {
    const std::size_t point = number.find('.');
    if (point != std::string::npos) number.replace(point, 1, decimal_);
    return number;
  }

  void Cell(std::string_view cell) {
    const bool quote = cell.find(list_) != std::string_view::npos ||
                       cell.find_first_of("\"\r\n") != std::string_view::npos;
    if (quote) {
      text_ += QuotedCell(cell);
    } else {
      text_ += cell;
    }
  }

  std::string_view list_;
  std::string_view decimal_;
  std::string text_{kByteOrderMark};
};

}  // namespace

std::string SpreadsheetLogText(const LogData& log, std::size_t first, std::size_t end,
                               std::string_view list_separator,
                               std::string_view decimal_separator) {
  end = std::min(end, log.rows());
  first = std::min(first, end);
  SpreadsheetRows rows(list_separator, decimal_separator);
  rows.Header();
  if (first == end) return rows.Take();
  // A marker goes before the first row of its time or later, and only between
  // the range's first and last rows.
  auto marker = std::lower_bound(log.markers.begin(), log.markers.end(), log.time_s[first],
                                 [](const LogMarker& m, double time) { return m.time_s < time; });
  for (std::size_t row = first; row < end; ++row) {
    for (; marker != log.markers.end() && marker->time_s <= log.time_s[row]; ++marker)
      rows.MarkerRow(*marker);
    rows.DataRow(log, row);
  }
  return rows.Take();
}

std::filesystem::path WithLogExtension(const std::filesystem::path& path) {
  if (!path.has_filename()) return path;
  const std::filesystem::path extension = path.extension();
  if (!extension.empty() && extension != ".") return path;
  std::filesystem::path with = path;
  with.replace_extension(".csv");
  return with;
}

}  // namespace zelk
