// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A log for a spreadsheet of the technician's own locale: the live log keeps
// '.' and ',' whatever the computer's language, which a Brazilian spreadsheet
// reads as text; this copy uses the user's list and decimal separators (';'
// and ',' there), so the values arrive as numbers.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "monitor/log_reader.h"

namespace zelk {

// Rows [first, end) of `log` (clamped to its rows) and the markers between
// their times, with the log's column names except raw (not kept in memory):
// time_s, wall_clock, the six values, status (ok, fail, mark) and marker.
// A cell holding the list separator, a quote or a line break is quoted
// (RFC 4180). A UTF-8 byte order mark first and "\r\n" line ends, as
// spreadsheets on Windows expect. An empty separator stands for ',' or '.'.
std::string SpreadsheetLogText(const LogData& log, std::size_t first, std::size_t end,
                               std::string_view list_separator, std::string_view decimal_separator);

// A log saved under a name without an extension ("drive", "drive.") gets
// ".csv"; any other name stays as given.
std::filesystem::path WithLogExtension(const std::filesystem::path& path);

}  // namespace zelk
