// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Program.h"

#include <QRadioButton>
#include <array>
#include <utility>

#include "app/Zelkprogram.h"
#include "app/messages.h"
#include "app/module_messages.h"
#include "app/translation.h"
#include "app/window_placement.h"
#include "programming/mixture.h"
#include "ui_ProgramForm.h"
#include "ui_ProgramZelkForm.h"

namespace zelk {

TProgramForm::TProgramForm(Messages& messages, Session& session, CorrectionLimit correction_limit,
                           QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::ProgramForm>()),
      messages_(messages),
      session_(session),
      correction_limit_(std::move(correction_limit)) {
  ui_->setupUi(this);
  setFixedSize(size());
  PlaceOnScreen(*this, QPoint(411, 169));
  // Each button's id is its program.
  const std::array<std::pair<QRadioButton*, ProgramKind>, 4> types{{
      {ui_->prog_type_0, ProgramKind::mix},
      {ui_->prog_type_1, ProgramKind::reset},
      {ui_->prog_type_2, ProgramKind::rpm_lambda},
      {ui_->prog_type_3, ProgramKind::map},
  }};
  for (const auto& [button, kind] : types) prog_type_.addButton(button, static_cast<int>(kind));
  const std::array<QRadioButton*, 5> mixes{ui_->mix_values_0, ui_->mix_values_1, ui_->mix_values_2,
                                           ui_->mix_values_3, ui_->mix_values_4};
  for (int i = 0; i < 5; ++i) mix_values_.addButton(mixes[static_cast<std::size_t>(i)], i);
  connect(&prog_type_, &QButtonGroup::idClicked, this, [this](int) { prog_typeClick(); });
  connect(ui_->button_OK, &QPushButton::clicked, this, &TProgramForm::button_OKClick);
  connect(ui_->button_Cancel, &QPushButton::clicked, this, &TProgramForm::button_CancelClick);
}

TProgramForm::~TProgramForm() = default;

void TProgramForm::prog_typeClick() {
  ui_->mix_values->setEnabled(ProgramType() == ProgramKind::mix);
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

bool TProgramForm::Confirmed() {
  return messages_.AskYesNo(tr("Confirm Program Zelk !!!!"), tr("Warning")) &&
         (!before_program_ || before_program_());
}

void TProgramForm::RunEngineProgram(EngineProgram program) {
  ran_ = false;
  failed_ = false;
  aborted_ = false;
  if (Confirmed()) StartEngineProgram(program);
}

void TProgramForm::StartEngineProgram(EngineProgram program) {
  const Outcome started = session_.StartProgram(program);
  if (!started.ok()) {
    failed_ = true;
    InformFailure(messages_, started.failure);
    return;
  }
  ran_ = true;
  progress_->ui().mensagem->setText(program == EngineProgram::rpm_lambda
                                        ? tr("RPM/Lambda Programming")
                                        : tr("MAP Sensor Programming"));
  progress_->program = program;
  progress_->Timer1().start();
  const int ended = progress_->exec();
  failed_ = progress_->lost();
  aborted_ = ended == QDialog::Rejected && !failed_;
}

void TProgramForm::button_OKClick() {
  ran_ = false;
  failed_ = false;
  aborted_ = false;
  if (Confirmed()) {
    switch (ProgramType()) {
      case ProgramKind::mix:
        WriteMixture();
        break;
      case ProgramKind::reset:
        ReportOneRequest(session_.ResetModule());
        break;
      case ProgramKind::rpm_lambda:
        StartEngineProgram(EngineProgram::rpm_lambda);
        break;
      case ProgramKind::map:
        StartEngineProgram(EngineProgram::map);
        break;
    }
  }
  close();
}

void TProgramForm::WriteMixture() {
  // The module bounds the correction by the limit it holds, not by a box the
  // technician may have changed and not written (or never filled by a Read).
  const std::optional<double> limit = correction_limit_();
  if (!limit) {
    failed_ = true;
    return;
  }
  // The session's block takes the byte too, so the next Write keeps it.
  ReportOneRequest(session_.WriteMixture(MixtureByte(MixValue(), *limit)));
}

void TProgramForm::button_CancelClick() {
  close();
}

}  // namespace zelk
