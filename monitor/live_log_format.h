// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The live log's columns and status words, for the one writer and the one
// reader. The format itself is described in live_log.h.

#include <array>
#include <cstddef>
#include <string_view>

#include "monitor/live_series.h"

namespace zelk {

inline constexpr std::string_view kTimeColumn = "time_s";
inline constexpr std::string_view kWallClockColumn = "wall_clock";
inline constexpr std::string_view kStatusColumn = "status";
inline constexpr std::string_view kRawColumn = "raw";
// Added after raw, last, so readers of the older logs by column name or by
// position find every other column where it was.
inline constexpr std::string_view kMarkerColumn = "marker";

inline constexpr std::string_view kStatusOk = "ok";
inline constexpr std::string_view kStatusFail = "fail";
inline constexpr std::string_view kStatusMark = "mark";

// Column positions.
inline constexpr std::size_t kTimeCell = 0;
inline constexpr std::size_t kWallClockCell = 1;
inline constexpr std::size_t kFirstValueCell = 2;
inline constexpr std::size_t kStatusCell = kFirstValueCell + kLiveSeriesCount;
inline constexpr std::size_t kRawCell = kStatusCell + 1;
inline constexpr std::size_t kMarkerCell = kRawCell + 1;
inline constexpr std::size_t kCellsWithoutMarkers = kMarkerCell;  // the logs before markers
inline constexpr std::size_t kCellsWithMarkers = kMarkerCell + 1;

// The name of the column at `cell` (< kCellsWithMarkers).
constexpr std::string_view LogColumnName(std::size_t cell) {
  if (cell == kTimeCell) return kTimeColumn;
  if (cell == kWallClockCell) return kWallClockColumn;
  if (cell < kStatusCell) return kLiveSeries[cell - kFirstValueCell].column;
  if (cell == kStatusCell) return kStatusColumn;
  if (cell == kRawCell) return kRawColumn;
  return kMarkerColumn;
}

}  // namespace zelk
