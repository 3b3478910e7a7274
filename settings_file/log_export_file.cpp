// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_file/log_export_file.h"

#include "monitor/log_export.h"

namespace zelk {

FileWrite ExportLogForSpreadsheet(const std::filesystem::path& path, const LogData& log,
                                  std::size_t first, std::size_t end,
                                  std::string_view list_separator,
                                  std::string_view decimal_separator) {
  return WriteFileAtomically(
      path, SpreadsheetLogText(log, first, end, list_separator, decimal_separator));
}

}  // namespace zelk
