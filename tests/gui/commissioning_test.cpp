// SPDX-License-Identifier: GPL-3.0-or-later
// Commissioning a car against the simulated module, from the first read to
// the customer's PDF, through the wizard the technician uses: every step, a
// repeat, a skip, a cancel in the middle, a module that goes silent in the
// RPM/oxygen-sensor program; the report's text read back from its PDF
// (pdftotext) against the vehicle's records, in English and in Portuguese.

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <filesystem>

#include "app/commissioning_wizard.h"
#include "app/translation.h"
#include "gui_test_main.h"
#include "records/customer_report.h"
#include "records/vehicle_history.h"
#include "records/vehicle_store.h"
#include "session/data_folder.h"
#include "settings/settings_table.h"
#include "settings_file/file_settings.h"
#include "ui_CommissioningWizard.h"
#include "ui_ProgramZelkForm.h"
#include "windows_fixture.h"

using zelk::CommissioningStep;
using zelk::StepOutcome;
using zelk::test::Windows;

namespace {

namespace fs = std::filesystem;

fs::path DataFolder() {
  return fs::path(qgetenv("ZELK_DATA_DIR").toStdString());
}

zelk::VehicleHistory History() {
  return zelk::VehicleHistory(
      zelk::VehicleStore(DataFolder() / "vehicles").Find("ABC1D23")->folder);
}

std::vector<zelk::HistoryRecord> Records(zelk::RecordKind kind) {
  std::vector<zelk::HistoryRecord> found;
  for (zelk::HistoryRecord& record : History().Timeline()) {
    if (record.kind == kind) found.push_back(std::move(record));
  }
  return found;
}

// The commissioning records of `step`, oldest first.
std::vector<zelk::CommissioningRecord> StepRecords(CommissioningStep step) {
  std::vector<zelk::CommissioningRecord> found;
  for (const zelk::HistoryRecord& record : Records(zelk::RecordKind::commissioning)) {
    if (record.commissioning && record.commissioning->step == step) {
      found.insert(found.begin(), *record.commissioning);
    }
  }
  return found;
}

zelk::sim::EngineModelSettings ShortPrograms() {
  zelk::sim::EngineModelSettings engine;
  engine.rpm_program_ms = 2000;
  engine.map_program_ms = 3000;
  return engine;
}

// The PDF's text as pdftotext reads it.
QString PdfText(const QString& path) {
  QProcess pdftotext;
  // -raw: in the order it was drawn, so a table cell's lines stay together.
  pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), path, QStringLiteral("-")});
  if (!pdftotext.waitForFinished(60000) || pdftotext.exitCode() != 0) {
    qWarning() << "pdftotext (Debian's poppler-utils) could not read" << path
               << pdftotext.readAllStandardError();
    return {};
  }
  // The font's ligatures ("ﬁ") read back as the letters they join.
  return QString::fromUtf8(pdftotext.readAllStandardOutput())
      .normalized(QString::NormalizationForm_KC);
}

// Whether the PDF's text holds `expected`, wherever its table cells wrapped
// the words.
bool Holds(QString text, QString expected) {
  static const QRegularExpression blanks(QStringLiteral("\\s+"));
  return text.remove(blanks).contains(expected.remove(blanks));
}

struct Bench {
  Bench() : w({"SIM"}, ShortPrograms()) {
    zelk::Workshop workshop{"Oficina Zelk", "Rua das Flores 12, Campinas", "+55 19 5555-0100",
                            "Ana Souza"};
    w.MainForm.SetWorkshop(workshop);
    w.MainForm.SetClock([this] { return w.port.clock().now_ms(); });
    [&] { QVERIFY(w.MainForm.ChooseVehicle("ABC1D23")); }();
    wizard = w.MainForm.MakeCommissioningWizard();
    // The test ticks by hand: the timer runs but never comes due.
    wizard->sensor_timer().setInterval(100000000);
  }

  Ui::CommissioningWizard& ui() { return wizard->ui(); }

  void Run(CommissioningStep step) {
    wizard->GoTo(step);
    wizard->RunStep();
    w.MainForm.Timer_Read().stop();  // the window's poll is ticked by hand too
  }

  // The sensor check over `seconds` of module time, each tick 500 ms apart.
  void WatchSensors(int seconds) {
    Run(CommissioningStep::sensors);
    for (int tick = 0; tick < seconds * 2; ++tick) {
      w.port.clock().Advance(500);
      wizard->SensorTick();
    }
  }

  // A program on the engine: Yes to its question, then its progress dialog
  // ticked every 500 ms until it closes (or `during_run` ends it).
  void RunProgram(CommissioningStep step, std::function<void()> during_run = {}) {
    w.messages.answers = {true};
    QTimer::singleShot(0, &w.ProgramZelkForm, [this, during_run] {
      w.ProgramZelkForm.Timer1().stop();
      if (during_run) {
        during_run();
      } else {
        for (int tick = 0; tick < 40 && w.ProgramZelkForm.isVisible(); ++tick) {
          w.port.clock().Advance(500);
          w.ProgramZelkForm.Timer1Timer();
        }
      }
      if (w.ProgramZelkForm.isVisible()) w.ProgramZelkForm.button_CancelClick();
    });
    Run(step);
  }

  void TickAllChecks() {
    for (QCheckBox* box :
         {ui().check_temperature, ui().check_lambda, ui().check_map_key_on, ui().check_map_idle})
      box->setChecked(true);
  }

  QTableWidgetItem* ToWrite(zelk::SettingIndex setting) {
    return ui().settings_table->item(static_cast<int>(setting), 3);
  }

  Windows w;
  std::unique_ptr<zelk::CommissioningWizard> wizard;
};

}  // namespace

class CommissioningTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    zelk::ChooseDataFolder({});
    QDir(QString::fromStdString(DataFolder().string())).removeRecursively();
    zelk::Vehicle car;
    car.id = "ABC1D23";
    car.name = "Gol 1.6 2012";
    car.customer = "José Pereira";
    car.phone = "+55 19 99999-0000";
    QVERIFY(zelk::VehicleStore(DataFolder() / "vehicles").Add(car).entry);
  }

  // From the first read to the customer's PDF without leaving the wizard.
  void aCarIsCommissionedFromTheFirstReadToTheReport() {
    Bench b;
    b.Run(CommissioningStep::connect);
    QCOMPARE(b.wizard->outcome(CommissioningStep::connect), std::optional(StepOutcome::done));
    QCOMPARE(b.ui().version_value->text(), QStringLiteral("2.10"));
    QVERIFY(b.w.MainForm.last_read());

    b.Run(CommissioningStep::backup);
    QCOMPARE(b.wizard->outcome(CommissioningStep::backup), std::optional(StepOutcome::done));
    const std::vector<zelk::HistoryRecord> settings = Records(zelk::RecordKind::settings);
    QCOMPARE(settings.front().settings->reason,
             std::optional(zelk::SaveReason::before_commissioning));
    QCOMPARE(*settings.front().settings->block, *b.w.MainForm.last_read());

    // Finish before 30 s is refused; after it, every check ticked or explained.
    b.WatchSensors(10);
    b.wizard->RunStep();
    QVERIFY(b.wizard->sensor_check_running());
    QCOMPARE(b.w.messages.Texts().last(), QStringLiteral("The check runs at least 30 s."));
    for (int tick = 0; tick < 42; ++tick) {
      b.w.port.clock().Advance(500);
      b.wizard->SensorTick();
    }
    b.TickAllChecks();
    b.ui().check_map_key_on->setChecked(false);
    b.wizard->RunStep();
    QVERIFY(b.w.messages.Texts().last().contains(QStringLiteral("MAP with the key on")));
    QVERIFY(b.wizard->sensor_check_running());
    b.ui().reason_map_key_on->setText(QStringLiteral("Key switch worn: checked at idle only"));
    b.wizard->RunStep();
    QVERIFY(!b.wizard->sensor_check_running());
    const std::vector<zelk::CommissioningRecord> sensors = StepRecords(CommissioningStep::sensors);
    QCOMPARE(sensors.size(), std::size_t{1});
    const zelk::SensorStats& stats = sensors[0].sensors->stats;
    QCOMPARE(stats.samples, 62);
    QCOMPARE(stats.failures, 0);
    QVERIFY2(stats.seconds >= 30, qPrintable(QString::number(stats.seconds)));
    // The simulated sensor swings about once a second: about two crossings a second.
    QVERIFY2(stats.lambda_crossings >= 40 && stats.lambda_crossings <= 90,
             qPrintable(QString::number(stats.lambda_crossings)));
    const auto& lambda = stats.ranges[static_cast<std::size_t>(zelk::SensorMeasure::lambda)];
    QVERIFY(lambda.min < stats.lambda_threshold_mv && lambda.max > stats.lambda_threshold_mv);
    QVERIFY(!sensors[0].sensors->ticks[2].ticked);
    QCOMPARE(sensors[0].sensors->ticks[2].reason,
             std::string("Key switch worn: checked at idle only"));

    b.RunProgram(CommissioningStep::rpm_lambda);
    QCOMPARE(b.wizard->outcome(CommissioningStep::rpm_lambda), std::optional(StepOutcome::done));
    QCOMPARE(Records(zelk::RecordKind::program_run).front().program_run->result,
             zelk::ProgramResult::completed);

    // The MAP program skipped, with the reason.
    b.wizard->GoTo(CommissioningStep::map);
    b.w.messages.texts = {QStringLiteral("MAP sensor to be replaced first")};
    b.wizard->SkipStep();
    QCOMPARE(b.wizard->outcome(CommissioningStep::map), std::optional(StepOutcome::skipped));
    QCOMPARE(b.wizard->current(), CommissioningStep::settings);

    // A refused value is put back; an accepted one is written and verified.
    b.wizard->GoTo(CommissioningStep::settings);
    QCOMPARE(b.ToWrite(zelk::kTempoPartida)->text(), QStringLiteral("1000"));
    b.ToWrite(zelk::kTempoPartida)->setText(QStringLiteral("5000"));
    QCOMPARE(b.w.messages.Texts().last(), QStringLiteral("This value must be between 0 and 4000!"));
    QCOMPARE(b.ToWrite(zelk::kTempoPartida)->text(), QStringLiteral("1000"));
    b.ToWrite(zelk::kTempoPartida)->setText(QStringLiteral("1500"));
    // The idle speed in RPM, as the report and a settings file name it.
    QCOMPARE(b.ToWrite(zelk::kRpmAdj)->text(), QStringLiteral("850"));
    b.ToWrite(zelk::kRpmAdj)->setText(QStringLiteral("900"));
    b.w.messages.answers = {true};
    b.Run(CommissioningStep::settings);
    QCOMPARE(b.wizard->outcome(CommissioningStep::settings), std::optional(StepOutcome::done));
    QVERIFY(b.w.messages.Texts().contains(
        QStringLiteral("The module now holds the settings of ABC1D23.")));
    QCOMPARE(zelk::SettingValue(zelk::kSettings[zelk::kTempoPartida], *b.w.MainForm.last_read()),
             1500.0);
    QCOMPARE(zelk::SettingsOfBlock(*b.w.MainForm.last_read()).values[zelk::kRpmAdj],
             std::optional(900.0));

    b.ui().notes->setPlainText(QStringLiteral("Check the idle again after 500 km."));
    b.Run(CommissioningStep::report);
    QCOMPARE(b.wizard->outcome(CommissioningStep::report), std::optional(StepOutcome::done));
    QVERIFY(b.ui().close_button->isEnabled());
    QVERIFY(b.ui().print_report->isEnabled());

    // The PDF is in the records, and says what the records say.
    const std::vector<zelk::HistoryRecord> reports = Records(zelk::RecordKind::report);
    QCOMPARE(reports.size(), std::size_t{1});
    const QString text = PdfText(b.w.MainForm.last_report_path());
    for (const QString& expected :
         {QStringLiteral("Oficina Zelk"), QStringLiteral("Rua das Flores 12, Campinas"),
          QStringLiteral("Commissioning report"), QStringLiteral("ABC1D23"),
          QStringLiteral("José Pereira"), QStringLiteral("Ana Souza"), QStringLiteral("2.10"),
          QStringLiteral("RPM/Oxygen Sensor Program"), QStringLiteral("completed"),
          QStringLiteral("MAP Program"), QStringLiteral("MAP sensor to be replaced first"),
          QStringLiteral("Key switch worn: checked at idle only"),
          QStringLiteral("Check the idle again after 500 km."),
          QString::number(stats.lambda_crossings) + QStringLiteral(" times")}) {
      QVERIFY2(Holds(text, expected), qPrintable(expected + QStringLiteral(" not in:\n") + text));
    }
    // Every setting and program the records hold, as the PDF shows it.
    const zelk::CustomerReport from_records = zelk::MakeCustomerReport(
        *zelk::VehicleStore(DataFolder() / "vehicles").Find("ABC1D23")->vehicle,
        History().Timeline(), b.w.MainForm.workshop(), "");
    QCOMPARE(from_records.settings.size(), zelk::kSettingRowCount);
    for (const zelk::ReportSetting& setting : from_records.settings) {
      const zelk::SettingRow& row = zelk::kSettings[setting.setting];
      QString value = QString::fromStdString(setting.value);
      if (row.kind == zelk::SettingKind::option) {
        value = value == QStringLiteral("true") ? QStringLiteral("on") : QStringLiteral("off");
      }
      const QString shown =
          QString::fromUtf8(zelk::SettingTitle(row).data(),
                            static_cast<qsizetype>(zelk::SettingTitle(row).size())) +
          (setting.before ? QStringLiteral(" *") : QString()) + QLatin1Char(' ') + value;
      QVERIFY2(Holds(text, shown), qPrintable(shown));
    }
    QCOMPARE(from_records.programs.size(), std::size_t{2});
    QCOMPARE(from_records.programs[1].reason, std::string("MAP sensor to be replaced first"));

    // Made again: another PDF, the notes not kept twice.
    b.Run(CommissioningStep::report);
    QCOMPARE(Records(zelk::RecordKind::report).size(), std::size_t{2});
    QCOMPARE(Records(zelk::RecordKind::note).size(), std::size_t{1});
    // The changed setting, marked, with its value before; the others not.
    QVERIFY2(Holds(text, QStringLiteral("Injec. Time * 1500 ms 1000")), qPrintable(text));
    QVERIFY2(Holds(text, QStringLiteral("Max. Temp. 20 C")), qPrintable(text));
  }

  // A step run again stays done and leaves a record each time; Cancel in
  // the middle of the sensor check stops it and says what the module holds.
  void aStepIsRepeatedAndACancelSaysWhereTheModuleIs() {
    Bench b;
    b.Run(CommissioningStep::connect);
    b.Run(CommissioningStep::backup);
    b.Run(CommissioningStep::backup);
    QCOMPARE(StepRecords(CommissioningStep::backup).size(), std::size_t{2});
    QCOMPARE(b.ui().run_step->text(), QStringLiteral("&Repeat"));
    std::size_t backups = 0;
    for (const zelk::HistoryRecord& record : Records(zelk::RecordKind::settings))
      backups += record.settings->reason == zelk::SaveReason::before_commissioning ? 1 : 0;
    QCOMPARE(backups, std::size_t{2});

    // The MAP program run to its end, its prompts flashing on the way.
    b.RunProgram(CommissioningStep::map);
    QCOMPARE(b.wizard->outcome(CommissioningStep::map), std::optional(StepOutcome::done));

    b.WatchSensors(5);
    const std::size_t requests = b.w.port.module().history().size();
    b.wizard->CancelClick();
    QVERIFY(!b.wizard->sensor_check_running());
    QCOMPARE(
        b.w.messages.Texts().last(),
        QStringLiteral("Commissioning cancelled. The module is as the step \"MAP program\" left "
                       "it."));
    QCOMPARE(b.w.port.module().history().size(), requests);
    const std::vector<zelk::CommissioningRecord> cancelled =
        StepRecords(CommissioningStep::sensors);
    QCOMPARE(cancelled.size(), std::size_t{1});
    QCOMPARE(cancelled[0].outcome, StepOutcome::cancelled);
    QCOMPARE(cancelled[0].commissioning, b.wizard->commissioning());
  }

  void aCancelBeforeAnyStepSaysNothingChanged() {
    Bench b;
    b.wizard->CancelClick();
    QCOMPARE(b.w.messages.Texts().last(),
             QStringLiteral("Commissioning cancelled before any step was completed: the module is "
                            "as it was."));
    QVERIFY(b.w.port.module().history().empty());
  }

  // The module stops answering while it runs the RPM/oxygen-sensor program:
  // the progress dialog says so, Cancel's abort cannot reach it, and the step
  // is kept as failed, with the program run.
  void aModuleSilentInTheRpmProgramFailsTheStep() {
    Bench b;
    b.Run(CommissioningStep::connect);
    b.RunProgram(CommissioningStep::rpm_lambda, [&b] {
      b.w.port.clock().Advance(500);
      b.w.ProgramZelkForm.Timer1Timer();
      b.w.port.module().faults().silent = true;
      for (int tick = 0; tick < 3; ++tick) {
        b.w.port.clock().Advance(500);
        b.w.ProgramZelkForm.Timer1Timer();
      }
      QVERIFY(!b.w.ProgramZelkForm.ui().silent_text->isHidden());
      b.w.ProgramZelkForm.button_CancelClick();
    });
    QCOMPARE(b.wizard->outcome(CommissioningStep::rpm_lambda), std::optional(StepOutcome::failed));
    const std::vector<zelk::CommissioningRecord> steps = StepRecords(CommissioningStep::rpm_lambda);
    QCOMPARE(steps.size(), std::size_t{1});
    QCOMPARE(steps[0].reason, std::string("the module stopped answering"));
    QCOMPARE(Records(zelk::RecordKind::program_run).front().program_run->result,
             zelk::ProgramResult::failed);
  }

  // No to the program's question: nothing sent, nothing recorded.
  void aProgramDeclinedLeavesNoRecord() {
    Bench b;
    b.Run(CommissioningStep::connect);
    const std::size_t requests = b.w.port.module().history().size();
    b.w.messages.answers = {false};
    b.Run(CommissioningStep::map);
    QVERIFY(!b.wizard->outcome(CommissioningStep::map));
    QCOMPARE(b.w.port.module().history().size(), requests);
    QVERIFY(StepRecords(CommissioningStep::map).empty());
  }

  // A skip needs its reason.
  void aSkipWithoutAReasonIsRefused() {
    Bench b;
    b.wizard->GoTo(CommissioningStep::sensors);
    b.w.messages.texts = {QStringLiteral("   ")};
    b.wizard->SkipStep();
    QVERIFY(!b.wizard->outcome(CommissioningStep::sensors));
    QCOMPARE(b.w.messages.Texts().last(), QStringLiteral("A step is skipped only with a reason."));
  }

  // File > Customer report for a car never commissioned: its whole history.
  void aReportOfACarNeverCommissionedCoversItsHistory() {
    Windows w;
    w.MainForm.SetWorkshop({"Oficina Zelk", "", "", "Ana Souza"});
    QVERIFY(w.MainForm.ChooseVehicle("ABC1D23"));
    w.Connect();
    w.MainForm.lerClick();
    w.MainForm.Timer_Read().stop();
    QVERIFY(History().AddNote("Customer asked for a cold-start check").file);
    w.messages.choices = {2};  // Close
    w.MainForm.CustomerReportClick();
    const QString text = PdfText(w.MainForm.last_report_path());
    for (const QString& expected :
         {QStringLiteral("Service report"), QStringLiteral("Customer asked for a cold-start check"),
          QStringLiteral("No program was run."), QStringLiteral("No sensor check was made.")}) {
      QVERIFY2(Holds(text, expected), qPrintable(expected + QStringLiteral(" not in:\n") + text));
    }
    QCOMPARE(Records(zelk::RecordKind::report).size(), std::size_t{1});
  }

  // Settings > Workshop: entered once, handed on to be remembered.
  void theWorkshopIsEnteredOnce() {
    Windows w;
    std::optional<zelk::Workshop> remembered;
    w.MainForm.SetOnWorkshopChanged([&](const zelk::Workshop& workshop) { remembered = workshop; });
    QTimer::singleShot(0, [] {
      QWidget* dialog = QApplication::activeModalWidget();
      QVERIFY(dialog);
      dialog->findChild<QLineEdit*>(QStringLiteral("workshop_name"))
          ->setText(QStringLiteral(" Oficina Zelk "));
      dialog->findChild<QLineEdit*>(QStringLiteral("workshop_technician"))
          ->setText(QStringLiteral("Ana"));
      QMetaObject::invokeMethod(dialog, "accept");
    });
    w.MainForm.ShowWorkshop();
    QVERIFY(remembered);
    QCOMPARE(remembered->name, std::string("Oficina Zelk"));
    QCOMPARE(w.MainForm.workshop().technician, std::string("Ana"));
    // Cancelled: nothing changes.
    remembered.reset();
    QTimer::singleShot(
        0, [] { QMetaObject::invokeMethod(QApplication::activeModalWidget(), "reject"); });
    w.MainForm.ShowWorkshop();
    QVERIFY(!remembered);
    QCOMPARE(w.MainForm.workshop().name, std::string("Oficina Zelk"));
  }

  // Last: the translators stay installed for the rest of the run.
  void theReportIsInTheProgramsLanguage() {
    zelk::UseLanguage(zelk::Language::portuguese);
    Bench b;
    b.Run(CommissioningStep::connect);
    b.Run(CommissioningStep::backup);
    b.wizard->GoTo(CommissioningStep::sensors);
    b.w.messages.texts = {QStringLiteral("Sem tempo hoje")};
    b.wizard->SkipStep();
    b.Run(CommissioningStep::report);
    const QString text = PdfText(b.w.MainForm.last_report_path());
    for (const QString& expected :
         {QStringLiteral("Relatório de comissionamento"), QStringLiteral("Sem tempo hoje"),
          QStringLiteral("Nenhum programa foi executado.")}) {
      QVERIFY2(Holds(text, expected), qPrintable(expected + QStringLiteral(" not in:\n") + text));
    }
  }
};

ZELK_GUI_TEST_MAIN(CommissioningTest)
#include "commissioning_test.moc"
