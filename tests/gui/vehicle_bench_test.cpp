// SPDX-License-Identifier: GPL-3.0-or-later
// A vehicle on the bench against the simulated module: its history takes the
// settings as read (once while they do not change), the restore points of
// writes, notes, program runs and logs; the status says when the module
// holds other settings than the car's last record; a restore of chosen
// settings takes those and keeps the module's values for the rest. With no
// vehicle chosen, restore points go where they always went.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>

#include "app/log_review_window.h"
#include "app/status_text.h"
#include "gui_test_main.h"
#include "records/vehicle_history.h"
#include "records/vehicle_store.h"
#include "session/data_folder.h"
#include "session/restore_points.h"
#include "settings/settings_table.h"
#include "ui_MainForm.h"
#include "ui_ProgramForm.h"
#include "windows_fixture.h"

using zelk::test::Windows;

namespace {

namespace fs = std::filesystem;
using Block = std::array<std::uint8_t, zelk::kSettingsBlockSize>;

fs::path DataFolder() {
  return fs::path(qgetenv("ZELK_DATA_DIR").toStdString());
}

zelk::VehicleStore Store() {
  return zelk::VehicleStore(DataFolder() / "vehicles");
}

zelk::VehicleHistory HistoryOf(const std::string& id) {
  return zelk::VehicleHistory(Store().Find(id)->folder);
}

std::vector<zelk::HistoryRecord> Records(const std::string& id, zelk::RecordKind kind) {
  std::vector<zelk::HistoryRecord> found;
  for (zelk::HistoryRecord& record : HistoryOf(id).Timeline()) {
    if (record.kind == kind) found.push_back(std::move(record));
  }
  return found;
}

QAction* Action(Windows& w, const char* name) {
  return w.MainForm.menu_bar().findChild<QAction*>(QString::fromLatin1(name));
}

// Config, the vehicle on the bench, Read; the poll stopped (the tests tick by hand).
void BenchAndRead(Windows& w, const std::string& id) {
  w.Connect();
  QVERIFY(w.MainForm.ChooseVehicle(id));
  w.MainForm.lerClick();
  w.MainForm.Timer_Read().stop();
}

}  // namespace

class VehicleBenchTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    zelk::ChooseDataFolder({});
    QDir(QString::fromStdString(DataFolder().string())).removeRecursively();
    zelk::Vehicle car;
    car.id = "ABC1D23";
    car.customer = "José";
    QVERIFY(Store().Add(car).entry);
  }

  void theBenchIsShownAndItsActionsFollowIt() {
    Windows w;
    for (const char* name : {"action_vehicle_note", "action_vehicle_timeline", "action_no_vehicle"})
      QVERIFY2(!Action(w, name)->isEnabled(), name);
    QVERIFY(!w.MainForm.ChooseVehicle("XYZ9999"));
    QCOMPARE(w.messages.Texts().last(), QStringLiteral("No vehicle XYZ9999 is recorded."));
    QVERIFY(w.MainForm.ChooseVehicle("abc1d23"));  // case folded
    QCOMPARE(w.MainForm.status_text().bench(), QStringLiteral("Vehicle: ABC1D23"));
    for (const char* name : {"action_vehicle_note", "action_vehicle_timeline", "action_no_vehicle"})
      QVERIFY2(Action(w, name)->isEnabled(), name);
    Action(w, "action_no_vehicle")->trigger();
    QVERIFY(w.MainForm.status_text().bench().isEmpty());
    QVERIFY(!w.MainForm.bench());
  }

  void aReadIsKeptOnceAndADifferingModuleIsSaid() {
    Windows w;
    BenchAndRead(w, "ABC1D23");
    std::vector<zelk::HistoryRecord> reads = Records("ABC1D23", zelk::RecordKind::settings);
    QCOMPARE(reads.size(), std::size_t{1});
    QCOMPARE(reads[0].settings->reason, std::optional(zelk::SaveReason::read));
    QCOMPARE(*reads[0].settings->block, *w.MainForm.last_read());
    QVERIFY(w.MainForm.status_text().text().isEmpty());

    w.MainForm.lerClick();  // the same settings: nothing new
    QCOMPARE(Records("ABC1D23", zelk::RecordKind::settings).size(), std::size_t{1});

    // Another car's module (or this one changed elsewhere): three settings differ.
    Block& module = w.port.module().settings();
    module[zelk::kSettings[zelk::kTempCorr].offset] ^= 0x10;
    module[zelk::kSettings[zelk::kTempoAjuste].offset] ^= 0x10;
    module[zelk::kSettings[zelk::kHeatEn].offset] ^= zelk::kSettings[zelk::kHeatEn].mask;
    w.MainForm.lerClick();
    QCOMPARE(w.MainForm.status_text().text(),
             QStringLiteral("The module's settings differ from ABC1D23's last record in 3 "
                            "settings"));
    QCOMPARE(Records("ABC1D23", zelk::RecordKind::settings).size(), std::size_t{2});

    w.MainForm.lerClick();  // now as its last record: the warning goes
    QVERIFY(w.MainForm.status_text().text().isEmpty());
    module[zelk::kSettings[zelk::kTempCorr].offset] ^= 0x10;
    w.MainForm.lerClick();
    QVERIFY(!w.MainForm.status_text().text().isEmpty());
    w.MainForm.ClearVehicle();  // and with the car off the bench
    QVERIFY(w.MainForm.status_text().text().isEmpty());
  }

  void aVehicleChosenAfterAReadKeepsThatRead() {
    Windows w;
    w.Connect();
    w.MainForm.lerClick();
    w.MainForm.Timer_Read().stop();
    QVERIFY(Records("ABC1D23", zelk::RecordKind::settings).empty());
    QVERIFY(w.MainForm.ChooseVehicle("ABC1D23"));
    QCOMPARE(Records("ABC1D23", zelk::RecordKind::settings).size(), std::size_t{1});
  }

  void aWritesRestorePointGoesIntoTheVehicleOnly() {
    Windows w;
    BenchAndRead(w, "ABC1D23");
    const Block before = w.port.module().settings();
    w.MainForm.ui().tempo_partida->setText(QStringLiteral("1500"));
    w.messages.answers = {true};
    w.MainForm.gravarClick();
    QVERIFY(w.port.module().settings() != before);
    const std::vector<zelk::HistoryRecord> settings =
        Records("ABC1D23", zelk::RecordKind::settings);
    // The read (the write's restore point of the same block is that read),
    // then what the module read back after the write.
    QCOMPARE(settings.size(), std::size_t{2});
    QCOMPARE(*settings[1].settings->block, before);
    QCOMPARE(*settings[0].settings->block, w.port.module().settings());
    QCOMPARE(settings[0].settings->reason, std::optional(zelk::SaveReason::read));
    QVERIFY(zelk::RestorePoints(DataFolder() / "restore-points").List().empty());

    // With no vehicle, the restore points of no vehicle take it.
    w.MainForm.ClearVehicle();
    w.MainForm.ui().tempo_partida->setText(QStringLiteral("1600"));
    w.messages.answers = {true};
    w.MainForm.gravarClick();
    QCOMPARE(zelk::RestorePoints(DataFolder() / "restore-points").List().size(), std::size_t{1});
    QCOMPARE(Records("ABC1D23", zelk::RecordKind::settings).size(), std::size_t{2});
  }

  void restoringChosenSettingsTakesThoseAndKeepsTheRest() {
    Windows w;
    BenchAndRead(w, "ABC1D23");
    const fs::path record = Records("ABC1D23", zelk::RecordKind::settings)[0].file;
    const Block recorded = *w.MainForm.last_read();
    // The module changes two settings and an option after the record.
    Block& module = w.port.module().settings();
    const zelk::SettingRow& adjust = zelk::kSettings[zelk::kTempoAjuste];
    const zelk::SettingRow& corr = zelk::kSettings[zelk::kTempCorr];
    const zelk::SettingRow& heat = zelk::kSettings[zelk::kHeatEn];
    module[adjust.offset] ^= 0x02;
    module[corr.offset] ^= 0x02;
    module[heat.offset] ^= heat.mask;
    w.MainForm.lerClick();
    w.MainForm.Timer_Read().stop();
    const Block changed = module;

    w.messages.answers = {true};
    w.MainForm.RestoreChosenSettings(QString::fromStdString(record.string()),
                                     {zelk::kTempoAjuste, zelk::kHeatEn});
    QCOMPARE(w.messages.Texts().last(),
             QStringLiteral("The module now holds the settings of %1.")
                 .arg(QString::fromStdString(record.filename().string())));
    const Block after = w.port.module().settings();
    for (std::size_t i = 0; i < after.size(); ++i) {
      if (i == adjust.offset) {
        QCOMPARE(after[i], recorded[i]);
      } else if (i == heat.offset) {
        QCOMPARE(after[i] & heat.mask, recorded[i] & heat.mask);
        QCOMPARE(after[i] & ~heat.mask & 0xFF, changed[i] & ~heat.mask & 0xFF);
      } else {
        QCOMPARE(after[i], changed[i]);  // temp_corr stays as the module had it
      }
    }
    // The block it replaced is kept in the vehicle's history, and the one
    // read back after it.
    const std::vector<zelk::HistoryRecord> settings =
        Records("ABC1D23", zelk::RecordKind::settings);
    QCOMPARE(*settings[1].settings->block, changed);
    QCOMPARE(*settings[0].settings->block, after);
  }

  void notesProgramRunsAndLogsGoIntoTheHistory() {
    Windows w;
    BenchAndRead(w, "ABC1D23");
    w.messages.texts = {QStringLiteral("Hesitates when cold")};
    Action(w, "action_vehicle_note")->trigger();
    std::vector<zelk::HistoryRecord> notes = Records("ABC1D23", zelk::RecordKind::note);
    QCOMPARE(notes.size(), std::size_t{1});
    QCOMPARE(notes[0].note, std::string("Hesitates when cold"));
    Action(w, "action_vehicle_note")->trigger();  // cancelled: nothing
    QCOMPARE(Records("ABC1D23", zelk::RecordKind::note).size(), std::size_t{1});

    QTimer::singleShot(0, &w.ProgramForm, [&] {
      w.messages.answers = {true};
      w.ProgramForm.ui().prog_type_1->click();  // reset
      w.ProgramForm.ui().button_OK->click();
    });
    w.MainForm.progClick();
    w.MainForm.Timer_Read().stop();
    const std::vector<zelk::HistoryRecord> runs = Records("ABC1D23", zelk::RecordKind::program_run);
    QCOMPARE(runs.size(), std::size_t{1});
    QCOMPARE(runs[0].program_run->program, std::string("reset"));
    QCOMPARE(runs[0].program_run->result, zelk::ProgramResult::completed);
    QCOMPARE(runs[0].program_run->module_version, std::string("2.10"));

    // A cancelled program choice is no run.
    QTimer::singleShot(0, &w.ProgramForm, [&] { w.ProgramForm.ui().button_Cancel->click(); });
    w.MainForm.progClick();
    w.MainForm.Timer_Read().stop();
    QCOMPARE(Records("ABC1D23", zelk::RecordKind::program_run).size(), std::size_t{1});

    Action(w, "action_start_log")->trigger();
    QVERIFY(w.MainForm.logging());
    w.MainForm.Timer_ReadTimer();
    w.MainForm.StopLog();
    const std::vector<zelk::HistoryRecord> logs = Records("ABC1D23", zelk::RecordKind::log);
    QCOMPARE(logs.size(), std::size_t{1});
    QVERIFY(fs::file_size(logs[0].file) > 0);

    // The next day: the log opens for review from the car's timeline.
    Action(w, "action_vehicle_timeline")->trigger();
    auto* table =
        w.MainForm.timeline_dialog()->findChild<QTableWidget*>(QStringLiteral("timeline"));
    table->selectRow(0);  // the newest record: the log
    w.MainForm.timeline_dialog()->findChild<QPushButton*>(QStringLiteral("open_log"))->click();
    QVERIFY(w.MainForm.log_review_window() != nullptr);
    QCOMPARE(w.MainForm.log_review_window()->log()->rows(), std::size_t{1});
    w.MainForm.log_review_window()->close();
  }

  void aChosenDataFolderTakesTheRecordsAndAnUnwritableOneIsRefused() {
    Windows w;
    QString remembered;
    w.MainForm.SetOnDataFolderChosen([&](const QString& folder) { remembered = folder; });
    QVERIFY(w.MainForm.ChooseVehicle("ABC1D23"));
    QTemporaryDir share;
    QFile blocker(share.filePath(QStringLiteral("a-file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY(!w.MainForm.UseDataFolder(share.filePath(QStringLiteral("a-file/records"))));
    QVERIFY(w.messages.Texts().last().contains(QStringLiteral("cannot keep the records")));
    QVERIFY(remembered.isEmpty());
    QVERIFY(w.MainForm.bench());  // nothing changed

    QVERIFY(w.MainForm.UseDataFolder(share.path()));
    QCOMPARE(remembered, share.path());
    QVERIFY(!w.MainForm.bench());  // that car is in the old folder
    QVERIFY(!w.MainForm.ChooseVehicle("ABC1D23"));
    QCOMPARE(zelk::VehiclesFolder().path, fs::path(share.path().toStdString()) / "vehicles");
    // The check that the folder takes files leaves none behind.
    QCOMPARE(QDir(share.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("a-file")});
    zelk::ChooseDataFolder({});
  }

  void theTimelineOpensFromTheMenuWithEveryRecord() {
    Windows w;
    BenchAndRead(w, "ABC1D23");
    w.messages.texts = {QStringLiteral("Customer: idle too low")};
    Action(w, "action_vehicle_note")->trigger();
    Action(w, "action_vehicle_timeline")->trigger();
    QVERIFY(w.MainForm.timeline_dialog() != nullptr);
    auto* table =
        w.MainForm.timeline_dialog()->findChild<QTableWidget*>(QStringLiteral("timeline"));
    QVERIFY(table != nullptr);
    QCOMPARE(table->rowCount(), 2);                            // the note, then the read
    QCOMPARE(table->item(1, 4)->text(), QStringLiteral("0"));  // the window is as read
    // Another vehicle on the bench: the first one's timeline goes.
    zelk::Vehicle other;
    other.id = "XYZ9A88";
    QVERIFY(Store().Add(other).entry);
    QVERIFY(w.MainForm.ChooseVehicle("XYZ9A88"));
    QTRY_VERIFY(w.MainForm.timeline_dialog() == nullptr);
  }

  void restorePointsOfNoVehicleAreAssignedToTheOneChosen() {
    Windows w;
    w.Connect();
    w.MainForm.lerClick();
    w.MainForm.Timer_Read().stop();
    w.MainForm.ui().tempo_partida->setText(QStringLiteral("1500"));
    w.messages.answers = {true};
    w.MainForm.gravarClick();
    const std::vector<zelk::RestorePoint> points =
        zelk::RestorePoints(DataFolder() / "restore-points").List();
    QCOMPARE(points.size(), std::size_t{1});

    w.MainForm.ShowRestorePoints();
    QDialog* dialog = w.MainForm.restore_points_dialog();
    auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("table"));
    auto* assign = dialog->findChild<QPushButton*>(QStringLiteral("assign"));
    QVERIFY(!assign->isEnabled());
    table->selectRow(0);
    QVERIFY(assign->isEnabled());
    assign->click();
    QVERIFY(w.MainForm.vehicles_dialog() != nullptr);
    auto* vehicles =
        w.MainForm.vehicles_dialog()->findChild<QTableWidget*>(QStringLiteral("vehicles"));
    vehicles->selectRow(0);
    w.MainForm.vehicles_dialog()
        ->findChild<QPushButton*>(QStringLiteral("choose_vehicle"))
        ->click();
    QCOMPARE(w.messages.Texts().last(), QStringLiteral("1 restore point(s) moved to ABC1D23."));
    QVERIFY(zelk::RestorePoints(DataFolder() / "restore-points").List().empty());
    const std::vector<zelk::HistoryRecord> settings =
        Records("ABC1D23", zelk::RecordKind::settings);
    QCOMPARE(settings.size(), std::size_t{1});
    QCOMPARE(*settings[0].settings->block, *points[0].file->block);
    QCOMPARE(settings[0].time, points[0].file->saved_at);
  }

  void aProgramKeepsARestorePointFirstOrDoesNotStart() {
    Windows w;
    w.Connect();
    w.MainForm.lerClick();
    w.MainForm.Timer_Read().stop();
    const auto run_reset = [&w] {
      QTimer::singleShot(0, &w.ProgramForm, [&w] {
        w.messages.answers = {true};
        w.ProgramForm.ui().prog_type_1->click();  // reset
        w.ProgramForm.ui().button_OK->click();
      });
      w.MainForm.progClick();
      w.MainForm.Timer_Read().stop();
    };
    const std::size_t before = w.port.module().history().size();
    run_reset();
    const std::vector<zelk::RestorePoint> points =
        zelk::RestorePoints(DataFolder() / "restore-points").List();
    QCOMPARE(points.size(), std::size_t{1});
    QCOMPARE(points[0].file->reason, std::optional(zelk::SaveReason::before_program));
    QVERIFY(w.port.module().history().size() > before);

    // No restore point, no program: nothing reaches the module.
    QTemporaryDir share;
    QFile blocker(share.filePath(QStringLiteral("a-file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    zelk::ChooseDataFolder(fs::path(share.filePath(QStringLiteral("a-file")).toStdString()));
    const std::size_t requests = w.port.module().history().size();
    run_reset();
    QCOMPARE(w.port.module().history().size(), requests);
    QVERIFY(w.messages.Texts().contains(QStringLiteral("Program OK")));
    QVERIFY(w.messages.boxes.back().text.startsWith(
        QStringLiteral("No restore point could be saved, so nothing was written")));
    zelk::ChooseDataFolder({});
  }

  void aFailedProgramIsRecordedAsFailed() {
    Windows w;
    BenchAndRead(w, "ABC1D23");
    w.port.module().faults().silent = true;
    QTimer::singleShot(0, &w.ProgramForm, [&] {
      w.messages.answers = {true};
      w.ProgramForm.ui().prog_type_1->click();
      w.ProgramForm.ui().button_OK->click();
    });
    w.MainForm.progClick();
    w.MainForm.Timer_Read().stop();
    const std::vector<zelk::HistoryRecord> runs = Records("ABC1D23", zelk::RecordKind::program_run);
    QCOMPARE(runs.size(), std::size_t{1});
    QCOMPARE(runs[0].program_run->result, zelk::ProgramResult::failed);
  }
};

ZELK_GUI_TEST_MAIN(VehicleBenchTest)
#include "vehicle_bench_test.moc"
