#pragma once
// The four windows wired as at start-up, talking to a simulated module on a
// virtual clock, with every message box recorded.

#include <memory>
#include <string>
#include <vector>

#include "app/Principal.h"
#include "link/Porta_serial.h"
#include "programming/Program.h"
#include "programming/Zelkprogram.h"
#include "recorded_messages.h"
#include "sim/simulated_line.h"

namespace zelk::test {

struct Windows {
  explicit Windows(std::vector<std::string> ports = {"SIM"}, sim::EngineModelSettings engine = {})
      : port(engine, "SIM"),
        MainForm(messages),
        Form2(messages, port.Opener(), std::move(ports)),
        ProgramForm(messages, MainForm, Form2),
        ProgramZelkForm(messages, Form2) {
    ProgramForm.Attach(ProgramZelkForm);
    MainForm.Attach(Form2, ProgramForm);
  }

  // Config: opens the COM-port dialog as the main window does and presses OK
  // with `port_name` in the port box.
  void Connect(const QString& port_name = QStringLiteral("SIM"));

  RecordedMessages messages;
  sim::SimulatedPort port;
  TMainForm MainForm;
  TForm2 Form2;
  TProgramForm ProgramForm;
  TProgramZelkForm ProgramZelkForm;
};

}  // namespace zelk::test
