// SPDX-License-Identifier: GPL-3.0-or-later
// Settings prepared with no module: opened from a file or a vehicle's record,
// or started from the window's defaults, edited with every entry check, saved
// to a file (and into the bench vehicle's records), and written only when a
// module meets them and the technician says so. Until a Read, the window's
// boxes are the only copy of unsaved work, so nothing replaces them without
// an answer.

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <chrono>

#include "app/Principal.h"
#include "app/messages.h"
#include "app/qt_text.h"
#include "app/setting_changes.h"
#include "app/setting_widgets.h"
#include "app/status_text.h"
#include "app/translation.h"
#include "session/guarded_write.h"
#include "session/module_version.h"
#include "session/session.h"
#include "settings/chosen_settings.h"
#include "settings/option_flags.h"
#include "settings_file/file_io.h"
#include "settings_file/file_settings.h"
#include "settings_file/settings_overlay.h"
#include "text/utc_time.h"
#include "ui_MainForm.h"

namespace zelk {

namespace {

QString PreparedTitle() {
  return QCoreApplication::translate("PreparedSettings", "Prepared settings");
}

std::vector<SettingIndex> AllSettings() {
  std::vector<SettingIndex> all;
  for (const SettingRow& row : kSettings) all.push_back(row.id);
  return all;
}

// The settings a file names: all of them with a block.
std::vector<SettingIndex> SettingsNamedIn(const SettingsFile& file) {
  if (file.block) return AllSettings();
  std::vector<SettingIndex> named;
  for (const SettingRow& row : kSettings) {
    if (file.settings.values[row.id]) named.push_back(row.id);
  }
  return named;
}

// Whether `a` and `b` hold the setting differently: its bytes, or its bit.
bool SettingDiffers(const SettingRow& row, const SettingsBlock& a, const SettingsBlock& b) {
  if (row.kind == SettingKind::option) return ((a[row.offset] ^ b[row.offset]) & row.mask) != 0;
  return !std::equal(a.begin() + static_cast<std::ptrdiff_t>(row.offset),
                     a.begin() + static_cast<std::ptrdiff_t>(row.offset + row.width),
                     b.begin() + static_cast<std::ptrdiff_t>(row.offset));
}

}  // namespace

void TMainForm::KeepStartBoxes() {
  for (const SettingRow& row : kSettings) {
    if (row.kind == SettingKind::option) {
      start_boxes_.checked[row.id] = CheckBoxOf(*this, row.id)->isChecked();
    } else {
      start_boxes_.texts[row.id] = Edit(row.id)->text();
    }
  }
  start_boxes_.rpm_cal = ui_->rpm_cal->text();
}

void TMainForm::ShowStartBoxes() {
  filled_.reset();
  for (const SettingRow& row : kSettings) {
    if (row.kind == SettingKind::option) {
      CheckBoxOf(*this, row.id)->setChecked(start_boxes_.checked[row.id]);
      if (IsNeeded(row.id)) ApplyOption(row.id);
    } else {
      Edit(row.id)->setText(start_boxes_.texts[row.id]);
    }
  }
  banda_largaClick();
  ui_->rpm_cal->setText(start_boxes_.rpm_cal);
}

bool TMainForm::BoxesAsAtStart() const {
  for (const SettingRow& row : kSettings) {
    const bool same = row.kind == SettingKind::option
                          ? CheckBoxOf(*this, row.id)->isChecked() == start_boxes_.checked[row.id]
                          : Edit(row.id)->text() == start_boxes_.texts[row.id];
    if (!same) return false;
  }
  // The calibration factor alone is no setting: a Read sets it back to 1.
  return true;
}

bool TMainForm::HoldsPrepared() const {
  // Typed into the boxes at start, before any file: prepared work too.
  return prepared_.has_value() || (!last_read_ && !BoxesAsAtStart());
}

TMainForm::Prepared TMainForm::PreparedOrStart() const {
  if (prepared_) return *prepared_;
  Prepared start;
  start.label = QCoreApplication::translate("PreparedSettings", "new settings");
  start.named = AllSettings();
  return start;
}

std::optional<SettingsFile> TMainForm::PreparedFile() {
  const std::optional<SettingsBlock> window = WindowSettings();
  if (!window) return std::nullopt;
  const Prepared prepared = PreparedOrStart();
  const std::string now = UtcNowText();
  if (prepared.file_block) {
    return MakeSettingsFile(OverlaySettings(*prepared.file_block, *window), prepared.module_version,
                            now, SaveReason::prepared);
  }
  // A file without a block names its settings and those changed since.
  SettingsFile file;
  file.module_version = prepared.module_version;
  file.saved_at = now;
  file.reason = SaveReason::prepared;
  const FileSettings all = SettingsOfBlock(*window);
  for (SettingIndex setting : NamedNow(prepared, *window)) {
    file.settings.values[setting] = all.values[setting];
  }
  return file;
}

std::vector<SettingIndex> TMainForm::NamedNow(const Prepared& prepared,
                                              const SettingsBlock& window) const {
  std::vector<SettingIndex> named = prepared.named;
  if (!filled_) return AllSettings();
  for (const SettingRow& row : kSettings) {
    if (std::find(named.begin(), named.end(), row.id) == named.end() &&
        SettingDiffers(row, window, *filled_)) {
      named.push_back(row.id);
    }
  }
  std::sort(named.begin(), named.end());
  return named;
}

bool TMainForm::PreparedUnsaved() {
  if (!prepared_) return HoldsPrepared();
  const std::optional<SettingsFile> file = PreparedFile();
  return !file || TextsOfFile(*file) != prepared_->saved;
}

bool TMainForm::MayDropPrepared() {
  if (!HoldsPrepared() || !PreparedUnsaved()) return true;
  return messages_.AskYesNoDefaultNo(
      QCoreApplication::translate(
          "PreparedSettings",
          "The prepared settings (%1) have changes that are not saved and will be lost. Go on?")
          .arg(PreparedOrStart().label),
      tr("Warning"));
}

void TMainForm::ShowPreparedStatus() {
  if (!HoldsPrepared()) {
    status_text_->setPrepared({});
    return;
  }
  const QString label = PreparedOrStart().label;
  status_text_->setPrepared(
      session_.module_answered()
          ? QCoreApplication::translate("PreparedSettings", "Prepared, not written: %1").arg(label)
          : QCoreApplication::translate("PreparedSettings", "Offline: %1").arg(label));
}

QString TMainForm::BenchPreparedLabel() const {
  return QCoreApplication::translate("PreparedSettings", "%1, prepared")
      .arg(ToQString(bench_->vehicle->id));
}

void TMainForm::NewSettings() {
  if (last_read_) {
    // With a module read, the defaults are changes to review and write.
    if (!MayDiscardEdits()) return;
    ShowStartBoxes();
    filled_ = shown_module_;
    UpdateChangedMarks();
    return;
  }
  if (!MayDropPrepared()) return;
  ShowStartBoxes();
  prepared_.reset();
  Prepared prepared = PreparedOrStart();
  if (bench_) prepared.label = BenchPreparedLabel();
  prepared.saved = {};  // nothing of it is saved yet
  prepared_ = std::move(prepared);
  ShowPreparedStatus();
}

bool TMainForm::OpenPrepared(const SettingsFile& file, const QString& label, const QString& path,
                             const QString& title) {
  if (!MayDropPrepared()) return false;
  // A file that names only some settings leaves the others as the boxes
  // hold them; they are not written unless the technician changes them.
  const std::optional<SettingsBlock> base = file.block ? file.block : WindowSettings();
  if (!base) return false;
  const AppliedSettings applied = ApplySettingsFile(file, *base);
  if (!applied.block) {
    messages_.Inform(QCoreApplication::translate("SettingsFiles", "%1 was refused: %2")
                         .arg(QFileInfo(path).fileName(), TranslatedMessage(applied.error)),
                     title);
    return false;
  }
  ShowSettings(*applied.block);
  Prepared prepared;
  prepared.label = label;
  prepared.module_version = file.module_version;
  prepared.file_block = file.block;
  prepared.named = SettingsNamedIn(file);
  prepared_ = std::move(prepared);
  const std::optional<SettingsFile> shown = PreparedFile();
  if (shown) prepared_->saved = TextsOfFile(*shown);
  ShowPreparedStatus();
  return true;
}

void TMainForm::EditOffline(const QString& path) {
  if (last_read_ || !bench_) {
    OpenSettingsFile(path);
    return;
  }
  OpenSettingsFileAs(path, BenchPreparedLabel());
}

bool TMainForm::SavePrepared(const QString& path, const QString& title) {
  const std::optional<SettingsFile> file = PreparedFile();
  if (!file) return false;
  const FileWrite written =
      WriteFileAtomically(std::filesystem::path(path.toStdWString()), EncodeSettingsFile(*file));
  if (!written.ok) {
    messages_.Inform(TranslatedMessage(written.error), title);
    return false;
  }
  Prepared prepared = PreparedOrStart();
  prepared.saved = TextsOfFile(*file);
  prepared.label = bench_ ? BenchPreparedLabel() : QFileInfo(path).fileName();
  // What it names from now on: what it named and what was changed before the save.
  prepared.named = SettingsNamedIn(*file);
  prepared_ = std::move(prepared);
  status_text_->setText(QCoreApplication::translate("SettingsFiles", "Settings saved to %1")
                            .arg(QFileInfo(path).fileName()));
  ShowPreparedStatus();
  RecordSavedOnBench(*file);
  return true;
}

bool TMainForm::MayWriteVersion(const std::string& file_version, const QString& name,
                                const QString& title) {
  if (!OtherMajorVersion(file_version, session_.module_version())) return true;
  return messages_.AskYesNoDefaultNo(
      QCoreApplication::translate(
          "PreparedSettings",
          "%1 was made for module version %2, but the module connected is version %3: its "
          "settings may mean something else there. Write them anyway?")
          .arg(name, ToQString(file_version),
               ToQString(ModuleVersionText(session_.module_version()))),
      title);
}

TMainForm::PreparedAnswer TMainForm::AskAboutPrepared() {
  const QString label = PreparedOrStart().label;
  QString text = QCoreApplication::translate(
                     "PreparedSettings",
                     "The window holds settings prepared without a module (%1). Write them to "
                     "the module, or read the module's settings in their place?")
                     .arg(label);
  if (PreparedUnsaved()) {
    text += QLatin1Char('\n') +
            QCoreApplication::translate(
                "PreparedSettings",
                "Their changes are not saved: reading the module's settings loses them.");
  }
  const int choice =
      messages_.Choose(text, PreparedTitle(),
                       {QCoreApplication::translate("PreparedSettings", "&Write prepared"),
                        QCoreApplication::translate("PreparedSettings", "&Read the module's"),
                        QCoreApplication::translate("PreparedSettings", "Cancel")});
  switch (choice) {
    case 0:
      return PreparedAnswer::write;
    case 1:
      return PreparedAnswer::read;
    default:
      return PreparedAnswer::cancel;
  }
}

bool TMainForm::WritePrepared() {
  const QString title = PreparedTitle();
  if (!CheckFocusedSetting()) return false;
  const std::optional<SettingsBlock> window = WindowSettings();
  if (!window) return false;
  const Prepared prepared = PreparedOrStart();
  if (!MayWriteVersion(prepared.module_version, prepared.label, title)) return false;
  const RestorePointsTarget points = RestorePointsInUse();
  if (!points.target) {
    InformNoRestorePoint(points.error);
    return false;
  }
  // The module's own bytes (status bits, the mixture its program set, the
  // bytes no box shows) come from the module itself, never from the desk.
  const std::optional<SettingsBlock> module = ReadModuleBlock();
  if (!module) return true;
  const SettingsBlock to_write = prepared.file_block
                                     ? OverlaySettings(*module, *window)
                                     : TakeSettings(*module, *window, NamedNow(prepared, *window));
  if (!messages_.AskYesNo(WriteQuestion(prepared.label, *module, to_write), title)) return false;
  const GuardedWrite done = WriteWithRestorePoint(session_, *points.target, *module, to_write,
                                                  SaveReason::before_prepared,
                                                  ModuleVersionText(session_.module_version()));
  const bool read_back = done.written.read_back && done.written.read_back->settings.ok();
  if (read_back) {
    // The module now speaks for itself: the prepared work is in it (or the
    // verification names what it did not take), and its file stays on disk.
    prepared_.reset();
    ShowModuleRead(done.written.read_back->settings.value.block);
    ShowPreparedStatus();
    ReadLiveSnapshot();  // as after every read: a snapshot that fails says nothing
  }
  return ShowWriteOutcome(done, to_write, prepared.label, title);
}

}  // namespace zelk
