#pragma once
// TProgramForm: picks one of the module's four calibration programs (mixture,
// reset, RPM/oxygen sensor, MAP) and starts it. The two that run on the
// engine are followed by TProgramZelkForm.

#include <QButtonGroup>
#include <QDialog>
#include <memory>

namespace Ui {
class ProgramForm;
}

namespace zelk {

class Messages;
class TMainForm;
class TForm2;
class TProgramZelkForm;

class TProgramForm : public QDialog {
  Q_OBJECT

 public:
  TProgramForm(Messages& messages, TMainForm& main_form, TForm2& form2, QWidget* parent = nullptr);
  ~TProgramForm() override;
  void Attach(TProgramZelkForm& progress) { progress_ = &progress; }

  Ui::ProgramForm& ui() { return *ui_; }
  int ProgramType() const { return prog_type_.checkedId(); }
  int MixValue() const { return mix_values_.checkedId(); }

  void prog_typeClick();
  void button_OKClick();
  void button_CancelClick();

 private:
  // Sends one program-control or mixture request; true when answered.
  bool Send(std::uint8_t command, std::uint16_t address, std::uint8_t payload);
  // The box that answers a one-request program (mixture, reset).
  void ReportOneRequest(bool ok);
  void StartEngineProgram(std::uint8_t payload, const QString& title, int mode);

  std::unique_ptr<Ui::ProgramForm> ui_;
  Messages& messages_;
  TMainForm& main_form_;
  TForm2& form2_;
  TProgramZelkForm* progress_ = nullptr;
  QButtonGroup prog_type_;
  QButtonGroup mix_values_;
};

}  // namespace zelk
