// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Program.h"

#include <QRadioButton>
#include <array>

#include "app/Principal.h"
#include "app/Zelkprogram.h"
#include "app/messages.h"
#include "app/module_messages.h"
#include "app/translation.h"
#include "app/window_placement.h"
#include "programming/mixture.h"
#include "settings/settings_table.h"
#include "settings/settings_values.h"
#include "ui_MainForm.h"
#include "ui_ProgramForm.h"
#include "ui_ProgramZelkForm.h"

namespace zelk {

TProgramForm::TProgramForm(Messages& messages, TMainForm& main_form, Session& session,
                           QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::ProgramForm>()),
      messages_(messages),
      main_form_(main_form),
      session_(session) {
  ui_->setupUi(this);
  setFixedSize(size());
  PlaceOnScreen(*this, QPoint(411, 169));
  const std::array<QRadioButton*, 4> types{ui_->prog_type_0, ui_->prog_type_1, ui_->prog_type_2,
                                           ui_->prog_type_3};
  for (int i = 0; i < 4; ++i) prog_type_.addButton(types[static_cast<std::size_t>(i)], i);
  const std::array<QRadioButton*, 5> mixes{ui_->mix_values_0, ui_->mix_values_1, ui_->mix_values_2,
                                           ui_->mix_values_3, ui_->mix_values_4};
  for (int i = 0; i < 5; ++i) mix_values_.addButton(mixes[static_cast<std::size_t>(i)], i);
  connect(&prog_type_, &QButtonGroup::idClicked, this, [this](int) { prog_typeClick(); });
  connect(ui_->button_OK, &QPushButton::clicked, this, &TProgramForm::button_OKClick);
  connect(ui_->button_Cancel, &QPushButton::clicked, this, &TProgramForm::button_CancelClick);
}

TProgramForm::~TProgramForm() = default;

void TProgramForm::prog_typeClick() {
  ui_->mix_values->setEnabled(ProgramType() == 0);
}

void TProgramForm::ReportOneRequest(const Outcome& outcome) {
  ran_ = ran_ || outcome.ok();
  failed_ = failed_ || !outcome.ok();
  if (outcome.ok()) {
    InformProgramOk(messages_);
  } else {
    InformFailure(messages_, outcome.failure);
  }
}

void TProgramForm::StartEngineProgram(EngineProgram program, const QString& title) {
  const Outcome started = session_.StartProgram(program);
  if (!started.ok()) {
    failed_ = true;
    InformFailure(messages_, started.failure);
    return;
  }
  ran_ = true;
  progress_->ui().mensagem->setText(title);
  progress_->program = program;
  progress_->Timer1().start();
  progress_->exec();
  failed_ = progress_->lost();
}

void TProgramForm::button_OKClick() {
  ran_ = false;
  failed_ = false;
  if (messages_.AskYesNo(tr("Confirm Program Zelk !!!!"), tr("Warning"))) {
    switch (ProgramType()) {
      case 0:
        WriteMixture();
        break;
      case 1:
        ReportOneRequest(session_.ResetModule());
        break;
      case 2:
        StartEngineProgram(EngineProgram::rpm_lambda, tr("RPM/Lambda Programming"));
        break;
      case 3:
        StartEngineProgram(EngineProgram::map, tr("MAP Sensor Programming"));
        break;
      default:
        break;
    }
  }
  close();
}

void TProgramForm::WriteMixture() {
  // The module bounds the correction by the limit it holds, not by a box the
  // technician may have changed and not written (or never filled by a Read).
  const std::optional<SettingsBlock> module = main_form_.ModuleSettings();
  if (!module) {
    failed_ = true;
    return;
  }
  const double limit = SettingValue(kSettings[kLimiteCorr], *module);
  // The session's block takes the byte too, so the next Write keeps it.
  ReportOneRequest(session_.WriteMixture(MixtureByte(MixValue(), limit)));
}

void TProgramForm::button_CancelClick() {
  close();
}

}  // namespace zelk
