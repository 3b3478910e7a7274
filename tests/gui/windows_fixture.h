// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The four windows wired as at start-up, talking through one session to a
// simulated module on a virtual clock, with every message box recorded.

#include <memory>
#include <string>
#include <vector>

#include "app/Porta_serial.h"
#include "app/Principal.h"
#include "app/Program.h"
#include "app/Zelkprogram.h"
#include "app/busy_cursor.h"
#include "recorded_messages.h"
#include "session/session.h"
#include "sim/simulated_line.h"

namespace zelk::test {

struct Windows {
  explicit Windows(std::vector<std::string> ports = {"SIM"}, sim::EngineModelSettings engine = {})
      : port(engine, "SIM"),
        session(port.Opener(), [this] { return port.clock().now_ms(); }),
        busy_cursor(session),
        MainForm(messages, session),
        Form2(messages, session, std::move(ports)),
        ProgramForm(messages, MainForm, session),
        ProgramZelkForm(messages, session) {
    ProgramForm.Attach(ProgramZelkForm);
    MainForm.Attach(Form2, ProgramForm);
  }

  // Config: opens the COM-port dialog as the main window does and presses OK
  // with `port_name` in the port box.
  void Connect(const QString& port_name = QStringLiteral("SIM"));

  // Config, Read (the poll stopped), then the File dialogs that stay open: the
  // settings saved to `file`, compared with it, and the restore points.
  void OpenFileDialogs(const QString& file);

  RecordedMessages messages;
  sim::SimulatedPort port;
  Session session;
  BusyCursor busy_cursor;
  TMainForm MainForm;
  TForm2 Form2;
  TProgramForm ProgramForm;
  TProgramZelkForm ProgramZelkForm;
};

}  // namespace zelk::test
