// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: commissioning a car (Tools > Commissioning...), the workshop's
// details (Settings > Workshop...) and the customer's report (File >
// Customer report...). The wizard leads; this window does the work it asks
// for with its own operations, so every rule of Read, Write, the programs and
// the restore points holds inside the wizard too.

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QUrl>
#include <chrono>

#include "app/Porta_serial.h"
#include "app/Principal.h"
#include "app/Program.h"
#include "app/commissioning_texts.h"
#include "app/commissioning_wizard.h"
#include "app/customer_report_pdf.h"
#include "app/messages.h"
#include "app/module_messages.h"
#include "app/qt_text.h"
#include "app/translation.h"
#include "app/vehicles_dialog.h"
#include "app/workshop_dialog.h"
#include "records/vehicle_history.h"
#include "session/data_folder.h"
#include "session/module_version.h"
#include "session/session.h"
#include "settings/number_text.h"
#include "settings_file/edited_settings_file.h"
#include "settings_file/settings_overlay.h"
#include "text/utc_time.h"
#include "ui_MainForm.h"

namespace zelk {

namespace {

QString ReportTitle() {
  return QCoreApplication::translate("CustomerReport", "Customer report");
}

StepDone Failed(QString summary, std::string reason) {
  return StepDone{StepOutcome::failed, std::move(summary), std::move(reason)};
}

}  // namespace

void TMainForm::BuildToolsMenus(QMenuBar& bar) {
  QMenu* tools = bar.addMenu(tr("&Tools"));
  tools->setObjectName(QStringLiteral("menu_tools"));
  QAction* commissioning =
      tools->addAction(tr("&Commissioning..."), this, &TMainForm::ShowCommissioning);
  commissioning->setObjectName(QStringLiteral("action_commissioning"));
  QMenu* settings = bar.addMenu(tr("&Settings"));
  settings->setObjectName(QStringLiteral("menu_settings"));
  QAction* workshop = settings->addAction(tr("&Workshop..."), this, &TMainForm::ShowWorkshop);
  workshop->setObjectName(QStringLiteral("action_workshop"));
}

void TMainForm::AddCustomerReportAction(QMenu& file) {
  QAction* report =
      file.addAction(tr("C&ustomer report..."), this, &TMainForm::CustomerReportClick);
  report->setObjectName(QStringLiteral("action_customer_report"));
}

// The workshop.

void TMainForm::SetWorkshop(const Workshop& workshop) {
  workshop_ = workshop;
}

void TMainForm::ShowWorkshop() {
  const std::optional<Workshop> entered = AskWorkshop(this, workshop_);
  if (!entered) return;
  workshop_ = *entered;
  if (on_workshop_changed_) on_workshop_changed_(workshop_);
}

// The customer's report.

TMainForm::ReportMade TMainForm::MakeCustomerReportFile(const std::string& technician) {
  ReportMade made;
  if (!bench_ || !bench_->vehicle) return made;
  Workshop workshop = workshop_;
  if (!technician.empty()) workshop.technician = technician;
  VehicleHistory history(bench_->folder);
  CustomerReport report =
      MakeCustomerReport(*bench_->vehicle, history.Timeline(), workshop, UtcNowText());
  const QByteArray pdf = CustomerReportPdf(report, DecimalSeparator());
  const AddedRecord added = history.AddReport(pdf.toStdString());
  if (!added.file) {
    made.error = added.error;
    return made;
  }
  made.path = PathText(*added.file);
  last_report_ = report;
  last_report_path_ = made.path;
  return made;
}

void TMainForm::PrintLastReport() {
  if (!last_report_) return;
  PollPause pause(poll_, PollPause::Then::as_before);  // the print dialog is modal
  PrintCustomerReport(this, *last_report_, DecimalSeparator());
}

void TMainForm::OpenLastReport() {
  if (!last_report_path_.isEmpty())
    QDesktopServices::openUrl(QUrl::fromLocalFile(last_report_path_));
}

void TMainForm::CustomerReportClick() {
  if (!bench_) {
    // Any vehicle: the one chosen in the list comes onto the bench first.
    const DataFolder folder = VehiclesFolder();
    if (!folder.path) {
      messages_.Inform(TranslatedMessage(folder.error), ReportTitle());
      return;
    }
    delete vehicles_dialog_;
    vehicles_dialog_ = MakeVehiclesDialog(this, VehicleStore(*folder.path), messages_,
                                          [this](const std::string& id) {
                                            if (ChooseVehicle(id)) ReportForBench();
                                          });
    vehicles_dialog_->show();
    return;
  }
  ReportForBench();
}

void TMainForm::ReportForBench() {
  PollPause pause(poll_, PollPause::Then::as_before);
  const ReportMade made = MakeCustomerReportFile({});
  if (made.path.isEmpty()) {
    InformVehicleRecordFailed(made.error);
    return;
  }
  const int choice =
      messages_.Choose(ReportKeptText(ToQString(bench_->vehicle->id), made.path), ReportTitle(),
                       {QCoreApplication::translate("CustomerReport", "&Print..."),
                        QCoreApplication::translate("CustomerReport", "&Open"),
                        QCoreApplication::translate("CustomerReport", "Close")});
  if (choice == 0) PrintLastReport();
  if (choice == 1) OpenLastReport();
}

// The wizard.

void TMainForm::ShowCommissioning() {
  // The wizard is modal, and the poll waits for it: its sensor check polls
  // through this window, one exchange at a time.
  PollPause pause(poll_, PollPause::Then::as_before);
  const std::unique_ptr<CommissioningWizard> wizard = MakeCommissioningWizard();
  wizard->exec();
}

std::unique_ptr<CommissioningWizard> TMainForm::MakeCommissioningWizard() {
  CommissioningHost host;
  host.bench = [this] { return bench_; };
  host.choose_vehicle = [this] {
    const DataFolder folder = VehiclesFolder();
    if (!folder.path) {
      messages_.Inform(TranslatedMessage(folder.error), tr("Commissioning"));
      return;
    }
    // The list deletes itself when closed; the guard sees that.
    const QPointer<QDialog> dialog =
        MakeVehiclesDialog(this, VehicleStore(*folder.path), messages_,
                           [this](const std::string& id) { ChooseVehicle(id); });
    dialog->exec();
    delete dialog;
  };
  host.connect_and_read = [this] { return CommissioningConnect(); };
  host.backup = [this] { return CommissioningBackup(); };
  host.poll = [this] { return session_.Poll(ParseInteger(ui_->rpm_cal->text().toStdString())); };
  host.run_program = [this](EngineProgram program) { return CommissioningProgram(program); };
  host.module_settings = [this] { return last_read_; };
  host.write_settings = [this](const FileSettings& changes) { return CommissioningWrite(changes); };
  host.make_report = [this](const std::string& technician, const std::string& notes) {
    return CommissioningReport(technician, notes);
  };
  host.print_report = [this] { PrintLastReport(); };
  host.open_report = [this] { OpenLastReport(); };
  host.module_version = [this] { return ModuleVersionText(session_.module_version()); };
  host.technician = [this] { return workshop_.technician; };
  host.now_ms = [this] { return now_ms_(); };
  host.now_text = [] { return UtcNowText(); };
  return std::make_unique<CommissioningWizard>(messages_, std::move(host), this);
}

std::optional<StepDone> TMainForm::CommissioningConnect() {
  PollPause pause(poll_, PollPause::Then::as_before);
  if (!MayDiscardEdits()) return std::nullopt;
  StopReconnectWatch();
  const Result<ModuleVersion> version = form2_->ConnectOrFind();
  AfterConnect();
  if (!version.ok()) {
    pause.EndStopped();
    return Failed(FailureText(version.failure), "no module answered");
  }
  lerClick();
  if (!read_since_config_) {
    return Failed(tr("Version %1; the settings were not read.")
                      .arg(ToQString(ModuleVersionText(version.value))),
                  "the settings were not read");
  }
  return StepDone{
      StepOutcome::done,
      tr("Module version %1 on %2; settings read.")
          .arg(ToQString(ModuleVersionText(version.value)), ToQString(session_.connected_port())),
      {}};
}

std::optional<StepDone> TMainForm::CommissioningBackup() {
  PollPause pause(poll_, PollPause::Then::as_before);
  // What the module holds now, not what the boxes show.
  const std::optional<SettingsBlock> block = ReadBeforeWrite();
  if (!block) {
    pause.Failed();
    return Failed(tr("The module did not answer: nothing was kept."),
                  "the settings could not be read");
  }
  if (!SaveRestorePoint(*block, SaveReason::before_commissioning)) {
    return Failed(tr("No restore point could be kept."), "no restore point");
  }
  return StepDone{StepOutcome::done,
                  tr("The module's settings are kept as the restore point "
                     "\"before-commissioning\"."),
                  {}};
}

bool TMainForm::FinishProgramRun(ProgramKind kind, const std::string& started_at) {
  if (program_form_->ran() || program_form_->failed()) {
    RecordProgramRunOnBench(kind, started_at, program_form_->failed(), program_form_->aborted());
  }
  bool failed = program_form_->failed();
  if (program_form_->ran() && !failed) failed = !ReadAfterProgram();
  if (program_form_->failed()) WatchForPortIfGone();
  return failed;
}

std::optional<StepDone> TMainForm::CommissioningProgram(EngineProgram program) {
  PollPause pause(poll_, PollPause::Then::as_before);
  const std::string started_at = UtcNowText();
  program_form_->RunEngineProgram(program);
  if (!program_form_->ran() && !program_form_->failed()) return std::nullopt;  // No: nothing sent
  const ProgramKind kind =
      program == EngineProgram::rpm_lambda ? ProgramKind::rpm_lambda : ProgramKind::map;
  const bool failed = FinishProgramRun(kind, started_at);
  if (failed) pause.Failed();
  if (program_form_->failed()) {
    return Failed(tr("The module stopped answering: the program may not have ended."),
                  "the module stopped answering");
  }
  if (program_form_->aborted()) {
    return Failed(tr("Aborted: the program did not end."), "aborted by the technician");
  }
  return StepDone{StepOutcome::done, tr("The program ended."), {}};
}

std::optional<StepDone> TMainForm::CommissioningWrite(const FileSettings& changes) {
  PollPause pause(poll_, PollPause::Then::as_before);
  const QString title = CommissioningStepText(CommissioningStep::settings);
  if (!last_read_) return std::nullopt;
  if (changes.empty()) {
    return StepDone{StepOutcome::done, tr("Nothing to change: the module keeps its settings."), {}};
  }
  // The changes checked together, as a file's would be (the start mix
  // against the limit it will hold); only the changed settings go over what
  // the module holds.
  const EditedSettingsFile edited =
      EditSettingsFile(MakeSettingsFile(*last_read_, ModuleVersionText(session_.module_version()),
                                        UtcNowText(), SaveReason::save),
                       changes, UtcNowText());
  if (!edited.file) {
    messages_.Inform(TranslatedMessage(edited.error), title);
    return std::nullopt;
  }
  SettingsFile named;
  named.settings = changes;
  const QString name = ToQString(bench_ ? bench_->vehicle->id : std::string());
  const AppliedSettings applied = ApplySettingsFile(named, *last_read_);
  if (!applied.block ||
      !messages_.AskYesNo(WriteQuestion(name, *last_read_, *applied.block), title)) {
    return std::nullopt;
  }
  WriteOutcome outcome = WriteOutcome::no_restore_point;
  if (WriteFileSettings(named, nullptr, name, title, &outcome, SaveReason::before_write)) {
    pause.Failed();
  }
  switch (outcome) {
    case WriteOutcome::verified:
      return StepDone{StepOutcome::done, tr("Written, read back and verified."), {}};
    case WriteOutcome::differs:
      return Failed(tr("Written, but the module reads back other settings."),
                    "the module reads back other settings");
    case WriteOutcome::no_restore_point:
      return Failed(tr("Nothing was written: no restore point could be kept."), "no restore point");
    case WriteOutcome::write_failed:
    case WriteOutcome::read_back_failed:
      break;
  }
  return Failed(tr("The write or its read back was not answered."), "the module did not answer");
}

std::optional<StepDone> TMainForm::CommissioningReport(const std::string& technician,
                                                       const std::string& notes) {
  if (!notes.empty()) {
    const AddedRecord note = VehicleHistory(bench_->folder).AddNote(notes);
    if (!note.file) {
      InformVehicleRecordFailed(note.error);
      return std::nullopt;
    }
  }
  const ReportMade made = MakeCustomerReportFile(technician);
  if (made.path.isEmpty()) {
    InformVehicleRecordFailed(made.error);
    return Failed(tr("The report could not be kept."), made.error);
  }
  return StepDone{StepOutcome::done, ReportKeptText(ToQString(bench_->vehicle->id), made.path), {}};
}

}  // namespace zelk
