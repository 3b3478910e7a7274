// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's settings handlers: checked entry, the option boxes, Read
// and Write. The arithmetic is in settings/ and monitor/; this file moves
// texts between the boxes and the block.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <cmath>

#include "app/Principal.h"
#include "app/focus_tracker.h"
#include "app/lamp.h"
#include "app/messages.h"
#include "app/module_messages.h"
#include "app/qt_text.h"
#include "app/translation.h"
#include "monitor/idle_period.h"
#include "session/session.h"
#include "settings/entry_check.h"
#include "settings/number_text.h"
#include "settings/option_flags.h"
#include "settings/settings_table.h"
#include "ui_MainForm.h"

namespace zelk {

QLineEdit* TMainForm::Edit(std::string_view name) const {
  return findChild<QLineEdit*>(ToQString(name));
}

void TMainForm::SettingEnter(QWidget* control) {
  auto* edit = qobject_cast<QLineEdit*>(control);
  if (edit == nullptr || FindSetting(edit->objectName().toStdString()) == nullptr) return;
  SavedText = edit->text();
}

void TMainForm::SettingExit(QWidget* control) {
  auto* edit = qobject_cast<QLineEdit*>(control);
  if (edit == nullptr) return;
  if (const SettingRow* row = FindSetting(edit->objectName().toStdString())) {
    CheckSetting(*edit, *row, false);
  }
}

bool TMainForm::CheckFocusedSetting() {
  auto* edit = qobject_cast<QLineEdit*>(focusWidget());
  if (edit == nullptr || !edit->isEnabled()) return true;
  const SettingRow* row = FindSetting(edit->objectName().toStdString());
  return row == nullptr || CheckSetting(*edit, *row, true);
}

bool TMainForm::CheckSetting(QLineEdit& edit, const SettingRow& row, bool naming) {
  const char separator = DecimalSeparator();
  const std::string text = edit.text().toStdString();
  const std::string limit_text = ui_->limite_corr->text().toStdString();
  const double limit = ParseDecimal(limit_text, separator).value_or(std::nan(""));

  switch (CheckEntry(row, text, separator, limit)) {
    case EntryVerdict::conversion_failure:
      messages_.Inform(TranslatedMessage(naming ? NotASettingValueMessage(
                                                      row, text, row.entry == NumberKind::integer)
                                                : std::string(kIncorrectValueMessage)),
                       Translated("Settings", kIncorrectValueTitle));
      edit.setText(SavedText);
      return false;
    case EntryVerdict::range_failure:
      messages_.Inform(Translated("Settings", row.range_message),
                       Translated("Settings", kRangeMessageTitle));
      edit.setText(SavedText);
      return false;
    case EntryVerdict::accepted:
      break;
  }
  // A lower correction limit pulls the start mix down with it, never up.
  if (row.name == "limite_corr" &&
      LimitPullsStartMix(ui_->porc_mistura->text().toStdString(), limit_text, separator)) {
    ui_->porc_mistura->setText(ui_->limite_corr->text());
  }
  return true;
}

void TMainForm::ApplyOption(std::size_t index) {
  const OptionBox& option = kOptionBoxes[index];
  auto* box = findChild<QCheckBox*>(ToQString(option.name));
  const bool checked = box->isChecked();
  WorkingFlags = WithFlag(WorkingFlags, option.mask, checked);
  for (std::string_view name : option.edits) Edit(name)->setEnabled(checked);
  for (std::string_view name : option.labels)
    findChild<QLabel*>(ToQString(name))->setEnabled(checked);
  for (std::string_view name : option.other_controls) {
    findChild<QWidget*>(ToQString(name))->setEnabled(checked);
  }
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
  ui_->Label20->setText(Translated("Settings", LambdaUnitCaption(wide_band)));
  WorkingFlags = WithFlag(WorkingFlags, kOptionBoxes[kBandaLarga].mask, wide_band);
}

void TMainForm::ShowSettings(const SettingsBlock& block) {
  const char separator = DecimalSeparator();
  ui_->rpm_cal->setText(QStringLiteral("1"));
  for (std::size_t index : kReadOrder) {
    const SettingRow& row = kSettingRows[index];
    Edit(row.name)->setText(ToQString(DecodeSetting(row, block, separator)));
  }
  const std::uint8_t flags = block[kFlagsOffset];
  WorkingFlags = flags;
  const auto has = [flags](OptionIndex option) { return (flags & kOptionBoxes[option].mask) != 0; };
  ui_->sonda_en->setChecked(has(kSondaEn));
  sonda_enClick();
  for (const StatusLamp& lamp : kStatusLamps) {
    findChild<Lamp*>(ToQString(lamp.name))->setGreen((flags & lamp.mask) != 0);
  }
  ui_->banda_larga->setChecked(has(kBandaLarga));  // its handler runs on a change
  ui_->acel_rapida_en->setChecked(has(kAcelRapidaEn));
  acel_rapida_enClick();
  ui_->heat_en->setChecked(has(kHeatEn));
  heat_enClick();
  ui_->rpm_adj->setText(ToQString(DecodeIdleRpm(block, separator)));
}

void TMainForm::lerClick() {
  // The box of a failed read shows before the snapshot is asked for, as ever.
  const Result<SettingsValues> read = session_.ReadSettingsBlock();
  if (read.ok()) {
    ShowSettings(read.value.block);
    last_read_ = read.value.block;
    ui_->gravar->setEnabled(true);
    ui_->prog->setEnabled(true);
    SetFileActionsEnabled(true);
    UpdateChangedMarks();
  } else {
    ReportFailure(read.failure);
    ui_->gravar->setEnabled(false);
  }

  const Result<InstantSample> instant = session_.ReadInstantBlock();
  if (instant.ok()) {
    ShowInstantSample(instant.value);
    timer_read_.start();
    ui_->sync->setGreen(true);
  }
}

void TMainForm::ShowInstantSample(const InstantSample& sample) {
  const InstantTexts texts = FormatInstantSample(sample, DecimalSeparator());
  ui_->atual_temp->setText(ToQString(texts.temp));
  ui_->atual_map->setText(ToQString(texts.map));
  ui_->atual_lambda->setText(ToQString(texts.lambda));
  ui_->atual_corr->setText(ToQString(texts.corr));
}

bool TMainForm::EncodeSettings(SettingsBytes block) {
  const char separator = DecimalSeparator();
  for (std::size_t step : kWriteOrder) {
    const EncodeResult result =
        step == kWriteIdleRpm
            ? EncodeIdleRpm(ui_->rpm_adj->text().toStdString(), ui_->rpm_cal->text().toStdString(),
                            separator, block)
            : EncodeSetting(kSettingRows[step], Edit(kSettingRows[step].name)->text().toStdString(),
                            separator, block);
    if (!result.ok) {
      messages_.Error(TranslatedMessage(result.error));
      return false;
    }
  }
  block[kFlagsOffset] = WorkingFlags;
  return true;
}

void TMainForm::gravarClick() {
  if (!CheckFocusedSetting()) return;  // nothing asked, nothing sent
  timer_read_.stop();                  // no live frame between the question and the write
  // Encoded into a copy before the question: a text that cannot be written
  // is refused up front and the session keeps what the module last gave.
  SettingsBlock encoded = session_.settings_block();
  if (EncodeSettings(encoded) &&
      messages_.AskYesNo(tr("Confirm Program Data !!!!"), tr("Warning"))) {
    // The read back follows the "Program OK" box, so Session's write alone,
    // after a restore point of what the module held: without one, nothing
    // is written.
    if (SaveRestorePoint(SaveReason::before_write)) {
      const Outcome written = session_.WriteSettings(encoded);
      if (written.ok()) {
        InformProgramOk(messages_);
        lerClick();
      } else {
        ReportFailure(written.failure);
      }
    }
  }
  timer_read_.start();
}

}  // namespace zelk
