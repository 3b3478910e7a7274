// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's live log and poll rate: rows written by the window's own
// poll (fail rows included), the log closed complete, a refused file that
// changes nothing, and the poll rate that Read and Write keep.

#include <QAction>
#include <QActionGroup>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include "app/chart_window.h"
#include "app/log_review_window.h"
#include "app/status_text.h"
#include "gui_test_main.h"
#include "monitor/live_log.h"
#include "ui_MainForm.h"
#include "windows_fixture.h"

using zelk::test::Box;
using zelk::test::Windows;

namespace {

// A connected window with the settings read, so the poll runs.
struct Logging {
  Logging() {
    w.Connect();
    w.MainForm.lerClick();
    w.messages.boxes.clear();
  }
  QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  // The poll block the last poll read, as the log's hex.
  QString LastRaw() const {
    const auto& buffer = w.session.live_buffer();
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(buffer.data()), 10).toHex());
  }
  Windows w;
  QTemporaryDir dir;
};

QStringList Lines(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  return lines;
}

QString Header() {
  return QString::fromStdString(zelk::LiveLogHeader());
}

}  // namespace

class LiveLogWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void pollsWriteRowsWithTheirValuesAndAFailRow() {
    Logging l;
    const QString path = l.Path("drive.csv");
    QVERIFY(l.w.MainForm.StartLog(path));
    QVERIFY(l.w.MainForm.logging());
    QStringList raws;
    for (int i = 0; i < 3; ++i) {
      l.w.MainForm.Timer_ReadTimer();
      raws << l.LastRaw();
    }
    QVERIFY(l.w.MainForm.status_text().text().startsWith(
        QStringLiteral("Logging to drive.csv: 3 rows, 0:00:0")));
    const QString rpm_box = l.w.MainForm.ui().atual_rpm->text();
    l.w.port.module().faults().silent = true;
    l.w.MainForm.Timer_ReadTimer();
    QCOMPARE(l.w.messages.boxes, (std::vector<Box>{{Box::inform, "Communication Fail", "Fail"}}));

    const QStringList lines = Lines(path);  // flushed: readable while it runs
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines[0], Header());
    for (int i = 0; i < 3; ++i) {
      const QStringList cells = lines[i + 1].split(QLatin1Char(','));
      QCOMPARE(cells.size(), 11);
      QCOMPARE(cells[8], QStringLiteral("ok"));
      QCOMPARE(cells[9], raws[i]);
      for (int value = 2; value < 8; ++value)
        QVERIFY2(!cells[value].isEmpty(), qPrintable(lines[i + 1]));
    }
    // The last good row's RPM is the box's, unrounded.
    QCOMPARE(qRound(lines[3].split(QLatin1Char(','))[2].toDouble()), rpm_box.toInt());
    const QStringList fail = lines[4].split(QLatin1Char(','));
    QCOMPARE(fail.size(), 11);
    QCOMPARE(fail.mid(2), (QStringList{"", "", "", "", "", "", "fail", "", ""}));
    QVERIFY(l.w.MainForm.logging());  // logging goes on after a failed poll
  }

  void stopClosesTheLogAndQuitClosesItToo() {
    Logging l;
    const QString stopped = l.Path("stopped.csv");
    QVERIFY(l.w.MainForm.StartLog(stopped));
    l.w.MainForm.Timer_ReadTimer();
    l.w.MainForm.findChild<QAction*>(QStringLiteral("action_stop_log"))->trigger();
    QVERIFY(!l.w.MainForm.logging());
    QVERIFY(l.w.MainForm.status_text().text().isEmpty());
    l.w.MainForm.Timer_ReadTimer();  // no longer logged
    QCOMPARE(Lines(stopped).size(), 2);

    const QString quit = l.Path("quit.csv");
    QVERIFY(l.w.MainForm.StartLog(quit));
    l.w.MainForm.Timer_ReadTimer();
    l.w.MainForm.show();
    l.w.MainForm.sairClick();
    QVERIFY(!l.w.MainForm.logging());
    QCOMPARE(Lines(quit).size(), 2);
    QVERIFY(l.w.messages.boxes.empty());
  }

  void aSecondLogEndsTheFirst() {
    Logging l;
    QVERIFY(l.w.MainForm.StartLog(l.Path("first.csv")));
    l.w.MainForm.Timer_ReadTimer();
    QVERIFY(l.w.MainForm.StartLog(l.Path("second.csv")));
    l.w.MainForm.Timer_ReadTimer();
    l.w.MainForm.Timer_ReadTimer();
    QCOMPARE(Lines(l.Path("first.csv")).size(), 2);
    QCOMPARE(Lines(l.Path("second.csv")).size(), 3);
  }

  void aRefusedFileChangesNothing() {
    Logging l;
    QVERIFY(l.w.MainForm.StartLog(l.Path("running.csv")));
    l.w.MainForm.Timer_ReadTimer();
    const QString status = l.w.MainForm.status_text().text();
    const QString refused = l.Path("no-such-folder/log.csv");
    QVERIFY(!l.w.MainForm.StartLog(refused));
    QCOMPARE(l.w.messages.boxes.size(), std::size_t{1});
    QVERIFY2(l.w.messages.boxes[0].text.startsWith(
                 QStringLiteral("The log was not started: cannot open ")),
             qPrintable(l.w.messages.boxes[0].text));
    QCOMPARE(l.w.messages.boxes[0].title, QStringLiteral("Log"));
    QVERIFY(!QFile::exists(refused));
    // The running log goes on as before.
    QVERIFY(l.w.MainForm.logging());
    QCOMPARE(l.w.MainForm.status_text().text(), status);
    l.w.MainForm.Timer_ReadTimer();
    QCOMPARE(Lines(l.Path("running.csv")).size(), 3);
  }

  void pollRateChoicesSetTheTimerAndReadAndWriteKeepIt() {
    Logging l;
    QCOMPARE(l.w.MainForm.Timer_Read().interval(), 500);
    QCOMPARE(l.w.MainForm.poll_rates().checkedAction()->data().toInt(), 500);
    const QList<QPair<const char*, int>> choices{{"action_poll_200", 200},
                                                 {"action_poll_100", 100},
                                                 {"action_poll_0", 0},
                                                 {"action_poll_500", 500},
                                                 {"action_poll_100", 100}};
    for (const auto& [name, interval] : choices) {
      QAction* choice = l.w.MainForm.findChild<QAction*>(QString::fromLatin1(name));
      QVERIFY2(choice != nullptr, name);
      choice->trigger();
      QCOMPARE(l.w.MainForm.Timer_Read().interval(), interval);
      QVERIFY(l.w.MainForm.Timer_Read().isActive());
      QCOMPARE(l.w.MainForm.poll_rates().checkedAction(), choice);
    }
    l.w.MainForm.lerClick();
    QVERIFY(l.w.MainForm.Timer_Read().isActive());
    QCOMPARE(l.w.MainForm.Timer_Read().interval(), 100);
    l.w.messages.answers.push_back(true);  // "write?" yes
    l.w.MainForm.gravarClick();
    QVERIFY(l.w.MainForm.Timer_Read().isActive());
    QCOMPARE(l.w.MainForm.Timer_Read().interval(), 100);
  }

  void theStatusTextLeavesTheWindowsSizeAlone() {
    Logging l;
    l.w.MainForm.show();
    QVERIFY(QTest::qWaitForWindowExposed(&l.w.MainForm));
    const QSize before = l.w.MainForm.size();
    QVERIFY(l.w.MainForm.StartLog(l.Path("a-rather-long-name-for-the-log-of-a-long-drive.csv")));
    for (int i = 0; i < 3; ++i) l.w.MainForm.Timer_ReadTimer();
    QCoreApplication::processEvents();
    QCOMPARE(l.w.MainForm.size(), before);
  }

  void aNewWindowPollsAtTheDefaultRate() {
    Windows w;
    QCOMPARE(w.MainForm.Timer_Read().interval(), 500);
    QCOMPARE(w.MainForm.poll_rates().actions().size(), 4);
    QCOMPARE(w.MainForm.poll_rates().checkedAction()->data().toInt(), 500);
  }

  void markersGoIntoTheLogAndTheChartAndTheLogOpensForReview() {
    Logging l;
    QAction* mark = l.w.MainForm.findChild<QAction*>(QStringLiteral("action_mark"));
    QVERIFY(mark != nullptr);
    QCOMPARE(mark->shortcutContext(), Qt::ApplicationShortcut);  // the chart's key too
    // Nothing to mark into: said, nothing asked.
    mark->trigger();
    QCOMPARE(l.w.messages.boxes.size(), std::size_t{1});
    QCOMPARE(l.w.messages.boxes[0].kind, Box::inform);

    const QString path = l.Path("drive");  // no extension: .csv
    QVERIFY(l.w.MainForm.StartLog(path));
    l.w.MainForm.ShowLiveChart();
    l.w.MainForm.Timer_ReadTimer();
    l.w.messages.texts = {QStringLiteral("hesitates, cold")};
    mark->trigger();
    l.w.MainForm.Timer_ReadTimer();
    mark->trigger();  // cancelled: no marker
    l.w.messages.texts = {QString()};
    mark->trigger();  // an empty text is a marker too
    l.w.MainForm.StopLog();
    l.w.MainForm.Timer_ReadTimer();  // the chart shows up to its newest poll

    const QStringList lines = Lines(path + QStringLiteral(".csv"));
    QCOMPARE(lines.size(), 5);  // header, two polls, two markers
    QVERIFY2(lines[2].endsWith(QStringLiteral(",mark,,\"hesitates, cold\"")), qPrintable(lines[2]));
    QVERIFY2(lines[4].endsWith(QStringLiteral(",mark,,")) ||
                 lines[4].endsWith(QStringLiteral(",mark,,\"\"")),
             qPrintable(lines[4]));
    const zelk::ChartView view = l.w.MainForm.chart_window()->history().View();
    QCOMPARE(view.markers.size(), std::size_t{2});
    QCOMPARE(view.markers[0].text, std::string("hesitates, cold"));

    // File > Open log...'s window reads it back with the marker.
    zelk::LogReviewWindow* review = l.w.MainForm.OpenLogForReview(path + QStringLiteral(".csv"));
    QVERIFY(review != nullptr);
    QCOMPARE(review->log()->rows(), std::size_t{2});
    QCOMPARE(review->log()->markers.size(), std::size_t{2});
    QCOMPARE(review->log()->markers[0].text, std::string("hesitates, cold"));
    review->close();
  }
};

ZELK_GUI_TEST_MAIN(LiveLogWindowTest)
#include "live_log_window_test.moc"
