// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The review window's two tables. The cursors': time since the start, wall
// clock and the six values at each cursor, and the second less the first.
// The view's: minimum, maximum and mean of each value over the rows shown.

#include <cstddef>
#include <optional>

#include "app/log_rows.h"
#include "monitor/log_reader.h"

class QTableWidget;

namespace zelk {

// Row and column captions, and an empty cell everywhere.
void SetUpCursorTable(QTableWidget& table);
void SetUpStatsTable(QTableWidget& table);

// Rows of the cursor table before the values.
inline constexpr int kCursorTimeRow = 0;
inline constexpr int kCursorWallClockRow = 1;
inline constexpr int kCursorFirstValueRow = 2;
// Its columns.
inline constexpr int kFirstCursorColumn = 0;
inline constexpr int kSecondCursorColumn = 1;
inline constexpr int kDifferenceColumn = 2;
// The stats table's columns; a row per value.
inline constexpr int kMinimumColumn = 0;
inline constexpr int kMaximumColumn = 1;
inline constexpr int kMeanColumn = 2;

// Rows of `log` (null: no log, every cell empty).
void ShowCursors(QTableWidget& table, const LogData* log, std::optional<std::size_t> first,
                 std::optional<std::size_t> second);
void ShowStats(QTableWidget& table, const LogData* log, RowRange rows);

}  // namespace zelk
