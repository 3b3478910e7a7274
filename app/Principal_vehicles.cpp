// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: the Vehicle menu. A workshop works car by car: the technician
// puts a vehicle on the bench (before or after Config.), and from then on the
// window keeps the car's history in its folder under the data folder. With
// no vehicle chosen, the window works as it always has: restore points go to
// the restore points of no vehicle.

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>
#include <chrono>
#include <filesystem>

#include "app/Principal.h"
#include "app/dialog_folder.h"
#include "app/messages.h"
#include "app/qt_text.h"
#include "app/status_text.h"
#include "app/translation.h"
#include "app/vehicle_timeline_dialog.h"
#include "app/vehicles_dialog.h"
#include "records/vehicle_history.h"
#include "session/assign_restore_points.h"
#include "session/data_folder.h"
#include "session/module_version.h"
#include "session/session.h"
#include "session/vehicle_restore_points.h"
#include "settings_file/file_io.h"
#include "settings_file/file_settings.h"
#include "text/utc_time.h"

namespace zelk {

namespace {

QString VehiclesTitle() {
  return QCoreApplication::translate("Vehicles", "Vehicles");
}

}  // namespace

void TMainForm::BuildVehicleMenu(QMenuBar& bar) {
  QMenu* menu = bar.addMenu(tr("V&ehicle"));
  menu->setObjectName(QStringLiteral("menu_vehicle"));
  QAction* list = menu->addAction(tr("&Vehicles..."), this, &TMainForm::ShowVehicles);
  list->setObjectName(QStringLiteral("action_vehicles"));
  QAction* none = menu->addAction(tr("N&o vehicle"), this, &TMainForm::ClearVehicle);
  none->setObjectName(QStringLiteral("action_no_vehicle"));
  menu->addSeparator();
  QAction* note = menu->addAction(tr("Add &note..."), this, &TMainForm::AddVehicleNote);
  note->setObjectName(QStringLiteral("action_vehicle_note"));
  QAction* timeline = menu->addAction(tr("&Timeline..."), this, &TMainForm::ShowVehicleTimeline);
  timeline->setObjectName(QStringLiteral("action_vehicle_timeline"));
  bench_actions_ = {none, note, timeline};
  for (QAction* action : bench_actions_) action->setEnabled(false);
}

void TMainForm::ShowVehicles() {
  const DataFolder folder = VehiclesFolder();
  if (!folder.path) {
    messages_.Inform(TranslatedMessage(folder.error), VehiclesTitle());
    return;
  }
  delete vehicles_dialog_;
  vehicles_dialog_ = MakeVehiclesDialog(this, VehicleStore(*folder.path), messages_,
                                        [this](const std::string& id) { ChooseVehicle(id); });
  vehicles_dialog_->show();
}

void TMainForm::AssignRestorePointsToVehicle(const QStringList& paths) {
  const DataFolder folder = VehiclesFolder();
  if (!folder.path) {
    messages_.Inform(TranslatedMessage(folder.error), VehiclesTitle());
    return;
  }
  delete vehicles_dialog_;
  const VehicleStore store(*folder.path);
  vehicles_dialog_ =
      MakeVehiclesDialog(this, store, messages_, [this, store, paths](const std::string& id) {
        const std::optional<VehicleEntry> entry = store.Find(id);
        if (!entry) return;
        std::vector<std::filesystem::path> points;
        for (const QString& path : paths) points.emplace_back(path.toStdU16String());
        const AssignedRestorePoints outcome = AssignRestorePoints(points, entry->folder);
        QString text = QCoreApplication::translate("Vehicles", "%1 restore point(s) moved to %2.")
                           .arg(outcome.assigned)
                           .arg(ToQString(entry->vehicle->id));
        for (const std::string& refused : outcome.refused) {
          text += QLatin1Char('\n') + ToQString(refused);
        }
        messages_.Inform(text, QCoreApplication::translate("SettingsFiles", "Restore points"));
        ShowRestorePoints();
      });
  vehicles_dialog_->show();
}

bool TMainForm::ChooseVehicle(const std::string& id) {
  const DataFolder folder = VehiclesFolder();
  std::optional<VehicleEntry> entry;
  if (folder.path) entry = VehicleStore(*folder.path).Find(id);
  if (!entry || !entry->vehicle) {
    messages_.Inform(
        QCoreApplication::translate("Vehicles", "No vehicle %1 is recorded.").arg(ToQString(id)),
        VehiclesTitle());
    return false;
  }
  ClearBenchWarning();
  bench_ = std::move(entry);
  status_text_->setBench(
      QCoreApplication::translate("Vehicles", "Vehicle: %1").arg(ToQString(bench_->vehicle->id)));
  for (QAction* action : bench_actions_) action->setEnabled(true);
  delete timeline_dialog_;
  // Chosen after a Read: the settings as read are this car's too.
  if (last_read_) RecordReadOnBench(*last_read_);
  return true;
}

void TMainForm::ClearBenchWarning() {
  // A status of another kind (a log running) stays.
  if (!bench_warning_.isEmpty() && status_text_->text() == bench_warning_) status_text_->clear();
  bench_warning_.clear();
}

void TMainForm::ClearVehicle() {
  ClearBenchWarning();
  bench_.reset();
  status_text_->setBench({});
  for (QAction* action : bench_actions_) action->setEnabled(false);
  delete timeline_dialog_;
}

void TMainForm::AddVehicleNote() {
  if (!bench_) return;
  const QString title = QCoreApplication::translate("Vehicles", "Add note");
  const std::optional<QString> text = messages_.AskText(
      QCoreApplication::translate("Vehicles", "Note for %1:").arg(ToQString(bench_->vehicle->id)),
      title);
  if (!text || text->trimmed().isEmpty()) return;
  const AddedRecord added = VehicleHistory(bench_->folder).AddNote(text->toStdString());
  if (!added.file) InformVehicleRecordFailed(added.error);
}

void TMainForm::ShowVehicleTimeline() {
  if (!bench_) return;
  TimelineShown shown;
  shown.vehicle_id = bench_->vehicle->id;
  shown.records = VehicleHistory(bench_->folder).Timeline();
  shown.window = WindowTexts();
  shown.can_write = last_read_.has_value() && session_.module_answered();
  shown.offline = !last_read_.has_value();
  TimelineActions actions;
  actions.compare = [this](const std::filesystem::path& path) { CompareWithFile(PathText(path)); };
  actions.restore = [this](const std::filesystem::path& path) { RestoreFromFile(PathText(path)); };
  actions.restore_chosen = [this](const std::filesystem::path& path,
                                  std::vector<SettingIndex> chosen) {
    RestoreChosenSettings(PathText(path), chosen);
  };
  actions.open_settings = [this](const std::filesystem::path& path) {
    EditOffline(PathText(path));
  };
  actions.open_report = [](const std::filesystem::path& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(PathText(path)));
  };
  actions.open_log = [this](const std::filesystem::path& path) {
    OpenLogForReview(PathText(path));
  };
  delete timeline_dialog_;
  timeline_dialog_ = MakeVehicleTimelineDialog(this, shown, std::move(actions));
  timeline_dialog_->show();
}

void TMainForm::ChooseDataFolderClick() {
  const DataFolder current = UserDataFolder();
  const QString folder = QFileDialog::getExistingDirectory(
      this, QCoreApplication::translate("Vehicles", "Data folder"),
      current.path ? PathText(*current.path) : QString());
  if (!folder.isEmpty()) UseDataFolder(folder);
}

bool TMainForm::UseDataFolder(const QString& folder) {
  const std::filesystem::path path(folder.toStdU16String());
  // A file written and removed again: a share mounted read-only, or a folder
  // of another user, is refused now rather than at the first write.
  const std::filesystem::path probe = path / ".programable-zelk-write-check";
  FileWrite written;
  if (path.is_absolute()) {
    written = WriteFileAtomically(probe, "check\n");
  } else {
    written.error = QT_TRANSLATE_NOOP("Vehicles", "not an absolute path");
  }
  if (!written.ok) {
    messages_.Inform(QCoreApplication::translate("Vehicles", "%1 cannot keep the records: %2")
                         .arg(folder, TranslatedMessage(written.error)),
                     QCoreApplication::translate("Vehicles", "Data folder"));
    return false;
  }
  std::error_code ignored;
  std::filesystem::remove(probe, ignored);
  ChooseDataFolder(path);
  ClearVehicle();
  delete vehicles_dialog_;
  delete restore_points_dialog_;
  status_text_->setText(QCoreApplication::translate("Vehicles", "Data folder: %1")
                            .arg(QDir::toNativeSeparators(folder)));
  if (on_data_folder_chosen_) on_data_folder_chosen_(folder);
  return true;
}

QString TMainForm::FileDialogFolder() const {
  if (bench_) return PathText(bench_->folder);
  return DialogFolder();
}

TMainForm::RestorePointsTarget TMainForm::RestorePointsInUse() const {
  RestorePointsTarget in_use;
  if (bench_) {
    in_use.target = std::make_unique<VehicleRestorePoints>(bench_->folder);
    return in_use;
  }
  const DataFolder folder = RestorePointFolder();
  if (folder.path) {
    in_use.target = std::make_unique<RestorePoints>(*folder.path);
  } else {
    in_use.error = folder.error;
  }
  return in_use;
}

void TMainForm::RecordReadOnBench(const SettingsBlock& block) {
  if (!bench_) return;
  VehicleHistory history(bench_->folder);
  ClearBenchWarning();
  if (const std::optional<HistoryRecord> newest = history.NewestSettings()) {
    const std::size_t differing =
        CompareSettings(TextsOfFile(*newest->settings), TextsOf(SettingsOfBlock(block))).size();
    if (differing > 0) {
      bench_warning_ =
          QCoreApplication::translate(
              "Vehicles", "The module's settings differ from %1's last record in %2 settings")
              .arg(ToQString(bench_->vehicle->id))
              .arg(differing);
      status_text_->setText(bench_warning_);
    }
  }
  const AddedRecord added = history.AddSettings(MakeSettingsFile(
      block, ModuleVersionText(session_.module_version()), UtcNowText(), SaveReason::read));
  if (!added.file) InformVehicleRecordFailed(added.error);
}

void TMainForm::RecordReadBackOnBench(const SettingsBlock& block) {
  if (!bench_) return;
  const AddedRecord added =
      VehicleHistory(bench_->folder)
          .AddSettings(MakeSettingsFile(block, ModuleVersionText(session_.module_version()),
                                        UtcNowText(), SaveReason::read));
  if (!added.file) InformVehicleRecordFailed(added.error);
}

void TMainForm::RecordSavedOnBench(const SettingsFile& file) {
  if (!bench_) return;
  const AddedRecord added = VehicleHistory(bench_->folder).AddSettings(file);
  if (!added.file) InformVehicleRecordFailed(added.error);
}

void TMainForm::RecordProgramRunOnBench(ProgramKind kind, const std::string& started_at,
                                        bool failed, bool aborted) {
  if (!bench_) return;
  ProgramRun run{std::string(ProgramKindName(kind)), started_at, UtcNowText(),
                 failed    ? ProgramResult::failed
                 : aborted ? ProgramResult::aborted
                           : ProgramResult::completed,
                 ModuleVersionText(session_.module_version())};
  const AddedRecord added = VehicleHistory(bench_->folder).AddProgramRun(run);
  if (!added.file) InformVehicleRecordFailed(added.error);
}

QString TMainForm::BenchLogPath() {
  std::string error;
  const std::filesystem::path path = VehicleHistory(bench_->folder).NewLogPath(error);
  if (path.empty()) InformVehicleRecordFailed(error);
  return PathText(path);
}

void TMainForm::InformVehicleRecordFailed(const std::string& error) {
  messages_.Inform(
      QCoreApplication::translate("Vehicles", "This could not be kept in %1's history: %2")
          .arg(ToQString(bench_->vehicle->id), TranslatedMessage(error)),
      VehiclesTitle());
}

}  // namespace zelk
