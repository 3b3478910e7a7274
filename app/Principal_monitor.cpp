// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's live values and idle-RPM handlers.

#include <QLineEdit>
#include <QToolButton>

#include "app/Principal.h"
#include "app/lamp.h"
#include "app/messages.h"
#include "app/module_messages.h"
#include "app/qt_text.h"
#include "app/translation.h"
#include "monitor/idle_rpm.h"
#include "session/session.h"
#include "settings/number_text.h"
#include "ui_MainForm.h"

namespace zelk {

void TMainForm::Timer_ReadTimer() {
  const Result<LiveSample> polled = session_.Poll(ParseInteger(ui_->rpm_cal->text().toStdString()));
  if (polled.ok()) {
    const LiveTexts texts = FormatLiveSample(polled.value, DecimalSeparator());
    ui_->atual_temp->setText(ToQString(texts.temp));
    ui_->atual_map->setText(ToQString(texts.map));
    ui_->atual_lambda->setText(ToQString(texts.lambda));
    ui_->atual_corr->setText(ToQString(texts.corr));
    ui_->atual_rpm->setText(ToQString(texts.rpm));
    ui_->atual_inj->setText(ToQString(texts.inj));
    FeedLogAndChart(&polled.value);
    return;
  }
  poll_.StopAfterFailure();  // the Sync lamp goes red
  FeedLogAndChart(nullptr);  // a fail row, and the chart shows a gap
  ui_->gravar->setEnabled(false);
  ui_->prog->setEnabled(false);
  ReportFailure(polled.failure);
}

std::optional<int> TMainForm::WholeNumberIn(const QString& text) {
  const std::string raw = text.toStdString();
  const std::optional<std::int32_t> value = ParseInteger(raw);
  if (!value) messages_.Error(TranslatedMessage(NotAValidNumberMessage(raw, true)));
  return value;
}

void TMainForm::StepIdleRpm(RpmStep (*step)(int), std::string_view limit_message) {
  const std::optional<int> rpm = WholeNumberIn(ui_->rpm_adj->text());
  if (!rpm) return;
  const RpmStep result = step(*rpm);
  // The box first; the clamped value appears once it is closed.
  if (result.warn)
    messages_.Inform(Translated("Monitor", limit_message),
                     Translated("Monitor", kIdleRpmWarningTitle));
  ui_->rpm_adj->setText(QString::number(result.value));
}

void TMainForm::rpmdownClick() {
  StepIdleRpm(IdleRpmDown, kIdleRpmMinMessage);
}

void TMainForm::rpmupClick() {
  StepIdleRpm(IdleRpmUp, kIdleRpmMaxMessage);
}

void TMainForm::rpm_cal_buttonClick() {
  const std::optional<int> factor = WholeNumberIn(ui_->rpm_cal->text());
  if (!factor) return;
  const int next = NextCalibrationFactor(*factor);
  if (next == *factor) return;  // not one of 1, 2, 4, 8: nothing changes
  // The caption first, so a bad idle text still leaves the new factor shown.
  ui_->rpm_cal->setText(QString::number(next));
  const std::optional<int> rpm = WholeNumberIn(ui_->rpm_adj->text());
  if (!rpm) return;
  if (const std::optional<int> rescaled = RescaleIdleRpm(*factor, *rpm)) {
    ui_->rpm_adj->setText(QString::number(*rescaled));
  }
}

}  // namespace zelk
