// SPDX-License-Identifier: GPL-3.0-or-later
// Every window opens wholly inside a small screen at each scaling factor
// (scaled_screen.h: 1366 x 768 at 100 % and 125 %, 1920 x 1080 at 150 %,
// 2560 x 1440 at 200 %, each less a task bar).

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <array>

#include "app/about_text.h"
#include "app/application.h"
#include "app/chart_window.h"
#include "app/choose_settings_dialog.h"
#include "app/guide_window.h"
#include "app/log_review_window.h"
#include "app/messages.h"
#include "app/vehicle_edit_dialog.h"
#include "app/vehicle_timeline_dialog.h"
#include "app/vehicles_dialog.h"
#include "app/window_placement.h"
#include "records/vehicle_history.h"
#include "records/vehicle_store.h"
#include "scaled_screen.h"
#include "ui_MainForm.h"
#include "windows_fixture.h"

using zelk::test::Windows;

namespace {

struct WindowCase {
  const char* name;
  QWidget* (*open)(Windows& w, const QString& folder);
};

QWidget* Shown(QWidget& window) {
  window.show();
  return &window;
}

zelk::VehicleStore VehiclesIn(const QString& folder) {
  return zelk::VehicleStore(std::filesystem::path(folder.toStdString()) /
                            zelk::kVehiclesFolderName);
}

// A settings record as a vehicle's history holds it.
zelk::SettingsFile SomeSettings() {
  zelk::SettingsBlock block;
  block.fill(0x10);
  return zelk::MakeSettingsFile(block, "2.10", "2026-12-09T10:15:00Z", zelk::SaveReason::read);
}

// A log of a few rows with a marker, a failed poll and a cut end: every
// part of the review window shown.
QString SomeLog(const QString& folder) {
  const QString path = folder + QStringLiteral("/drive.csv");
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return path;
  file.write(
      "time_s,wall_clock,rpm,injection_ms,correction_pct,temperature_c,map_v,lambda_mv,status,raw\n"
      "0.000,2026-12-09T10:15:00.123Z,750,1,109,21,0.98,1176,ok,50c3e20400460080643c\n"
      "0.500,2026-12-09T10:15:00.623Z,,,,,,,fail,\n"
      "1.000,2026-12-09T10:15:01.123Z,2750,3.2,98,85,1.6,450,ok,50c3e20400460080643c\n"
      "1.500,2026-12-09T10:15:01.6");
  return path;
}

const std::array<WindowCase, 12> kWindows{{
    {"Config", [](Windows& w, const QString&) { return Shown(w.Form2); }},
    {"Program", [](Windows& w, const QString&) { return Shown(w.ProgramForm); }},
    {"programming progress", [](Windows& w, const QString&) { return Shown(w.ProgramZelkForm); }},
    {"live chart",
     [](Windows& w, const QString&) -> QWidget* {
       w.MainForm.ShowLiveChart();
       return w.MainForm.chart_window();
     }},
    {"log review",
     [](Windows& w, const QString& folder) -> QWidget* {
       return zelk::LogReviewWindow::ShowLog(&w.MainForm, w.messages, SomeLog(folder));
     }},
    {"user guide",
     [](Windows& w, const QString&) -> QWidget* {
       w.MainForm.ShowUserGuide();
       return w.MainForm.guide_window();
     }},
    {"Compare",
     [](Windows& w, const QString& folder) -> QWidget* {
       w.OpenFileDialogs(folder + QStringLiteral("/car.zelk"));
       return w.MainForm.compare_dialog();
     }},
    {"Restore points",
     [](Windows& w, const QString& folder) -> QWidget* {
       w.OpenFileDialogs(folder + QStringLiteral("/car.zelk"));
       return w.MainForm.restore_points_dialog();
     }},
    {"Vehicles",
     [](Windows& w, const QString& folder) -> QWidget* {
       return Shown(*zelk::MakeVehiclesDialog(&w.MainForm, VehiclesIn(folder), w.messages, {}));
     }},
    {"Vehicle",
     [](Windows& w, const QString& folder) -> QWidget* {
       auto* form =
           new zelk::VehicleEditDialog(&w.MainForm, VehiclesIn(folder), w.messages, nullptr);
       form->setAttribute(Qt::WA_DeleteOnClose);
       return Shown(*form);
     }},
    {"Vehicle timeline",
     [](Windows& w, const QString& folder) -> QWidget* {
       zelk::VehicleHistory history(std::filesystem::path(folder.toStdString()) / "ABC1D23");
       history.AddSettings(SomeSettings());
       history.AddNote(std::string(300, 'x'));
       history.AddProgramRun({"rpm_lambda", "a", "b", zelk::ProgramResult::aborted, "2.10"});
       const zelk::SettingTexts window = zelk::TextsOfFile(SomeSettings());
       return Shown(*zelk::MakeVehicleTimelineDialog(
           &w.MainForm, {"ABC1D23", history.Timeline(), window, true}, {}));
     }},
    {"Restore chosen settings",
     [](Windows& w, const QString&) -> QWidget* {
       return Shown(*new zelk::ChooseSettingsDialog(&w.MainForm, SomeSettings(),
                                                    zelk::TextsOfFile(SomeSettings())));
     }},
}};

}  // namespace

class WindowFitTest : public QObject {
  Q_OBJECT

 private slots:
  void theScreenIsTheSmallOne() {
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize expected = zelk::test::AvailableLogical(zelk::test::TestScreen());
    QVERIFY2(std::abs(available.width() - expected.width()) <= 1,
             qPrintable(QString::number(available.width())));
    QVERIFY2(std::abs(available.height() - expected.height()) <= 1,
             qPrintable(QString::number(available.height())));
  }

  void everyWindowLiesInside_data() {
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < kWindows.size(); ++i)
      QTest::newRow(kWindows[i].name) << static_cast<int>(i);
  }
  void everyWindowLiesInside() {
    QFETCH(int, index);
    const QTemporaryDir folder;
    Windows w;
    QWidget* window = kWindows[static_cast<std::size_t>(index)].open(w, folder.path());
    QVERIFY(window != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QRect available = window->screen()->availableGeometry();
    const QRect frame = window->frameGeometry();
    QVERIFY2(available.contains(frame), qPrintable(QStringLiteral("%1,%2 %3x%4 in %5x%6")
                                                       .arg(frame.x())
                                                       .arg(frame.y())
                                                       .arg(frame.width())
                                                       .arg(frame.height())
                                                       .arg(available.width())
                                                       .arg(available.height())));
  }

  // The main window keeps its designed client area (794 x 576): with its menu
  // bar and title it is taller than the area at 125 %. It goes as high as the
  // area allows, and its operation buttons stay on the screen.
  void theMainWindowsButtonsStayOnTheScreen() {
    Windows w;
    w.MainForm.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.MainForm));
    const QRect available = w.MainForm.screen()->availableGeometry();
    if (w.MainForm.frameGeometry().height() <= available.height()) {
      QVERIFY(available.contains(w.MainForm.frameGeometry()));
    } else {
      QCOMPARE(w.MainForm.frameGeometry().top(), available.top());
    }
    auto& ui = w.MainForm.ui();
    for (QWidget* button : {static_cast<QWidget*>(ui.config), static_cast<QWidget*>(ui.prog),
                            static_cast<QWidget*>(ui.ler), static_cast<QWidget*>(ui.gravar),
                            static_cast<QWidget*>(ui.sair)}) {
      const QRect shown(button->mapToGlobal(QPoint(0, 0)), button->size());
      QVERIFY2(available.contains(shown), qPrintable(button->objectName()));
    }
  }

  void aResizedWindowFits_data() {
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QSize>("minimum");
    QTest::addColumn<QRect>("frame");
    const QSize margins(16, 39);
    QTest::newRow("fits: designed size and place")
        << QSize(720, 500) << QSize(70, 70) << QRect(QPoint(274, 30), QSize(720, 500) + margins);
    QTest::newRow("too tall: as tall as the area")
        << QSize(820, 640) << QSize(400, 300) << QRect(257, 0, 836, 574);
    QTest::newRow("too wide and tall: the whole area")
        << QSize(1200, 700) << QSize(400, 300) << QRect(0, 0, 1093, 574);
    QTest::newRow("wider than designed at least: moved left")
        << QSize(820, 400) << QSize(889, 300) << QRect(188, 30, 905, 439);
    QTest::newRow("the minimum exceeds the area: top left kept")
        << QSize(820, 640) << QSize(1100, 600) << QRect(0, 0, 1116, 639);
  }
  void aResizedWindowFits() {
    QFETCH(QSize, client);
    QFETCH(QSize, minimum);
    QFETCH(QRect, frame);
    const QRect area(0, 0, 1093, 574);  // 1366 x 768 at 125 %, less a task bar
    QCOMPARE(zelk::FittedFrame(QPoint(274, 30), client, minimum, QSize(16, 39), area), frame);
  }

  // The About box, as the real boxes show it (the recorder shows none).
  void theAboutBoxLiesInside() {
    QRect frame;
    QTimer::singleShot(0, [&frame] {
      QWidget* box = QApplication::activeModalWidget();
      if (box == nullptr) return;
      frame = box->frameGeometry();
      box->close();
    });
    zelk::BoxMessages messages;
    messages.Inform(
        zelk::AboutText(QStringLiteral("2.10"), QStringLiteral("6.4.2"), QStringLiteral("2.2")),
        zelk::AboutTitle());
    QVERIFY(!frame.isEmpty());
    QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(frame));
  }
};

int main(int argc, char** argv) {
  QTemporaryDir folder;
  if (!zelk::test::UseTestScreen(folder.path())) return 1;
  qputenv("ZELK_DATA_DIR", folder.path().toLocal8Bit());
  zelk::Application app(argc, argv);
  app.setApplicationName(QStringLiteral("Programable Zelk"));
  WindowFitTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "window_fit_test.moc"
