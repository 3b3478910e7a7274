// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TProgramZelkForm: follows a calibration program while the module runs it on
// the engine, showing temperature, MAP and lambda twice a second, flashing the
// operator prompts the MAP program asks for, until the module reports the end
// or the technician cancels.

#include <QDialog>
#include <QTimer>
#include <memory>

#include "programming/program_status.h"

namespace Ui {
class ProgramZelkForm;
}

namespace zelk {

class Messages;
class Session;

class TProgramZelkForm : public QDialog {
  Q_OBJECT

 public:
  TProgramZelkForm(Messages& messages, Session& session, QWidget* parent = nullptr);
  ~TProgramZelkForm() override;

  Ui::ProgramZelkForm& ui() { return *ui_; }
  QTimer& Timer1() { return timer1_; }

  // The program the dialog follows.
  EngineProgram program = EngineProgram::rpm_lambda;

  void Timer1Timer();
  void button_CancelClick();
  // True when the module stopped answering before the dialog closed.
  bool lost() const { return lost_; }
  int exec() override;

 protected:
  // No way out but Cancel or the end of the program: Esc and the window
  // manager's close do nothing.
  void reject() override {}

 private:
  void Finish();
  void HidePrompts();

  std::unique_ptr<Ui::ProgramZelkForm> ui_;
  Messages& messages_;
  Session& session_;
  QTimer timer1_;
  // Ticks in a row without an answer; at kSilentTicks the dialog says so.
  int silent_ticks_ = 0;
  bool lost_ = false;
};

}  // namespace zelk
