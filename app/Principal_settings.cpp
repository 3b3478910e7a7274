// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's settings handlers: checked entry, the option boxes, Read
// and Write. The arithmetic is in settings/ and monitor/; this file moves
// texts between the boxes and the block.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <utility>

#include "app/Principal.h"
#include "app/focus_tracker.h"
#include "app/lamp.h"
#include "app/messages.h"
#include "app/module_messages.h"
#include "app/qt_text.h"
#include "app/setting_changes.h"
#include "app/setting_widgets.h"
#include "app/translation.h"
#include "monitor/idle_period.h"
#include "session/session.h"
#include "settings/entry_check.h"
#include "settings/number_text.h"
#include "settings/option_flags.h"
#include "settings/settings_table.h"
#include "settings/settings_values.h"
#include "settings_file/settings_overlay.h"
#include "ui_MainForm.h"

namespace zelk {

QLineEdit* TMainForm::Edit(SettingIndex setting) const {
  return EditOf(*this, setting);
}

void TMainForm::SettingEnter(QWidget* control) {
  if (CheckedSettingOf(control) == nullptr) return;
  auto* edit = qobject_cast<QLineEdit*>(control);
  SavedText = edit->text();
  saved_for_ = edit;
}

void TMainForm::SettingExit(QWidget* control) {
  if (const SettingRow* row = CheckedSettingOf(control)) {
    CheckSetting(*qobject_cast<QLineEdit*>(control), *row, false);
  }
}

bool TMainForm::CheckFocusedSetting() {
  QWidget* focused = focusWidget();
  if (focused == nullptr || !focused->isEnabled()) return true;
  const SettingRow* row = CheckedSettingOf(focused);
  return row == nullptr || CheckSetting(*qobject_cast<QLineEdit*>(focused), *row, true);
}

QString TMainForm::TextToPutBack(const QLineEdit& edit, const SettingRow& row) const {
  // The text saved on entering this box; a box checked without having been
  // entered (its window was not the active one) goes back to what it was
  // filled with, never to another box's text.
  if (saved_for_ == &edit) return SavedText;
  return filled_ ? ToQString(DecodeSetting(row, *filled_, DecimalSeparator()))
                 : ToQString(row.default_text);
}

bool TMainForm::CheckSetting(QLineEdit& edit, const SettingRow& row, bool naming) {
  const char separator = DecimalSeparator();
  const std::string text = edit.text().toStdString();
  const std::string limit_text = ui_->limite_corr->text().toStdString();
  const double limit = ParseDecimal(limit_text, separator).value_or(std::nan(""));

  switch (CheckEntry(row, text, separator, limit)) {
    case EntryVerdict::conversion_failure: {
      QString message = TranslatedMessage(
          naming ? NotASettingValueMessage(row, text, row.entry == NumberKind::integer)
                 : std::string(kIncorrectValueMessage));
      // "40.5" where the user's separator is a comma: say which one is expected.
      const std::string hint =
          !naming && row.entry == NumberKind::decimal ? DecimalSeparatorHint(text) : std::string();
      if (!hint.empty()) message += QLatin1Char('\n') + TranslatedMessage(hint);
      messages_.Inform(message, Translated("Settings", kIncorrectValueTitle));
      edit.setText(TextToPutBack(edit, row));
      return false;
    }
    case EntryVerdict::range_failure:
      messages_.Inform(Translated("Settings", row.range_message),
                       Translated("Settings", kRangeMessageTitle));
      edit.setText(TextToPutBack(edit, row));
      return false;
    case EntryVerdict::accepted:
      break;
  }
  // A lower correction limit pulls the start mix down with it, never up.
  if (row.id == kLimiteCorr &&
      LimitPullsStartMix(ui_->porc_mistura->text().toStdString(), limit_text, separator)) {
    ui_->porc_mistura->setText(ui_->limite_corr->text());
  }
  return true;
}

void TMainForm::ApplyOption(SettingIndex option) {
  const bool checked = CheckBoxOf(*this, option)->isChecked();
  WorkingFlags = WithFlag(WorkingFlags, kSettings[option].mask, checked);
  for (QWidget* widget : WidgetsEnabledBy(*this, option)) widget->setEnabled(checked);
}

void TMainForm::heat_enClick() {
  ApplyOption(kHeatEn);
}
void TMainForm::sonda_enClick() {
  ApplyOption(kSondaEn);
}
void TMainForm::acel_rapida_enClick() {
  ApplyOption(kAcelRapidaEn);
}

void TMainForm::banda_largaClick() {
  const bool wide_band = ui_->banda_larga->isChecked();
  const SettingRow& lambda = kSettings[kValorLambda];
  UnitLabelOf(*this, lambda.id)->setText(RowText(lambda, UnitCaption(lambda, wide_band)));
  WorkingFlags = WithFlag(WorkingFlags, kSettings[kBandaLarga].mask, wide_band);
}

void TMainForm::ShowSettings(const SettingsBlock& block) {
  const char separator = DecimalSeparator();
  filled_ = block;
  ui_->rpm_cal->setText(QStringLiteral("1"));
  WorkingFlags = block[kFlagsOffset];
  for (SettingIndex setting : kReadOrder) {
    const SettingRow& row = kSettings[setting];
    switch (row.kind) {
      case SettingKind::edit:
        Edit(setting)->setText(ToQString(DecodeSetting(row, block, separator)));
        break;
      case SettingKind::idle_rpm:
        Edit(setting)->setText(ToQString(DecodeIdleRpm(block, separator)));
        break;
      case SettingKind::option:
        // Each box's handler runs on a change of state; one that enables
        // boxes runs again, so they follow the box whatever it was.
        CheckBoxOf(*this, setting)->setChecked(OptionChecked(block, setting));
        if (IsNeeded(setting)) ApplyOption(setting);
        break;
    }
  }
  ShowLamps(block[kFlagsOffset]);
}

void TMainForm::ShowLamps(std::uint8_t flags) {
  for (std::size_t lamp = 0; lamp < kStatusLamps.size(); ++lamp) {
    LampOf(*this, lamp)->setGreen((flags & kStatusLamps[lamp].mask) != 0);
  }
}

void TMainForm::lerClick() {
  PollPause pause(poll_, PollPause::Then::as_before);
  if (HoldsPrepared()) {
    // Settings prepared at the desk are never replaced, nor written, without
    // the technician's answer.
    switch (AskAboutPrepared()) {
      case PreparedAnswer::cancel:
        return;
      case PreparedAnswer::write:
        if (WritePrepared()) pause.Failed();
        return;
      case PreparedAnswer::read:
        break;
    }
  } else if (!MayDiscardEdits()) {
    return;
  }
  const ReadShown read = ReadAndShow();
  // A settings read that failed says so in its box; when the snapshot failed
  // too, no poll follows it.
  if (!read.settings && !read.live) pause.Failed();
  if (read.settings) RecordReadOnBench(*last_read_);
}

TMainForm::ReadShown TMainForm::ReadAndShow() {
  // The box of a failed read shows before the snapshot is asked for, as ever.
  const Result<SettingsValues> read = session_.ReadSettingsBlock();
  if (read.ok()) {
    ShowModuleRead(read.value.block);
  } else {
    ReportFailure(read.failure);
    ui_->gravar->setEnabled(false);
  }
  return {read.ok(), ReadLiveSnapshot()};
}

void TMainForm::ShowModuleRead(const SettingsBlock& block) {
  ShowSettings(block);
  shown_module_ = block;
  last_read_ = block;
  read_since_config_ = true;
  opened_version_.clear();
  opened_file_.clear();
  prepared_.reset();
  ShowPreparedStatus();
  ui_->gravar->setEnabled(true);
  ui_->prog->setEnabled(true);
  SetFileActionsEnabled(true);
  UpdateChangedMarks();
}

bool TMainForm::ReadLiveSnapshot() {
  const Result<InstantSample> instant = session_.ReadInstantBlock();
  if (!instant.ok()) return false;
  ShowInstantSample(instant.value);
  poll_.Run();
  ui_->sync->setGreen(true);
  return true;
}

void TMainForm::ShowInstantSample(const InstantSample& sample) {
  const InstantTexts texts = FormatInstantSample(sample, DecimalSeparator());
  ui_->atual_temp->setText(ToQString(texts.temp));
  ui_->atual_map->setText(ToQString(texts.map));
  ui_->atual_lambda->setText(ToQString(texts.lambda));
  ui_->atual_corr->setText(ToQString(texts.corr));
}

namespace {

void CopyBytes(const SettingsBlock& from, std::size_t offset, std::size_t width,
               SettingsBlock& to) {
  std::copy_n(from.begin() + static_cast<std::ptrdiff_t>(offset), width,
              to.begin() + static_cast<std::ptrdiff_t>(offset));
}

// What the module holds now, with the settings in which the window differs
// from the module as last read: what the technician changed goes, the rest
// follows the module even where it changed behind the window's back.
SettingsBlock ChangesOver(const SettingsBlock& module, const SettingsBlock& as_read,
                          const SettingsBlock& window) {
  SettingsBlock block = module;
  const auto differs = [&](std::size_t offset, std::size_t width) {
    return !std::equal(window.begin() + static_cast<std::ptrdiff_t>(offset),
                       window.begin() + static_cast<std::ptrdiff_t>(offset + width),
                       as_read.begin() + static_cast<std::ptrdiff_t>(offset));
  };
  const auto take_if_changed = [&](std::size_t offset, std::size_t width) {
    if (differs(offset, width)) CopyBytes(window, offset, width, block);
  };
  for (const SettingRow& row : kSettings) {
    if (row.kind != SettingKind::option) {
      take_if_changed(row.offset, row.width);
    } else if (((window[row.offset] ^ as_read[row.offset]) & row.mask) != 0) {
      block[row.offset] =
          WithFlag(block[row.offset], row.mask, (window[row.offset] & row.mask) != 0);
    }
  }
  // The start mix may not lie above the correction limit the module will
  // hold: one changed without the other (or the module's limit changed behind
  // the window's back) lowers the mix to the limit, where that is a mix the
  // entry check allows; else the module's own mix stays.
  const SettingRow& mix = kSettings[kPorcMistura];
  const SettingRow& limit = kSettings[kLimiteCorr];
  if (block[mix.offset] > block[limit.offset]) {
    SettingsBlock lowered = block;
    lowered[mix.offset] = block[limit.offset];
    block[mix.offset] =
        InSettingRange(mix, SettingValue(mix, lowered), SettingValue(limit, lowered))
            ? lowered[mix.offset]
            : module[mix.offset];
  }
  return block;
}

}  // namespace

bool TMainForm::EditsPending() const {
  if (!filled_) return false;
  const char separator = DecimalSeparator();
  for (const SettingRow& row : kSettings) {
    bool as_filled = true;
    switch (row.kind) {
      case SettingKind::edit:
        as_filled = Edit(row.id)->text() == ToQString(DecodeSetting(row, *filled_, separator));
        break;
      case SettingKind::idle_rpm:
        as_filled = Edit(row.id)->text() == ToQString(DecodeIdleRpm(*filled_, separator)) &&
                    ui_->rpm_cal->text() == QStringLiteral("1");
        break;
      case SettingKind::option:
        as_filled = (WorkingFlags & row.mask) == ((*filled_)[row.offset] & row.mask);
        break;
    }
    if (!as_filled) return true;
  }
  return false;
}

bool TMainForm::IdleRpmChangedFrom(const SettingsBlock& read) const {
  // By its bytes: the same speed shows as another number under another
  // calibration factor. As filled, it keeps the bytes it was filled from (a
  // period off the RPM grid need not survive being shown and typed).
  const SettingRow& row = kSettings[kRpmAdj];
  const auto idle_bytes = [&row](const SettingsBlock& block) {
    return std::make_pair(block[row.offset], block[row.offset + 1]);
  };
  const char separator = DecimalSeparator();
  const QString rpm = Edit(row.id)->text();
  const QString factor = ui_->rpm_cal->text();
  if (filled_ && rpm == ToQString(DecodeIdleRpm(*filled_, separator)) &&
      factor == QStringLiteral("1")) {
    return idle_bytes(*filled_) != idle_bytes(read);
  }
  SettingsBlock rpm_block = read;
  const bool rpm_ok =
      EncodeIdleRpm(rpm.toStdString(), factor.toStdString(), separator, rpm_block).ok;
  return !rpm_ok || idle_bytes(rpm_block) != idle_bytes(read);
}

std::optional<SettingsBlock> TMainForm::WindowSettings() {
  const char separator = DecimalSeparator();
  // Before the first fill the boxes hold the window's defaults: all encoded.
  const SettingsBlock base = filled_.value_or(session_.settings_block());
  const auto as_filled = [this](const QString& text, const std::string& filled_text) {
    return filled_.has_value() && text == ToQString(filled_text);
  };
  SettingsBlock block = base;
  bool limits_encoded = false;
  for (SettingIndex setting : kWriteOrder) {
    const SettingRow& row = kSettings[setting];
    EncodeResult result;
    switch (row.kind) {
      case SettingKind::edit: {
        const QString text = Edit(setting)->text();
        if (as_filled(text, filled_ ? DecodeSetting(row, *filled_, separator) : std::string())) {
          CopyBytes(base, row.offset, row.width, block);
          continue;
        }
        result = EncodeSetting(row, text.toStdString(), separator, block);
        limits_encoded = limits_encoded || setting == kPorcMistura || setting == kLimiteCorr;
        break;
      }
      case SettingKind::idle_rpm: {
        const QString rpm = Edit(setting)->text();
        const QString factor = ui_->rpm_cal->text();
        if (as_filled(rpm, filled_ ? DecodeIdleRpm(*filled_, separator) : std::string()) &&
            factor == QStringLiteral("1")) {
          CopyBytes(base, row.offset, row.width, block);
          continue;
        }
        result = EncodeIdleRpm(rpm.toStdString(), factor.toStdString(), separator, block);
        break;
      }
      case SettingKind::option:
        block[row.offset] = WithFlag(block[row.offset], row.mask, (WorkingFlags & row.mask) != 0);
        break;
    }
    if (!result.ok) {
      messages_.Error(TranslatedMessage(result.error));
      return std::nullopt;
    }
  }
  if (limits_encoded) KeepStartMixWithinLimit(block);
  return block;
}

std::optional<SettingsBlock> TMainForm::ReadModuleBlock() {
  const Result<SettingsValues> read = session_.ReadSettingsBlock();
  if (read.ok()) return read.value.block;
  ReportFailure(read.failure);
  return std::nullopt;
}

std::optional<SettingsBlock> TMainForm::ReadBeforeWrite() {
  const std::optional<SettingsBlock> block = ReadModuleBlock();
  if (!block) return std::nullopt;
  last_read_ = block;
  UpdateChangedMarks();
  return block;
}

std::optional<SettingsBlock> TMainForm::ModuleSettings() {
  if (read_since_config_ && last_read_) return last_read_;
  return ReadModuleBlock();
}

bool TMainForm::ReadAfterProgram() {
  if (!last_read_ || !session_.connected()) return true;
  const std::optional<SettingsBlock> read = ReadModuleBlock();
  if (!read) return false;
  const SettingsBlock& block = *read;
  if (EditsPending()) {
    // The technician's changes stay in the boxes; only what the module
    // itself sets is shown.
    ShowLamps(block[kFlagsOffset]);
  } else {
    ShowSettings(block);
    shown_module_ = block;
  }
  last_read_ = block;
  UpdateChangedMarks();
  return true;
}

int TMainForm::UnwrittenChanges() {
  if (!last_read_) return 0;
  UpdateChangedMarks();
  int changed = 0;
  const auto count = [&changed](const QWidget* widget) {
    changed += widget->property("changed").toBool() ? 1 : 0;
  };
  for (const SettingRow& row : kSettings) count(BoxOf(*this, row.id));
  return changed;
}

bool TMainForm::MayDiscardEdits() {
  const int changed = UnwrittenChanges();
  if (changed == 0) return true;
  return messages_.AskYesNoDefaultNo(
      tr("%n changed setting(s) have not been written to the module and will be lost. Go on?",
         nullptr, changed),
      tr("Warning"));
}

bool TMainForm::VerifyTaken(const SettingsBlock& sent, const SettingsBlock& held,
                            const QString& intro) {
  if (SameSettings(sent, held)) return true;
  QString text = NotTakenLines(ShownDifferences(sent, held, DecimalSeparator()));
  if (!intro.isEmpty()) text = intro + QLatin1Char('\n') + text;
  messages_.Inform(text, Translated("Settings", kRangeMessageTitle));
  return false;
}

void TMainForm::gravarClick() {
  if (!CheckFocusedSetting()) return;  // nothing asked, nothing sent
  // No live frame between the question and the write; afterwards the poll
  // runs, whether or not it ran before.
  PollPause pause(poll_, PollPause::Then::run);
  // The settings are taken before the question: a text that cannot be
  // written is refused up front and nothing is asked.
  const std::optional<SettingsBlock> settings = WindowSettings();
  bool failed = false;
  if (settings && MayWriteVersion(opened_version_, opened_file_, tr("Warning")) &&
      AskToWrite(*settings)) {
    // The read back follows the "Program OK" box, so Session's write alone,
    // after a restore point of what the module holds: without one, nothing
    // is written.
    // The technician's changes are the settings in which the window differs
    // from the module as the boxes last showed it (a later read before a
    // write or after a program does not move that baseline).
    const std::optional<SettingsBlock> as_read = shown_module_;
    const std::optional<SettingsBlock> module = ReadBeforeWrite();
    failed = !module;
    if (module) {
      const SettingsBlock encoded =
          as_read ? ChangesOver(*module, *as_read, *settings) : OverlaySettings(*module, *settings);
      if (SaveRestorePoint(*module, SaveReason::before_write)) {
        const Outcome written = session_.WriteSettings(encoded);
        failed = !written.ok();
        if (written.ok()) {
          InformProgramOk(messages_);
          const ReadShown read_back = ReadAndShow();
          failed = !read_back.settings || !read_back.live;
          if (read_back.settings) {
            RecordReadBackOnBench(*last_read_);
            VerifyTaken(encoded, *last_read_);
          }
        } else {
          ReportFailure(written.failure);
        }
      }
    }
  }
  if (failed) pause.Failed();
}

bool TMainForm::AskToWrite(const SettingsBlock& settings) {
  QString question = tr("Confirm Program Data !!!!");
  if (last_read_) {
    const SettingsBlock to_write = shown_module_
                                       ? ChangesOver(*last_read_, *shown_module_, settings)
                                       : OverlaySettings(*last_read_, settings);
    const QString changes =
        ChangeLines(ShownDifferences(*last_read_, to_write, DecimalSeparator()));
    if (!changes.isEmpty()) question += QStringLiteral("\n\n") + changes;
  }
  return messages_.AskYesNo(question, tr("Warning"));
}

}  // namespace zelk
