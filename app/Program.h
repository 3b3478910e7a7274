// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TProgramForm: picks one of the module's four calibration programs (mixture,
// reset, RPM/oxygen sensor, MAP) and starts it. The two that run on the
// engine are followed by TProgramZelkForm.

#include <QButtonGroup>
#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

#include "programming/program_kind.h"
#include "session/session.h"

namespace Ui {
class ProgramForm;
}

namespace zelk {

class Messages;
class Session;
class TProgramZelkForm;

// The correction limit the module holds, for the mixture program; nothing
// when it could not be had (the reason already shown).
using CorrectionLimit = std::function<std::optional<double>()>;

class TProgramForm : public QDialog {
  Q_OBJECT

 public:
  TProgramForm(Messages& messages, Session& session, CorrectionLimit correction_limit,
               QWidget* parent = nullptr);
  ~TProgramForm() override;
  void Attach(TProgramZelkForm& progress) { progress_ = &progress; }
  // Runs once a program is confirmed, before anything is sent: the main
  // window keeps a restore point of the settings as last read. False: the
  // program is not started (the reason already shown).
  void SetBeforeProgram(std::function<bool()> before_program) {
    before_program_ = std::move(before_program);
  }

  Ui::ProgramForm& ui() { return *ui_; }
  ProgramKind ProgramType() const { return static_cast<ProgramKind>(prog_type_.checkedId()); }
  int MixValue() const { return mix_values_.checkedId(); }

  // True when the last OK sent the module a program that was answered: the
  // module may have changed its own settings bytes.
  bool ran() const { return ran_; }
  // True when the last OK met a communication failure (its box shown), or
  // the module stopped answering during a program.
  bool failed() const { return failed_; }
  // True when the technician cancelled the last program run on the engine
  // and the module took the abort.
  bool aborted() const { return aborted_; }
  int exec() override {
    ran_ = false;
    failed_ = false;
    aborted_ = false;
    return QDialog::exec();
  }

  // The commissioning's run of a program on the engine, without this
  // dialog: the same question, restore point and progress dialog as OK.
  void RunEngineProgram(EngineProgram program);

  void prog_typeClick();
  void button_OKClick();
  void button_CancelClick();

 private:
  // The box that answers a one-request program (mixture, reset).
  void ReportOneRequest(const Outcome& outcome);
  void StartEngineProgram(EngineProgram program);
  // "Confirm Program Zelk !!!!", then the restore point; false: nothing is sent.
  bool Confirmed();
  void WriteMixture();

  std::unique_ptr<Ui::ProgramForm> ui_;
  Messages& messages_;
  Session& session_;
  CorrectionLimit correction_limit_;
  std::function<bool()> before_program_;
  TProgramZelkForm* progress_ = nullptr;
  QButtonGroup prog_type_;
  QButtonGroup mix_values_;
  bool ran_ = false;
  bool failed_ = false;
  bool aborted_ = false;
};

}  // namespace zelk
