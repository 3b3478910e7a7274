// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a log's rows lie on its time axis: the rows a view shows, the row a
// click lands nearest to, the runs of failed polls, and where a second log
// goes when laid over the first. No widgets: the review window asks these.

#include <cstddef>
#include <optional>
#include <vector>

#include "monitor/log_reader.h"

namespace zelk {

// Rows [first, end) of a log.
struct RowRange {
  std::size_t first = 0;
  std::size_t end = 0;
  bool empty() const { return first >= end; }
};

// The rows whose time lies within [from_s, to_s]; `time_s` ascending.
RowRange RowsBetween(const std::vector<double>& time_s, double from_s, double to_s);

// The row whose time is nearest `at_s` (the earlier one on a tie); none for
// an empty log.
std::optional<std::size_t> NearestRow(const std::vector<double>& time_s, double at_s);

// A stretch of consecutive failed polls, from the first one's time to the
// last one's.
struct FailSpan {
  double from_s = 0;
  double to_s = 0;
};
std::vector<FailSpan> FailSpans(const LogData& log);

// How far the second log's times are moved to lie over the first's: 0 at
// their starts; at markers, so that the second log's marker falls on the
// first's. None when a marker index is out of range.
double OverlayOffset(const LogData& base, const LogData& overlay);
std::optional<double> OverlayOffset(const LogData& base, std::size_t base_marker,
                                    const LogData& overlay, std::size_t overlay_marker);

}  // namespace zelk
