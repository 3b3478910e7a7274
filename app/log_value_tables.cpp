// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/log_value_tables.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTableWidget>
#include <cmath>
#include <limits>

#include "app/local_time.h"
#include "app/log_value_text.h"

namespace zelk {

namespace {

constexpr const char* kContext = "LogReview";
constexpr int kRowPadding = 6;  // pixels above and below a row's text
constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

QString Text(const char* english) {
  return QCoreApplication::translate(kContext, english);
}

void SetUp(QTableWidget& table, const QStringList& rows, const QStringList& columns) {
  table.setRowCount(static_cast<int>(rows.size()));
  table.setColumnCount(static_cast<int>(columns.size()));
  table.setVerticalHeaderLabels(rows);
  table.setHorizontalHeaderLabels(columns);
  for (int row = 0; row < table.rowCount(); ++row) {
    for (int column = 0; column < table.columnCount(); ++column) {
      auto* item = new QTableWidgetItem;
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table.setItem(row, column, item);
    }
  }
  table.setWordWrap(false);
  table.horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  table.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // As tall as its rows, no taller: the markers' list takes the rest.
  QHeaderView& rows_header = *table.verticalHeader();
  rows_header.setSectionResizeMode(QHeaderView::Fixed);
  rows_header.setDefaultSectionSize(table.fontMetrics().height() + kRowPadding);
  table.setFixedHeight(table.horizontalHeader()->sizeHint().height() +
                       table.rowCount() * rows_header.defaultSectionSize() +
                       2 * table.frameWidth());
  table.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

QStringList ValueLabels() {
  QStringList labels;
  for (std::size_t index = 0; index < kLogValueCount; ++index)
    labels << LogValueLabel(static_cast<LogValue>(index));
  return labels;
}

void SetCell(QTableWidget& table, int row, int column, const QString& text) {
  table.item(row, column)->setText(text);
}

// The value at a row: a number, "failed" for a failed poll, empty for none.
QString ValueAt(const LogData& log, std::size_t index, std::optional<std::size_t> row) {
  if (!row) return {};
  if (*row < log.failed.size() && log.failed[*row])
    return Text(QT_TRANSLATE_NOOP("LogReview", "failed"));
  return LogNumberText(log.values[index][*row]);
}

double NumberAt(const LogData& log, std::size_t index, std::optional<std::size_t> row) {
  return row ? log.values[index][*row] : kNoValue;
}

}  // namespace

void SetUpCursorTable(QTableWidget& table) {
  QStringList rows{Text(QT_TRANSLATE_NOOP("LogReview", "Since the start")),
                   Text(QT_TRANSLATE_NOOP("LogReview", "Wall clock"))};
  rows << ValueLabels();
  SetUp(table, rows,
        {Text(QT_TRANSLATE_NOOP("LogReview", "Cursor")),
         Text(QT_TRANSLATE_NOOP("LogReview", "2nd cursor")),
         Text(QT_TRANSLATE_NOOP("LogReview", "Difference"))});
}

void SetUpStatsTable(QTableWidget& table) {
  SetUp(table, ValueLabels(),
        {Text(QT_TRANSLATE_NOOP("LogReview", "Minimum")),
         Text(QT_TRANSLATE_NOOP("LogReview", "Maximum")),
         Text(QT_TRANSLATE_NOOP("LogReview", "Mean"))});
}

void ShowCursors(QTableWidget& table, const LogData* log, std::optional<std::size_t> first,
                 std::optional<std::size_t> second) {
  if (log == nullptr || (first && *first >= log->rows())) first.reset();
  if (log == nullptr || (second && *second >= log->rows())) second.reset();
  const auto time_at = [&](std::optional<std::size_t> row) {
    return row ? log->time_s[*row] : kNoValue;
  };
  const std::array<std::optional<std::size_t>, 2> cursors{first, second};
  for (int column : {kFirstCursorColumn, kSecondCursorColumn}) {
    const std::optional<std::size_t> row = cursors[static_cast<std::size_t>(column)];
    SetCell(table, kCursorTimeRow, column, ElapsedText(time_at(row)));
    // The time of day in the cell, the date too in its tooltip.
    const QString wall =
        row && *row < log->wall_ms.size() ? LocalTimeOfMs(log->wall_ms[*row]) : QString();
    SetCell(table, kCursorWallClockRow, column, wall.section(QLatin1Char(' '), -1));
    table.item(kCursorWallClockRow, column)->setToolTip(wall);
    for (std::size_t index = 0; index < kLogValueCount; ++index)
      SetCell(table, kCursorFirstValueRow + static_cast<int>(index), column,
              row ? ValueAt(*log, index, row) : QString());
  }
  const bool both = first && second;
  SetCell(table, kCursorTimeRow, kDifferenceColumn,
          both ? ElapsedText(time_at(second) - time_at(first)) : QString());
  SetCell(table, kCursorWallClockRow, kDifferenceColumn, QString());
  for (std::size_t index = 0; index < kLogValueCount; ++index) {
    const double difference =
        both ? NumberAt(*log, index, second) - NumberAt(*log, index, first) : kNoValue;
    SetCell(table, kCursorFirstValueRow + static_cast<int>(index), kDifferenceColumn,
            LogNumberText(difference));
  }
}

void ShowStats(QTableWidget& table, const LogData* log, RowRange rows) {
  for (std::size_t index = 0; index < kLogValueCount; ++index) {
    const int row = static_cast<int>(index);
    std::optional<ValueStats> stats;
    if (log != nullptr && !rows.empty())
      stats = StatsOf(*log, static_cast<LogValue>(index), rows.first, rows.end);
    SetCell(table, row, kMinimumColumn, stats ? LogNumberText(stats->min) : QString());
    SetCell(table, row, kMaximumColumn, stats ? LogNumberText(stats->max) : QString());
    SetCell(table, row, kMeanColumn, stats ? LogNumberText(stats->mean) : QString());
  }
}

}  // namespace zelk
