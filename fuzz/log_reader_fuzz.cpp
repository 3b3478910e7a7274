// SPDX-License-Identifier: GPL-3.0-or-later
// The live log reader, any bytes: a text is either refused with a reason or
// read; what is read holds together (one entry per row in every column, times
// ascending, clean marker texts), its statistics lie within their values, and
// it exports for a spreadsheet.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz_check.h"
#include "monitor/log_export.h"
#include "monitor/log_reader.h"
#include "monitor/marker_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::string error;
  const std::optional<zelk::LogData> log = zelk::ParseLog(in, error);
  ZELK_FUZZ_CHECK(log.has_value() == error.empty());
  if (!log) return 0;

  const std::size_t rows = log->rows();
  ZELK_FUZZ_CHECK(log->wall_ms.size() == rows);
  ZELK_FUZZ_CHECK(log->failed.size() == rows);
  for (const std::vector<double>& column : log->values) ZELK_FUZZ_CHECK(column.size() == rows);
  for (std::size_t row = 1; row < rows; ++row)
    ZELK_FUZZ_CHECK(log->time_s[row - 1] <= log->time_s[row]);
  for (std::size_t row = 0; row < rows; ++row) {
    ZELK_FUZZ_CHECK(std::isfinite(log->time_s[row]));
    for (const std::vector<double>& column : log->values)
      ZELK_FUZZ_CHECK(!log->failed[row] || std::isnan(column[row]));
  }
  for (std::size_t i = 0; i < log->markers.size(); ++i) {
    const zelk::LogMarker& marker = log->markers[i];
    ZELK_FUZZ_CHECK(zelk::CleanMarkerText(marker.text) == marker.text);
    if (i > 0) ZELK_FUZZ_CHECK(log->markers[i - 1].time_s <= marker.time_s);
  }
  for (const zelk::LogValueColumn& column : zelk::LogValueColumns()) {
    const std::optional<zelk::ValueStats> stats = zelk::StatsOf(*log, column.value, 0, rows);
    if (!stats) continue;
    ZELK_FUZZ_CHECK(stats->count > 0 && stats->count <= rows);
    ZELK_FUZZ_CHECK(stats->min <= stats->max);
    // The sum of large finite values may overflow; otherwise the mean lies within the range.
    const double slack = 1e-9 * std::max(std::abs(stats->min), std::abs(stats->max));
    if (std::isfinite(stats->mean)) {
      ZELK_FUZZ_CHECK(stats->mean >= stats->min - slack);
      ZELK_FUZZ_CHECK(stats->mean <= stats->max + slack);
    }
  }
  // Any log read can be exported for a spreadsheet.
  const std::string exported = zelk::SpreadsheetLogText(*log, 0, rows, ";", ",");
  ZELK_FUZZ_CHECK(!exported.empty());
  return 0;
}
