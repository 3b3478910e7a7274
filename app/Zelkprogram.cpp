// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Zelkprogram.h"

#include <QPushButton>

#include "app/decimal_separator.h"
#include "app/messages.h"
#include "app/qt_text.h"
#include "app/window_placement.h"
#include "monitor/poll_schedule.h"
#include "session/session.h"
#include "ui_ProgramZelkForm.h"

namespace zelk {

namespace {

// Three polls in a row without an answer (1.5 s) mean the module is gone or
// has stopped answering, not one lost frame.
constexpr int kSilentTicks = 3;

}  // namespace

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
  ui_->silent_text->setVisible(false);
  timer1_.setInterval(kPollIntervalMs);
  connect(&timer1_, &QTimer::timeout, this, &TProgramZelkForm::Timer1Timer);
  connect(ui_->button_Cancel, &QPushButton::clicked, this, &TProgramZelkForm::button_CancelClick);
}

TProgramZelkForm::~TProgramZelkForm() = default;

void TProgramZelkForm::HidePrompts() {
  ui_->mensagem2->setVisible(false);
  ui_->mensagem3->setVisible(false);
}

int TProgramZelkForm::exec() {
  silent_ticks_ = 0;
  lost_ = false;
  ui_->silent_text->setVisible(false);
  return QDialog::exec();
}

void TProgramZelkForm::Timer1Timer() {
  const ProgramProgress progress = session_.ReadProgramProgress();
  const bool answered = progress.instant.ok() && progress.status.ok();
  silent_ticks_ = answered ? 0 : silent_ticks_ + 1;
  if (answered || silent_ticks_ >= kSilentTicks) {
    // Said while it lasts; Cancel stays, and tries the abort.
    lost_ = !answered;
    ui_->silent_text->setVisible(lost_);
  }
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
  if (answered) {
    lost_ = false;
    messages_.Inform(tr("Programming Aborted!"), tr("Cancel"));
  } else if (lost_) {
    messages_.Inform(tr("The abort did not reach the module: it may still be running the program."),
                     tr("Cancel"));
  }
  done(QDialog::Rejected);
}

}  // namespace zelk
