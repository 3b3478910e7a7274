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
#include "settings/number_text.h"
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
  if (outcome.ok()) {
    InformProgramOk(messages_);
  } else {
    InformFailure(messages_, outcome.failure);
  }
}

void TProgramForm::StartEngineProgram(EngineProgram program, const QString& title) {
  const Outcome started = session_.StartProgram(program);
  if (!started.ok()) {
    InformFailure(messages_, started.failure);
    return;
  }
  progress_->ui().mensagem->setText(title);
  progress_->program = program;
  progress_->Timer1().start();
  progress_->exec();
}

void TProgramForm::button_OKClick() {
  // The correction limit bounds every mixture byte; a text that is not a
  // number stops here, before the prompt, and the dialog stays open.
  const std::string limit_text = main_form_.ui().limite_corr->text().toStdString();
  const std::optional<double> limit = ParseDecimal(limit_text, main_form_.DecimalSeparator());
  if (!limit) {
    messages_.Error(TranslatedMessage(NotAValidNumberMessage(limit_text, false)));
    return;
  }

  if (messages_.AskYesNo(tr("Confirm Program Zelk !!!!"), tr("Warning"))) {
    switch (ProgramType()) {
      case 0:
        // The session's block takes the byte too, so the next Write keeps it.
        ReportOneRequest(session_.WriteMixture(MixtureByte(MixValue(), *limit)));
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

void TProgramForm::button_CancelClick() {
  close();
}

}  // namespace zelk
