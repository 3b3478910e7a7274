// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Zelkprogram.h"

#include <QPushButton>

#include "app/decimal_separator.h"
#include "app/messages.h"
#include "app/qt_text.h"
#include "app/window_placement.h"
#include "session/session.h"
#include "ui_ProgramZelkForm.h"

namespace zelk {

TProgramZelkForm::TProgramZelkForm(Messages& messages, Session& session, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::ProgramZelkForm>()),
      messages_(messages),
      session_(session) {
  ui_->setupUi(this);
  setFixedSize(size());
  PlaceOnScreen(*this, QPoint(463, 225));
  // A dialog without title-bar buttons: only Cancel or the program's end close it.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  HidePrompts();
  timer1_.setInterval(500);
  connect(&timer1_, &QTimer::timeout, this, &TProgramZelkForm::Timer1Timer);
  connect(ui_->button_Cancel, &QPushButton::clicked, this, &TProgramZelkForm::button_CancelClick);
}

TProgramZelkForm::~TProgramZelkForm() = default;

void TProgramZelkForm::HidePrompts() {
  ui_->mensagem2->setVisible(false);
  ui_->mensagem3->setVisible(false);
}

void TProgramZelkForm::Timer1Timer() {
  const ProgramProgress progress = session_.ReadProgramProgress();
  if (progress.instant.ok()) {
    const InstantTexts texts =
        FormatInstantSample(progress.instant.value, DecimalSeparatorOf(locale()));
    ui_->atual_temp->setText(ToQString(texts.temp));
    ui_->atual_map->setText(ToQString(texts.map));
    ui_->atual_lambda->setText(ToQString(texts.lambda));
  }
  if (!progress.status.ok()) return;
  const std::uint8_t status = progress.status.value;
  if (!ProgramRunning(program, status)) {
    Finish();
  } else if (ProgramWantsPrompts(program, status)) {
    // The two prompts flash together: shown on one tick, hidden on the next.
    ui_->mensagem2->setVisible(ui_->mensagem2->isHidden());
    ui_->mensagem3->setVisible(ui_->mensagem3->isHidden());
  }
}

void TProgramZelkForm::Finish() {
  timer1_.stop();  // ticks keep coming inside the box otherwise
  HidePrompts();
  messages_.Inform(tr("Programming Completed!"), tr("Finished"));
  done(QDialog::Accepted);
}

void TProgramZelkForm::button_CancelClick() {
  timer1_.stop();
  const bool answered = session_.AbortProgram().ok();
  HidePrompts();
  if (answered) messages_.Inform(tr("Programming Aborted!"), tr("Cancel"));
  done(QDialog::Rejected);
}

}  // namespace zelk
