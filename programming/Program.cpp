#include "programming/Program.h"

#include <QRadioButton>
#include <array>

#include "app/Principal.h"
#include "app/messages.h"
#include "app/window_placement.h"
#include "link/Porta_serial.h"
#include "link/requests.h"
#include "programming/Zelkprogram.h"
#include "programming/mixture.h"
#include "settings/number_text.h"
#include "settings/settings_block.h"
#include "ui_MainForm.h"
#include "ui_ProgramForm.h"
#include "ui_ProgramZelkForm.h"

namespace zelk {

TProgramForm::TProgramForm(Messages& messages, TMainForm& main_form, TForm2& form2, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::ProgramForm>()),
      messages_(messages),
      main_form_(main_form),
      form2_(form2) {
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

bool TProgramForm::Send(std::uint8_t command, std::uint16_t address, std::uint8_t payload) {
  std::array<std::uint8_t, 1> buffer{payload};
  return form2_.ExchangeFrame(command, address, 1, buffer);
}

void TProgramForm::ReportOneRequest(bool ok) {
  if (ok) {
    messages_.Inform(QStringLiteral("Program OK"), QStringLiteral("Program"));
  } else {
    messages_.Inform(QStringLiteral("Communication Fail"), QStringLiteral("Fail"));
  }
}

void TProgramForm::StartEngineProgram(std::uint8_t payload, const QString& title, int mode) {
  if (!Send(requests::kProgramControl.command, requests::kProgramControl.address, payload)) {
    messages_.Inform(QStringLiteral("Communication Fail"), QStringLiteral("Fail"));
    return;
  }
  progress_->ui().mensagem->setText(title);
  progress_->program_mode = mode;
  progress_->Timer1().start();
  progress_->exec();
}

void TProgramForm::button_OKClick() {
  // The correction limit bounds every mixture byte; a text that is not a
  // number stops here, before the prompt, and the dialog stays open.
  const std::string limit_text = main_form_.ui().limite_corr->text().toStdString();
  const std::optional<double> limit = ParseDecimal(limit_text, main_form_.DecimalSeparator());
  if (!limit) {
    messages_.Error(QString::fromStdString(NotAValidNumberMessage(limit_text, false)));
    return;
  }

  if (messages_.AskYesNo(QStringLiteral("Confirm Program Zelk !!!!"), QStringLiteral("Warning"))) {
    switch (ProgramType()) {
      case 0: {
        const std::uint8_t mixture = MixtureByte(MixValue(), *limit);
        const bool ok =
            Send(requests::kWriteMixture.command, requests::kWriteMixture.address, mixture);
        // The module now holds this byte: the main window's block must carry
        // it too, or its next Write would put the old one back.
        if (ok) main_form_.SettingsBlock[kMixtureOffset] = mixture;
        ReportOneRequest(ok);
        break;
      }
      case 1:
        ReportOneRequest(Send(requests::kProgramControl.command, requests::kProgramControl.address,
                              static_cast<std::uint8_t>(ProgramControl::reset_or_abort)));
        break;
      case 2:
        StartEngineProgram(static_cast<std::uint8_t>(ProgramControl::rpm_lambda),
                           QStringLiteral("RPM/Lambda Programming"), 0);
        break;
      case 3:
        StartEngineProgram(static_cast<std::uint8_t>(ProgramControl::map),
                           QStringLiteral("MAP Sensor Programming"), 1);
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
