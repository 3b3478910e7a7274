// SPDX-License-Identifier: GPL-3.0-or-later
// The live chart window: fed by the main window's poll, drawn only when
// something changed and only while shown, its window's bounds, pause, shown
// and hidden values, and the exports of what is shown.

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>
#include <sstream>

#include "app/chart_window.h"
#include "gui_test_main.h"
#include "qcustomplot.h"
#include "tick_labels.h"
#include "windows_fixture.h"

using zelk::ChartWindow;
using zelk::LiveSeries;
using zelk::test::Box;
using zelk::test::Windows;

namespace {

// A connected, polling window with its chart open.
struct Charting {
  Charting() {
    w.Connect();
    w.MainForm.lerClick();
    w.MainForm.ShowLiveChart();
    w.messages.boxes.clear();
  }
  ChartWindow& chart() { return *w.MainForm.chart_window(); }
  void Polls(int count) {
    for (int i = 0; i < count; ++i) w.MainForm.Timer_ReadTimer();
  }
  int ShownStrips() { return chart().plot().plotLayout()->elementCount(); }
  Windows w;
  QTemporaryDir dir;
};

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class ChartWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void ctrlGOpensTheChartWhichThePollFeeds() {
    Windows w;
    w.Connect();
    w.MainForm.lerClick();
    w.MainForm.show();
    QVERIFY(QTest::qWaitForWindowActive(&w.MainForm));
    QVERIFY(w.MainForm.chart_window() == nullptr);
    QTest::keyClick(&w.MainForm, Qt::Key_G, Qt::ControlModifier);
    ChartWindow* chart = w.MainForm.chart_window();
    QVERIFY(chart != nullptr);
    QVERIFY(chart->isVisible());
    for (int i = 0; i < 4; ++i) w.MainForm.Timer_ReadTimer();
    QCOMPARE(chart->history().size(), std::size_t{4});
    w.port.module().faults().silent = true;
    w.MainForm.Timer_ReadTimer();
    QCOMPARE(chart->history().size(), std::size_t{5});  // a gap for the failed poll
    const zelk::ChartView view = chart->history().View();
    QVERIFY(std::isnan(view.values[0].back()));
    QVERIFY(!std::isnan(view.values[0].front()));
    // Quit closes the chart with the main window.
    w.MainForm.sairClick();
    QVERIFY(!chart->isVisible());
  }

  void drawsOnlyWhenShownAndSomethingChanged() {
    Charting c;
    c.chart().show();
    c.chart().RedrawIfChanged();
    const int first = c.chart().drawings();
    c.chart().RedrawIfChanged();
    QCOMPARE(c.chart().drawings(), first);  // nothing new
    c.Polls(3);
    QCOMPARE(c.chart().drawings(), first);  // the poll itself never draws
    c.chart().RedrawIfChanged();
    QCOMPARE(c.chart().drawings(), first + 1);
    QCOMPARE(c.chart().plot().graph(0)->dataCount(), 3);
    c.chart().hide();
    c.Polls(2);
    c.chart().RedrawIfChanged();
    QCOMPARE(c.chart().drawings(), first + 1);  // hidden: not drawn
    c.chart().show();                           // shown again: drawn at once
    QCOMPARE(c.chart().drawings(), first + 2);
    QCOMPARE(c.chart().plot().graph(0)->dataCount(), 5);
  }

  void windowBoundsAreRefused() {
    Charting c;
    QCOMPARE(c.chart().history().window(), std::chrono::seconds(60));
    QSpinBox* box = c.chart().findChild<QSpinBox*>(QStringLiteral("window_seconds"));
    QCOMPARE(box->value(), 60);
    const QList<QPair<int, bool>> cases{{9, false},   {10, true}, {600, true},
                                        {601, false}, {0, false}, {120, true}};
    int expected = 60;
    for (const auto& [seconds, accepted] : cases) {
      c.w.messages.boxes.clear();
      QCOMPARE(c.chart().SetWindowSeconds(seconds), accepted);
      if (accepted) expected = seconds;
      QCOMPARE(c.chart().history().window(), std::chrono::seconds(expected));
      QCOMPARE(box->value(), expected);
      if (accepted) {
        QVERIFY(c.w.messages.boxes.empty());
      } else {
        QCOMPARE(c.w.messages.boxes,
                 (std::vector<Box>{{Box::inform, "The chart's window is from 10 s to 600 s.",
                                    "Programable Zelk: live chart"}}));
      }
    }
    box->setValue(30);  // the box itself
    QCOMPARE(c.chart().history().window(), std::chrono::seconds(30));
  }

  void pauseFreezesTheViewWhileThePollGoesOn() {
    Charting c;
    c.Polls(2);
    QPushButton* pause = c.chart().findChild<QPushButton*>(QStringLiteral("pause"));
    pause->click();
    QVERIFY(c.chart().history().paused());
    QCOMPARE(pause->text(), QStringLiteral("&Resume"));
    c.Polls(3);
    QCOMPARE(c.chart().history().size(), std::size_t{5});
    QCOMPARE(c.chart().history().View().times.size(), std::size_t{2});
    pause->click();
    QVERIFY(!c.chart().history().paused());
    QCOMPARE(pause->text(), QStringLiteral("&Pause"));
    QCOMPARE(c.chart().history().View().times.size(), std::size_t{5});
  }

  void eachValueIsShownOrHidden() {
    Charting c;
    c.Polls(2);
    QCOMPARE(c.ShownStrips(), 6);
    c.chart().series_box(LiveSeries::rpm).click();
    c.chart().SetShown(LiveSeries::lambda_mv, false);
    QVERIFY(!c.chart().history().shown(LiveSeries::rpm));
    QVERIFY(!c.chart().series_box(LiveSeries::lambda_mv).isChecked());
    QCOMPARE(c.ShownStrips(), 4);
    const zelk::ChartView view = c.chart().history().View();
    QVERIFY(view.values[zelk::SeriesIndex(LiveSeries::rpm)].empty());
    QCOMPARE(view.values[zelk::SeriesIndex(LiveSeries::map_v)].size(), std::size_t{2});
    c.chart().series_box(LiveSeries::rpm).click();
    QCOMPARE(c.ShownStrips(), 5);
    QVERIFY(c.chart().history().shown(LiveSeries::rpm));
  }

  void csvExportHoldsWhatIsShown() {
    Charting c;
    c.Polls(3);
    c.chart().SetShown(LiveSeries::injection_ms, false);
    const QString path = c.dir.filePath(QStringLiteral("shown.csv"));
    QVERIFY(c.chart().ExportCsv(path));
    std::ostringstream expected;
    QVERIFY(c.chart().history().ExportCsv(expected));
    const QByteArray written = Contents(path);
    QCOMPARE(written, QByteArray::fromStdString(expected.str()));
    const QList<QByteArray> lines = written.trimmed().split('\n');
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0], QByteArray("time_s,rpm,correction_pct,temperature_c,map_v,lambda_mv"));
    QVERIFY(c.w.messages.boxes.empty());
  }

  void pngExportAndARefusedPath() {
    Charting c;
    c.Polls(2);
    const QString png = c.dir.filePath(QStringLiteral("chart.png"));
    QVERIFY(c.chart().ExportPng(png));
    QVERIFY(Contents(png).startsWith("\x89PNG\r\n"));
    const QString refused = c.dir.filePath(QStringLiteral("missing/chart.csv"));
    QVERIFY(!c.chart().ExportCsv(refused));
    QVERIFY(!c.chart().ExportPng(c.dir.filePath(QStringLiteral("missing/chart.png"))));
    QCOMPARE(c.w.messages.boxes.size(), std::size_t{2});
    QVERIFY2(c.w.messages.boxes[0].text.startsWith(QStringLiteral("Cannot write ") + refused),
             qPrintable(c.w.messages.boxes[0].text));
    QVERIFY(!QFile::exists(refused));
  }

  // Six strips in a small window: each strip's values had five labels in a
  // strip too short for them, one over the other.
  void tickLabelsKeepApart() {
    Charting c;
    c.Polls(40);
    for (QSize size : {QSize(640, 420), QSize(820, 640)}) {
      c.chart().resize(size);
      c.chart().show();
      QCoreApplication::processEvents();
      c.chart().plot().replot();
      c.chart().plot().replot();  // the tick count follows the size of the drawing before
      for (QCPAxisRect* strip : c.chart().plot().axisRects()) {
        for (QCPAxis* axis : strip->axes()) {
          const QString crowded = zelk::test::CrowdedTickLabels(*axis);
          QVERIFY2(crowded.isEmpty(), qPrintable(crowded));
        }
      }
    }
  }
};

ZELK_GUI_TEST_MAIN(ChartWindowTest)
#include "chart_window_test.moc"
