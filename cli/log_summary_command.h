// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// zelkctl log-summary: the facts of a live log without a window, read by the
// same reader as the log review window, so both tell the same story.

#include <ostream>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "monitor/log_reader.h"

namespace zelk::cli {

// The summary of a log that was read: for people, or as one JSON object
// {rows, fail_rows, duration_s, cut, markers: [{time_s, text}],
//  values: {rpm: {min, max, mean}, ...}} (null where no row carries a value).
void PrintLogSummary(const LogData& log, bool json, std::ostream& out);

// log-summary FILE [--json]; FILE - reads standard input. Exit 0 for a log
// it read (a cut one too), 2 for a file it refuses, naming why on err.
int LogSummaryCommand(CommandContext& context, const std::vector<std::string>& operands);

}  // namespace zelk::cli
