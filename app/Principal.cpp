// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Principal.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <chrono>

#include "app/Porta_serial.h"
#include "app/Program.h"
#include "app/decimal_separator.h"
#include "app/focus_tracker.h"
#include "app/guide_window.h"
#include "app/messages.h"
#include "app/qt_text.h"
#include "app/window_placement.h"
#include "session/program_version.h"
#include "session/reconnect_watch.h"
#include "session/session.h"
#include "settings/settings_table.h"
#include "settings/settings_values.h"
#include "text/utc_time.h"
#include "ui_MainForm.h"

// The icons live in a static library, whose resources the linker drops unless
// something refers to them.
static void InitWindowResources() {
  Q_INIT_RESOURCE(resources);
}

namespace zelk {

TMainForm::TMainForm(Messages& messages, Session& session, QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::MainForm>()),
      messages_(messages),
      session_(session),
      poll_([this] { return session_.connected(); }, [this] { ui_->sync->setGreen(false); }) {
  InitWindowResources();
  ui_->setupUi(this);
  setWindowTitle(tr("Quibrane - Programable Zelk v %1").arg(ToQString(kProgramMajorMinor)));
  BuildMenuBar();
  // The client area has its designed size; the window is that and the menu bar.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  layout()->activate();
  PlaceOnScreen(*this, QPoint(274, 50));
  // Boxes that only show values stay out of the Tab chain, so Tab goes from
  // setting to setting; a click still selects their text for copying.
  for (QLineEdit* shown : {ui_->atual_corr, ui_->atual_temp, ui_->atual_map, ui_->atual_lambda,
                           ui_->atual_rpm, ui_->atual_inj, ui_->rpm_adj}) {
    shown->setFocusPolicy(Qt::ClickFocus);
  }
  // A click on Write or Program leaves the focus in the setting box, so the
  // action checks that box itself, however the button was pressed.
  ui_->gravar->setFocusPolicy(Qt::TabFocus);
  ui_->prog->setFocusPolicy(Qt::TabFocus);
  ui_->sair->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
  timer_reconnect_.setInterval(static_cast<int>(kReconnectLookMs));
  now_ms_ = Session::SteadyMilliseconds;
  ConnectHandlers();
  SavedText.clear();
  KeepStartBoxes();
}

TMainForm::~TMainForm() = default;

void TMainForm::ConnectHandlers() {
  connect(ui_->config, &QToolButton::clicked, this, &TMainForm::configClick);
  connect(ui_->prog, &QToolButton::clicked, this, &TMainForm::progClick);
  connect(ui_->ler, &QToolButton::clicked, this, &TMainForm::lerClick);
  connect(ui_->gravar, &QToolButton::clicked, this, &TMainForm::gravarClick);
  connect(ui_->sair, &QToolButton::clicked, this, &TMainForm::sairClick);
  connect(&poll_.timer(), &QTimer::timeout, this, &TMainForm::Timer_ReadTimer);
  connect(&timer_reconnect_, &QTimer::timeout, this, &TMainForm::ReconnectLookTick);
  connect(ui_->rpmdown, &QPushButton::clicked, this, &TMainForm::rpmdownClick);
  connect(ui_->rpmup, &QPushButton::clicked, this, &TMainForm::rpmupClick);
  connect(ui_->rpm_cal_button, &QPushButton::clicked, this, &TMainForm::rpm_cal_buttonClick);
  // The option handlers run on every change of state, by the user or by a read.
  connect(ui_->heat_en, &QCheckBox::toggled, this, &TMainForm::heat_enClick);
  connect(ui_->sonda_en, &QCheckBox::toggled, this, &TMainForm::sonda_enClick);
  connect(ui_->acel_rapida_en, &QCheckBox::toggled, this, &TMainForm::acel_rapida_enClick);
  connect(ui_->banda_larga, &QCheckBox::toggled, this, &TMainForm::banda_largaClick);
  // Each setting is checked when the user leaves its box for another control.
  // Owned by the window, as its child.
  new FocusTracker(
      this, [this](QWidget* control) { SettingExit(control); },
      [this](QWidget* control) { SettingEnter(control); });
}

void TMainForm::Attach(TForm2& form2, TProgramForm& program_form) {
  form2_ = &form2;
  program_form_ = &program_form;
}

char TMainForm::DecimalSeparator() const {
  return DecimalSeparatorOf(locale());
}

void TMainForm::configClick() {
  // A tick while the dialog is open would talk to a port it may be closing.
  PollPause pause(poll_, PollPause::Then::as_before);
  if (!MayDiscardEdits()) return;
  StopReconnectWatch();
  form2_->exec();
  if (!AfterConnect()) pause.EndStopped();  // no module: the lamps keep their colours
}

bool TMainForm::AfterConnect() {
  read_since_config_ = false;  // the port may lead to another module now
  ShowPreparedStatus();
  if (session_.module_answered()) {
    // Prepared settings are met by the Read's question before anything else
    // touches the module.
    ui_->prog->setEnabled(!HoldsPrepared());
    ui_->ler->setEnabled(true);
    return true;
  }
  ui_->prog->setEnabled(false);
  ui_->ler->setEnabled(false);
  ui_->gravar->setEnabled(false);
  SetFileActionsEnabled(false);
  return false;
}

void TMainForm::progClick() {
  if (!CheckFocusedSetting()) return;
  // The progress dialog's own timer has the line; the poll runs again after
  // the dialogs, whether or not it ran before.
  PollPause pause(poll_, PollPause::Then::run);
  const std::string started_at = UtcNowText();
  program_form_->exec();
  if (FinishProgramRun(program_form_->ProgramType(), started_at)) pause.Failed();
}

bool TMainForm::KeepBeforeProgram() {
  return !last_read_ || SaveRestorePoint(*last_read_, SaveReason::before_program);
}

std::optional<double> TMainForm::ModuleCorrectionLimit() {
  const std::optional<SettingsBlock> module = ModuleSettings();
  if (!module) return std::nullopt;
  return SettingValue(kSettings[kLimiteCorr], *module);
}

void TMainForm::sairClick() {
  close();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  PollPause pause(poll_, PollPause::Then::as_before);
  if (!MayDiscardEdits() || !MayDropPrepared()) {
    event->ignore();
    return;
  }
  pause.EndStopped();  // the poll ends with the window
  StopReconnectWatch();
  CloseLogAndChart();
  QWidget::closeEvent(event);
}

}  // namespace zelk
