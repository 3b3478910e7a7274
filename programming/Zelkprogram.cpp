#include "programming/Zelkprogram.h"

#include <QPushButton>

#include "app/decimal_separator.h"
#include "app/messages.h"
#include "app/window_placement.h"
#include "link/Porta_serial.h"
#include "link/requests.h"
#include "monitor/live_blocks.h"
#include "ui_ProgramZelkForm.h"

namespace zelk {

TProgramZelkForm::TProgramZelkForm(Messages& messages, TForm2& form2, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::ProgramZelkForm>()),
      messages_(messages),
      form2_(form2) {
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
  // The payloads of both reads are not significant; start each tick clean.
  work_.fill(0);
  if (form2_.ExchangeFrame(requests::kInstantBlock, work_)) {
    const InstantTexts texts = DecodeInstantBlock(work_, DecimalSeparatorOf(locale()));
    ui_->atual_temp->setText(QString::fromStdString(texts.temp));
    ui_->atual_map->setText(QString::fromStdString(texts.map));
    ui_->atual_lambda->setText(QString::fromStdString(texts.lambda));
  }
  if (!form2_.ExchangeFrame(requests::kProgramStatus, work_)) return;
  const std::uint8_t status = work_[0];
  if (program_mode == 0) {
    if ((status & kStatusRpmRunning) == 0) Finish();
    return;
  }
  if ((status & kStatusMapRunning) == 0) {
    Finish();
  } else if ((status & kStatusMapPrompt) != 0) {
    // The two prompts flash together: shown on one tick, hidden on the next.
    ui_->mensagem2->setVisible(ui_->mensagem2->isHidden());
    ui_->mensagem3->setVisible(ui_->mensagem3->isHidden());
  }
}

void TProgramZelkForm::Finish() {
  timer1_.stop();  // ticks keep coming inside the box otherwise
  HidePrompts();
  messages_.Inform(QStringLiteral("Programming Completed!"), QStringLiteral("Finished"));
  done(QDialog::Accepted);
}

void TProgramZelkForm::button_CancelClick() {
  timer1_.stop();
  std::array<std::uint8_t, 1> abort{static_cast<std::uint8_t>(ProgramControl::reset_or_abort)};
  const bool answered = form2_.ExchangeFrame(requests::kProgramControl, abort);
  HidePrompts();
  if (answered) messages_.Inform(QStringLiteral("Programming Aborted!"), QStringLiteral("Cancel"));
  done(QDialog::Rejected);
}

}  // namespace zelk
