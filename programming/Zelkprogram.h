#pragma once
// TProgramZelkForm: follows a calibration program while the module runs it on
// the engine, showing temperature, MAP and lambda twice a second, flashing the
// operator prompts the MAP program asks for, until the module reports the end
// or the technician cancels.

#include <QDialog>
#include <QTimer>
#include <array>
#include <cstdint>
#include <memory>

namespace Ui {
class ProgramZelkForm;
}

namespace zelk {

class Messages;
class TForm2;

class TProgramZelkForm : public QDialog {
  Q_OBJECT

 public:
  TProgramZelkForm(Messages& messages, TForm2& form2, QWidget* parent = nullptr);
  ~TProgramZelkForm() override;

  Ui::ProgramZelkForm& ui() { return *ui_; }
  QTimer& Timer1() { return timer1_; }

  // 0: RPM/lambda program (status bit 6 while it runs); 1: MAP program (bit 0,
  // bit 1 while it wants the operator prompts).
  int program_mode = 0;

  void Timer1Timer();
  void button_CancelClick();

 protected:
  // No way out but Cancel or the end of the program: Esc and the window
  // manager's close do nothing.
  void reject() override {}

 private:
  void Finish();
  void HidePrompts();

  std::unique_ptr<Ui::ProgramZelkForm> ui_;
  Messages& messages_;
  TForm2& form2_;
  QTimer timer1_;
  std::array<std::uint8_t, 10> work_{};
};

}  // namespace zelk
