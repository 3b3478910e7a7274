// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A log exported for a spreadsheet (monitor/log_export.h), written whole or
// not at all: an export that fails half-way must not leave a file that looks
// complete.

#include <cstddef>
#include <filesystem>
#include <string_view>

#include "monitor/log_reader.h"
#include "settings_file/file_io.h"

namespace zelk {

// Rows [first, end) of `log` with the user's separators into `path`, which a
// present file of that name gives way to.
FileWrite ExportLogForSpreadsheet(const std::filesystem::path& path, const LogData& log,
                                  std::size_t first, std::size_t end,
                                  std::string_view list_separator,
                                  std::string_view decimal_separator);

}  // namespace zelk
