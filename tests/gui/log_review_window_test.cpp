// SPDX-License-Identifier: GPL-3.0-or-later
// The log review window against logs the test writes: the cursor table at
// known rows, stepping the cursor, the second cursor's differences, the
// statistics of what is shown, markers, a second log laid over at markers,
// refused and cut files, the exports and tick labels that keep apart.

#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <vector>

#include "app/log_panels.h"
#include "app/log_review_window.h"
#include "app/log_value_tables.h"
#include "gui_test_main.h"
#include "qcustomplot.h"
#include "recorded_messages.h"
#include "tick_labels.h"

using zelk::LogReviewWindow;
using zelk::LogValue;
using zelk::test::RecordedMessages;

namespace {

constexpr int kRows = 11;      // 0 s to 5 s, every 500 ms
constexpr int kFailRow = 3;    // a failed poll
constexpr double kStep = 0.5;  // seconds between rows

// The values of row `row` of the test's log, by column: all exact in
// binary, so the texts read back to the same numbers.
double RpmAt(int row) {
  return 800 + 100 * row;
}
double InjectionAt(int row) {
  return 1 + 0.25 * row;
}
double CorrectionAt(int row) {
  return 100 + row;
}
double TemperatureAt(int row) {
  return 20 + 2 * row;
}
double MapAt(int row) {
  return 0.5 + 0.125 * row;
}
double LambdaAt(int row) {
  return 450 - 10 * row;
}

// The wall clock `time_s` after the log's start.
QString Wall(double time_s) {
  return QDateTime(QDate(2026, 12, 9), QTime(10, 15, 0, 123), Qt::UTC)
      .addMSecs(std::llround(time_s * 1000))
      .toString(Qt::ISODateWithMs);
}

// A line with the values of row `row` at `time_s`.
QString Row(int row, double time_s) {
  const QString time = QString::number(time_s, 'f', 3);
  if (row == kFailRow) return QStringLiteral("%1,%2,,,,,,,fail,").arg(time, Wall(time_s));
  return QStringLiteral("%1,%2,%3,%4,%5,%6,%7,%8,ok,50c3e20400460080643c")
      .arg(time, Wall(time_s))
      .arg(RpmAt(row))
      .arg(InjectionAt(row))
      .arg(CorrectionAt(row))
      .arg(TemperatureAt(row))
      .arg(MapAt(row))
      .arg(LambdaAt(row));
}

const char* kHeader =
    "time_s,wall_clock,rpm,injection_ms,correction_pct,temperature_c,map_v,lambda_mv,status,raw";

QString LogText(int rows = kRows) {
  QStringList lines{QString::fromLatin1(kHeader)};
  for (int row = 0; row < rows; ++row) lines << Row(row, row * kStep);
  return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

struct Marker {
  double time_s;
  const char* text;
};

// The log above with the marker column and markers among its rows.
QString LogWithMarkers(const std::vector<Marker>& markers) {
  QStringList lines{QString::fromLatin1(kHeader) + QStringLiteral(",marker")};
  std::size_t next = 0;
  for (int row = 0; row < kRows; ++row) {
    for (; next < markers.size() && markers[next].time_s < row * kStep; ++next) {
      lines << QStringLiteral("%1,%2,,,,,,,mark,,\"%3\"")
                   .arg(QString::number(markers[next].time_s, 'f', 3), Wall(markers[next].time_s),
                        QString::fromUtf8(markers[next].text)
                            .replace(QLatin1Char('"'), QStringLiteral("\"\"")));
    }
    lines << Row(row, row * kStep) + QLatin1Char(',');
  }
  return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString Write(const QTemporaryDir& dir, const char* name, const QString& text) {
  const QString path = dir.filePath(QString::fromLatin1(name));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return {};
  file.write(text.toUtf8());
  return path;
}

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString Cell(QTableWidget& table, int row, int column) {
  return table.item(row, column)->text();
}

QString CursorCell(LogReviewWindow& window, LogValue value, int column) {
  return Cell(window.cursor_table(), zelk::kCursorFirstValueRow + static_cast<int>(value), column);
}

// The pixel of `time_s` in the panel of `value`, half way up.
QPoint PixelOf(LogReviewWindow& window, LogValue value, double time_s) {
  QCPAxisRect& panel = window.panels().panel(value);
  return {static_cast<int>(panel.axis(QCPAxis::atBottom)->coordToPixel(time_s)),
          panel.rect().center().y()};
}

struct Reviewing {
  Reviewing() : window(messages) {
    window.resize(1000, 700);
    window.show();
  }
  bool Open(const QString& text = LogText()) {
    return window.OpenLog(Write(dir, "drive.csv", text));
  }
  QTemporaryDir dir;
  RecordedMessages messages;
  LogReviewWindow window;
};

}  // namespace

class LogReviewWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void theCursorTableShowsTheRow_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("first") << 0 << QStringLiteral("0:00:00.000")
                           << QStringList{"800", "1", "100", "20", "0.5", "450"};
    QTest::newRow("a failed poll")
        << kFailRow << QStringLiteral("0:00:01.500") << QStringList(6, QStringLiteral("failed"));
    QTest::newRow("sixth") << 5 << QStringLiteral("0:00:02.500")
                           << QStringList{"1300", "2.25", "105", "30", "1.125", "400"};
    QTest::newRow("last") << kRows - 1 << QStringLiteral("0:00:05.000")
                          << QStringList{"1800", "3.5", "110", "40", "1.75", "350"};
  }
  void theCursorTableShowsTheRow() {
    QFETCH(int, row);
    QFETCH(QString, time);
    QFETCH(QStringList, values);
    Reviewing r;
    QVERIFY(r.Open());
    r.window.SetCursor(static_cast<std::size_t>(row));
    QTableWidget& table = r.window.cursor_table();
    QCOMPARE(Cell(table, zelk::kCursorTimeRow, zelk::kFirstCursorColumn), time);
    // The local time of day, with the date in the tooltip.
    const QDateTime wall =
        QDateTime::fromString(Wall(row * kStep), Qt::ISODateWithMs).toLocalTime();
    QTableWidgetItem& clock = *table.item(zelk::kCursorWallClockRow, zelk::kFirstCursorColumn);
    QCOMPARE(clock.text(), wall.toString(QStringLiteral("HH:mm:ss.zzz")));
    QCOMPARE(clock.toolTip(), wall.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")));
    for (int value = 0; value < 6; ++value)
      QCOMPARE(CursorCell(r.window, static_cast<LogValue>(value), zelk::kFirstCursorColumn),
               values[value]);
    // No second cursor: its column and the differences stay empty.
    QCOMPARE(Cell(table, zelk::kCursorTimeRow, zelk::kSecondCursorColumn), QString());
    QCOMPARE(CursorCell(r.window, LogValue::rpm, zelk::kDifferenceColumn), QString());
  }

  void aClickPutsTheCursorOnTheNearestRowAndArrowsStepIt() {
    Reviewing r;
    QVERIFY(r.Open());
    QTest::mouseClick(&r.window.plot(), Qt::LeftButton, Qt::NoModifier,
                      PixelOf(r.window, LogValue::map_v, 2.1));
    QCOMPARE(r.window.cursor_row(), std::optional<std::size_t>(4));
    QTest::keyClick(&r.window.plot(), Qt::Key_Right);
    QCOMPARE(r.window.cursor_row(), std::optional<std::size_t>(5));
    QCOMPARE(CursorCell(r.window, LogValue::rpm, zelk::kFirstCursorColumn), QStringLiteral("1300"));
    QTest::keyClick(&r.window.plot(), Qt::Key_Left);
    QTest::keyClick(&r.window.plot(), Qt::Key_Left);
    QCOMPARE(r.window.cursor_row(), std::optional<std::size_t>(3));
    // Stepping stops at either end.
    for (int i = 0; i < kRows + 2; ++i) QTest::keyClick(&r.window.plot(), Qt::Key_Right);
    QCOMPARE(r.window.cursor_row(), std::optional<std::size_t>(kRows - 1));
    for (int i = 0; i < kRows + 2; ++i) QTest::keyClick(&r.window.plot(), Qt::Key_Left);
    QCOMPARE(r.window.cursor_row(), std::optional<std::size_t>(0));
  }

  void theSecondCursorShowsTheDifferences() {
    Reviewing r;
    QVERIFY(r.Open());
    r.window.SetCursor(1);
    QTest::mouseClick(&r.window.plot(), Qt::LeftButton, Qt::ShiftModifier,
                      PixelOf(r.window, LogValue::rpm, 3.0));
    QCOMPARE(r.window.second_cursor_row(), std::optional<std::size_t>(6));
    QCOMPARE(r.window.cursor_row(), std::optional<std::size_t>(1));
    QTableWidget& table = r.window.cursor_table();
    QCOMPARE(Cell(table, zelk::kCursorTimeRow, zelk::kDifferenceColumn),
             QStringLiteral("0:00:02.500"));
    const QStringList differences{"500", "1.25", "5", "10", "0.625", "-50"};
    for (int value = 0; value < 6; ++value)
      QCOMPARE(CursorCell(r.window, static_cast<LogValue>(value), zelk::kDifferenceColumn),
               differences[value]);
    // Back before the first: a negative time.
    r.window.SetSecondCursor(0);
    QCOMPARE(Cell(table, zelk::kCursorTimeRow, zelk::kDifferenceColumn),
             QStringLiteral("-0:00:00.500"));
    // A failed poll has no difference.
    r.window.SetSecondCursor(kFailRow);
    QCOMPARE(CursorCell(r.window, LogValue::rpm, zelk::kDifferenceColumn), QString());
  }

  // Rows 2 to 6 shown (1.0 s to 3.0 s), the failed poll among them.
  void theStatisticsFollowTheView() {
    Reviewing r;
    QVERIFY(r.Open());
    QTableWidget& stats = r.window.stats_table();
    const auto cell = [&stats](LogValue value, int column) {
      return Cell(stats, static_cast<int>(value), column);
    };
    QCOMPARE(cell(LogValue::rpm, zelk::kMinimumColumn), QStringLiteral("800"));
    QCOMPARE(cell(LogValue::rpm, zelk::kMaximumColumn), QStringLiteral("1800"));
    r.window.ShowTimes(1.0, 3.0);
    QCOMPARE(r.window.shown_rows().first, std::size_t{2});
    QCOMPARE(r.window.shown_rows().end, std::size_t{7});
    double sum = 0;
    for (int row : {2, 4, 5, 6}) sum += TemperatureAt(row);
    QCOMPARE(cell(LogValue::temperature_c, zelk::kMinimumColumn), QStringLiteral("24"));
    QCOMPARE(cell(LogValue::temperature_c, zelk::kMaximumColumn), QStringLiteral("32"));
    QCOMPARE(cell(LogValue::temperature_c, zelk::kMeanColumn), QString::number(sum / 4));
    QCOMPARE(cell(LogValue::lambda_mv, zelk::kMaximumColumn), QStringLiteral("430"));
    // Home: the whole log again.
    QTest::keyClick(&r.window.plot(), Qt::Key_Home);
    QCOMPARE(cell(LogValue::temperature_c, zelk::kMinimumColumn), QStringLiteral("20"));
    QCOMPARE(r.window.shown_rows().end, std::size_t{kRows});
  }

  void keysZoomAndPan() {
    Reviewing r;
    QVERIFY(r.Open());
    QCOMPARE(r.window.shown_from_s(), 0.0);
    QCOMPARE(r.window.shown_to_s(), 5.0);
    QTest::keyClick(&r.window.plot(), Qt::Key_Plus);
    QCOMPARE(r.window.shown_from_s(), 1.25);
    QCOMPARE(r.window.shown_to_s(), 3.75);
    QTest::keyClick(&r.window.plot(), Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(r.window.shown_from_s(), 1.875);
    QVERIFY(!r.window.cursor_row());  // a pan, not a step
    QTest::keyClick(&r.window.plot(), Qt::Key_Minus);
    QCOMPARE(r.window.shown_to_s() - r.window.shown_from_s(), 5.0);
    // Never wider than the whole log.
    QTest::keyClick(&r.window.plot(), Qt::Key_Minus);
    QCOMPARE(r.window.shown_to_s() - r.window.shown_from_s(), 5.0);
  }

  void aFileThatIsNotALogIsRefusedWithItsReason() {
    Reviewing r;
    const QString path = Write(r.dir, "prices.csv", QStringLiteral("name,price\nbread,2.50\n"));
    QVERIFY(!r.window.OpenLog(path));
    QCOMPARE(r.messages.boxes.size(), std::size_t{1});
    QVERIFY2(r.messages.boxes[0].text.contains(QStringLiteral("prices.csv")),
             qPrintable(r.messages.boxes[0].text));
    QVERIFY(r.window.log() == nullptr);
    QCOMPARE(r.window.panels().graph(LogValue::rpm).dataCount(), 0);
    QCOMPARE(r.window.marker_list().count(), 0);
    // A log open stays as it was.
    QVERIFY(r.Open());
    QVERIFY(!r.window.OpenLog(path));
    QVERIFY(r.window.log() != nullptr);
    QCOMPARE(r.window.panels().graph(LogValue::rpm).dataCount(), kRows);
    // The window of its own is not made at all.
    QVERIFY(LogReviewWindow::ShowLog(nullptr, r.messages, path) == nullptr);
    QCOMPARE(r.messages.boxes.size(), std::size_t{3});
  }

  void aCutLogOpensWithANote() {
    Reviewing r;
    QVERIFY(r.Open());
    QVERIFY(r.window.cut_note().isHidden());
    QString cut = LogText();
    cut.chop(12);  // into the last row
    QVERIFY(r.Open(cut));
    QVERIFY(r.messages.boxes.empty());
    QVERIFY(!r.window.cut_note().isHidden());
    QVERIFY2(r.window.cut_note().text().contains(QStringLiteral("drive.csv")),
             qPrintable(r.window.cut_note().text()));
    QCOMPARE(r.window.log()->rows(), std::size_t{kRows - 1});
  }

  void theExportsWriteWhatIsShown() {
    Reviewing r;
    QVERIFY(r.Open());
    r.window.ShowTimes(1, 2);
    QVERIFY(r.window.ExportPng(r.dir.filePath(QStringLiteral("view"))));
    QVERIFY(Contents(r.dir.filePath(QStringLiteral("view.png"))).startsWith("\x89PNG"));
    QVERIFY(r.window.ExportPdf(r.dir.filePath(QStringLiteral("view"))));
    const QByteArray pdf = Contents(r.dir.filePath(QStringLiteral("view.pdf")));
    QVERIFY(pdf.startsWith("%PDF"));
    QVERIFY(pdf.size() > 1000);
    // A name with its own extension keeps it.
    QVERIFY(r.window.ExportPng(r.dir.filePath(QStringLiteral("shot.image"))));
    QVERIFY(!Contents(r.dir.filePath(QStringLiteral("shot.image"))).isEmpty());
    // A folder that does not exist: a box, and false.
    QVERIFY(!r.window.ExportPdf(r.dir.filePath(QStringLiteral("none/view.pdf"))));
    QCOMPARE(r.messages.boxes.size(), std::size_t{1});
  }

  void theSpreadsheetExportTakesTheUsersSeparators() {
    Reviewing r;
    QVERIFY(r.Open());
    r.window.ShowTimes(1, 2);
    const zelk::RowRange shown = r.window.shown_rows();
    QVERIFY(!shown.empty());
    r.window.setLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
    QVERIFY(r.window.ExportForSpreadsheet(r.dir.filePath(QStringLiteral("planilha"))));
    const QString pt = QString::fromUtf8(Contents(r.dir.filePath(QStringLiteral("planilha.csv"))));
    QStringList lines = pt.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), static_cast<qsizetype>(shown.end - shown.first) + 1);  // the header
    QVERIFY2(lines[0].contains(QLatin1Char(';')), qPrintable(lines[0]));
    QVERIFY2(lines[1].contains(QLatin1Char(',')) && lines[1].contains(QLatin1Char(';')),
             qPrintable(lines[1]));
    r.window.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY(r.window.ExportForSpreadsheet(r.dir.filePath(QStringLiteral("sheet.csv"))));
    const QString en = QString::fromUtf8(Contents(r.dir.filePath(QStringLiteral("sheet.csv"))));
    QVERIFY(!en.contains(QLatin1Char(';')));
    QVERIFY(!r.window.ExportForSpreadsheet(r.dir.filePath(QStringLiteral("none/sheet.csv"))));
    QCOMPARE(r.messages.boxes.size(), std::size_t{1});
  }

  void aMarkerInTheListTakesTheViewAndCursorThere() {
    Reviewing r;
    QVERIFY(r.Open(LogWithMarkers({{1.2, "cold start"}, {4.1, "idle, \"choke\" in"}})));
    QListWidget& list = r.window.marker_list();
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.item(0)->text(), QStringLiteral("0:00:01.200  cold start"));
    QCOMPARE(list.item(1)->text(), QStringLiteral("0:00:04.100  idle, \"choke\" in"));
    r.window.ShowTimes(0, 1);
    const QRect item = list.visualItemRect(list.item(1));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
    QCOMPARE(r.window.shown_from_s(), 3.6);
    QCOMPARE(r.window.shown_to_s(), 4.6);
    QCOMPARE(r.window.cursor_row(), std::optional<std::size_t>(8));  // the row at 4.0 s
  }

  void aSecondLogLiesOverTheFirstAtTheirStartsOrAtMarkers() {
    Reviewing r;
    QVERIFY(r.Open(LogWithMarkers({{1.2, "cold start"}, {4.1, "idle"}})));
    const QString before =
        Write(r.dir, "before.csv", LogWithMarkers({{0.7, "key on"}, {2.6, "cold start"}}));
    QVERIFY(r.window.OverlayLog(before));
    QCOMPARE(r.window.overlay_offset_s(), 0.0);
    const QCPGraph& overlay = r.window.panels().overlay_graph(LogValue::rpm);
    QVERIFY(overlay.visible());
    QCOMPARE(overlay.dataCount(), kRows);
    QCOMPARE(overlay.data()->at(0)->key, 0.0);

    // This log's first marker and the other's second: 1.2 s - 2.6 s.
    QVERIFY(r.window.AlignOverlayAtMarkers(0, 1));
    QCOMPARE(r.window.overlay_offset_s(), 1.2 - 2.6);
    QCOMPARE(overlay.data()->at(0)->key, 1.2 - 2.6);
    QCOMPARE(overlay.data()->at(kRows - 1)->key, 5.0 + 1.2 - 2.6);
    // The same chosen in the boxes.
    auto* align = r.window.findChild<QComboBox*>(QStringLiteral("align_at"));
    auto* base = r.window.findChild<QComboBox*>(QStringLiteral("base_marker"));
    auto* other = r.window.findChild<QComboBox*>(QStringLiteral("overlay_marker"));
    QCOMPARE(base->currentIndex(), 0);
    QCOMPARE(other->currentIndex(), 1);
    base->setCurrentIndex(1);
    other->setCurrentIndex(0);
    emit base->activated(1);
    QCOMPARE(r.window.overlay_offset_s(), 4.1 - 0.7);
    align->setCurrentIndex(0);
    emit align->activated(0);
    QCOMPARE(r.window.overlay_offset_s(), 0.0);
    QVERIFY(!base->isEnabled());
    // No such marker: nothing moves.
    QVERIFY(!r.window.AlignOverlayAtMarkers(2, 0));
    QCOMPARE(r.window.overlay_offset_s(), 0.0);
    // A file that is not a log leaves the overlay as it was.
    QVERIFY(!r.window.OverlayLog(Write(r.dir, "notes.txt", QStringLiteral("hello\n"))));
    QCOMPARE(r.messages.boxes.size(), std::size_t{1});
    QCOMPARE(overlay.dataCount(), kRows);
    QCOMPARE(r.window.overlay()->markers.size(), std::size_t{2});
    // Another log opened drops the overlay.
    QVERIFY(r.Open());
    QVERIFY(!overlay.visible());
    QVERIFY(r.window.overlay() == nullptr);
  }

  void theFailedPollsAreGapsInTheLines() {
    Reviewing r;
    QVERIFY(r.Open());
    const QCPGraph& graph = r.window.panels().graph(LogValue::lambda_mv);
    QCOMPARE(graph.dataCount(), kRows);
    QVERIFY(std::isnan(graph.data()->at(kFailRow)->value));
    QVERIFY(!std::isnan(graph.data()->at(kFailRow + 1)->value));
  }

  // The time labels, and the values' in panels a sixth of a small window high.
  void tickLabelsKeepApart() {
    Reviewing r;
    QStringList lines{QString::fromLatin1(kHeader)};
    for (int row = 0; row < 7200; ++row) lines << Row(row % kRows, row * kStep);
    QVERIFY(r.Open(lines.join(QLatin1Char('\n')) + QLatin1Char('\n')));
    for (QSize size : {QSize(700, 450), QSize(1100, 700)}) {
      r.window.resize(size);
      QCoreApplication::processEvents();
      for (double span : {3600.0, 600.0, 7.0, 0.8}) {
        r.window.ShowTimes(100, 100 + span);
        r.window.plot().replot();
        r.window.plot().replot();  // the tick count follows the size of the drawing before
        for (LogValue value : {LogValue::rpm, LogValue::lambda_mv}) {
          for (QCPAxis* axis : r.window.panels().panel(value).axes()) {
            const QString crowded = zelk::test::CrowdedTickLabels(*axis);
            QVERIFY2(crowded.isEmpty(), qPrintable(crowded));
          }
        }
      }
    }
  }
};

ZELK_GUI_TEST_MAIN(LogReviewWindowTest)

#include "log_review_window_test.moc"
