// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's File menu: settings files, restore points, compare, and
// the marks on settings changed since the last read. The file format, the
// rule of which bytes a file may change and the restore points are plain C++
// (settings_file/, session/); this file moves them between boxes and dialogs.

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <utility>

#include "app/Principal.h"
#include "app/compare_dialog.h"
#include "app/dialog_folder.h"
#include "app/messages.h"
#include "app/module_messages.h"
#include "app/qt_text.h"
#include "app/restore_points_dialog.h"
#include "app/setting_changes.h"
#include "app/setting_widgets.h"
#include "app/status_text.h"
#include "app/translation.h"
#include "monitor/idle_period.h"
#include "session/data_folder.h"
#include "session/guarded_write.h"
#include "session/module_version.h"
#include "session/restore_points.h"
#include "session/session.h"
#include "settings/chosen_settings.h"
#include "settings/settings_table.h"
#include "settings_file/block_ranges.h"
#include "settings_file/file_io.h"
#include "settings_file/file_settings.h"
#include "settings_file/settings_overlay.h"
#include "ui_MainForm.h"

namespace zelk {

namespace {

QString FileFilter() {
  return QCoreApplication::translate("SettingsFiles", "Zelk settings (*.zelk)");
}

std::filesystem::path PathOf(const QString& path) {
  return std::filesystem::path(path.toStdWString());
}

// "before.zelk was refused: ...", in the box titled by the action.
void InformRefused(Messages& messages, const QString& path, const std::string& error,
                   const QString& title) {
  messages.Inform(QCoreApplication::translate("SettingsFiles", "%1 was refused: %2")
                      .arg(QFileInfo(path).fileName(), TranslatedMessage(error)),
                  title);
}

// A file read and accepted, or nothing after its box.
std::optional<SettingsFile> LoadFile(Messages& messages, const QString& path,
                                     const QString& title) {
  const FileRead read = ReadSmallFile(PathOf(path));
  if (!read.ok) {
    messages.Inform(TranslatedMessage(read.error), title);
    return std::nullopt;
  }
  DecodedSettingsFile decoded = DecodeSettingsFile(read.contents);
  if (!decoded.file) {
    InformRefused(messages, path, decoded.error, title);
    return std::nullopt;
  }
  return std::move(decoded.file);
}

void MarkChanged(QWidget& widget, bool changed) {
  if (widget.property("changed").toBool() == changed) return;
  widget.setProperty("changed", changed);
  // A property selector is matched when the widget is polished.
  widget.style()->unpolish(&widget);
  widget.style()->polish(&widget);
}

}  // namespace

void TMainForm::BuildFileMenu(QMenuBar& bar) {
  QMenu* file = bar.addMenu(tr("&File"));
  file->setObjectName(QStringLiteral("menu_file"));
  const auto ask_path = [this](const QString& title, auto take, bool save) {
    return [this, title, take, save] {
      PollPause pause(poll_, PollPause::Then::as_before);  // the file dialog is modal
      const QString folder = FileDialogFolder();
      const QString path = save ? QFileDialog::getSaveFileName(this, title, folder, FileFilter())
                                : QFileDialog::getOpenFileName(this, title, folder, FileFilter());
      RememberDialogFolder(path);
      if (!path.isEmpty()) (this->*take)(path);
    };
  };
  QAction* new_settings = file->addAction(tr("&New settings"), this, &TMainForm::NewSettings);
  new_settings->setObjectName(QStringLiteral("action_new_settings"));
  new_settings->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  QAction* open = file->addAction(tr("&Open settings..."));
  open->setObjectName(QStringLiteral("action_open_settings"));
  open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  connect(open, &QAction::triggered, this,
          ask_path(tr("Open settings"), &TMainForm::OpenSettingsFile, false));
  QAction* save = file->addAction(tr("&Save settings..."));
  save->setObjectName(QStringLiteral("action_save_settings"));
  save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  connect(save, &QAction::triggered, this,
          ask_path(tr("Save settings"), &TMainForm::SaveSettingsFile, true));
  QAction* compare = file->addAction(tr("&Compare with file..."));
  compare->setObjectName(QStringLiteral("action_compare"));
  connect(compare, &QAction::triggered, this,
          ask_path(tr("Compare with file"), &TMainForm::CompareWithFile, false));
  QAction* restore = file->addAction(tr("&Restore from file..."));
  restore->setObjectName(QStringLiteral("action_restore"));
  connect(restore, &QAction::triggered, this,
          ask_path(tr("Restore from file"), &TMainForm::RestoreFromFile, false));
  file->addSeparator();
  AddOpenLogAction(*file);         // Principal_log.cpp
  AddCustomerReportAction(*file);  // Principal_commissioning.cpp
  file->addSeparator();
  QAction* points = file->addAction(tr("Restore &points..."), this, &TMainForm::ShowRestorePoints);
  points->setObjectName(QStringLiteral("action_restore_points"));
  QAction* data_folder =
      file->addAction(tr("&Data folder..."), this, &TMainForm::ChooseDataFolderClick);
  data_folder->setObjectName(QStringLiteral("action_data_folder"));
  file->addSeparator();
  // Windows programs say Exit here; the Operation group's Quit button stays.
#ifdef Q_OS_WIN
  const QString quit_text = tr("E&xit");
#else
  const QString quit_text = tr("&Quit");
#endif
  QAction* quit = file->addAction(quit_text, this, &TMainForm::sairClick);
  quit->setObjectName(QStringLiteral("action_quit"));

  // New, Open, Save and Compare need no module: settings are prepared at the
  // desk. Restore writes, so it waits for a Read.
  file_actions_ = {restore};
  SetFileActionsEnabled(false);

  // Every change of a setting's text or box may change its mark.
  for (const SettingRow& row : kSettings) {
    if (row.kind == SettingKind::option) {
      connect(CheckBoxOf(*this, row.id), &QCheckBox::toggled, this, &TMainForm::UpdateChangedMarks);
    } else {
      connect(Edit(row.id), &QLineEdit::textChanged, this, &TMainForm::UpdateChangedMarks);
    }
  }
}

void TMainForm::SetFileActionsEnabled(bool enabled) {
  for (QAction* action : file_actions_) action->setEnabled(enabled);
}

std::optional<SettingsBlock> TMainForm::WindowBlock() {
  return last_read_ ? BlockWithChanges() : WindowSettings();
}

std::optional<SettingTexts> TMainForm::WindowTexts() {
  if (!last_read_) return std::nullopt;
  const std::optional<SettingsBlock> block = BlockWithChanges();
  if (!block) return std::nullopt;
  return TextsOf(SettingsOfBlock(*block));
}

std::optional<SettingsBlock> TMainForm::BlockWithChanges() {
  if (!last_read_) return std::nullopt;
  const std::optional<SettingsBlock> settings = WindowSettings();
  if (!settings) return std::nullopt;
  return OverlaySettings(*last_read_, *settings);
}

void TMainForm::UpdateChangedMarks() {
  if (!last_read_) {
    ShowPreparedStatus();  // typing into the boxes with no module prepares settings too
    return;
  }
  const char separator = DecimalSeparator();
  for (const SettingRow& row : kSettings) {
    QWidget* box = BoxOf(*this, row.id);
    switch (row.kind) {
      case SettingKind::edit:
        MarkChanged(*box,
                    Edit(row.id)->text() != ToQString(DecodeSetting(row, *last_read_, separator)));
        break;
      case SettingKind::idle_rpm:
        MarkChanged(*box, IdleRpmChangedFrom(*last_read_));
        break;
      case SettingKind::option:
        MarkChanged(*box,
                    CheckBoxOf(*this, row.id)->isChecked() != OptionChecked(*last_read_, row.id));
        break;
    }
  }
}

bool TMainForm::SaveRestorePoint(const SettingsBlock& block, SaveReason reason) {
  const RestorePointsTarget points = RestorePointsInUse();
  SavedRestorePoint saved;
  if (!points.target) {
    saved.error = points.error;
  } else {
    saved = points.target->Save(block, ModuleVersionText(session_.module_version()), reason);
  }
  if (saved.path) return true;
  InformNoRestorePoint(saved.error);
  return false;
}

bool TMainForm::MayUseOutOfRange(const SettingsFile& file, const QString& path,
                                 const QString& title) {
  if (!file.block) return true;
  QStringList problems;
  for (const std::string& problem : SettingsOutsideTheirRanges(*file.block)) {
    problems << TranslatedMessage(problem);
  }
  if (problems.isEmpty()) return true;
  return messages_.AskYesNoDefaultNo(
      QCoreApplication::translate("SettingsFiles",
                                  "%1 holds settings outside the ranges the window accepts:\n%2\n"
                                  "Use them anyway?")
          .arg(QFileInfo(path).fileName(), problems.join(QLatin1Char('\n'))),
      title);
}

void TMainForm::InformNoRestorePoint(const std::string& error) {
  messages_.Error(
      QCoreApplication::translate("SettingsFiles",
                                  "No restore point could be saved, so nothing was written: %1")
          .arg(TranslatedMessage(error)));
}

void TMainForm::OpenSettingsFile(const QString& path) {
  OpenSettingsFileAs(path, QFileInfo(path).fileName());
}

void TMainForm::OpenSettingsFileAs(const QString& path, const QString& label) {
  const QString title = QCoreApplication::translate("SettingsFiles", "Open settings");
  const std::optional<SettingsFile> file = LoadFile(messages_, path, title);
  if (!file || !MayUseOutOfRange(*file, path, title)) return;
  if (!last_read_) {
    OpenPrepared(*file, label, path, title);
    return;
  }
  if (!MayDiscardEdits()) return;
  const std::optional<SettingsBlock> current = BlockWithChanges();
  if (!current) return;
  const AppliedSettings applied = ApplySettingsFile(*file, *current);
  if (!applied.block) {
    InformRefused(messages_, path, applied.error, title);
    return;
  }
  // Into the boxes only: the technician reviews and presses Write.
  ShowSettings(*applied.block);
  opened_version_ = file->module_version;
  opened_file_ = QFileInfo(path).fileName();
  UpdateChangedMarks();
}

void TMainForm::SaveSettingsFile(const QString& chosen) {
  if (!CheckFocusedSetting()) return;
  QString path = chosen;
  if (QFileInfo(path).suffix().isEmpty()) path += ToQString(kSettingsFileExtension);
  if (!last_read_) {
    SavePrepared(path, QCoreApplication::translate("SettingsFiles", "Save settings"));
    return;
  }
  const std::optional<SettingsBlock> block = BlockWithChanges();
  if (!block) return;
  const SettingsFile file = MakeSettingsFile(*block, ModuleVersionText(session_.module_version()),
                                             UtcNowText(), SaveReason::save);
  const FileWrite written = WriteFileAtomically(PathOf(path), EncodeSettingsFile(file));
  if (!written.ok) {
    messages_.Inform(TranslatedMessage(written.error),
                     QCoreApplication::translate("SettingsFiles", "Save settings"));
    return;
  }
  status_text_->setText(QCoreApplication::translate("SettingsFiles", "Settings saved to %1")
                            .arg(QFileInfo(path).fileName()));
  RecordSavedOnBench(file);
}

void TMainForm::CompareWithFile(const QString& path) {
  if (!CheckFocusedSetting()) return;
  const std::optional<SettingsFile> file =
      LoadFile(messages_, path, QCoreApplication::translate("SettingsFiles", "Compare with file"));
  if (!file) return;
  const std::optional<SettingsBlock> block = WindowBlock();
  if (!block) return;
  const SettingTexts window = TextsOf(SettingsOfBlock(*block));
  const SettingTexts in_file = TextsOfFile(*file);

  delete compare_dialog_;
  compare_dialog_ = MakeCompareDialog(this, window, in_file, QFileInfo(path).fileName());
  compare_dialog_->show();
}

void TMainForm::RestoreFromFile(const QString& path) {
  RestoreSettings(path, nullptr, QCoreApplication::translate("SettingsFiles", "Restore from file"));
}

void TMainForm::RestoreChosenSettings(const QString& path,
                                      const std::vector<SettingIndex>& chosen) {
  RestoreSettings(path, &chosen,
                  QCoreApplication::translate("SettingsFiles", "Restore chosen settings"));
}

namespace {

// What a restore writes over `module`: every setting of the file, or only
// the chosen ones (the module's values for the rest).
AppliedSettings SettingsToWrite(const SettingsFile& file, const SettingsBlock& module,
                                const std::vector<SettingIndex>* chosen) {
  if (chosen == nullptr) return ApplySettingsFile(file, module);
  if (file.block) return {TakeSettings(module, *file.block, *chosen), {}};
  SettingsFile named = file;
  for (std::size_t i = 0; i < named.settings.values.size(); ++i) {
    if (std::find(chosen->begin(), chosen->end(), static_cast<SettingIndex>(i)) == chosen->end()) {
      named.settings.values[i].reset();
    }
  }
  return ApplySettingsFile(named, module);
}

}  // namespace

void TMainForm::RestoreSettings(const QString& path, const std::vector<SettingIndex>* chosen,
                                const QString& title) {
  PollPause pause(poll_, PollPause::Then::as_before);
  const std::optional<SettingsFile> file = LoadFile(messages_, path, title);
  if (!file || !last_read_ || !MayUseOutOfRange(*file, path, title)) return;
  const AppliedSettings applied = SettingsToWrite(*file, *last_read_, chosen);
  if (!applied.block) {
    InformRefused(messages_, path, applied.error, title);
    return;
  }
  if (!MayDiscardEdits()) return;
  if (!messages_.AskYesNo(WriteQuestion(QFileInfo(path).fileName(), *last_read_, *applied.block),
                          title)) {
    return;
  }
  if (WriteFileSettings(*file, chosen, path, title)) pause.Failed();
}

QString TMainForm::WriteQuestion(const QString& name, const SettingsBlock& module,
                                 const SettingsBlock& to_write) {
  const std::size_t differing =
      CompareSettings(TextsOf(SettingsOfBlock(module)), TextsOf(SettingsOfBlock(to_write))).size();
  QString question = QCoreApplication::translate(
                         "SettingsFiles",
                         "Write the settings of %1 to the module?\n%2 setting(s) differ from "
                         "what the module holds.")
                         .arg(name)
                         .arg(differing);
  const QString changes = ChangeLines(ShownDifferences(module, to_write, DecimalSeparator()));
  if (!changes.isEmpty()) question += QStringLiteral("\n\n") + changes;
  return question;
}

bool TMainForm::WriteFileSettings(const SettingsFile& file, const std::vector<SettingIndex>* chosen,
                                  const QString& path, const QString& title, WriteOutcome* outcome,
                                  SaveReason reason) {
  const QString name = QFileInfo(path).fileName();
  if (!MayWriteVersion(file.module_version, name, title)) return false;
  const RestorePointsTarget points = RestorePointsInUse();
  if (!points.target) {
    InformNoRestorePoint(points.error);
    return false;
  }
  // The file's settings over what the module holds now, not at the last
  // read: a program may have changed its own bytes since.
  const std::optional<SettingsBlock> module = ReadBeforeWrite();
  if (!module) return true;
  const AppliedSettings applied = SettingsToWrite(file, *module, chosen);
  if (!applied.block) {
    InformRefused(messages_, path, applied.error, title);
    return false;
  }
  const GuardedWrite done =
      WriteWithRestorePoint(session_, *points.target, *module, *applied.block, reason,
                            ModuleVersionText(session_.module_version()));
  if (done.written.read_back && done.written.read_back->settings.ok()) {
    ShowModuleRead(done.written.read_back->settings.value.block);
  }
  if (outcome != nullptr) *outcome = done.outcome;
  return ShowWriteOutcome(done, *applied.block, name, title);
}

bool TMainForm::ShowWriteOutcome(const GuardedWrite& done, const SettingsBlock& sent,
                                 const QString& name, const QString& title) {
  if (done.written.read_back && done.written.read_back->settings.ok()) {
    RecordReadBackOnBench(done.written.read_back->settings.value.block);
  }
  switch (done.outcome) {
    case WriteOutcome::no_restore_point:
      InformNoRestorePoint(done.restore_point.error);
      return false;
    case WriteOutcome::write_failed:
    case WriteOutcome::read_back_failed:
      ReportFailure(done.failure());
      return true;
    case WriteOutcome::differs:
      VerifyTaken(sent, *last_read_,
                  QCoreApplication::translate(
                      "SettingsFiles",
                      "The module does not hold the settings of %1: what it reads back differs.")
                      .arg(name));
      return false;
    case WriteOutcome::verified:
      messages_.Inform(
          QCoreApplication::translate("SettingsFiles", "The module now holds the settings of %1.")
              .arg(name),
          title);
      return false;
  }
  return false;
}

void TMainForm::ShowRestorePoints() {
  const DataFolder folder = RestorePointFolder();
  if (!folder.path) {
    messages_.Inform(TranslatedMessage(folder.error),
                     QCoreApplication::translate("SettingsFiles", "Restore points"));
    return;
  }
  std::vector<RestorePoint> points = RestorePoints(*folder.path).List();
  const std::optional<SettingTexts> window = WindowTexts();

  delete restore_points_dialog_;
  restore_points_dialog_ = MakeRestorePointsDialog(
      this,
      {*folder.path, std::move(points), window, last_read_.has_value() && session_.connected()},
      [this](const QString& path) { RestoreFromFile(path); },
      [this](const QStringList& paths) { AssignRestorePointsToVehicle(paths); });
  restore_points_dialog_->show();
}

}  // namespace zelk
